// SPDX-License-Identifier: MIT
// One show through its five players (the viewer, the video, the web page and the packages for Linux
// and for Windows), and what each shows at three moments against what the show's rules put there: a
// title slide, its title large in the middle on the blurred photograph that follows it; a
// photograph stored on its side with a band caption of accented letters and an en dash in the
// default black, on its blurred fill, then a moving slide on a grey fill that waits for its sound
// "café.wav", under music, with cross-fades. Every player's screen is read the same way (the
// picture's place, how far its motion has gone, the caption's letters, their outline and their band,
// the fill beside the picture) and, where a player tells it, whether the slide's sound plays and how
// loud the music is under it. A second show changes from slide to slide by every kind of transition,
// and each player's screen is read halfway through each change.

#include "caption_band.h"
#include "change_screens.h"
#include "export_test_support.h"
#include "headless_browser.h"
#include "music_level.h"
#include "picture_place.h"
#include "share_test_support.h"
#include "show_extension.h"
#include "slide_motion.h"
#include "slide_transition.h"
#include "stored_font.h"
#include "test_x_server.h"
#include "video_export.h"
#include "viewer_fixture.h"
#include "web_page_export.h"
#include "wine_support.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QUrl>

#include <X11/keysym.h>

#include <cmath>
#include <functional>
#include <iostream>
#include <optional>

namespace {

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PlayerTestEnvironment);

const QString Caption = QStringLiteral("Café – crème"), Title = QStringLiteral("Voyage");
constexpr int TitleSeconds = 2, PhotoSeconds = 3, OwnSeconds = 2, SoundMs = 6000, FadeMs = 500;
// The title; the photograph on screen; the moving slide after its own time, held for its sound.
constexpr int TitleMoment = 1000, FirstMoment = TitleSeconds * 1000 + 1500,
              HeldMoment = (TitleSeconds + PhotoSeconds + OwnSeconds) * 1000 + 1500;
const ShowRules::Motion Pan{{0, 0, 0.5, 1}, {0.5, 0, 0.5, 1}};
const QSize Stored(480, 270), Upright(270, 480), Halves(400, 200);
const QSize Screen(1024, 768);

// What a screen shows over `area`, read by colour: the orange photograph (darker under the caption's
// band), the moving picture's red and blue halves, the caption's white letters and their dark
// outline; the ground around them, black or the window's, or the grey fill, is none of these. The
// band's top is read inside `inner` where one is given.
struct Seen {
    QRect picture, letters;
    int orange = 0, band = 0, red = 0, blue = 0, dark = 0;
    int bandTop = INT_MAX;
    double frameX() const { return red + blue ? 0.5 * blue / (red + blue) : -1; }
};

Seen look(const QImage& screen, const QRect& area, const QRect& inner = {}) {
    Seen seen;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = screen.pixel(x, y);
            const int r = qRed(c), g = qGreen(c), b = qBlue(c);
            if (r + g + b < 90)
                seen.dark++;
            if (std::min({r, g, b}) > 200) {
                seen.letters |= QRect(x, y, 1, 1);
            } else if (r > 40 && std::abs(2 * g - r) < r / 4 && b < r / 4) {
                seen.picture |= QRect(x, y, 1, 1);
                (r > 160 ? seen.orange : seen.band)++;
                if (r <= 160 && (inner.isEmpty() || inner.contains(x, y)))
                    seen.bandTop = std::min(seen.bandTop, y);
            } else if (r > 3 * (g + b) + 20 || b > 3 * (r + g) + 20) {
                seen.picture |= QRect(x, y, 1, 1);
                (r > b ? seen.red : seen.blue)++;
            }
        }
    return seen;
}

