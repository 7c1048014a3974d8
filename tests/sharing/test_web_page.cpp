// SPDX-License-Identifier: MIT
// The show written as a web page and opened in a headless Chromium with a virtual clock: what the
// folder holds, each slide's picture and caption on screen at the middle of its time, no request
// outside the folder (also once it is copied elsewhere), a browser that lets no sound play before a
// click starting the show with the first click; texts that mean something to a page shown as typed,
// and the fades, missing pictures, caption band, motion and music as in the viewer.
#include "file_bytes.h"
#include "headless_browser.h"
#include "missing_picture.h"
#include "qt_application_environment.h"
#include "share_test_support.h"
#include "show_extension.h"
#include "show_motion.h"
#include "web_page_export.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QPainter>
#include <QUrl>
#include <gmock/gmock.h>
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
        const QJsonArray band = browser
                                    .evaluate("(() => { const r = caption.getBoundingClientRect();"
                                              " return [r.x, r.y, r.width, r.height, area.clientWidth]; })()")
                                    .toArray();
        const QRect captionArea(band[0].toInt(), band[1].toInt(), band[2].toInt(), band[3].toInt());
        // The caption on its dark band over the bottom of the picture, across the whole area.
        EXPECT_NEAR(captionArea.bottom(), place.bottom(), 1);
        EXPECT_EQ(captionArea.width(), band[4].toInt());
        EXPECT_GT(pixelsNear(shot, captionArea, captionColour), 100);
        EXPECT_LT(pixelsNear(shot, captionArea, Qt::white, 30),
                  captionArea.width() * captionArea.height() / 10);
        QImage expected(Window, QImage::Format_RGB32);
        QPainter(&expected).drawImage(
            place, QImage(picture).scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        EXPECT_GT(
            psnr(shot, expected,
                 place.adjusted(2, 2, -2, -2).intersected(QRect(0, 0, Window.width(), captionArea.top()))),
            28.0);
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
    EXPECT_EQ(QImageReader(folder + "/pictures/picture-3.jpg").size(), QSize(1920, 1440));
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

// A sound of each kind the viewer plays: each is in the page as a sound every browser plays, whole.
TEST(PageSounds, EveryKindTheViewerPlaysIsInThePage) {
    if (peerProgram("ffprobe").isEmpty() || peerProgram("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffprobe and ffmpeg (Debian's ffmpeg) are needed to make and look at the sounds";
    ShareShow show;
    const QString photo = show.picture("p.jpg", {320, 240}, Blue);
    for (const QString& sound : {show.encoded("s.mp3", 900, "libmp3lame"), show.ogg("s.ogg", 900),
                                 show.encoded("s.flac", 900, "flac"), show.encoded("s.opus", 900, "libopus"),
                                 show.wav("s.wav", 900)}) {
        ASSERT_FALSE(sound.isEmpty());
        show.add(photo, 1, sound);
    }
    const QString folder = show.path("page");
    const sharing::ShareOutcome outcome = sharing::writeWebPage({show.shared(), folder}, {});
    ASSERT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();
    const QStringList sounds = QDir(folder + "/sounds").entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(sounds.size(), 5);
    for (const QString& sound : sounds) {
        SCOPED_TRACE(sound.toStdString());
        const QJsonObject facts = probeFile(folder + "/sounds/" + sound);
        EXPECT_THAT(facts["streams"][0]["codec_name"].toString().toStdString(),
                    testing::AnyOf("mp3", "pcm_s16le"));
        EXPECT_NEAR(facts["format"]["duration"].toString().toDouble(), 0.9, 0.1);
    }
}

// Every picture is a JPEG no larger than the page's limit, with at least a pixel on each side.
TEST(PagePictures, AreJpegsWithinTheLimitKeepingTheirProportions) {
    const struct {
        QSize size, inPage;
    } rows[] = {
        {{1600, 1200}, {1600, 1200}}, {{600, 900}, {600, 900}}, {{2400, 1800}, {1920, 1440}},
        {{16384, 1}, {1920, 1}},      {{1, 16384}, {1, 1920}},
    };
    ShareShow show;
    for (const auto& row : rows)
        show.add(show.picture(QStringLiteral("%1x%2.jpg").arg(row.size.width()).arg(row.size.height()),
                              row.size, Blue),
                 1);
    const QString folder = show.path("page");
    const sharing::ShareOutcome outcome = sharing::writeWebPage({show.shared(), folder}, {});
    ASSERT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        QImageReader reader(folder + QStringLiteral("/pictures/picture-%1.jpg").arg(i + 1));
        EXPECT_EQ(reader.format(), "jpeg") << i;
        EXPECT_EQ(reader.size(), rows[i].inPage) << i;
    }
}

// Texts that mean something to a page's markup or its script, in the captions, the font names and
// the folder's name that titles the page: the page plays and gives each caption as it was typed
// (drawn beside it), one too long for its picture smaller and whole.
TEST(PageTexts, AreShownAsTypedWhateverTheySay) {
    if (peerProgram("chromium").isEmpty())
        GTEST_SKIP() << "chromium (Debian's chromium) is needed to look at the page";
    const struct {
        QString caption, font;
    } rows[] = {
        {"<!--<script>", "DejaVu Sans"},
        {"</script><script>document.title = 'taken'</script>", "</script><!--<script>"},
        {"]]> <![CDATA[ x", "DejaVu Sans"},
        {"&amp; &lt;b&gt; & <b>not bold</b>", "&quot;Font&quot; & <Font>"},
        {QStringLiteral("one\u2028line\u2029two"), QStringLiteral("Serif\u2028Sans")},
        {R"("quoted" 'single' back\slash \u0041 \n \x3c/script>)", R"(Sans", monospace; x\)"},
        {QStringLiteral("A caption far too long for its picture, ").repeated(40) + "the end", "DejaVu Sans"},
    };
    ShareShow show;
    const QString picture = show.picture("a.jpg", {400, 300}, Blue);
    for (const auto& row : rows)
        show.add(picture, 2, {}, false, row.caption, Red);
    sharing::WebPageJob job{show.shared(), show.path("<!--<script> ]]> & \"x\" \u2028")};
    // The captions as the page is given them, the long one longer than a slide record holds.
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        job.show.slides[i].font.setFamily(rows[i].font);
        job.show.slides[i].caption = rows[i].caption;
    }
    const sharing::ShareOutcome outcome = sharing::writeWebPage(job, {});
    ASSERT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();

    HeadlessBrowser browser;
    ASSERT_TRUE(browser.isRunning());
    ASSERT_TRUE(browser.open(QUrl::fromLocalFile(job.target + "/index.html").toString(), Window, 2500));
    EXPECT_EQ(browser.evaluate("document.title").toString(), QFileInfo(job.target).fileName());
    EXPECT_EQ(browser.evaluate("document.getElementById('number').textContent").toString(),
              QStringLiteral("2 / %1").arg(std::size(rows)));
    for (int i = 0; i < int(std::size(rows)); ++i) {
        const QJsonArray shown = browser
                                     .evaluate(QStringLiteral("step(%1); [caption.textContent, "
                                                              "getComputedStyle(caption).display, "
                                                              "caption.scrollHeight <= caption.clientHeight, "
                                                              "caption.getBoundingClientRect().top >= 0]")
                                                   .arg(i))
                                     .toArray();
        EXPECT_EQ(shown[0].toString(), rows[i].caption) << i;
        EXPECT_EQ(shown[1].toString(), QStringLiteral("flex")) << i;
        EXPECT_TRUE(shown[2].toBool() && shown[3].toBool()) << i << ": the whole caption is on screen";
    }
}

// As in the viewer: a fade longer than a slide's time takes that time only, so that every picture
// comes fully on screen, and a picture whose file is not there shows grey with its name.
TEST(PageLook, FadesAndShowsMissingPicturesAsTheViewer) {
    if (peerProgram("chromium").isEmpty())
        GTEST_SKIP() << "chromium (Debian's chromium) is needed to look at the page";
    ShareShow show;
    const QString gone = show.picture("gone.jpg", {800, 600}, Red);
    show.add(show.picture("a.jpg", {800, 600}, QColor(230, 120, 40)), 1);
    show.add(show.picture("b.jpg", {800, 600}, Blue), 1);
    show.add(gone, 1);
    ASSERT_TRUE(QFile::remove(gone));
    sharing::WebPageJob job{show.shared(), show.path("page")};
    job.show.fadeMs = 3000;
    const sharing::ShareOutcome outcome = sharing::writeWebPage(job, {});
    ASSERT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();

    HeadlessBrowser browser;
    ASSERT_TRUE(browser.isRunning());
    ASSERT_TRUE(browser.open(QUrl::fromLocalFile(job.target + "/index.html").toString(), Window, 1010));
    for (int slide = 2; slide <= 3; ++slide) {
        // The fade the page draws as the slide comes on.
        EXPECT_EQ(browser.evaluate("document.getElementById('number').textContent").toString(),
                  QStringLiteral("%1 / 3").arg(slide));
        EXPECT_EQ(browser.evaluate("change && change.kind + ' ' + change.ms").toString(), "fade 1000");
        ASSERT_TRUE(browser.run(1000));
    }
    // The show has ended on its last slide, which comes fully on screen.
    EXPECT_EQ(browser.evaluate("document.getElementById('play').textContent").toString(), "Play");
    // The last fade has ended.
    for (QDeadlineTimer deadline(60000);
         browser.evaluate("getComputedStyle(layers[front].parentElement).opacity").toString() != "1";)
        ASSERT_TRUE(!deadline.hasExpired() && browser.run(100));
    const QJsonArray at =
        browser
            .evaluate(
                "(() => { const r = area.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()")
            .toArray();
    const QRect area(at[0].toInt(), at[1].toInt(), at[2].toInt(), at[3].toInt());
    ASSERT_FALSE(area.isEmpty());
    QImage expected(Window, QImage::Format_RGB32);
    QPainter(&expected).drawImage(area.topLeft(), missingPicture(area.size(), gone, QGuiApplication::font()));
    EXPECT_GT(psnr(browser.screenshot(), expected, area), 40.0);
}

// A moving slide as the viewer and the video draw it: sampled at two moments, the part of the
// picture in view is the motion's frame at that moment of the slide's own time, as large as fits
// the area and centred, and nothing else of the picture shows; while the next slide fades in over
// it, it holds its motion's last frame, as the viewer's fade does.
TEST(PageLook, AMovingSlideFollowsItsMotion) {
    if (peerProgram("chromium").isEmpty())
        GTEST_SKIP() << "chromium (Debian's chromium) is needed to look at the page";
    ShareShow show;
    // Red on the left half, blue on the right: the pan from the one to the other shows where it is.
    QImage halves(1600, 1200, QImage::Format_RGB32);
    halves.fill(Red);
    QPainter(&halves).fillRect(800, 0, 800, 1200, Blue);
    const QString picture = show.path("halves.png");
    ASSERT_TRUE(halves.save(picture));
    show.add(picture, 2);
    show.add(show.picture("still.jpg", {800, 600}, QColor(40, 200, 90)), 1);
    const ShowMotion::Motion pan{{0, 0.25, 0.5, 0.5}, {0.5, 0.25, 0.5, 0.5}};
    show.show.replace(0, {show.show.slide(0), {}, ShowMotion::withMotion({}, pan)});
    sharing::WebPageJob job{show.shared(), show.path("page")};
    job.show.fadeMs = 1000;
    ASSERT_EQ(sharing::writeWebPage(job, {}).result, sharing::ShareOutcome::Done);

    HeadlessBrowser browser;
    ASSERT_TRUE(browser.isRunning());
    ASSERT_TRUE(browser.open(QUrl::fromLocalFile(job.target + "/index.html").toString(), Window, 400));
    const struct {
        int runMs;
        const char* layer; // the moving picture's layer
        QColor mostly;     // of its part in view; none while it fades out
    } samples[] = {{0, "layers[front]", Red}, {1500, "layers[front]", Blue}, {700, "layers[1 - front]", {}}};
    for (const auto& sample : samples) {
        ASSERT_TRUE(sample.runMs == 0 || browser.run(sample.runMs));
        const bool fading = !sample.mostly.isValid();
        // Where the motion stands, how far the slide's time has gone, the picture's place and the
        // part of it the page clips away.
        const QJsonArray at =
            browser
                .evaluate(QStringLiteral("(() => { const r = %1.getBoundingClientRect();"
                                         " const s = getComputedStyle(%1);"
                                         " return [motionAt, (performance.now() - shownAt) / 2000,"
                                         " r.x, r.y, r.width, r.height, s.clipPath,"
                                         " area.clientWidth, area.clientHeight]; })()")
                              .arg(QLatin1String(sample.layer)))
                .toArray();
        ASSERT_EQ(at.size(), 9);
        const double t = fading ? 1.0 : at[0].toDouble();
        SCOPED_TRACE(t);
        if (!fading) {
            EXPECT_NEAR(t, at[1].toDouble(), 0.05);
        }
        const QStringList insets = at[6].toString().remove("inset(").remove(")").remove("px").split(' ');
        ASSERT_EQ(insets.size(), 4) << at[6].toString().toStdString();
        const QRectF shown = QRectF(at[2].toDouble(), at[3].toDouble(), at[4].toDouble(), at[5].toDouble())
                                 .adjusted(insets[3].toDouble(), insets[0].toDouble(), -insets[1].toDouble(),
                                           -insets[2].toDouble());
        const QRectF area(0, 0, at[7].toDouble(), at[8].toDouble());
        const QRectF expected = ShowMotion::fittedRect(
            ShowMotion::sourceRect(ShowMotion::frameAt(pan, t), QSizeF(halves.size())).size(), area);
        // The whole picture's left edge, to the browser's layout unit: where the motion has brought
        // the part in view.
        const ShowMotion::Frame frame = ShowMotion::frameAt(pan, t);
        EXPECT_NEAR(at[2].toDouble(), expected.left() - frame.x * expected.width() / frame.w, 0.05);
        for (const auto& [got, want] : {std::pair{shown.left(), expected.left()},
                                        {shown.top(), expected.top()},
                                        {shown.right(), expected.right()},
                                        {shown.bottom(), expected.bottom()}})
            EXPECT_NEAR(got, want, 0.5);
        if (fading)
            continue;
        // The picture's part in view: mostly red near the start, mostly blue near the end.
        const QImage shot = browser.screenshot();
        const QRect inView = shown.toAlignedRect().adjusted(2, 2, -2, -2);
        EXPECT_GT(pixelsNear(shot, inView, sample.mostly), inView.width() * inView.height() * 6 / 10);
        EXPECT_EQ(pixelsNear(shot, QRect(0, 0, inView.left() - 2, int(area.height())), Blue), 0);
    }
}

// The show's music in the page, beside its own files: the files that play, in order (one that is
// not there left out), copied or made into MP3 as the slides' sounds; and while the show plays, at
// the viewer's loudness: whole where no slide's sound plays, lower under a slide's sound, fading
// before the end of a show that does not loop; moved with the show.
TEST(PageMusic, PlaysUnderTheShowDuckedAndFadedAsInTheViewer) {
    if (peerProgram("chromium").isEmpty() || peerProgram("ffmpeg").isEmpty())
        GTEST_SKIP() << "chromium and ffmpeg (Debian's chromium and ffmpeg) are needed to look at the page";
    ShareShow show;
    const QString mp3 = show.encoded("m.mp3", 30000, "libmp3lame", 1000),
                  flac = show.encoded("m.flac", 30000, "flac", 2500);
    ASSERT_FALSE(mp3.isEmpty() || flac.isEmpty());
    const QString photo = show.picture("p.jpg", {800, 600}, Blue);
    show.add(photo, 2);
    show.add(photo, 2, show.wav("s.wav", 10000));
    show.add(photo, 2, show.wav("t.wav", 10000));
    show.show.setShowData(ShowExtension::withMusic({}, {mp3, show.path("gone.ogg"), flac}));
    const struct {
        bool loop;
        int atMs;
        double volume;
    } rows[] = {{false, 1000, 1.0}, {false, 3000, 0.25}, {false, 5000, 0.125}, {true, 5000, 0.25}};
    HeadlessBrowser browser({"--autoplay-policy=no-user-gesture-required"});
    ASSERT_TRUE(browser.isRunning());
    for (const bool loop : {false, true}) {
        SCOPED_TRACE(loop);
        sharing::WebPageJob job{show.shared(), show.path(loop ? "looping" : "page")};
        job.show.loop = loop;
        const sharing::ShareOutcome outcome = sharing::writeWebPage(job, {});
        ASSERT_EQ(outcome.result, sharing::ShareOutcome::Done);
        EXPECT_EQ(outcome.reason, "Music left out: gone.ogg") << "the file left out is named";
        EXPECT_EQ(fileBytes(job.target + "/sounds/music-1.mp3"), fileBytes(mp3));
        EXPECT_EQ(probeFile(job.target + "/sounds/music-3.mp3")["streams"][0]["codec_name"].toString(),
                  "mp3");
        EXPECT_EQ(QDir(job.target + "/sounds").entryList({"music-*"}, QDir::Files, QDir::Name),
                  QStringList({"music-1.mp3", "music-3.mp3"}));

        int at = 500;
        ASSERT_TRUE(browser.open(QUrl::fromLocalFile(job.target + "/index.html").toString(), Window, at));
        for (const auto& row : rows) {
            if (row.loop != loop)
                continue;
            SCOPED_TRACE(row.atMs);
            ASSERT_TRUE(browser.run(row.atMs - at));
            at = row.atMs;
            EXPECT_TRUE(browser.evaluate("music.src").toString().endsWith("/sounds/music-1.mp3"));
            EXPECT_FALSE(browser.evaluate("music.paused").toBool());
            EXPECT_NEAR(browser.evaluate("music.volume").toDouble(), row.volume, 0.01);
        }
        // Moved back to the second slide, the music goes on from where it stands there: 2 s in.
        browser.evaluate("step(1)");
        ASSERT_TRUE(browser.run(100));
        EXPECT_NEAR(browser.evaluate("music.currentTime").toDouble(), 2.1, 0.3);
    }
}
