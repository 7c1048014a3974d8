// SPDX-License-Identifier: MIT
// Entry of the test programs that make widgets: they run inside an application on the offscreen
// platform, without a display, and with a settings folder of their own, so that the user's own
// settings stay untouched.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