QRect rectOf(const ShowRules::Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

// The mean of `channel` over the columns of `area` left of `picture`, in rows `from` to `to`.
double beside(const QImage& screen, const QRect& area, const QRect& picture, int from, int to,
              int (*channel)(QRgb)) {
    long sum = 0, n = 0;
    for (int y = from; y <= to; ++y)
        for (int x = area.left() + 2; x < picture.left() - 6; ++x, ++n)
            sum += channel(screen.pixel(x, y));
    return n ? double(sum) / double(n) : -1;
}

// One player's three screens and the area its pictures are placed in; where the player tells it,
// whether the held slide's sound plays and how loud the music is then against the first moment.
struct Played {
    QImage title, first, held;
    QRect area;
    std::optional<bool> sound;
    std::optional<double> music = {};
};

void expectNear(const QRect& seen, const QRect& expected, int slack, const char* what) {
    EXPECT_LE((seen.topLeft() - expected.topLeft()).manhattanLength(), slack)
        << what << ": " << seen.x() << "," << seen.y() << " " << seen.width() << "x" << seen.height()
        << " against " << expected.x() << "," << expected.y() << " " << expected.width() << "x"
        << expected.height();
    EXPECT_LE((seen.bottomRight() - expected.bottomRight()).manhattanLength(), slack) << what;
}

// The title light and outlined in the middle of the frame, larger than a caption and without a band,
// on the blurred photograph that follows it.
void expectTitle(const Played& played, const QFont& font) {
    const Seen title = look(played.title, played.area);
    EXPECT_EQ(title.orange, 0) << "no picture on the title slide";
    ASSERT_FALSE(title.letters.isEmpty()) << "the title's letters";
    EXPECT_NEAR(title.letters.center().x(), played.area.center().x(), 8) << "the title in the middle";
    EXPECT_NEAR(title.letters.center().y(), played.area.center().y(), 8) << "the title in the middle";
    const int width =
        QFontMetrics(CaptionBand::scaledFont(font, played.area.height())).horizontalAdvance(Title);
    EXPECT_GT(title.letters.width(), 2 * width) << "the title larger than a caption";
    const double fill =
        beside(played.title, played.area, title.letters, title.letters.top(), title.letters.bottom(), qRed);
    EXPECT_GT(fill, 60) << "the blurred photograph beside the title, no band under it";
    EXPECT_LT(fill, 0.7 * 240) << "the blurred photograph darker than the photograph";
}

// The photograph upright and placed by the rules on its blurred fill, its caption's letters drawn
// light and outlined, centred on a band across the frame's width at its foot as high as the viewer's
// band for that screen; the moving slide at its motion's last frame on its grey fill.
void expectConformance(const Played& played, const QFont& font) {
    ASSERT_FALSE(played.title.isNull() || played.first.isNull() || played.held.isNull()) << "no screen";
    expectTitle(played, font);
    const QRect photo = rectOf(ShowRules::placePicture(
        Upright.width(), Upright.height(),
        {played.area.x(), played.area.y(), played.area.width(), played.area.height()}));
    const Seen first = look(played.first, photo.adjusted(-2, -2, 2, 2), photo.adjusted(4, 0, -4, 0)),
               held = look(played.held, played.area);
    EXPECT_GT(first.orange, 10 * (first.red + first.blue)) << "the photograph on screen first";
    expectNear(first.picture, photo, 4, "the photograph upright, placed");
    const QRect band = CaptionBand::bandRect(
        QRect(played.area.x(), played.area.y(), played.area.width(), photo.bottom() - played.area.y() + 1),
        Caption, font, played.area.height());
    const int bandHeight = photo.bottom() + 1 - first.bandTop;
    EXPECT_NEAR(bandHeight, band.height(), band.height() / 4 + 3) << "the band's height";
    EXPECT_FALSE(first.letters.isEmpty()) << "the caption's letters";
    EXPECT_NEAR(first.letters.center().x(), photo.center().x(), 6) << "the caption centred";
    EXPECT_GE(first.letters.top(), first.bandTop) << "the letters on their band";
    const int width =
        QFontMetrics(CaptionBand::scaledFont(font, played.area.height())).horizontalAdvance(Caption);
    EXPECT_NEAR(first.letters.width(), width, width / 5 + 4) << "every letter as typed, in the band's size";
    EXPECT_GT(first.dark, 20) << "the light letters outlined dark";
    const double fill = beside(played.first, played.area, photo, photo.top() + 4, first.bandTop - 8, qRed);
    EXPECT_GT(fill, 40) << "the blurred photograph beside it, not black";
    EXPECT_LT(fill, 0.7 * 240) << "the blurred photograph darker than the photograph";
    EXPECT_LT(beside(played.first, played.area, photo, first.bandTop + 2, photo.bottom() - 2, qRed),
              0.6 * fill)
        << "the band across the frame's width";

    EXPECT_GT(held.red + held.blue, 10 * held.orange) << "the moving slide on screen";
    EXPECT_NEAR(held.frameX(), ShowRules::frameAt(Pan, 1).x, 0.06) << "its motion over its own time";
    const double side = Halves.height();
    const ShowRules::RectF part =
        ShowRules::fitPart(side, side,
                           {double(played.area.x()), double(played.area.y()), double(played.area.width()),
                            double(played.area.height())});
    const QRect fitted = QRectF(part.x, part.y, part.width, part.height).toRect();
    expectNear(held.picture, fitted, 4, "the frame fitted");
    const int middle = fitted.center().y();
    for (int (*channel)(QRgb) : std::initializer_list<int (*)(QRgb)>{qRed, qGreen, qBlue})
        EXPECT_NEAR(beside(played.held, played.area, fitted, middle - 10, middle + 10, channel), 0x80, 16)
            << "the grey fill beside the moving picture";
    if (played.sound) {
        EXPECT_TRUE(*played.sound) << "the slide's sound café.wav plays";
    }
    if (played.music) {
        EXPECT_NEAR(*played.music, MusicLevel::Ducked, 0.06) << "the music quieter under the slide's sound";
    }
}

const char* const PlayerNames[] = {"viewer", "video", "web page", "Linux package", "Windows package"};

// The show of changes: two pictures of four coloured quarters in turn, each slide changed into by one
// kind, the fade by the show's own change.
using ShowRules::TransitionKind;
constexpr int ChangeMs = 1000, ChangeSeconds = 2;
const TransitionKind Changes[] = {
    TransitionKind::Cut,    TransitionKind::Fade,     TransitionKind::WipeLeft, TransitionKind::WipeRight,
    TransitionKind::WipeUp, TransitionKind::WipeDown, TransitionKind::PushLeft, TransitionKind::PushRight,
    TransitionKind::PushUp, TransitionKind::PushDown, TransitionKind::Zoom,     TransitionKind::Random};
constexpr int ChangeCount = int(std::size(Changes));

// The moment halfway through the change into slide `row + 1`.
int halfway(int row) {
    return (row + 1) * ChangeSeconds * 1000 + ChangeMs / 2;
}

// The show exported as a package for `platform`, with the build's players, run on the test X server.
struct PackageRun {
    ExportSetup setup;
    bool windows;
    QString package;
    QProcessEnvironment env;

    PackageRun(PackagePlatform platform, const ShowDocument& show)
        : windows(platform == PackagePlatform::Windows) {
        const QString app = QStringLiteral(VERASCO_BINARY_DIR "/app/");
        for (const char* name :
             windows ? std::vector<const char*>{"verasco1w.dat", "verasco2w.dat", "verasco3w.dat"}
                     : std::vector<const char*>{"verasco2.dat"}) {
            QFile::remove(setup.programs + "/" + name);
            QFile::copy(app + name, setup.programs + "/" + name);
        }
        setup.packagePlatform = windows ? QStringLiteral("Windows") : QStringLiteral("Linux");
        std::vector<TSlideRecord> slides;
        std::vector<QJsonObject> extras;
        for (int i = 0; i < show.SlideCount; ++i) {
            slides.push_back(show.slide(i));
            extras.push_back(show.extra(i));
        }
        setup.show.load(slides, show.showData(), extras);
        package = setup.target(windows ? QStringLiteral("show.exe") : QStringLiteral("show"));
        EXPECT_FALSE(setup.exporter().write(package, qualityPreset(11), platform));
        QString why;
        env = windows ? wineEnvironment() : QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), test_x_server::display(why));
    }
    void start(const QStringList& arguments, QProcess& process) const {
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(setup.root.path());
        process.start(windows ? wine() : package, windows ? QStringList{package} + arguments : arguments);
    }
};

} // namespace

