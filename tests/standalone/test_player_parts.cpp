// SPDX-License-Identifier: MIT
// The plain C++ parts of the packages' players: the course of a show (times at each speed, the hold
// for a sound, looping, the keys), a sound's length read from its WAV file, the show files of a folder
// read whatever their letter case, or refused with a message naming what is wrong (shared by the
// Linux and Windows players); the show's music, motion and captions from its block, a damaged
// block read as none; a caption's coverage read, scaled and drawn; a photograph turned upright by its
// orientation tag and a bitmap read.

#include "caption_picture.h"
#include "caption_scale.h"
#include "head_test_support.h"
#include "package_extras.h"
#include "package_files.h"
#include "picture_place.h"
#include "show_clock.h"
#include "slide_picture.h"
#include "sound_mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>

using namespace head_test;

namespace {

std::string Le(uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += char(v >> (8 * i) & 0xFF);
    return out;
}

// A mono 16-bit WAV of `ms` milliseconds at 8000 samples a second, with a chunk before its format.
std::string Wav(int ms) {
    const std::string data(std::size_t(16 * ms), '\0');
    const std::string format =
        "fmt " + Le(16, 4) + Le(1, 2) + Le(1, 2) + Le(8000, 4) + Le(16000, 4) + Le(2, 2) + Le(16, 2);
    const std::string body = "WAVE" + std::string("LIST") + Le(3, 4) + "abc" + '\0' + format + "data" +
                             Le(uint32_t(data.size()), 4) + data;
    return "RIFF" + Le(uint32_t(body.size()), 4) + body;
}

TEST(ShowClock, TimesLoopingAndKeys) {
    ShowClock clock(3, true, 10);
    EXPECT_EQ(clock.slideTime(3000, false, 0), 3000) << "speed 10: the slide's own time";
    EXPECT_EQ(clock.slideTime(3000, true, 4500), 4500) << "held for a longer sound";
    EXPECT_EQ(clock.slideTime(3000, true, 1000), 3000);
    EXPECT_EQ(clock.slideTime(3000, false, 4500), 3000) << "not held";
    EXPECT_EQ(ShowClock(1, true, 0).slideTime(3000, false, 0), 6000);
    EXPECT_EQ(ShowClock(1, true, 20).slideTime(3000, false, 0), 0);

    for (int expected : {1, 2, 0, 1}) {
        clock.timeUp();
        EXPECT_EQ(clock.current(), expected);
    }
    clock.press(ShowKey::PlayPause);
    clock.timeUp();
    EXPECT_EQ(clock.current(), 1) << "paused";
    clock.press(ShowKey::PlayPause);
    clock.goTo(0);
    EXPECT_TRUE(clock.press(ShowKey::Previous).moved);
    EXPECT_EQ(clock.current(), 2) << "looping: back from the first to the last";
    clock.press(ShowKey::Next);
    EXPECT_EQ(clock.current(), 0);
    clock.press(ShowKey::Digit, 3);
    EXPECT_TRUE(clock.press(ShowKey::Enter).moved);
    EXPECT_EQ(clock.current(), 2) << "a slide's number and Enter";
    clock.press(ShowKey::Digit, 1);
    clock.press(ShowKey::Black);
    EXPECT_TRUE(clock.black());
    EXPECT_FALSE(clock.press(ShowKey::Enter).moved) << "another key forgets the number typed";
    EXPECT_TRUE(clock.press(ShowKey::Black).redrawn);
    EXPECT_FALSE(clock.black());
    EXPECT_EQ(clock.ownTime(3000), 3000);
    EXPECT_EQ(clock.slideTime(3000, true, 9000), 9000) << "the motion runs over the own time, not the hold";

    ShowClock once(2, false, 10);
    once.press(ShowKey::Previous);
    EXPECT_EQ(once.current(), 0);
    once.timeUp();
    EXPECT_FALSE(once.over());
    once.timeUp();
    EXPECT_TRUE(once.over()) << "the show ends after the last slide";
}

// A 16-bit WAV of `frames` frames of `channels` channels at `rate`, every sample `value`.
std::string SteadyWav(unsigned rate, unsigned channels, int16_t value, std::size_t frames) {
    std::string data;
    for (std::size_t i = 0; i < frames * channels; ++i)
        data += Le(uint16_t(value), 2);
    const std::string format = "fmt " + Le(16, 4) + Le(1, 2) + Le(channels, 2) + Le(rate, 4) +
                               Le(rate * channels * 2, 4) + Le(channels * 2, 2) + Le(16, 2);
    const std::string body = "WAVE" + format + "data" + Le(uint32_t(data.size()), 4) + data;
    return "RIFF" + Le(uint32_t(body.size()), 4) + body;
}

// An Ogg Vorbis file of a tone of 1 kHz at half the full scale, mono at 8000 samples a second,
// `seconds` long, made by ffmpeg; false where it cannot be made.
bool WriteTone(const std::string& path, double seconds) {
    const std::string command =
        "ffmpeg -v error -nostdin -y -f lavfi -i 'aevalsrc=0.5*sin(2*PI*1000*t):s=8000:d=" +
        std::to_string(seconds) + "' -c:a libvorbis '" + path + "'";
    return std::system(command.c_str()) == 0;
}

int Loudest(const std::vector<int16_t>& samples, std::size_t from, std::size_t to) {
    int most = 0;
    for (std::size_t i = from; i < to; ++i)
        most = std::max(most, std::abs(int(samples[i])));
    return most;
}

// The show's music and a slide's sound in one stream: the music (Ogg Vorbis) at the viewer's levels,
// ducked under the slide's sound, fading before the end, its files one after another and again from
// the first (one that is no sound passed over), moved to a moment of the show; each sound at its own
// rate and channels. `alone` plays the music undisturbed beside it.
TEST(SoundMixer, MusicUnderTheSlidesSoundDuckedFadedAndMoved) {
    ScratchFolder dir;
    if (!WriteTone(dir / "music.ogg", 0.1))
        GTEST_SKIP() << "ffmpeg (Debian's ffmpeg) is needed to make the music";
    WriteFile(dir / "slide.wav", SteadyWav(96000, 2, 8192, 96)); // a thousandth of a second
    WriteFile(dir / "noise.ogg", "no sound");
    const std::vector<std::string> music{dir / "noise.ogg", dir / "music.ogg"};
    SoundMixer mixer(music, 1000), alone(music, 1000);
    const auto now = SoundMixer::Clock::now();
    std::vector<int16_t> out(2 * 48000), ref(2 * 48000);
    mixer.mix(out.data(), 48000, now);
    alone.mix(ref.data(), 48000, now);
    EXPECT_NEAR(Loudest(out, 0, 2 * 4800), 16384, 2000) << "the first tenth of a second";
    EXPECT_NEAR(Loudest(out, 2 * 43200, 2 * 48000), 16384, 2000) << "again from the first";
    for (std::size_t i = 0; i < out.size(); i += 2)
        ASSERT_EQ(out[i], out[i + 1]) << "mono on both sides, at " << i / 2;

    PcmSound slide, noise;
    ASSERT_TRUE(ReadPcmWav(dir / "slide.wav", slide));
    EXPECT_FALSE(ReadPcmWav(dir / "noise.ogg", noise));
    mixer.playSlide(std::move(slide));
    mixer.mix(out.data(), 96, now);
    alone.mix(ref.data(), 96, now);
    EXPECT_NEAR(out[0], ref[0] / 4.0 + 8192, 1) << "ducked under the slide's sound";
    EXPECT_NEAR(out[2 * 47], ref[2 * 47] / 4.0 + 8192, 1) << "the slide's sound at half the stream's rate";
    EXPECT_NEAR(out[2 * 48], ref[2 * 48] / 4.0, 1)
        << "the slide's sound is over; the music follows at the next block";
    mixer.setEnd(now + std::chrono::milliseconds(500));
    mixer.mix(out.data(), 200, now);
    alone.mix(ref.data(), 200, now);
    EXPECT_NEAR(out[2 * 199], ref[2 * 199] / 2.0, 1) << "half way through the fade";
    mixer.mix(out.data(), 2, now + std::chrono::seconds(1));
    EXPECT_EQ(out[0], 0) << "after the end";

    // Moved to 50 ms, and to 50 ms after one round of the music: where `alone` stands after 50 ms.
    MusicStream file;
    ASSERT_TRUE(file.open(dir / "music.ogg"));
    const std::int64_t roundMs = file.frames() * 1000 / file.rate();
    for (const std::int64_t ms : {std::int64_t(50), 50 + roundMs}) {
        SoundMixer moved(music, 1000), fresh(music, 1000);
        moved.mix(out.data(), 480, now);
        moved.moveMusicTo(ms);
        fresh.mix(ref.data(), 2400, now);
        moved.mix(out.data(), 960, now);
        fresh.mix(ref.data(), 960, now);
        for (std::size_t i = 0; i < 2 * 960; ++i)
            ASSERT_NEAR(out[i], ref[i], 1) << ms << " ms, at " << i / 2;
    }

    SoundMixer silent({dir / "noise.ogg", dir / "missing.ogg"}, 1000);
    silent.mix(out.data(), 4, now);
    EXPECT_EQ(out[0], 0);
}

TEST(ShowClock, ASoundsLengthFromItsWavFile) {
    ScratchFolder dir;
    WriteFile(dir / "tune.wav", Wav(1250));
    WriteFile(dir / "text.wav", "not a sound at all");
    WriteFile(dir / "cut.wav", Wav(1250).substr(0, 30));
    EXPECT_EQ(WavMilliseconds(dir / "tune.wav"), 1250);
    EXPECT_EQ(WavMilliseconds(dir / "text.wav"), 0);
    EXPECT_EQ(WavMilliseconds(dir / "cut.wav"), 0);
    EXPECT_EQ(WavMilliseconds(dir / "missing.wav"), 0);

    // A chunk of 2^32 - 1 bytes (sparse), whose pad byte wraps a 32-bit sum: the walk goes past its
    // body, which starts like a data chunk of a second, to the data chunk of two seconds after it.
    {
        std::ofstream out(dir / "huge.wav", std::ios::binary);
        out << "RIFF" << Le(0xFFFFFFFF, 4) << "WAVE" << Wav(0).substr(24, 24) << "LIST" << Le(0xFFFFFFFF, 4)
            << "data" << Le(16000, 4);
        out.seekp(std::streamoff(12 + 24 + 8) + 0xFFFFFFFFll + 1);
        out << "data" << Le(32000, 4) << std::string(32000, '\x10');
    }
    EXPECT_EQ(WavMilliseconds(dir / "huge.wav"), 2000);
    PcmSound huge;
    ASSERT_TRUE(ReadPcmWav(dir / "huge.wav", huge));
    EXPECT_EQ(huge.frames(), 16000u);
}

std::string SlideList(int count, const std::string& records, int recordSize = 824) {
    return "MORVANT rev1.01" + std::string(64, ' ') + std::string(64, ' ') + Le(uint32_t(count), 4) +
           Le(uint32_t(recordSize), 4) + records;
}

std::string Record(const std::string& offset) {
    std::string r(824, '\0');
    r[2] = char(offset.size());
    r.replace(3, offset.size(), offset);
    r[514] = 1;
    return r;
}

TEST(PackageFiles, ReadsTheShowOrNamesWhatIsWrong) {
    struct Case {
        const char* name;
        std::string list; // empty: no slide list at all
        bool data;
        const char* message;
    };
    const Case cases[] = {
        {"a show", SlideList(2, Record("0") + Record("3")), true, ""},
        {"no slide list", {}, true, "The slide list images.sld cannot be read: it is missing."},
        {"another file", "GIF89a" + std::string(300, 'x'), true, "is damaged: it is not a slide list."},
        {"cut short", SlideList(3, Record("0") + Record("0")), true, "announces 3 slides but holds only 2"},
        {"bad record size", SlideList(1, Record("0"), 800), true, "its header announces 1 slides of 800"},
        {"no slides", SlideList(0, {}), true, "is damaged: it holds no slides."},
        {"too many", SlideList(501, std::string(501 * 824, '\0')), true, "announces 501 slides"},
        {"no image data", SlideList(1, Record("0")), false, "The image data images.dat cannot be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder dir;
        // Unpacked under the stored, upper-cased names.
        if (!c.list.empty())
            WriteFile(dir / "IMAGES.SLD", c.list);
        if (c.data)
            WriteFile(dir / "Images.dat", "datapicture");
        PackageFiles files;
        std::string error;
        EXPECT_EQ(files.open(dir.path + "/", error), c.message[0] == '\0');
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        if (error.empty()) {
            EXPECT_EQ(files.pictureData(0), "dat");
            EXPECT_EQ(files.pictureData(1), "apicture");
            const ShowClock clock(2, false, 10);
            EXPECT_EQ(files.timeBefore(0, clock), 0);
            EXPECT_EQ(files.timeBefore(1, clock) + files.timeAfter(0, clock), files.timeAfter(-1, clock))
                << "the show stands at the slides before the second when it comes";
        }
    }
}

TEST(PackageFiles, RecordTextsInUtf8OrWindows1252) {
    EXPECT_EQ(RecordText("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(RecordText("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(RecordText("\xC3"), "\xC3\x83") << "a cut sequence is no UTF-8";
}

TEST(PackageFiles, FilesAreFoundWhateverTheirLetterCase) {
    ScratchFolder dir;
    WriteFile(dir / "TUNE.WAV", "RIFF");
    WriteFile(dir / "tune.wav", "RIFF");
    WriteFile(dir / "Beep.wav", "RIFF");
    WriteFile(dir / "CAF\xC3\x89.WAV", "RIFF"); // "CAFÉ.WAV"
    const std::string folder = dir.path + "/";
    EXPECT_EQ(FolderFile(folder, "tune.wav"), folder + "tune.wav")
        << "the name as spelled, where it is there";
    EXPECT_EQ(FolderFile(folder, "BEEP.WAV"), folder + "Beep.wav");
    EXPECT_EQ(FolderFile(folder, "caf\xC3\xA9.wav"), folder + "CAF\xC3\x89.WAV") << "letters beyond ASCII";
    EXPECT_EQ(FolderFile(folder, "none.wav"), "");
    for (const char* name : {"", ".", "..", "../TUNE.WAV", "a/b"})
        EXPECT_EQ(FolderFile(folder, name), "") << name;
}

// A 3 x 2 picture whose pixels are numbered 0 to 5, row after row.
QpxRunPicture Numbered(std::vector<std::uint32_t>& pixels) {
    pixels = {0, 1, 2, 3, 4, 5};
    return {3, 2, 12, reinterpret_cast<unsigned char*>(pixels.data())};
}

// A JPEG's start with an Exif block in the given byte order recording `orientation`.
std::string ExifJpeg(bool little, int orientation) {
    const auto be = [](unsigned v, int n) {
        std::string out;
        for (int i = n - 1; i >= 0; --i)
            out += char(v >> (8 * i) & 0xFF);
        return out;
    };
    const auto num = [&](unsigned v, int n) { return little ? Le(v, n) : be(v, n); };
    const std::string tiff = std::string(little ? "II" : "MM") + num(42, 2) + num(8, 4) + num(1, 2) +
                             num(0x112, 2) + num(3, 2) + num(1, 4) + num(unsigned(orientation), 2) +
                             num(0, 2) + num(0, 4);
    const std::string exif = "Exif" + std::string(2, '\0') + tiff;
    return "\xFF\xD8" + std::string("\xFF\xE0") + be(4, 2) + "JF" + "\xFF\xE1" +
           be(unsigned(exif.size() + 2), 2) + exif + "\xFF\xDA" + be(2, 2);
}

std::string Block(const std::string& json) {
    return "VRSX" + Le(uint32_t(json.size()), 4) + json;
}

// Each block the export writes is read as the viewer reads the show's; every damaged one is none,
// and the show then plays as a show of records alone.
TEST(PackageExtras, TheBlockOrNoneWhenItIsDamaged) {
    const std::string motion =
        R"({"motion":{"from":[0,0,1,1],"to":[0.5,0.25,0.5,0.5]},"other":[1,{"a":null}]})";
    const auto read = PackageExtras::Read(
        Block(
            R"({"music":[{"path":"music-1.wav"},{"x":1},{"path":"m\u00fcsic-2.wav","kept":true}],)"
            R"("musicFadeMs":1500,"captions":"band","fill":"blur","captionPlace":"top",)"
            R"("slides":[{"caption":"caption-1.pgm","fill":"colour","fillColour":"#FF8000","title":true},)" +
            motion +
            R"(,{"motion":{"from":[0,0,1,1],"to":[0.5,0.5,0.6,0.5]},"fill":"sparkle","captionPlace":"bottom",)"
            R"("title":1}],)"
            R"("future":[true,false,-1.5e2]})") +
            "bytes after the block",
        3);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->music, (std::vector<std::string>{"music-1.wav", "m\xC3\xBCsic-2.wav"}));
    EXPECT_EQ(read->fadeMs, 1500);
    ASSERT_EQ(read->motions.size(), 3u);
    EXPECT_FALSE(read->motions[0]);
    ASSERT_TRUE(read->motions[1]);
    EXPECT_FALSE(read->motions[2]) << "a frame beyond the picture is no motion";
    EXPECT_EQ(read->captions, (std::vector<std::string>{"caption-1.pgm", "", ""}));
    using ShowRules::CaptionPlace, ShowRules::Fill;
    EXPECT_EQ(read->looks, (std::vector<ShowRules::Look>{{Fill::Colour, 0xFF8000, CaptionPlace::Top},
                                                         {Fill::Blur, 0, CaptionPlace::Top},
                                                         {Fill::Blur, 0, CaptionPlace::Bottom}}))
        << "a slide's own look before the show's; a value not known is none";
    EXPECT_EQ(read->titles, (std::vector<bool>{true, false, false})) << "only true marks a title";
    const auto half = ShowRules::frameAt(*read->motions[1], 0.5),
               quarter = ShowRules::frameAt(*read->motions[1], 0.25);
    EXPECT_DOUBLE_EQ(half.x, 0.25);
    EXPECT_DOUBLE_EQ(half.w, 0.75);
    EXPECT_NEAR(quarter.x, 0.5 * (1 - std::cos(3.14159265358979 / 4)) / 2, 1e-12) << "eased";
    EXPECT_DOUBLE_EQ(ShowRules::frameAt(*read->motions[1], 2).h, 0.5);

    const auto plain = PackageExtras::Read(Block(R"({"captions":"box","musicFadeMs":1e9})"), 2);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->fadeMs, 60000);
    EXPECT_EQ(plain->motions.size(), 2u);
    EXPECT_EQ(PackageExtras::Read(Block("{}"), 1)->fadeMs, 2000);

    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    std::string many = "[0";
    for (int i = 0; i < 100000; ++i)
        many += ",0";
    for (const std::string& damaged :
         {Block(R"({"slides":[{},{}]})"), Block(R"({"slides":[{},1,{}]})"), Block(R"({"music":[}])"),
          Block("[1]"), Block(R"({"a":"\ud800"})"), Block(R"({"a":"cut)"), Block("{} {}"),
          Block(R"({"a":tru})"), Block(R"({"a":1-2})"), Block("{\"a\":\"\x01\"}"),
          Block("{\"a\":" + deep + "}"), Block("{\"a\":" + many + "]}"),
          Block("{\"a\":\"" + std::string(4 << 20, 'x') + "\"}"), Block("{}").substr(0, 9),
          "VRSX" + Le(100, 4) + "{}", std::string("VRSX\0"), std::string("RIFF") + Le(2, 4) + "{}"})
        EXPECT_FALSE(PackageExtras::Read(damaged, 3)) << damaged.substr(0, 60);
}

// A caption as the export writes it, at half the size on a screen of half the reference height,
// each pixel the mean of those it covers, drawn in the slide's colour; a damaged file is none.
TEST(CaptionPicture, ReadScaledAndDrawnOrNoneWhenDamaged) {
    const std::string pixels("\xFF\xFF\x00\x00\xFF\xFF\x00\x00\x00\x00\xFF\xFF\x00\x00\xFF\xFF", 16);
    const auto mask = CaptionPicture::Read("P5\n# drawn\n8 2\n255\n" + pixels);
    ASSERT_TRUE(mask);
    const auto half = CaptionPicture::ForScreen(*mask, 1000, CaptionBand::PackageHeight / 2, 100);
    EXPECT_EQ(half.coverage, (std::vector<std::uint8_t>{127, 127, 127, 127}));
    std::uint32_t row[6] = {0x000000, 0x204060, 0, 0, 0, 0x204060};
    CaptionPicture::Draw(row, 6, 1, half, 2, 0xFF8000);
    EXPECT_EQ(row[1], 0x204060u);
    EXPECT_EQ(row[2], 0x7F4000u);
    EXPECT_EQ(row[5], 0x8F6030u);
    EXPECT_TRUE(CaptionPicture::ForScreen(*mask, 1000, 1000, 0).coverage.empty()) << "no room";
    // On the band across the whole row: the default black drawn white over a dark outline.
    std::uint32_t band[6] = {0xFFFFFF, 0xFFFFFF, 0, 0, 0, 0};
    CaptionPicture::Mask letters{1, 1, {255}}, outline{1, 1, {255}};
    CaptionPicture::DrawBand(band, 6, letters, outline, 0);
    EXPECT_EQ(band[0], 0x5F5F5Fu) << "darkened beside the letters too";
    EXPECT_EQ(band[2], 0xFFFFFFu);
    const struct {
        std::uint32_t colour, text, outline;
    } colours[] = {
        {0x000000, 0xFFFFFF, 0x000000}, {0xFFFF00, 0xFFFF00, 0x000000}, {0x000080, 0x000080, 0xFFFFFF}};
    for (const auto& c : colours) {
        EXPECT_EQ(ShowRules::captionColours(c.colour).text, c.text) << std::hex << c.colour;
        EXPECT_EQ(ShowRules::captionColours(c.colour).outline, c.outline) << std::hex << c.colour;
    }
    for (const std::string& damaged :
         {"P6\n8 2\n255\n" + pixels, "P5\n8 2\n65535\n" + pixels, "P5\n8 3\n255\n" + pixels,
          "P5\n99999999999999999999 2\n255\n" + pixels, "P5\n8 2\n255" + pixels, "P5\n-8 2\n255\n" + pixels})
        EXPECT_FALSE(CaptionPicture::Read(damaged)) << damaged.substr(0, 20);
}

// The blurred fill of one grey: the same grey darkened, over the whole frame.
TEST(SlidePicture, TheBlurredFillCoversTheScreenDarkened) {
    const SlidePicture grey{3, 5, std::vector<std::uint32_t>(15, 0xFFC8C8C8)};
    SlideFill fill;
    const std::vector<std::uint32_t>& pixels =
        fill.at(0, grey, {ShowRules::Fill::Blur, 0, ShowRules::CaptionPlace::Bottom}, 40, 24);
    ASSERT_EQ(pixels.size(), 40u * 24u);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xFF5A5A5Au), 40 * 24);
    EXPECT_TRUE(fill.at(0, grey, {}, 40, 24).empty()) << "black";
}

