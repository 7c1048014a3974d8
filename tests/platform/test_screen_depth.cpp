// SPDX-License-Identifier: MIT
#include "qt_application_environment.h"
#include "screen_depth.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

class ScreenDepth : public testing::Test {
  protected:
    void TearDown() override {
        setForcedScreenBitsPerPixel(0);
        qunsetenv("VERASCO_SCREEN_DEPTH");
    }
};

TEST_F(ScreenDepth, ForcedDepthWinsOverEnvironmentAndScreen) {
    QWidget w;
    qputenv("VERASCO_SCREEN_DEPTH", "8");
    EXPECT_EQ(ScreenBitsPerPixel(&w), 8);
    setForcedScreenBitsPerPixel(4);
    EXPECT_EQ(ScreenBitsPerPixel(&w), 4);
    setForcedScreenBitsPerPixel(0);
    EXPECT_EQ(ScreenBitsPerPixel(&w), 8);
}

// Without a usable value in the environment the depth is that of the widget's screen.
TEST_F(ScreenDepth, UnusableEnvironmentValueIsIgnored) {
    QWidget w;
    EXPECT_EQ(ScreenBitsPerPixel(nullptr), QGuiApplication::primaryScreen()->depth());
    for (const char* value : {"", "abc", "0", "-8", "1000"}) {
        qputenv("VERASCO_SCREEN_DEPTH", value);
        EXPECT_EQ(ScreenBitsPerPixel(&w), w.screen()->depth()) << value;
    }
}

} // namespace