class ShowConformance : public ViewerFixture {
  protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        QImage photo(Stored, QImage::Format_RGB32);
        photo.fill(qRgb(240, 120, 0));
        QImage halves(Halves, QImage::Format_RGB32);
        halves.fill(qRgb(220, 0, 0));
        for (int y = 0; y < Halves.height(); ++y)
            for (int x = Halves.width() / 2; x < Halves.width(); ++x)
                halves.setPixel(x, y, qRgb(0, 0, 220));
        ASSERT_TRUE(halves.save(dir.filePath(QStringLiteral("halves.png"))));
        ASSERT_TRUE(saveTurned(photo, dir.filePath(QStringLiteral("photo.jpg"))));
        const QString sound = writeWav(dir, QStringLiteral("café.wav"), SoundMs);
        const auto captionFont = [](TSlideRecord& r) {
            r.FontName.assign("DejaVu Sans");
            r.FontSize = 14;
            r.FontStyle = FontBold;
            r.FontColor = 0; // the default black
        };
        addSlide({.image = QStringLiteral("BLANK"), .delay = TitleSeconds, .showText = true, .text = Title},
                 captionFont);
        addSlide({.image = dir.filePath(QStringLiteral("photo.jpg")),
                  .delay = PhotoSeconds,
                  .showText = true,
                  .text = Caption},
                 captionFont);
        addSlide({.image = dir.filePath(QStringLiteral("halves.png")),
                  .delay = OwnSeconds,
                  .audio = sound,
                  .hold = true});
        const auto list = [](const ShowRules::Frame& f) { return QJsonArray{f.x, f.y, f.w, f.h}; };
        QJsonObject data = ShowExtension::withMusic({{"captions", "band"}}, {music()});
        show().load({show().slide(0), show().slide(1), show().slide(2)}, data,
                    {{{"title", true}, {"fill", "blur"}},
                     {{"fill", "blur"}},
                     {{"motion", QJsonObject{{"from", list(Pan.from)}, {"to", list(Pan.to)}}},
                      {"fill", "colour"},
                      {"fillColour", "#808080"}}});
        show().markOpened();
        settings().CrossFade = true;
        settings().CrossFadeTime = FadeMs;
    }

    // A JPEG of `picture` turned on its side, with the orientation tag that stands it upright again.
    static bool saveTurned(const QImage& picture, const QString& path) {
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        if (!picture.save(&buffer, "JPG", 95))
            return false;
        // An Exif block with one entry, Orientation = 6 (turn right), big-endian.
        const QByteArray tiff =
            QByteArray("MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 26);
        const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
        const int length = int(exif.size()) + 2;
        jpeg.insert(2, QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + exif);
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size();
    }

    // Music of a tone apart from the slide's sound, made by ffmpeg where it is installed.
    QString music() {
        const QString file = dir.filePath(QStringLiteral("music.ogg"));
        const QString ffmpeg = peerProgram("ffmpeg");
        if (!ffmpeg.isEmpty())
            QProcess::execute(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i",
                                       "sine=frequency=2500:duration=20", "-c:a", "libvorbis", file});
        return file;
    }

    QFont captionFont() { return storedFont(QStringLiteral("DejaVu Sans"), 14, FontBold); }

    sharing::SharedShow shared() {
        sharing::SharedShow shared = sharing::readSharedShow(show(), viewer->palette());
        shared.fadeMs = FadeMs;
        return shared;
    }

    Played viewerPlays();
    Played videoPlays();
    Played pagePlays();
    Played packagePlays(PackagePlatform platform);

    // The five players in turn (by PlayerNames) with what each needs that is not installed; those
    // not installed are named as not played.
    std::vector<std::pair<int, QString>> players() {
        QString why;
        const bool server = !test_x_server::display(why).isEmpty();
        const QString missing[] = {{},
                                   peerProgram("ffmpeg").isEmpty() ? "ffmpeg" : "",
                                   peerProgram("chromium").isEmpty() ? "chromium" : "",
                                   server ? "" : why,
                                   !server ? why
                                   : !QFile::exists(QStringLiteral(VERASCO_BINARY_DIR "/app/verasco2w.dat"))
                                       ? QStringLiteral("MinGW-w64")
                                   : wine().isEmpty() || !wholeWinePrefix() ? QStringLiteral("Wine (wine64)")
                                                                            : QString()};
        std::vector<std::pair<int, QString>> all;
        for (int player = 0; player < int(std::size(missing)); ++player) {
            if (!missing[player].isEmpty())
                std::cout << PlayerNames[player] << " not played: " << missing[player].toStdString()
                          << " is not installed\n";
            all.emplace_back(player, missing[player]);
        }
        return all;
    }

    // The show of changes in place of the fixture's; the kind each change makes, "random" chosen.
    std::vector<TransitionKind> loadChanges() {
        const QString pictures[2] = {dir.filePath(QStringLiteral("q0.png")),
                                     dir.filePath(QStringLiteral("q1.png"))};
        for (int i = 0; i < 2; ++i)
            EXPECT_TRUE(quartered(i).save(pictures[i]));
        std::vector<TSlideRecord> slides;
        std::vector<QJsonObject> extras(1);
        std::vector<std::optional<ShowRules::Transition>> stored(1);
        for (int row = 0; row <= ChangeCount; ++row)
            slides.push_back(test_shows::slide(show(), pictures[row % 2], [](TSlideRecord& r) {
                                 r.Delay = ChangeSeconds;
                             }).record);
        for (const TransitionKind kind : Changes) {
            // The fade is the show's own.
            const std::optional<ShowRules::Transition> own =
                kind == TransitionKind::Fade ? std::nullopt
                                             : std::optional(ShowRules::Transition{kind, ChangeMs});
            extras.push_back(SlideTransition::withTransition({}, own));
            stored.push_back(own ? own : ShowRules::Transition{TransitionKind::Fade, ChangeMs});
        }
        show().load(
            slides,
            SlideTransition::withTransition({}, ShowRules::Transition{TransitionKind::Fade, ChangeMs}),
            extras);
        std::vector<std::int64_t> own(slides.size(), ChangeSeconds * 1000);
        std::vector<TransitionKind> kinds;
        for (const ShowRules::SlideChange& change : ShowRules::slideChanges(stored, own, 0))
            kinds.push_back(change.kind);
        kinds.erase(kinds.begin());
        return kinds;
    }
    // Each player's screens halfway through each change, and the area its pictures are placed in.
    std::vector<QImage> viewerChanges(QRect& area);
    std::vector<QImage> videoChanges(QRect& area);
    std::vector<QImage> pageChanges(QRect& area);
    // A package's screens as it shows each change, read as the show plays.
    std::vector<QImage> packageChanges(PackagePlatform platform, const std::vector<TransitionKind>& kinds);
};

