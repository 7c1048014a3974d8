// SPDX-License-Identifier: MIT
// How pictures of every shape are fitted into the thumbnail's picture area.

#include "thumbnail_fit.h"

#include <gtest/gtest.h>

namespace {
struct FitCase {
    QSize picture;
    std::optional<QSize> first;
    QSize fitted;
};

class ThumbnailFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(ThumbnailFit, ResizesLikeTheWorkedExamples) {
    const FitCase& c = GetParam();
    EXPECT_EQ(firstThumbnailResize(c.picture), c.first);
    EXPECT_EQ(fittedThumbnailSize(c.picture), c.fitted);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ThumbnailFit,
    ::testing::Values(FitCase{{100, 40}, QSize(64, 25), {64, 25}},    // landscape, low
                      FitCase{{100, 80}, QSize(56, 44), {56, 44}},    // landscape, tall: 56 wide
                      FitCase{{100, 95}, QSize(56, 53), {50, 48}},    // still too tall: second step
                      FitCase{{60, 60}, QSize(48, 48), {48, 48}},     // square counts as portrait
                      FitCase{{70, 50}, QSize(64, 45), {64, 45}},     // narrow enough, but taller than 48
                      FitCase{{72, 48}, std::nullopt, {72, 48}},      // fits exactly: untouched
                      FitCase{{73, 48}, QSize(64, 42), {64, 42}},     // one pixel too wide
                      FitCase{{72, 49}, QSize(64, 43), {64, 43}},     // one pixel too tall
                      FitCase{{4000, 3000}, QSize(64, 48), {64, 48}}, // 4:3 lands on 49 or less
                      FitCase{{480, 640}, QSize(36, 48), {36, 48}}));

TEST(ThumbnailFitEdges, VeryThinPicturesKeepAtLeastOnePixel) {
    EXPECT_EQ(fittedThumbnailSize({5000, 10}), QSize(64, 1));
    EXPECT_EQ(fittedThumbnailSize({10, 5000}), QSize(1, 48));
}

TEST(ThumbnailFitEdges, SecondStepOnlyForPicturesTallerThan49) {
    EXPECT_EQ(secondThumbnailResize({56, 49}), std::nullopt);
    EXPECT_EQ(secondThumbnailResize({56, 50}), QSize(53, 48));
}
} // namespace