TEST(SlidePicture, PhotographsStandUprightByTheirOrientationTag) {
    EXPECT_EQ(ShowRules::jpegOrientation(ExifJpeg(true, 6)), 6);
    EXPECT_EQ(ShowRules::jpegOrientation(ExifJpeg(false, 8)), 8);
    EXPECT_EQ(ShowRules::jpegOrientation(ExifJpeg(true, 9)), 1) << "no such orientation";
    EXPECT_EQ(ShowRules::jpegOrientation(ExifJpeg(true, 6).substr(0, 30)), 1) << "cut short";
    EXPECT_EQ(ShowRules::jpegOrientation("GIF89a"), 1);
    struct Case {
        int orientation;
        int width;
        std::vector<std::uint32_t> upright; // the numbered pixels, row after row
    };
    const Case cases[] = {
        {1, 3, {0, 1, 2, 3, 4, 5}}, {2, 3, {2, 1, 0, 5, 4, 3}}, {3, 3, {5, 4, 3, 2, 1, 0}},
        {4, 3, {3, 4, 5, 0, 1, 2}}, {5, 2, {0, 3, 1, 4, 2, 5}}, {6, 2, {3, 0, 4, 1, 5, 2}},
        {7, 2, {5, 2, 4, 1, 3, 0}}, {8, 2, {2, 5, 1, 4, 0, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        std::vector<std::uint32_t> pixels;
        const SlidePicture p = UprightPicture(Numbered(pixels), c.orientation);
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, 6 / c.width);
        std::vector<std::uint32_t> numbers;
        for (const std::uint32_t v : p.pixels)
            numbers.push_back(v & 0xFFFFFF);
        EXPECT_EQ(numbers, c.upright);
    }
    EXPECT_TRUE(UprightPicture(QpxRunPicture{}, 6).pixels.empty());
}

// A bitmap of 3 x 2 pixels numbered 1 to 6 (blue), `bits` a pixel, rows from the bottom unless `topDown`.
std::string Bitmap(int bits, bool topDown) {
    const int stride = (3 * bits + 31) / 32 * 4;
    std::string palette, pixels;
    if (bits <= 8)
        for (int i = 0; i < (1 << bits); ++i)
            palette += Le(uint32_t(i), 4); // entry i is blue i
    for (int stored = 0; stored < 2; ++stored) {
        const int y = topDown ? stored : 1 - stored;
        std::string row(std::size_t(stride), '\0');
        for (int x = 0; x < 3; ++x) {
            const int v = y * 3 + x + 1, bit = x * bits;
            if (bits >= 24)
                row[std::size_t(x * bits / 8)] = char(v);
            else
                row[std::size_t(bit / 8)] =
                    char(row[std::size_t(bit / 8)] | (v & ((1 << bits) - 1)) << (8 - bits - bit % 8));
        }
        pixels += row;
    }
    const uint32_t at = uint32_t(54 + palette.size());
    return "BM" + Le(uint32_t(at + pixels.size()), 4) + Le(0, 4) + Le(at, 4) + Le(40, 4) + Le(3, 4) +
           Le(topDown ? uint32_t(-2) : 2u, 4) + Le(1, 2) + Le(uint32_t(bits), 2) + Le(0, 4) +
           Le(uint32_t(pixels.size()), 4) + std::string(16, '\0') + palette + pixels;
}

TEST(SlidePicture, BitmapsPackedAsTheyAreAreReadOrRefused) {
    const struct {
        int bits;
        bool topDown;
        std::vector<std::uint32_t> blues;
    } cases[] = {{24, false, {1, 2, 3, 4, 5, 6}},
                 {32, true, {1, 2, 3, 4, 5, 6}},
                 {8, false, {1, 2, 3, 4, 5, 6}},
                 {4, true, {1, 2, 3, 4, 5, 6}},
                 {1, false, {1, 0, 1, 0, 1, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        SlidePicture p;
        ASSERT_TRUE(ReadBitmap(Bitmap(c.bits, c.topDown), p));
        EXPECT_EQ(p.width, 3);
        EXPECT_EQ(p.height, 2);
        std::vector<std::uint32_t> blues;
        for (const std::uint32_t v : p.pixels)
            blues.push_back(v & 0xFFFFFF);
        EXPECT_EQ(blues, c.blues);
    }
    std::string compressed = Bitmap(8, false);
    compressed[30] = 1;
    const std::string refused[] = {Bitmap(24, false).substr(0, 70), compressed,
                                   "GIF89a" + std::string(60, '\0'),
                                   Bitmap(24, false).replace(18, 4, Le(0x7FFFFFFF, 4))};
    for (const std::string& data : refused) {
        SlidePicture p;
        EXPECT_FALSE(ReadBitmap(data, p));
        EXPECT_TRUE(p.pixels.empty());
    }
}

} // namespace
