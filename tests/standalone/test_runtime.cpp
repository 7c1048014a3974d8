// SPDX-License-Identifier: MIT
// The decoding run-time of packages, loaded the way the package's player loads it: as
// "qpxrun30.dll" from a folder, through its C interface. Its pixels are those of libjpeg's own
// djpeg for every kind of JPEG the packages carry, and damaged streams fail with a reason.

#include "head_test_support.h"
#include "qpx_runtime.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;
using head_test::ReadFile;
using head_test::ScratchFolder;

struct Runtime {
    void* handle = nullptr;
    QpxRunApiVersionFunction version = nullptr;
    QpxRunDecodeFunction decode = nullptr;
    QpxRunFreeFunction release = nullptr;
};

class QpxRuntime : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static ScratchFolder folder;
        const std::string dll = folder / "qpxrun30.dll";
        fs::copy_file(VERASCO_BINARY_DIR "/app/verasco3.dat", dll, fs::copy_options::overwrite_existing);
        lib.handle = dlopen(dll.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(lib.handle, nullptr) << dlerror();
        lib.version = reinterpret_cast<QpxRunApiVersionFunction>(dlsym(lib.handle, "qpxrun_api_version"));
        lib.decode = reinterpret_cast<QpxRunDecodeFunction>(dlsym(lib.handle, "qpxrun_decode"));
        lib.release = reinterpret_cast<QpxRunFreeFunction>(dlsym(lib.handle, "qpxrun_free"));
    }
    static Runtime lib;
    ScratchFolder work;
};
Runtime QpxRuntime::lib;

// The pixels djpeg writes for a file as RGB bytes, top row first (a grey picture comes as PGM).
struct Rgb {
    int width = 0, height = 0;
    std::string bytes;
};

Rgb Djpeg(const std::string& path) {
    Rgb rgb;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("djpeg -pnm '" + path + "'").c_str(), "r"), pclose);
    int kind = 0, maxValue = 0;
    if (!pipe || std::fscanf(pipe.get(), "P%d %d %d %d", &kind, &rgb.width, &rgb.height, &maxValue) != 4)
        return {};
    std::fgetc(pipe.get());
    const int channels = kind == 5 ? 1 : 3;
    std::string raw(std::size_t(rgb.width) * rgb.height * channels, '\0');
    raw.resize(std::fread(raw.data(), 1, raw.size(), pipe.get()));
    for (std::size_t i = 0; i < raw.size(); i += channels)
        rgb.bytes += channels == 1 ? std::string(3, raw[i]) : raw.substr(i, 3);
    return rgb;
}

Rgb ToRgb(const QpxRunPicture& p) {
    Rgb rgb{p.width, p.height, {}};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const unsigned char* px = p.pixels + std::size_t(y) * p.stride + 4 * x;
            rgb.bytes += {static_cast<char>(px[2]), static_cast<char>(px[1]), static_cast<char>(px[0])};
        }
    return rgb;
}

std::vector<std::string> JpegFiles(const std::string& work) {
    std::vector<std::string> files{VERASCO_SOURCE_DIR "/packaging/samples/sunrise.jpg"};
    // QPX files are baseline JPEG with one of three sub-samplings.
    for (const char* sampling : {"1x1", "2x1", "2x2"}) {
        files.push_back(work + "/sunrise_" + sampling + ".qpx");
        const std::string command = "djpeg -ppm '" VERASCO_SOURCE_DIR "/packaging/samples/sunrise.jpg' | " +
                                    std::string("cjpeg -quality 75 -sample ") + sampling + " > '" +
                                    files.back() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    const fs::path images = VERASCO_TESTDATA "/images";
    for (const char* name : {"ladybird.jpg", "ladybird_progressive.jpg", "storm_gray.jpg",
                             "flower_640x480.jpg", "size_1x1.jpg", "size_100x95.jpg"})
        if (fs::exists(images / name))
            files.push_back((images / name).string());
    return files;
}

TEST_F(QpxRuntime, OffersItsInterfaceVersion) {
    ASSERT_NE(lib.version, nullptr);
    EXPECT_EQ(lib.version(), QPXRUN_API_VERSION);
}

TEST_F(QpxRuntime, DecodesEveryKindOfJpegExactlyAsDjpeg) {
    ASSERT_TRUE(lib.decode && lib.release);
    for (const std::string& file : JpegFiles(work.path)) {
        const std::string data = ReadFile(file);
        QpxRunPicture picture{};
        char error[128] = "unset";
        ASSERT_EQ(lib.decode(reinterpret_cast<const unsigned char*>(data.data()), data.size(), &picture,
                             error, sizeof error),
                  0)
            << file << ": " << error;
        EXPECT_STREQ(error, "") << file;
        EXPECT_EQ(picture.stride, picture.width * 4) << file;
        for (int i = 0; i < picture.width * picture.height; ++i)
            ASSERT_EQ(picture.pixels[4 * i + 3], 255) << file << " pixel " << i;
        const Rgb ours = ToRgb(picture), peer = Djpeg(file);
        EXPECT_EQ(std::tie(ours.width, ours.height), std::tie(peer.width, peer.height)) << file;
        EXPECT_TRUE(ours.bytes == peer.bytes) << file;
        lib.release(&picture);
        EXPECT_EQ(picture.pixels, nullptr);
    }
}

TEST_F(QpxRuntime, DecodesCmykJpegs) {
    const std::string file = work / "cmyk.jpg";
    if (std::system(
            ("convert -size 16x8 xc:'#FF0000' -colorspace CMYK -quality 95 '" + file + "'").c_str()) != 0)
        GTEST_SKIP() << "ImageMagick's convert is needed to write a CMYK JPEG";
    const std::string data = ReadFile(file);
    QpxRunPicture picture{};
    ASSERT_EQ(
        lib.decode(reinterpret_cast<const unsigned char*>(data.data()), data.size(), &picture, nullptr, 0),
        0);
    ASSERT_EQ(std::tie(picture.width, picture.height), std::make_tuple(16, 8));
    const unsigned char* centre = picture.pixels + 4 * picture.stride + 4 * 8;
    EXPECT_GT(centre[2], 240); // red
    EXPECT_LT(centre[1], 15);  // green
    EXPECT_LT(centre[0], 15);  // blue
    lib.release(&picture);
}

TEST_F(QpxRuntime, RefusesDamagedStreamsWithAReason) {
    const std::string sunrise = ReadFile(VERASCO_SOURCE_DIR "/packaging/samples/sunrise.jpg");
    std::string huge = ReadFile(VERASCO_SOURCE_DIR "/packaging/samples/sunrise.jpg");
    const std::size_t sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    huge.replace(sof + 5, 4, "\xFF\xFF\xFF\xFF"); // 65535 x 65535
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"no bytes", ""},
        {"not a JPEG", "BM this is a bitmap, not a JPEG stream"},
        {"cut in half", sunrise.substr(0, sunrise.size() / 2)},
        {"cut inside the header", sunrise.substr(0, 40)},
        {"a size beyond any picture", huge},
    };
    for (const auto& c : cases) {
        QpxRunPicture picture{1, 1, 4, nullptr};
        char error[128] = "";
        EXPECT_NE(lib.decode(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size(), &picture,
                             error, sizeof error),
                  0)
            << c.name;
        EXPECT_STRNE(error, "") << c.name;
        EXPECT_EQ(picture.pixels, nullptr) << c.name;
        EXPECT_EQ(picture.width, 0) << c.name;
    }
}

} // namespace
