#include "screen_depth.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class ScreenDepth : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_screen_depth";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
    void TearDown() override {
        setForcedScreenBitsPerPixel(0);
        qunsetenv("VERASCO_SCREEN_DEPTH");
    }
};

TEST_F(ScreenDepth, MeasuresTheWidgetsScreen) {
    QWidget w;
    EXPECT_EQ(ScreenBitsPerPixel(&w), w.screen()->depth());
    EXPECT_EQ(ScreenBitsPerPixel(nullptr), QGuiApplication::primaryScreen()->depth());
}

TEST_F(ScreenDepth, ForcedDepthWinsOverEnvironmentAndScreen) {
    QWidget w;
    qputenv("VERASCO_SCREEN_DEPTH", "8");
    EXPECT_EQ(ScreenBitsPerPixel(&w), 8);
    setForcedScreenBitsPerPixel(4);
    EXPECT_EQ(ScreenBitsPerPixel(&w), 4);
    setForcedScreenBitsPerPixel(0);
    EXPECT_EQ(ScreenBitsPerPixel(&w), 8);
}

TEST_F(ScreenDepth, UnusableEnvironmentValueIsIgnored) {
    QWidget w;
    for (const char* value : {"", "abc", "0", "-8", "1000"}) {
        qputenv("VERASCO_SCREEN_DEPTH", value);
        EXPECT_EQ(ScreenBitsPerPixel(&w), w.screen()->depth()) << value;
    }
}

} // namespace
