// SPDX-License-Identifier: MIT
// The show laid out in time as the viewer plays it at the middle speed: each slide's time and hold,
// which sound plays when, on across slides without audio and cut by the next one, and the change
// into each slide.
#include "show_timeline.h"
#include "slide_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include <set>
#include <string>
#include <tuple>
#include <vector>

using ShowRules::SlideTiming;

namespace {

SlideTiming slide(double seconds, std::int64_t audioMs = -2, bool hold = false) {
    SlideTiming s;
    s.timeMs = std::llround(seconds * 1000);
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
        {"tenths of a second", {slide(2.5), slide(0.1), slide(1)}, 0, {0, 2500, 2600, 3600}, ""},
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

// The finer time beside the record counts only where the record's whole seconds are it rounded: a
// time an older program gave the record wins over one it did not know of.
TEST(ShowTimeline, ASlidesTimeIsItsTenthsWhereTheRecordAgrees) {
    const struct {
        int delay;
        std::int64_t storedMs, timeMs;
    } rows[] = {
        {3, -1, 3000},   {3, 2500, 2500}, {1, 100, 100},         {255, 255000, 255000},
        {7, 2500, 7000}, {1, 99, 1000},   {255, 255100, 255000}, {2, 1499, 2000},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ShowRules::slideTimeMs(row.delay, row.storedMs), row.timeMs)
            << row.delay << " " << row.storedMs;
    EXPECT_EQ(ShowRules::delayOf(2500), 3);
    EXPECT_EQ(ShowRules::delayOf(100), 1);
}

TEST(ShowTimeline, ChangesTakeTheirKindsLengthsAndPlacesByTheRules) {
    using ShowRules::TransitionKind;
    using K = TransitionKind;
    // Between 200 and 5000 ms, within both slides' own times; a cut takes none; a slide without a
    // change of its own keeps the players' cross-fade, within its own time only.
    std::vector<SlideTiming> slides = {slide(3),  slide(1),  slide(10), slide(10),
                                       slide(10), slide(10), slide(2)};
    const std::pair<K, std::int64_t> stored[] = {{K::Fade, 0},        {K::Fade, 2000}, {K::WipeUp, 4000},
                                                 {K::PushLeft, 9000}, {K::Cut, 1000},  {K::Zoom, 100}};
    for (std::size_t i = 0; i < std::size(stored); ++i)
        slides[i].transition = ShowRules::Transition{stored[i].first, stored[i].second};
    std::vector<std::int64_t> lengths;
    for (const auto& s : ShowRules::makeTimeline(slides, 1500).slides)
        lengths.push_back(s.transitionMs);
    EXPECT_EQ(lengths, (std::vector<std::int64_t>{0, 1000, 1000, 5000, 0, 200, 1500}));

    // "random": another kind than the change before, the same each time the show plays, and every
    // kind that moves or fades in its turn.
    std::vector<SlideTiming> randoms(60, slide(5));
    for (SlideTiming& s : randoms)
        s.transition = ShowRules::Transition{K::Random, 1000};
    randoms[30].transition = ShowRules::Transition{K::WipeDown, 1000};
    const auto first = ShowRules::makeTimeline(randoms).slides,
               again = ShowRules::makeTimeline(randoms).slides;
    std::set<K> chosen;
    for (std::size_t i = 1; i < first.size(); ++i) {
        EXPECT_EQ(first[i].transition, again[i].transition) << i;
        if (i != 30) { // its own kind, whatever came before
            EXPECT_NE(first[i].transition, first[i - 1].transition) << i;
        }
        chosen.insert(first[i].transition);
    }
    EXPECT_EQ(chosen.size(), 10u);
    EXPECT_FALSE(chosen.contains(K::Cut) || chosen.contains(K::Random));

    // Halfway: a wipe to the right shows the new picture on the left, one upwards at the foot; a push
    // to the left moves both pictures left; a zoom has grown and faded in halfway.
    EXPECT_EQ(ShowRules::transitionAt(K::WipeRight, 0.5, 100, 60).newClip, (ShowRules::Rect{0, 0, 50, 60}));
    EXPECT_EQ(ShowRules::transitionAt(K::WipeUp, 0.5, 100, 60).newClip, (ShowRules::Rect{0, 30, 100, 30}));
    const ShowRules::TransitionLook push = ShowRules::transitionAt(K::PushLeft, 0.5, 100, 60),
                                    zoom = ShowRules::transitionAt(K::Zoom, 0.5, 100, 60);
    EXPECT_EQ(std::tie(push.oldX, push.newX, push.newY), std::make_tuple(-50, 50, 0));
    EXPECT_EQ(std::make_pair(zoom.newScale, zoom.newOpacity), std::make_pair(0.75, 0.5));
    EXPECT_EQ(ShowRules::transitionKindOf("push-up"), K::PushUp);
    EXPECT_EQ(ShowRules::transitionKindOf("spin"), K::Fade);
}
