// SPDX-License-Identifier: MIT
// The show written as a web page and opened in a headless Chromium with a virtual clock: what the
// folder holds, each slide's picture and caption on screen at the middle of its time, no request
// outside the folder (also once it is copied elsewhere), and a browser that lets no sound play
// before a click starting the show with the first click.
#include "file_bytes.h"
#include "headless_browser.h"
#include "qt_application_environment.h"
#include "share_test_support.h"
#include "web_page_export.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QPainter>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

const QSize Window(1024, 700);
const QColor Red(200, 0, 0), Blue(0, 0, 200);

bool copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString copy = QDir(to).filePath(QDir(from).relativeFilePath(file));
        if (!QDir().mkpath(QFileInfo(copy).absolutePath()) || !QFile::copy(file, copy))
            return false;
    }
    return true;
}

// Four slides: A (2 s, a WAV sound, red caption), B (2 s, blue caption), a blank slide held for its
// Ogg sound, and C, larger than a page picture may be.
class PageTest : public ::testing::Test, public ShareShow {
  protected:
    void SetUp() override {
        if (peerProgram("chromium").isEmpty() || peerProgram("ffmpeg").isEmpty())
            GTEST_SKIP()
                << "chromium and ffmpeg (Debian's chromium and ffmpeg) are needed to look at the page";
        a = picture("a.jpg", {1600, 1200}, QColor(230, 120, 40));
        b = picture("b.jpg", {600, 900}, QColor(40, 200, 90));
        c = picture("c.jpg", {2400, 1800}, QColor(60, 80, 240));
        sound = wav("a.wav", 1500);
        add(a, 2, sound, false, "Sunrise over the bay", Red);
        add(b, 2, {}, false, "Harbour", Blue);
        add("BLANK", 1, ogg("b.ogg", 1200), true, "Interval");
        add(c, 1);
        folder = path("page");
        sharing::WebPageJob job{shared(), folder};
        const sharing::ShareOutcome outcome = sharing::writeWebPage(job, {});
        ASSERT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();
    }

    // The slide on screen shows `picture` where the page put it and `caption` in its colour.
    void expectSlide(HeadlessBrowser& browser, int number, const QString& picture, QColor captionColour) {
        EXPECT_EQ(browser.evaluate("document.getElementById('number').textContent").toString(),
                  QStringLiteral("%1 / 4").arg(number));
        const QImage shot = browser.screenshot();
        ASSERT_EQ(shot.size(), Window);
        const QJsonArray at = browser
                                  .evaluate("(() => { const r = layers[front].getBoundingClientRect();"
                                            " return [r.x, r.y, r.width, r.height]; })()")
                                  .toArray();
        const QRect place(at[0].toInt(), at[1].toInt(), at[2].toInt(), at[3].toInt());
        ASSERT_FALSE(place.isEmpty());
        QImage expected(Window, QImage::Format_RGB32);
        QPainter(&expected).drawImage(
            place, QImage(picture).scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        EXPECT_GT(psnr(shot, expected, place.adjusted(2, 2, -2, -2)), 28.0);
        const QJsonArray band = browser
                                    .evaluate("(() => { const r = caption.getBoundingClientRect();"
                                              " return [r.x, r.y, r.width, r.height]; })()")
                                    .toArray();
        const QRect captionArea(band[0].toInt(), band[1].toInt(), band[2].toInt(), band[3].toInt());
        EXPECT_GE(captionArea.top(), place.bottom());
        EXPECT_GT(pixelsNear(shot, captionArea, captionColour), 100);
    }

    void expectRequestsInside(const HeadlessBrowser& browser, const QString& inside) {
        const QString prefix =
            QString::fromLatin1(QUrl::fromLocalFile(inside).toEncoded()) + QLatin1Char('/');
        EXPECT_FALSE(browser.requests().isEmpty());
        for (const QString& url : browser.requests())
            EXPECT_TRUE(url.startsWith(prefix) || url.startsWith("data:") || url.startsWith("blob:"))
                << url.toStdString();
    }

    QString a, b, c, sound, folder;
};

} // namespace

TEST_F(PageTest, HoldsThePageItsPicturesAndSoundsBrowsersPlay) {
    EXPECT_TRUE(sharing::isSharedWebPage(folder));
    const QSize sizes[] = {{1600, 1200}, {600, 900}, {1920, 1440}};
    for (int i = 0; i < 3; ++i) {
        QImageReader reader(folder + QStringLiteral("/pictures/picture-%1.jpg").arg(i + 1));
        EXPECT_EQ(reader.format(), "jpeg");
        EXPECT_EQ(reader.size(), sizes[i]);
    }
    EXPECT_EQ(fileBytes(folder + "/sounds/sound-1.wav"), fileBytes(sound)); // as it was
    const QJsonObject mp3 = probeFile(folder + "/sounds/sound-2.mp3");
    EXPECT_EQ(mp3["streams"][0]["codec_name"].toString(), QStringLiteral("mp3"));
    EXPECT_NEAR(mp3["format"]["duration"].toString().toDouble(), 1.2, 0.1);
    // Nothing of the work is left beside it.
    EXPECT_EQ(
        QDir(path(".")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).filter(".part"),
        QStringList());
}

TEST_F(PageTest, PlaysEachSlideForItsTimeWithItsPictureAndCaptionAndAsksForNothingOutside) {
    HeadlessBrowser browser({"--autoplay-policy=no-user-gesture-required"});
    ASSERT_TRUE(browser.isRunning());
    ASSERT_TRUE(browser.open(QUrl::fromLocalFile(folder + "/index.html").toString(), Window, 1000));
    expectSlide(browser, 1, a, Red);
    ASSERT_TRUE(browser.run(2000));
    expectSlide(browser, 2, b, Blue);
    expectRequestsInside(browser, folder);

    // The same from a copy of the folder elsewhere.
    const QString copy = path("elsewhere/shared show");
    ASSERT_TRUE(copyFolder(folder, copy));
    ASSERT_TRUE(browser.open(QUrl::fromLocalFile(copy + "/index.html").toString(), Window, 1000));
    expectSlide(browser, 1, a, Red);
    expectRequestsInside(browser, copy);
}

TEST_F(PageTest, ABrowserThatBlocksSoundStartsTheShowWithTheFirstClick) {
    HeadlessBrowser browser({"--autoplay-policy=document-user-activation-required"});
    ASSERT_TRUE(browser.isRunning());
    ASSERT_TRUE(browser.open(QUrl::fromLocalFile(folder + "/index.html").toString(), Window, 100));
    EXPECT_EQ(browser.evaluate("getComputedStyle(document.getElementById('start')).display").toString(),
              QStringLiteral("flex"));
    ASSERT_TRUE(browser.run(2900)); // past the first slide's time: the show waits
    EXPECT_EQ(browser.evaluate("document.getElementById('number').textContent").toString(),
              QStringLiteral("1 / 4"));
    browser.click(QPoint(Window.width() / 2, 200));
    ASSERT_TRUE(browser.run(1000));
    EXPECT_EQ(browser.evaluate("document.getElementById('play').textContent").toString(),
              QStringLiteral("Stop"));
    expectSlide(browser, 1, a, Red);
    ASSERT_TRUE(browser.run(2000));
    expectSlide(browser, 2, b, Blue);
}
