// SPDX-License-Identifier: MIT
// Pan and zoom geometry: the frame in view at each moment of a slide, where it is drawn, how large the
// picture is decoded for it, and the choices' motions.

#include "show_motion.h"

#include <gtest/gtest.h>

namespace {

using ShowMotion::Frame;
using ShowMotion::Kind;
using ShowMotion::Motion;

const Motion Zoom{{0, 0, 1, 1}, {0.2, 0.1, 0.5, 0.6}};

struct FrameCase {
    const char* name;
    double t;
    Frame expected;
};

class ShowMotionFrame : public testing::TestWithParam<FrameCase> {};

// At rest at both ends, halfway at the middle, eased so that it moves slowly near the ends.
TEST_P(ShowMotionFrame, TheFrameInViewFollowsTheSlidesTimeEasedInAndOut) {
    const Frame frame = ShowMotion::frameAt(Zoom, GetParam().t);
    const Frame& e = GetParam().expected;
    EXPECT_NEAR(frame.x, e.x, 1e-4);
    EXPECT_NEAR(frame.y, e.y, 1e-4);
    EXPECT_NEAR(frame.w, e.w, 1e-4);
    EXPECT_NEAR(frame.h, e.h, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Rows, ShowMotionFrame,
                         testing::Values(FrameCase{"before", -0.5, {0, 0, 1, 1}},
                                         FrameCase{"start", 0, {0, 0, 1, 1}},
                                         // (1 - cos(pi / 10)) / 2 = 0.02447 of the way.
                                         FrameCase{"tenth", 0.1, {0.004894, 0.002447, 0.98777, 0.99021}},
                                         FrameCase{"middle", 0.5, {0.1, 0.05, 0.75, 0.8}},
                                         FrameCase{"ninetenths", 0.9, {0.195106, 0.097553, 0.51223, 0.60979}},
                                         FrameCase{"end", 1, {0.2, 0.1, 0.5, 0.6}},
                                         FrameCase{"after", 3, {0.2, 0.1, 0.5, 0.6}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ShowMotion, AFrameIsDrawnAsLargeAsFitsCentredFromAPictureDecodedLargeEnoughForIt) {
    EXPECT_EQ(ShowMotion::sourceRect({0.25, 0.5, 0.5, 0.25}, {4000, 3000}), QRectF(1000, 1500, 2000, 750));
    EXPECT_EQ(ShowMotion::fittedRect({2000, 750}, {0, 0, 800, 600}), QRectF(0, 150, 800, 300));
    EXPECT_EQ(ShowMotion::fittedRect({300, 600}, {10, 0, 800, 600}), QRectF(260, 0, 300, 600));
    EXPECT_TRUE(ShowMotion::fittedRect({0, 600}, {0, 0, 800, 600}).isEmpty());

    EXPECT_EQ(ShowMotion::decodeZoom(std::nullopt), 1);
    EXPECT_DOUBLE_EQ(ShowMotion::decodeZoom(Zoom), 2);
    EXPECT_EQ(ShowMotion::decodeZoom(Motion{{0, 0, 0.01, 1}, {0, 0, 1, 1}}), ShowMotion::MaxZoom);
}

struct PresetCase {
    const char* name;
    Kind kind;
    QSizeF picture;
    int variant;
    Motion expected;
};

class ShowMotionPreset : public testing::TestWithParam<PresetCase> {};

// Each choice's motion keeps the picture's shape, pans across its longer side, and is recognised as
// that choice again when the dialog opens.
TEST_P(ShowMotionPreset, AChoiceGivesItsMotionAndIsKnownAgainByIt) {
    const PresetCase& c = GetParam();
    const std::optional<Motion> made = ShowMotion::preset(c.kind, c.picture, c.variant);
    ASSERT_TRUE(made);
    EXPECT_NEAR(made->from.x, c.expected.from.x, 1e-9);
    EXPECT_NEAR(made->from.y, c.expected.from.y, 1e-9);
    EXPECT_NEAR(made->to.x, c.expected.to.x, 1e-9);
    EXPECT_NEAR(made->to.y, c.expected.to.y, 1e-9);
    EXPECT_NEAR(made->to.w, c.expected.to.w, 1e-9);
    EXPECT_EQ(ShowMotion::kindOf(made, c.picture), c.kind);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ShowMotionPreset,
    testing::Values(
        PresetCase{"zoomIn", Kind::ZoomIn, {400, 300}, 0, {{0, 0, 1, 1}, {0.1, 0.1, 0.8, 0.8}}},
        PresetCase{"zoomOut", Kind::ZoomOut, {400, 300}, 0, {{0.1, 0.1, 0.8, 0.8}, {0, 0, 1, 1}}},
        PresetCase{"panWide", Kind::Pan, {400, 300}, 0, {{0, 0.1, 0.8, 0.8}, {0.2, 0.1, 0.8, 0.8}}},
        PresetCase{"panWideBack", Kind::Pan, {400, 300}, 1, {{0.2, 0.1, 0.8, 0.8}, {0, 0.1, 0.8, 0.8}}},
        PresetCase{"panTall", Kind::Pan, {300, 400}, 0, {{0.1, 0, 0.8, 0.8}, {0.1, 0.2, 0.8, 0.8}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShowMotion, NoneAndOtherMotionsAreShownAsTheirOwnChoices) {
    EXPECT_EQ(ShowMotion::kindOf(std::nullopt, {400, 300}), Kind::None);
    EXPECT_EQ(ShowMotion::kindOf(Zoom, {400, 300}), Kind::Custom);
    EXPECT_FALSE(ShowMotion::preset(Kind::None, {400, 300}));
    EXPECT_FALSE(ShowMotion::preset(Kind::Custom, {400, 300}));
}

TEST(ShowMotion, GentleMotionsDifferFromSlideToSlide) {
    const std::vector<Motion> motions = ShowMotion::gentleMotions(std::vector<QSizeF>(5, QSizeF(400, 300)));
    ASSERT_EQ(motions.size(), 5u);
    const Kind kinds[] = {Kind::ZoomIn, Kind::Pan, Kind::ZoomOut, Kind::Pan, Kind::ZoomIn};
    for (std::size_t i = 0; i < motions.size(); ++i)
        EXPECT_EQ(ShowMotion::kindOf(motions[i], {400, 300}), kinds[i]) << i;
    for (std::size_t i = 0; i + 1 < motions.size(); ++i)
        EXPECT_NE(motions[i], motions[i + 1]) << i;
}

} // namespace
