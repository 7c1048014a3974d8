// SPDX-License-Identifier: MIT
// On-screen display: scaled to the control keeping the proportions, or at its own size with scroll
// bars when the picture is larger than the control.
#include "support.h"
#include "tphoto.h"

#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace imaging_test;

namespace {

// A 200 x 100 picture: left half red, right half blue.
QString twoColourPicture(const QTemporaryDir& dir) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 0));
    for (int y = 0; y < 100; ++y)
        for (int x = 100; x < 200; ++x)
            image.setPixel(x, y, qRgb(0, 0, 255));
    const QString path = dir.filePath("two.png");
    EXPECT_TRUE(image.save(path));
    return path;
}

QList<QScrollBar*> visibleBars(const TPhoto& photo) {
    QList<QScrollBar*> bars;
    for (QScrollBar* bar : photo.findChildren<QScrollBar*>())
        if (bar->isVisible())
            bars.append(bar);
    return bars;
}

TEST(Display, ScaledToTheControlKeepingProportions) {
    QTemporaryDir dir;
    TPhoto photo;
    QPalette pal = photo.palette();
    pal.setColor(QPalette::Window, Qt::black);
    photo.setPalette(pal);
    photo.resize(100, 100);
    photo.setAutoSize(4);
    photo.setUpdate(false);
    photo.setFileName(twoColourPicture(dir));
    photo.setUpdate(true);
    photo.show();
    photo.Redisplay();
    const QImage shot = photo.grab().toImage();
    // 200 x 100 fitted into 100 x 100 is 100 x 50, centred: rows 25..74.
    EXPECT_EQ(shot.pixel(10, 10) & 0xffffff, 0u);
    EXPECT_EQ(shot.pixel(10, 90) & 0xffffff, 0u);
    EXPECT_EQ(shot.pixel(20, 50), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(80, 50), qRgb(0, 0, 255));
    EXPECT_TRUE(visibleBars(photo).isEmpty());
}

TEST(Display, OwnSizeScrollsWhenLarger) {
    QTemporaryDir dir;
    TPhoto photo;
    photo.resize(120, 120);
    photo.setAutoSize(1);
    photo.setScrollBars(3);
    photo.setFileName(twoColourPicture(dir));
    photo.show();
    photo.Refresh();
    const QList<QScrollBar*> bars = visibleBars(photo);
    ASSERT_EQ(bars.size(), 1); // only the width exceeds the control
    QScrollBar* horizontal = bars.first();
    EXPECT_EQ(horizontal->orientation(), Qt::Horizontal);
    EXPECT_EQ(horizontal->maximum(), 200 - 120);
    EXPECT_EQ(photo.grab().toImage().pixel(5, 5), qRgb(255, 0, 0));
    horizontal->setValue(horizontal->maximum());
    EXPECT_EQ(photo.grab().toImage().pixel(115, 5), qRgb(0, 0, 255));
    EXPECT_EQ(photo.grab().toImage().pixel(5, 5), qRgb(255, 0, 0)); // x 80 of the picture

    photo.setScrollBars(0);
    EXPECT_TRUE(visibleBars(photo).isEmpty());
    photo.setScrollBars(2);
    EXPECT_TRUE(visibleBars(photo).isEmpty()); // the height fits
}

TEST(Display, UpdateOffSuspendsPainting) {
    QTemporaryDir dir;
    TPhoto photo;
    photo.resize(100, 100);
    photo.show();
    photo.setUpdate(false);
    EXPECT_FALSE(photo.Update());
    photo.setFileName(twoColourPicture(dir));
    photo.Redisplay();
    EXPECT_NE(photo.grab().toImage().pixel(20, 50), qRgb(255, 0, 0));
    photo.setUpdate(true);
    EXPECT_EQ(photo.grab().toImage().pixel(20, 50), qRgb(255, 0, 0));
}

} // namespace