std::vector<QImage> ShowConformance::viewerChanges(QRect& area) {
    speed()->setValue(ShowRules::OwnSpeed);
    openViewer();
    auto* panel = child<QWidget>("Panel6");
    area = panel->contentsRect();
    std::vector<QImage> screens(ChangeCount);
    const qint64 start = clock.nowMs();
    for (int row = 0; row < ChangeCount; ++row)
        clock.at(start + halfway(row), [this, &screens, panel, row] {
            // The new picture is decoded on a thread of its own while the wait clock stands still.
            waitForPicture();
            screens[std::size_t(row)] = panel->grab().toImage();
        });
    viewer->PlayShow();
    viewer->close();
    return screens;
}

std::vector<QImage> ShowConformance::videoChanges(QRect& area) {
    sharing::VideoJob job{shared(), dir.filePath(QStringLiteral("changes.mp4"))};
    job.size = Screen;
    EXPECT_EQ(sharing::writeVideo(job, {}).result, sharing::ShareOutcome::Done);
    area = QRect(QPoint(), Screen);
    std::vector<QImage> screens;
    for (int row = 0; row < ChangeCount; ++row)
        screens.push_back(decodedFrame(job.target, halfway(row) / 1000.0, Screen));
    return screens;
}

std::vector<QImage> ShowConformance::pageChanges(QRect& area) {
    const QString folder = dir.filePath(QStringLiteral("changes"));
    EXPECT_EQ(sharing::writeWebPage({shared(), folder}, {}).result, sharing::ShareOutcome::Done);
    HeadlessBrowser browser;
    std::vector<QImage> screens;
    if (!browser.open(QUrl::fromLocalFile(folder + "/index.html").toString(), Screen, halfway(0)))
        return screens;
    const QJsonArray box =
        browser
            .evaluate(
                "(() => { const r = area.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()")
            .toArray();
    area = QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble()).toRect();
    for (int row = 0; row < ChangeCount && (row == 0 || browser.run(ChangeSeconds * 1000)); ++row)
        screens.push_back(browser.screenshot());
    return screens;
}

