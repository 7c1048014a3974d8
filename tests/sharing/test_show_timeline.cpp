// SPDX-License-Identifier: MIT
// The show laid out in time as the viewer plays it at the middle speed: each slide's time and hold,
// and which sound plays when, on across slides without audio and cut by the next one.
#include "show_timeline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using ShowRules::SlideTiming;

namespace {

SlideTiming slide(int seconds, std::int64_t audioMs = -2, bool hold = false) {
    SlideTiming s;
    s.delaySeconds = seconds;
    s.hasAudio = audioMs != -2; // -1: audio named but not playable
    s.audioMs = audioMs;
    s.holdForAudio = hold;
    return s;
}

struct Row {
    const char* what;
    std::vector<SlideTiming> slides;
    std::int64_t fadeMs;
    std::vector<std::int64_t> starts; // and the total at the end
    std::string sounds;               // "slide:start-end" each
    std::vector<std::int64_t> fades = {};
};

std::string soundsOf(const ShowRules::ShowTimeline& t) {
    std::string text;
    for (const auto& s : t.sounds)
        text += (text.empty() ? "" : " ") + std::to_string(s.slide) + ":" + std::to_string(s.startMs) + "-" +
                std::to_string(s.endMs);
    return text;
}

} // namespace

TEST(ShowTimeline, FollowsTheViewersRulesForTimesHoldsAndSounds) {
    const std::vector<Row> rows = {
        {"own times", {slide(2), slide(1), slide(3)}, 0, {0, 2000, 3000, 6000}, ""},
        {"a sound plays on across slides without audio and is cut at the show's end",
         {slide(1, 2500), slide(1), slide(1)},
         0,
         {0, 1000, 2000, 3000},
         "0:0-2500"},
        {"the next slide's sound ends the earlier one",
         {slide(2, 5000), slide(2, 1000), slide(2)},
         0,
         {0, 2000, 4000, 6000},
         "0:0-2000 1:2000-3000"},
        {"a held slide lasts until its sound ends, or its own time when that is longer",
         {slide(1, 3200, true), slide(4, 1000, true), slide(1)},
         0,
         {0, 3200, 7200, 8200},
         "0:0-3200 1:3200-4200"},
        {"a sound that cannot be played ends the earlier one and holds nothing",
         {slide(2, 9000), slide(1, -1, true), slide(1)},
         0,
         {0, 2000, 3000, 4000},
         "0:0-2000"},
        {"the same sound on two slides starts again",
         {slide(1, 1500), slide(1, 1500)},
         0,
         {0, 1000, 2000},
         "0:0-1000 1:1000-2000"},
        {"the last slide's sound stops with the show",
         {slide(1), slide(2, 60000)},
         0,
         {0, 1000, 3000},
         "1:1000-3000"},
        {"a cross-fade is part of the next slide's time, never longer than it",
         {slide(2), slide(1), slide(3)},
         1500,
         {0, 2000, 3000, 6000},
         "",
         {0, 1000, 1500}},
    };
    for (const Row& row : rows) {
        const auto timeline = ShowRules::makeTimeline(row.slides, row.fadeMs);
        std::vector<std::int64_t> starts;
        std::vector<std::int64_t> fades;
        for (const auto& s : timeline.slides) {
            starts.push_back(s.startMs);
            fades.push_back(s.transitionMs);
        }
        starts.push_back(timeline.totalMs);
        EXPECT_EQ(starts, row.starts) << row.what;
        EXPECT_EQ(soundsOf(timeline), row.sounds) << row.what;
        if (!row.fades.empty()) {
            EXPECT_EQ(fades, row.fades) << row.what;
        }
        for (std::size_t i = 0; i + 1 < timeline.slides.size(); ++i)
            EXPECT_EQ(timeline.slides[i].endMs, timeline.slides[i + 1].startMs) << row.what;
    }
}

TEST(ShowTimeline, FramesFallOnTheNearestBoundary) {
    EXPECT_EQ(ShowRules::frameAt(0, 25), 0);
    EXPECT_EQ(ShowRules::frameAt(3000, 25), 75);
    EXPECT_EQ(ShowRules::frameAt(3019, 25), 75); // within half a frame
    EXPECT_EQ(ShowRules::frameAt(3021, 25), 76);
    EXPECT_EQ(ShowRules::frameAt(1000, 24), 24);
}
