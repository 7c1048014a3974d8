// SPDX-License-Identifier: MIT
// The slide list of a package: its bytes as the format lays them out, the reader's refusals of
// damaged lists, where each slide's data lies in the image data, and the player options text.

#include "slide_list.h"
#include "slide_list_bytes.h"

#include <gtest/gtest.h>

namespace {

using namespace slide_list_bytes;

TEST(SlideList, WritesTheHeaderAndRecordsAtTheirOffsets) {
    SlideList list;
    list.options = "loop=1";
    TSlideRecord record{};
    record.ImageFile.assign("2048");
    record.AudioFile.assign("SONG.WAV");
    record.Delay = 7;
    record.FontColor = 0x0000FF;
    record.FontSize = -13;
    record.Text.assign("Caption");
    list.records = {record, record};

    const std::string bytes = list.bytes();
    ASSERT_EQ(bytes.size(), 151u + 2 * 824u);
    EXPECT_EQ(bytes.substr(0, 15), "MORVANT rev1.01");
    EXPECT_EQ(bytes.substr(15, 64), "loop=1" + std::string(58, ' '));
    EXPECT_EQ(bytes.substr(79, 64), std::string(64, ' '));
    EXPECT_EQ(getInt32(bytes, 143), 2);
    EXPECT_EQ(getInt32(bytes, 147), 824);
    const std::string second = bytes.substr(151 + 824, 824);
    EXPECT_EQ(shortStringAt(second, 2), "2048");
    EXPECT_EQ(shortStringAt(second, 258), "SONG.WAV");
    EXPECT_EQ(second[514], 7);
    EXPECT_EQ(getInt32(second, 556), 0xFF);
    EXPECT_EQ(getInt32(second, 560), -13);
    EXPECT_EQ(shortStringAt(second, 568), "Caption");
}

TEST(SlideList, CutsFieldsLongerThanTheirRoom) {
    SlideList list;
    list.options = std::string(70, 'x');
    EXPECT_EQ(list.header(0).substr(15, 64), std::string(64, 'x'));
}

TEST(SlideList, ReadsWhatWasWrittenByHand) {
    const std::string bytes = header(2, "loop=0 speed=3", "made by hand") +
                              Record().image("0").audio("A.WAV").byte(515, 1).bytes +
                              Record().image("99").int32(560, 12).bytes;
    SlideList list;
    ASSERT_TRUE(SlideList::parse(bytes, list).ok());
    EXPECT_EQ(list.options, "loop=0 speed=3");
    EXPECT_EQ(list.note, "made by hand");
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.records[0].AudioFile.str(), "A.WAV");
    EXPECT_EQ(list.records[0].HoldForAudio, 1);
    EXPECT_EQ(list.records[1].ImageFile.str(), "99");
    EXPECT_EQ(list.records[1].FontSize, 12);
    EXPECT_EQ(list.bytes(), bytes);
}

struct DamagedCase {
    const char* name;
    std::string bytes;
    SlideList::Status status;
};

TEST(SlideList, RefusesDamagedLists) {
    const std::string oneRecord = Record().image("0").bytes;
    const DamagedCase cases[] = {
        {"empty file", "", SlideList::Status::BadSignature},
        {"other signature", header(0, {}, {}, 824, "morvant rev1.01"), SlideList::Status::BadSignature},
        {"header cut short", header(0).substr(0, 150), SlideList::Status::Truncated},
        {"negative count", header(-1), SlideList::Status::BadHeader},
        {"other record size", header(1, {}, {}, 412) + oneRecord, SlideList::Status::BadHeader},
        {"fewer records than announced", header(3) + oneRecord + oneRecord, SlideList::Status::Truncated},
        {"last record cut short", header(1) + oneRecord.substr(0, 823), SlideList::Status::Truncated},
        {"count beyond any file", header(0x7FFFFFFF) + oneRecord, SlideList::Status::Truncated},
    };
    for (const DamagedCase& c : cases) {
        SlideList list;
        list.records.resize(2);
        const SlideList::ParseResult result = SlideList::parse(c.bytes, list);
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_FALSE(result.error.empty()) << c.name;
        EXPECT_TRUE(list.records.empty()) << c.name;
    }
}

TEST(SlideList, AcceptsAnOlderVersionTextAndIgnoresBytesAfterTheRecords) {
    SlideList list;
    EXPECT_TRUE(SlideList::parse(header(0, {}, {}, 824, "MORVANT rev1.00") + "tail", list).ok());
}

struct RangeCase {
    const char* name;
    std::vector<std::string> offsets;
    std::int64_t dataSize;
    std::vector<SlideList::DataRange> expected;
};

TEST(SlideList, FindsEachSlidesDataInTheImageData) {
    const RangeCase cases[] = {
        {"consecutive images",
         {"0", "100", "250"},
         400,
         {{0, 100, true}, {100, 150, true}, {250, 150, true}}},
        {"blank slides carry the running offset",
         {"0", "0", "10", "10"},
         10,
         {{0, 0, true}, {0, 10, true}, {10, 0, true}, {10, 0, true}}},
        {"last offset past the end", {"0", "500"}, 400, {{0, 400, false}, {500, 0, false}}},
        {"offsets going back", {"0", "300", "200"}, 400, {{0, 300, true}, {300, 0, false}, {200, 200, true}}},
        {"offset that is no plain number",
         {"0", "+5", "7"},
         10,
         {{0, 0, false}, {0, 0, false}, {7, 3, true}}},
        {"path instead of an offset", {"C:\\a.jpg"}, 10, {{0, 0, false}}},
        {"number too large", {"99999999999999999999"}, 10, {{0, 0, false}}},
    };
    for (const RangeCase& c : cases) {
        SlideList list;
        for (const std::string& offset : c.offsets) {
            TSlideRecord record{};
            record.ImageFile.assign(offset);
            list.records.push_back(record);
        }
        const auto ranges = list.dataRanges(c.dataSize);
        ASSERT_EQ(ranges.size(), c.expected.size()) << c.name;
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            EXPECT_EQ(ranges[i].valid, c.expected[i].valid) << c.name << " slide " << i;
            if (c.expected[i].valid) {
                EXPECT_EQ(ranges[i].offset, c.expected[i].offset) << c.name << " slide " << i;
                EXPECT_EQ(ranges[i].length, c.expected[i].length) << c.name << " slide " << i;
            } else {
                EXPECT_EQ(ranges[i].length, 0) << c.name << " slide " << i;
            }
        }
    }
}

TEST(PlayerOptions, ReadsKnownKeysAndKeepsDefaultsForTheRest) {
    struct Case {
        const char* text;
        bool loop;
        int speed;
        bool controls;
    } cases[] = {
        {"", true, 10, false},
        {"loop=0 speed=4 controls=1", false, 4, true},
        {"speed=21 loop=2 controls=", true, 10, false},
        {"colour=red  speed=0", true, 0, false},
        {"speed=-3 loop=1=1", true, 10, false},
    };
    for (const Case& c : cases) {
        const PlayerOptions o = PlayerOptions::parse(c.text);
        EXPECT_EQ(o.loop, c.loop) << c.text;
        EXPECT_EQ(o.speed, c.speed) << c.text;
        EXPECT_EQ(o.controls, c.controls) << c.text;
    }
    PlayerOptions o;
    o.loop = false;
    o.speed = 17;
    o.controls = true;
    const PlayerOptions back = PlayerOptions::parse(o.format());
    EXPECT_EQ(std::tuple(back.loop, back.speed, back.controls), std::tuple(false, 17, true));
    EXPECT_LE(o.format().size(), 64u);
}

} // namespace