std::vector<QImage> ShowConformance::packageChanges(PackagePlatform platform,
                                                    const std::vector<TransitionKind>& kinds) {
    // Every screen is read against the changes not yet seen, until each has been: each change's looks
    // worked out once, so that a slow build still reads a screen within each change.
    std::vector<ChangeLooks> looks;
    for (int row = 0; row < ChangeCount; ++row)
        looks.emplace_back(Screen, kinds[std::size_t(row)], row % 2);
    const PackageRun package(platform, show());
    QProcess playing;
    package.start({}, playing);
    std::vector<QImage> screens(ChangeCount);
    const QRect area(QPoint(), Screen);
    test_x_server::screenShows(
        [&](const QImage& screen) {
            bool all = true;
            for (int row = 0; row < ChangeCount; ++row) {
                QImage& seen = screens[std::size_t(row)];
                if (seen.isNull() && looks[std::size_t(row)].shownBy(screen, area))
                    seen = screen;
                all = all && !seen.isNull();
            }
            return all;
        },
        240000);
    test_x_server::sendKey(XK_Escape);
    playing.waitForFinished(60000);
    return screens;
}

Played ShowConformance::viewerPlays() {
    speed()->setValue(ShowRules::OwnSpeed);
    openViewer();
    Played played;
    auto* area = child<QWidget>("Panel6");
    played.area = area->contentsRect();
    const qint64 start = clock.nowMs();
    // Each picture is decoded on a thread of its own while the wait clock stands still.
    clock.at(start + TitleMoment, [&] { played.title = area->grab().toImage(); });
    clock.at(start + FirstMoment, [&] {
        waitForPicture();
        played.first = area->grab().toImage();
    });
    clock.at(start + HeldMoment, [&] {
        waitForPicture();
        played.held = area->grab().toImage();
        played.sound = media().isPlaying();
    });
    viewer->PlayShow();
    viewer->close();
    return played;
}

