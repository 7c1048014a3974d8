// SPDX-License-Identifier: MIT
// The show file's extension block: the show's own data and its slides' objects written after the
// records and read back, the records untouched by it, keys of later versions kept, and a damaged
// block left out with a reason while the slides are read.

#include "file_bytes.h"
#include "show_file.h"
#include "show_motion.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <optional>
#include <vector>

namespace {

QByteArray littleEndian32(quint32 value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

QByteArray block(const QByteArray& json) {
    return "VRSX" + littleEndian32(quint32(json.size())) + json;
}

std::vector<TSlideRecord> records(int n) {
    std::vector<TSlideRecord> made(std::size_t(n), ShowDocument().freshRecord());
    for (int i = 0; i < n; ++i) {
        made[std::size_t(i)].ImageFile.assign("/pictures/" + std::to_string(i) + ".jpg");
        made[std::size_t(i)].Text.assign("caption " + std::to_string(i));
    }
    return made;
}

QJsonObject motion(double x) {
    return {{"motion", QJsonObject{{"from", QJsonArray{0, 0, 1, 1}}, {"to", QJsonArray{x, 0.1, 0.5, 0.5}}}}};
}

// Music, a fade, band captions, a key of a later version at the top and in a slide, motion on the
// first and last slides.
QJsonObject fullData() {
    return QJsonObject{
        {"music", QJsonArray{QJsonObject{{"path", "/music/one.ogg"}, {"gain", 0.5}},
                             QJsonObject{{"path", "/music/two.flac"}}}},
        {"musicFadeMs", 3500},
        {"captions", "band"},
        {"later", QJsonObject{{"nested", QJsonArray{1, "two", true, QJsonValue()}}}},
    };
}

TEST(ShowFileExtension, TheShowsDataGoesAfterTheRecordsAndComesBackWithEverySlideOperation) {
    ShowDocument plain;
    plain.load(records(3));
    ShowDocument doc;
    QJsonObject later = motion(0.25);
    later.insert("unknown", "kept");
    doc.load(records(3), fullData(), {motion(0.5), {}, later});
    QTemporaryDir dir;
    const QString path = dir.filePath("show.vrs");

    ASSERT_TRUE(ShowFile::write(path, doc).ok);
    const QByteArray bytes = fileBytes(path);
    const QByteArray records = ShowFile::encode(plain);
    EXPECT_EQ(records.size(), 23 + 3 * 824) << "a show without data has no block";
    EXPECT_EQ(bytes.left(records.size()), records) << "header and records as without the data";
    const QByteArray json = bytes.mid(records.size() + 8);
    EXPECT_EQ(bytes.mid(records.size(), 8), "VRSX" + littleEndian32(quint32(json.size())));
    EXPECT_TRUE(QJsonDocument::fromJson(json).isObject());

    ShowDocument back;
    const ShowFile::ReadResult read = ShowFile::read(path, back);
    ASSERT_TRUE(read.ok());
    EXPECT_TRUE(read.extension.damage.isEmpty());
    EXPECT_EQ(back.showData(), fullData());
    EXPECT_EQ(back.extra(0), motion(0.5));
    EXPECT_TRUE(back.extra(1).isEmpty());
    EXPECT_EQ(back.extra(2), later);
    EXPECT_EQ(ShowExtension::musicPaths(back.showData()), (QStringList{"/music/one.ogg", "/music/two.flac"}));
    EXPECT_EQ(ShowExtension::musicFadeMs(back.showData()), 3500);
    EXPECT_EQ(ShowExtension::captions(back.showData()), ShowExtension::Captions::Band);
    const ShowMotion::Motion halfway{{0, 0, 1, 1}, {0.5, 0.1, 0.5, 0.5}};
    EXPECT_EQ(ShowMotion::motion(back.extra(0)), halfway);
    EXPECT_EQ(ShowMotion::withMotion(later, ShowMotion::motion(later)), later) << "written as it was read";

    // Edited and saved again: each slide's object stays with its slide.
    back.move(2, 0);
    back.insert(1, {ShowSlide{ShowDocument().freshRecord(), {}, {}}});
    back.remove(3);
    ASSERT_TRUE(ShowFile::write(path, back).ok);
    ShowDocument again;
    ASSERT_TRUE(ShowFile::read(path, again).ok());
    ASSERT_EQ(again.SlideCount, 3);
    EXPECT_EQ(again.extra(0), later);
    EXPECT_TRUE(again.extra(1).isEmpty());
    EXPECT_EQ(again.extra(2), motion(0.5));
    EXPECT_EQ(again.showData(), fullData());

    // Data taken out again: the file is once more the records alone.
    again.setShowData({});
    for (int i = 0; i < again.SlideCount; ++i)
        again.replace(i, {again.slide(i), again.thumbnail(i), {}});
    EXPECT_EQ(ShowFile::encode(again).size(), 23 + 3 * 824);
}

// Numbers a double does not hold exactly, in keys this version does not read, are written again as
// they were read; the keys it reads are read as before.
TEST(ShowFileExtension, NumbersNotReadAreWrittenAgainExactly) {
    const QByteArray later = R"([123456789012345678901234567890,-0.0,-0,1e400,0.1,-7,"\u001fx"])";
    ShowDocument plain;
    plain.load(records(1));
    const ShowFile::ReadResult read =
        ShowFile::decode(ShowFile::encode(plain) + block(R"({"later":)" + later + R"(,"musicFadeMs":1500})"));
    ASSERT_TRUE(read.extension.damage.isEmpty()) << read.extension.damage.toStdString();
    ShowDocument doc;
    doc.load(read.records, read.extension.show, read.extension.slides);
    EXPECT_TRUE(ShowFile::encode(doc).contains(R"("later":)" + later))
        << ShowFile::encode(doc).mid(847).data();
    EXPECT_EQ(ShowExtension::musicFadeMs(doc.showData()), 1500);
}

TEST(ShowFileExtension, KnownKeysReadAsTheirDefaultsWhenAbsentOrOfAnotherType) {
    const QJsonObject odd{{"music", "/music/one.ogg"}, {"musicFadeMs", "long"}, {"captions", 7}};
    for (const QJsonObject& show : {QJsonObject(), odd}) {
        EXPECT_TRUE(ShowExtension::musicPaths(show).isEmpty());
        EXPECT_EQ(ShowExtension::musicFadeMs(show), ShowExtension::DefaultFadeMs);
        EXPECT_EQ(ShowExtension::captions(show), ShowExtension::Captions::Box);
    }
    EXPECT_EQ(ShowExtension::musicFadeMs({{"musicFadeMs", -5}}), 0);
    const QJsonObject band = ShowExtension::withCaptions(odd, ShowExtension::Captions::Band);
    EXPECT_EQ(ShowExtension::withCaptions(band, ShowExtension::Captions::Box).value("captions"), "box");
    EXPECT_TRUE(ShowExtension::withCaptions({}, ShowExtension::Captions::Box).isEmpty());
    EXPECT_EQ(ShowExtension::withMusic(odd, {}).value("musicFadeMs"), "long") << "other keys stay";
    EXPECT_FALSE(ShowExtension::withMusic(odd, {}).contains("music"));
}

struct MotionCase {
    const char* name;
    QJsonValue motion;                      // the slide's "motion"
    std::optional<ShowMotion::Motion> read; // what the show plays
};

class ShowFileExtensionMotion : public testing::TestWithParam<MotionCase> {};

// A slide's motion is played only when both frames lie within the picture and have a size; any
// other value means no motion, and stays in the file as it was read.
TEST_P(ShowFileExtensionMotion, AMotionIsPlayedOnlyWhenValidAndKeptAsItWasRead) {
    QJsonObject slide{{"later", true}};
    if (!GetParam().motion.isUndefined())
        slide.insert("motion", GetParam().motion);
    ShowDocument doc;
    doc.load(records(2), {}, {{}, slide});
    QTemporaryDir dir;
    const QString path = dir.filePath("show.vrs");
    ASSERT_TRUE(ShowFile::write(path, doc).ok);
    ShowDocument back;
    ASSERT_TRUE(ShowFile::read(path, back).ok());

    EXPECT_EQ(back.extra(1), slide);
    EXPECT_EQ(ShowMotion::motion(back.extra(1)), GetParam().read);
    EXPECT_FALSE(ShowMotion::motion(back.extra(0)));
    const QJsonObject none = ShowMotion::withMotion(slide, std::nullopt);
    EXPECT_EQ(none, (QJsonObject{{"later", true}})) << "no motion takes the key out, the others stay";
    if (GetParam().read) {
        EXPECT_EQ(ShowMotion::motion(ShowMotion::withMotion(none, GetParam().read)), GetParam().read);
    }
}

QJsonObject fromTo(QJsonValue from, QJsonValue to) {
    return {{"from", from}, {"to", to}};
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShowFileExtensionMotion,
    testing::Values(
        MotionCase{"absent", QJsonValue::Undefined, std::nullopt},
        MotionCase{"zoomIn", fromTo(QJsonArray{0, 0, 1, 1}, QJsonArray{0.1, 0.1, 0.8, 0.8}),
                   ShowMotion::Motion{{0, 0, 1, 1}, {0.1, 0.1, 0.8, 0.8}}},
        MotionCase{"frameOnTheEdge", fromTo(QJsonArray{0.7, 0.6, 0.3, 0.4}, QJsonArray{0, 0, 0.3, 0.4}),
                   ShowMotion::Motion{{0.7, 0.6, 0.3, 0.4}, {0, 0, 0.3, 0.4}}},
        MotionCase{"notAnObject", QJsonArray{0, 0, 1, 1}, std::nullopt},
        MotionCase{"noEnd", QJsonObject{{"from", QJsonArray{0, 0, 1, 1}}}, std::nullopt},
        MotionCase{"threeValues", fromTo(QJsonArray{0, 0, 1}, QJsonArray{0, 0, 1, 1}), std::nullopt},
        MotionCase{"aString", fromTo(QJsonArray{0, 0, "1", 1}, QJsonArray{0, 0, 1, 1}), std::nullopt},
        MotionCase{"negative", fromTo(QJsonArray{-0.1, 0, 0.5, 0.5}, QJsonArray{0, 0, 1, 1}), std::nullopt},
        MotionCase{"aboveOne", fromTo(QJsonArray{0, 0, 1, 1}, QJsonArray{0, 0, 1.5, 1}), std::nullopt},
        MotionCase{"noWidth", fromTo(QJsonArray{0, 0, 1, 1}, QJsonArray{0.5, 0.5, 0, 0.2}), std::nullopt},
        MotionCase{"noHeight", fromTo(QJsonArray{0.5, 0.5, 0.2, 0}, QJsonArray{0, 0, 1, 1}), std::nullopt},
        MotionCase{"pastTheEdge", fromTo(QJsonArray{0.6, 0, 0.5, 0.5}, QJsonArray{0, 0, 1, 1}),
                   std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct TailCase {
    const char* name;
    QByteArray tail; // the bytes after the two records
    bool damaged;    // a note is due; otherwise the bytes are no block
};

class ShowFileExtensionTail : public testing::TestWithParam<TailCase> {};

// Whatever follows the records, the slides are read; a damaged block leaves the show's data out and
// says why, bytes that are no block are passed over as a reader of the records alone does.
TEST_P(ShowFileExtensionTail, TheSlidesAreReadAndADamagedBlockIsLeftOutWithAReason) {
    ShowDocument plain;
    plain.load(records(2));
    const QByteArray bytes = ShowFile::encode(plain) + GetParam().tail;
    QTemporaryDir dir;
    const QString path = dir.filePath("show.vrs");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    ShowDocument doc;
    doc.setShowData({{"captions", "band"}});

    const ShowFile::ReadResult read = ShowFile::read(path, doc);

    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.extension.damage.isEmpty(), !GetParam().damaged) << read.extension.damage.toStdString();
    EXPECT_EQ(ShowFile::decode(bytes).extension.damage, read.extension.damage);
    EXPECT_EQ(doc.SlideCount, 2);
    EXPECT_EQ(doc.slide(1).Text.str(), "caption 1");
    EXPECT_TRUE(doc.showData().isEmpty()) << "nothing of the block, nothing of the show before";
    EXPECT_TRUE(doc.extra(0).isEmpty());
    EXPECT_EQ(ShowFile::encode(doc), ShowFile::encode(plain));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShowFileExtensionTail,
    testing::Values(TailCase{"nothing", {}, false}, TailCase{"otherBytes", "trailing bytes", false},
                    TailCase{"tagCut", "VRS", true}, TailCase{"lengthCut", "VRSX\x02", true},
                    TailCase{"lengthBeyondTheEnd", "VRSX" + littleEndian32(40) + "{}", true},
                    TailCase{"lengthBeyondTheLimit", "VRSX" + littleEndian32(0xFFFFFFF0u) + "{}", true},
                    TailCase{"empty", block(""), true}, TailCase{"badJson", block("{\"music\": ["), true},
                    TailCase{"notUtf8", block("{\"captions\": \"\xff\xfe\"}"), true},
                    TailCase{"array", block("[1, 2]"), true}, TailCase{"string", block("\"band\""), true},
                    TailCase{"slidesNotAList", block("{\"slides\": {}}"), true},
                    TailCase{"slidesTooFew", block("{\"slides\": [{}]}"), true},
                    TailCase{"slidesTooMany", block("{\"slides\": [{}, {}, {}]}"), true},
                    TailCase{"slideNotAnObject", block("{\"slides\": [{}, 5]}"), true},
                    TailCase{"nestedTooDeeply",
                             block("{\"later\": " + QByteArray(65, '[') + QByteArray(65, ']') + "}"), true},
                    TailCase{"tooManyValues",
                             block("{\"later\": [" + QByteArray("[],").repeated(100000) + "[]]}"), true},
                    TailCase{"tooMuchMusic",
                             block("{\"music\": [" + QByteArray("{\"path\": \"/m.ogg\"},").repeated(1000) +
                                   "{\"path\": \"/m.ogg\"}]}"),
                             true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