Played ShowConformance::videoPlays() {
    sharing::VideoJob job{shared(), dir.filePath(QStringLiteral("show.mp4"))};
    job.size = Screen;
    const sharing::ShareOutcome outcome = sharing::writeVideo(job, {});
    EXPECT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();
    Played played{decodedFrame(job.target, TitleMoment / 1000.0, Screen),
                  decodedFrame(job.target, FirstMoment / 1000.0, Screen),
                  decodedFrame(job.target, HeldMoment / 1000.0, Screen),
                  QRect(QPoint(), Screen),
                  {}};
    const auto near = [](double at, int moment) { return std::abs(at * 1000 - moment) < 100; };
    for (const auto& [at, level] : toneLevels(job.target, 440))
        if (near(at, HeldMoment))
            played.sound = level > -50;
    double first = 0, held = 0;
    for (const auto& [at, level] : toneLevels(job.target, 2500)) {
        if (near(at, FirstMoment))
            first = level;
        if (near(at, HeldMoment))
            held = level;
    }
    played.music = std::pow(10.0, (held - first) / 20);
    return played;
}

Played ShowConformance::pagePlays() {
    const QString folder = dir.filePath(QStringLiteral("page"));
    const sharing::ShareOutcome outcome = sharing::writeWebPage({shared(), folder}, {});
    EXPECT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();
    HeadlessBrowser browser({"--autoplay-policy=no-user-gesture-required"});
    Played played;
    if (!browser.open(QUrl::fromLocalFile(folder + "/index.html").toString(), Screen, TitleMoment))
        return played;
    played.title = browser.screenshot();
    browser.run(FirstMoment - TitleMoment);
    played.first = browser.screenshot();
    const double first = browser.evaluate("music.volume").toDouble();
    const QJsonObject box =
        QJsonDocument::fromJson(
            browser.evaluate("JSON.stringify(area.getBoundingClientRect())").toString().toUtf8())
            .object();
    played.area =
        QRectF(box["x"].toDouble(), box["y"].toDouble(), box["width"].toDouble(), box["height"].toDouble())
            .toRect();
    browser.run(HeldMoment - FirstMoment);
    played.held = browser.screenshot();
    played.sound = browser.evaluate("!!sound && !sound.paused").toBool();
    played.music = browser.evaluate("music.volume").toDouble() / first;
    return played;
}

Played ShowConformance::packagePlays(PackagePlatform platform) {
    const PackageRun package(platform, show());
    const auto run = [&package](const QStringList& arguments, QProcess& process) {
        package.start(arguments, process);
    };
    Played played{{}, {}, {}, QRect(QPoint(), Screen), {}};
    QProcess playing;
    run({}, playing);
    enum class Slide { Title, Photo, Moving };
    const auto shows = [](Slide slide) {
        return [slide](const QImage& s) {
            const Seen seen = look(s, QRect(QPoint(), Screen));
            return slide == Slide::Title   ? seen.orange == 0 && seen.band > 10000 && !seen.letters.isEmpty()
                   : slide == Slide::Photo ? seen.orange > 1000 && !seen.letters.isEmpty()
                                           : seen.red + seen.blue > 1000;
        };
    };
    if (test_x_server::screenShows(shows(Slide::Title), 180000))
        played.title = test_x_server::screen();
    if (test_x_server::screenShows(shows(Slide::Photo), 60000))
        played.first = test_x_server::screen();
    if (test_x_server::screenShows(shows(Slide::Moving), 60000)) {
        QThread::msleep(HeldMoment - (TitleSeconds + PhotoSeconds) * 1000);
        played.held = test_x_server::screen();
    }
    test_x_server::sendKey(XK_Escape);
    playing.waitForFinished(60000);
    QProcess report;
    run({QStringLiteral("--report")}, report);
    report.waitForFinished(180000);
    const QString lines = QString::fromUtf8(report.readAllStandardOutput());
    played.sound = lines.contains(QStringLiteral("slide=3")) &&
                   lines.section(QStringLiteral("slide=3"), 1)
                       .section('\n', 0, 0)
                       .contains(QRegularExpression(QStringLiteral("audio=caf(é|É)\\.wav"),
                                                    QRegularExpression::CaseInsensitiveOption));
    return played;
}

TEST_F(ShowConformance, FivePlayersShowTheShowByItsRules) {
    const std::function<Played()> plays[] = {[this] { return viewerPlays(); },
                                             [this] { return videoPlays(); }, [this] { return pagePlays(); },
                                             [this] { return packagePlays(PackagePlatform::Linux); },
                                             [this] { return packagePlays(PackagePlatform::Windows); }};
    for (const auto& [player, missing] : players()) {
        SCOPED_TRACE(PlayerNames[player]);
        if (missing.isEmpty())
            expectConformance(plays[player](), captionFont());
    }
}

TEST_F(ShowConformance, EveryPlayerChangesSlidesByEveryKind) {
    const std::vector<TransitionKind> kinds = loadChanges();
    const std::function<std::vector<QImage>(QRect&)> plays[] = {
        [this](QRect& area) { return viewerChanges(area); },
        [this](QRect& area) { return videoChanges(area); }, [this](QRect& area) { return pageChanges(area); },
        [this, &kinds](QRect&) { return packageChanges(PackagePlatform::Linux, kinds); },
        [this, &kinds](QRect&) { return packageChanges(PackagePlatform::Windows, kinds); }};
    for (const auto& [player, missing] : players()) {
        if (!missing.isEmpty())
            continue;
        QRect area(QPoint(), Screen);
        const std::vector<QImage> screens = plays[player](area);
        for (int row = 0; row < ChangeCount; ++row) {
            const QImage screen = std::size_t(row) < screens.size() ? screens[std::size_t(row)] : QImage();
            EXPECT_TRUE(showsChange(screen, area, kinds[std::size_t(row)], row % 2))
                << PlayerNames[player] << " changing by " << ShowRules::transitionName(Changes[row])
                << " (as " << ShowRules::transitionName(kinds[std::size_t(row)]) << ")";
        }
    }
}
