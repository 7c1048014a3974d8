// SPDX-License-Identifier: MIT
// The show written as a video and looked at with FFmpeg's ffprobe and ffmpeg: container, codecs,
// size, frame rate and length; each slide's frame against its picture fitted on black, with its
// caption on a dark band over the picture's bottom; a cross-fade between two slides; a missing
// picture as the viewer shows it; and the sound track, silent exactly where no slide's sound plays,
// from every kind of sound file the viewer plays, from no file a sound's file names and from no file
// that is not a regular one within the sound files' limit (a FIFO, a device, a procfs file); the show's
// music under it, ducked and faded at the viewer's levels. The name
// typed in the save dialog and the container; where the codec module is looked for; Cancel within
// a long slide; and a write that fails for lack of room.
#include "codec_module.h"
#include "frame_renderer.h"
#include "guarded_child.h"
#include "plain_files.h"
#include "qt_application_environment.h"
#include "share_test_support.h"
#include "show_extension.h"
#include "video_export.h"
#include "watched_fifo.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

using sharing::VideoContainer;

namespace {

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

const QColor CaptionColour(200, 0, 0);

// Four slides, two sounds and a blank slide:
//   0.0-2.0  picture A, caption; its 2.5 s sound plays on into the next slide
//   2.0-3.0  picture B (portrait), no audio
//   3.0-6.2  blank, caption, held for its 3.2 s Ogg sound
//   6.2-7.2  picture C, smaller than the frame, at its own size
class VideoShow : public ShareShow {
  public:
    VideoShow() {
        a = picture("a.jpg", {1600, 1200}, QColor(230, 120, 40));
        b = picture("b.jpg", {600, 900}, QColor(40, 200, 90));
        c = picture("c.jpg", {400, 300}, QColor(60, 80, 240));
        add(a, 2, wav("a.wav", 2500), false, "Sunrise over the bay", CaptionColour);
        add(b, 1);
        add("BLANK", 1, ogg("b.ogg", 3200), true, "Interval", CaptionColour);
        add(c, 1);
    }
    QString a, b, c;
};

struct Format {
    const char* file;
    VideoContainer container;
    const char* formatName;
    const char* videoCodec;
    const char* audioCodec;
    qint64 fadeMs;
    QSize size;
    const char* subtitles = nullptr; // the subtitle codec where the captions are subtitles
};

QJsonObject streamOf(const QJsonObject& probe, const char* type) {
    for (const auto& stream : probe[QLatin1String("streams")].toArray())
        if (stream[QLatin1String("codec_type")].toString() == QLatin1String(type))
            return stream.toObject();
    return {};
}

} // namespace

TEST(VideoExport, PlaysTheShowAsTheViewerDoes) {
    if (peerProgram("ffprobe").isEmpty() || peerProgram("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffprobe and ffmpeg (Debian's ffmpeg) are needed to look at the video";
    VideoShow show;
    const int fps = 25;
    const double total = 7.2;
    const QSize wide(1280, 720);
    for (const Format& format :
         {Format{"show.mp4", VideoContainer::Mp4, "mov,mp4", "h264", "aac", 0, wide},
          Format{"show.webm", VideoContainer::WebM, "matroska,webm", "vp9", "opus", 0, wide, "webvtt"},
          Format{"fade.mp4", VideoContainer::Mp4, "mov,mp4", "h264", "aac", 400, wide, "mov_text"},
          Format{"tall.mp4", VideoContainer::Mp4, "mov,mp4", "h264", "aac", 400, {1080, 1920}},
          Format{"square.webm", VideoContainer::WebM, "matroska,webm", "vp9", "opus", 0, {1080, 1080}}}) {
        SCOPED_TRACE(format.file);
        const QSize size = format.size;
        sharing::VideoJob job;
        job.show = show.shared();
        job.show.fadeMs = format.fadeMs;
        job.target = show.path(format.file);
        job.container = sharing::containerForName(job.target);
        ASSERT_EQ(job.container, format.container);
        job.size = size;
        job.fps = fps;
        job.subtitles = format.subtitles != nullptr;
        const sharing::ShareOutcome outcome = sharing::writeVideo(job, {});
        ASSERT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();

        const QJsonObject probe = probeFile(job.target);
        const QJsonObject video = streamOf(probe, "video"), audio = streamOf(probe, "audio");
        EXPECT_TRUE(probe[QLatin1String("format")][QLatin1String("format_name")].toString().startsWith(
            QLatin1String(format.formatName)));
        EXPECT_EQ(video[QLatin1String("codec_name")].toString(), QLatin1String(format.videoCodec));
        EXPECT_EQ(audio[QLatin1String("codec_name")].toString(), QLatin1String(format.audioCodec));
        EXPECT_EQ(video[QLatin1String("width")].toInt(), size.width());
        EXPECT_EQ(video[QLatin1String("height")].toInt(), size.height());
        EXPECT_EQ(video[QLatin1String("r_frame_rate")].toString(), QStringLiteral("25/1"));
        // A chapter for each captioned slide, named by its caption; the captions as subtitles where asked.
        QStringList chapters;
        for (const auto& chapter : probe[QLatin1String("chapters")].toArray())
            chapters << chapter[QLatin1String("tags")][QLatin1String("title")].toString() + "@" +
                            chapter[QLatin1String("start_time")].toString().left(3);
        EXPECT_EQ(chapters, (QStringList{"Sunrise over the bay@0.0", "Interval@3.0"}));
        EXPECT_EQ(streamOf(probe, "subtitle")[QLatin1String("codec_name")].toString(),
                  QLatin1String(format.subtitles ? format.subtitles : ""));
        const double duration =
            probe[QLatin1String("format")][QLatin1String("duration")].toString().toDouble();
        EXPECT_NEAR(duration, total, 1.0 / fps);
        // Every frame decodes without a complaint.
        EXPECT_TRUE(
            runPeer(peerProgram("ffmpeg"), {"-v", "error", "-i", job.target, "-f", "null", "-"}).isEmpty());

        // The middle of each slide: its picture fitted into the frame, its caption on a dark band over
        // the bottom of the picture, the whole width of the frame.
        const sharing::FrameRenderer renderer(size);
        const struct {
            double at;
            QString picture;
            QSize stored;
        } middles[] = {
            {1.0, show.a, {1600, 1200}}, {2.5, show.b, {600, 900}}, {4.6, {}, {}}, {6.7, show.c, {400, 300}}};
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            const QImage frame = decodedFrame(job.target, middles[i].at, size);
            ASSERT_FALSE(frame.isNull());
            const sharing::SharedSlide& slide = job.show.slides[std::size_t(i)];
            const QRect area = renderer.pictureArea(slide);
            const QRect band = renderer.captionBand(slide, middles[i].stored);
            const QRect above(0, 0, size.width(), band.isEmpty() ? size.height() : band.top());
            const QImage expected = middles[i].picture.isEmpty()
                                        ? fittedOnBlack(QString(), size, area)
                                        : fittedOnBlack(middles[i].picture, size, area);
            EXPECT_GT(psnr(frame, expected, above), 30.0);
            if (slide.showText && format.subtitles) {
                EXPECT_LT(pixelsNear(frame, band, CaptionColour), 20) << "not drawn on the picture";
            } else if (slide.showText) {
                const QRect picture = middles[i].picture.isEmpty()
                                          ? area
                                          : sharing::FrameRenderer::placePicture(middles[i].stored, area);
                EXPECT_EQ(band.width(), size.width());
                EXPECT_GT(band.height(), 20);
                const QRect atWide = sharing::FrameRenderer(wide).captionBand(slide, middles[i].stored);
                EXPECT_NEAR(band.height() * 720.0 / std::min(size.width(), size.height()), atWide.height(),
                            4.0)
                    << "the caption sized by the frame's shorter side";
                EXPECT_EQ(band.bottom(), picture.bottom()) << "on the picture's bottom edge";
                EXPECT_LT(pixelsNear(frame, band, Qt::white, 30), band.width() * band.height() / 10);
                EXPECT_GT(pixelsNear(frame, band, CaptionColour), 200);
            }
        }
        if (format.fadeMs > 0) {
            // Half-way through the cross-fade into picture B, the frame is neither picture.
            const QImage frame = decodedFrame(job.target, 2.2, size);
            const QRect whole(QPoint(0, 0), size);
            EXPECT_LT(psnr(frame, fittedOnBlack(show.b, size, whole), whole), 20.0);
            EXPECT_LT(psnr(frame, decodedFrame(job.target, 1.0, size), whole), 20.0);
        }

        // The sound: A from 0 to 2.5 s, nothing to 3.0 s, the Ogg sound to 6.2 s, nothing to the end.
        const std::vector<double> levels = soundLevels(job.target, 100);
        ASSERT_GE(levels.size(), 71u);
        for (int window = 0; window < 72 && window < int(levels.size()); ++window) {
            const double start = window / 10.0, end = start + 0.1;
            const bool sounding = (start >= 0.05 && end <= 2.45) || (start >= 3.05 && end <= 6.15);
            const bool silent = (start >= 2.55 && end <= 2.95) || start >= 6.25;
            if (sounding) {
                EXPECT_GT(levels[std::size_t(window)], 300.0) << "at " << start << " s";
            }
            if (silent) {
                EXPECT_LT(levels[std::size_t(window)], 30.0) << "at " << start << " s";
            }
        }
    }
}

// A moving slide's frames follow its motion over the slide's own time: each frame is the part of the
// picture the motion has in view at that moment, drawn as the viewer draws it; the still slide after
// it is one picture held. Faded into at two frames a second, the still slide lies over the moving
// picture held at its motion's last frame, as in the viewer's fade, not at the last frame drawn.
TEST(VideoExport, AMovingSlidesFramesFollowItsMotion) {
    if (peerProgram("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffmpeg (Debian's ffmpeg) is needed to look at the video";
    ShareShow show;
    // Red on the left half, blue on the right: the pan from the one to the other shows where it is.
    QImage halves(1600, 1200, QImage::Format_RGB32);
    halves.fill(QColor(220, 30, 30));
    QPainter(&halves).fillRect(800, 0, 800, 1200, QColor(30, 30, 220));
    const QString picture = show.path("halves.png");
    ASSERT_TRUE(halves.save(picture));
    show.add(picture, 2);
    show.add(show.picture("still.jpg", {800, 600}, QColor(40, 200, 90)), 1);
    const ShowMotion::Motion pan{{0, 0.25, 0.5, 0.5}, {0.5, 0.25, 0.5, 0.5}};
    show.show.replace(0, {show.show.slide(0), {}, ShowMotion::withMotion({}, pan)});

    sharing::VideoJob job;
    job.show = show.shared();
    job.target = show.path("moving.mp4");
    job.container = VideoContainer::Mp4;
    job.size = {640, 360};
    job.fps = 25;
    ASSERT_EQ(sharing::writeVideo(job, {}).result, sharing::ShareOutcome::Done);

    const sharing::FrameRenderer renderer(job.size);
    const sharing::SharedSlide& moving = job.show.slides[0];
    const QRect area = renderer.pictureArea(moving);
    for (const int index : {0, 12, 25, 37, 49}) {
        SCOPED_TRACE(index);
        // ffmpeg seeks to the first frame starting at or after the time asked; the motion is drawn
        // for the frame's middle.
        const QImage frame = decodedFrame(job.target, std::max(0.0, (index - 0.1) / job.fps), job.size);
        const double middle = (index + 0.5) / job.fps;
        ASSERT_FALSE(frame.isNull());
        const QImage expected = renderer.renderMoving(moving, halves, ShowMotion::frameAt(pan, middle / 2));
        EXPECT_GT(psnr(frame, expected, area), 30.0);
    }
    const QImage first = decodedFrame(job.target, 0, job.size),
                 last = decodedFrame(job.target, 1.79, job.size);
    EXPECT_GT(pixelsNear(first, area, QColor(220, 30, 30)), area.width() * area.height() / 2);
    EXPECT_GT(pixelsNear(last, area, QColor(30, 30, 220)), area.width() * area.height() / 2);
    const QImage still = fittedOnBlack(job.show.slides[1].picture, job.size, area);
    EXPECT_GT(psnr(decodedFrame(job.target, 2.5, job.size), still, area), 30.0);

    job.fps = 2;
    job.show.fadeMs = 1000;
    job.target = show.path("fading.mp4");
    ASSERT_EQ(sharing::writeVideo(job, {}).result, sharing::ShareOutcome::Done);
    // The still slide's first frame, 0.25 s into its fade: a quarter of it over three quarters of the
    // moving picture.
    const QImage fading = decodedFrame(job.target, 1.95, job.size);
    ASSERT_FALSE(fading.isNull());
    const QImage ended = renderer.renderMoving(moving, halves, ShowMotion::frameAt(pan, 1));
    const auto quarter =
        ShowRules::transitionAt(ShowRules::TransitionKind::Fade, 0.25, area.width(), area.height());
    EXPECT_GT(psnr(fading, sharing::FrameRenderer::blend(ended, still, quarter, area), area), 30.0);
}

// The show's music under the whole video, measured by ffmpeg's astats in the band of each music
// file's tone: the two files one after another and again from the first until the video ends,
// ducked to the viewer's level while the middle slide's sound plays, fading out over the last two
// seconds. The show:
//   0.0-3.0  a picture            music A (1000 Hz, 1.6 s) then B (2500 Hz, 1.0 s)
//   3.0-5.0  a picture, its 1.5 s sound from 3.0 to 4.5: A again from 2.6 s ducked, B from 4.2 s
//   5.0-8.0  a picture            A from 5.2 s, B from 6.8 s, A from 7.8 s; fading from 6.0 s
TEST(VideoExport, TheShowsMusicPlaysUnderItDuckedAndFadedAsInTheViewer) {
    if (peerProgram("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffmpeg (Debian's ffmpeg) is needed to make the music and measure it";
    ShareShow show;
    const QString a = show.encoded("a.flac", 1600, "flac", 1000),
                  b = show.encoded("b.ogg", 1000, "libvorbis", 2500);
    ASSERT_FALSE(a.isEmpty() || b.isEmpty());
    show.add(show.picture("p.jpg", {800, 600}, QColor(230, 120, 40)), 3);
    show.add(show.picture("q.jpg", {800, 600}, QColor(40, 200, 90)), 2, show.wav("s.wav", 1500));
    show.add(show.picture("r.jpg", {800, 600}, QColor(60, 80, 240)), 3);
    show.show.setShowData(ShowExtension::withMusic({}, {a, show.path("gone.mp3"), b}));
    sharing::VideoJob job;
    job.show = show.shared();
    ASSERT_EQ(job.show.musicFadeMs, 2000);
    job.target = show.path("music.mp4");
    job.size = {320, 180};
    const sharing::ShareOutcome outcome = sharing::writeVideo(job, {});
    ASSERT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();
    EXPECT_EQ(outcome.reason, "Music left out: gone.mp3") << "the file left out is named";

    const std::vector<std::pair<double, double>> levels[] = {toneLevels(job.target, 1000),
                                                             toneLevels(job.target, 2500)};
    // The power mean of the 100 ms windows within [from, to), in dB.
    const auto level = [](const std::vector<std::pair<double, double>>& windows, double from, double to) {
        double power = 0;
        int count = 0;
        for (const auto& [at, dB] : windows)
            if (at >= from - 0.001 && at + 0.1 <= to + 0.001) {
                power += std::pow(10.0, dB / 10);
                ++count;
            }
        EXPECT_GT(count, 0) << from;
        return count ? 10 * std::log10(power / count) : -200.0;
    };
    const double full[] = {level(levels[0], 0.1, 1.5), level(levels[1], 1.7, 2.5)};
    EXPECT_GT(full[0], -30.0);
    EXPECT_GT(full[1], -30.0);
    const struct {
        double from, to;
        int tone;    // 0: A plays, 1: B plays
        double gain; // the music's loudness there
    } rows[] = {
        {3.1, 4.1, 0, 0.25},  {4.6, 5.1, 1, 1.0},   {5.3, 5.9, 0, 1.0},   {6.3, 6.4, 0, 0.825},
        {6.6, 6.7, 0, 0.675}, {7.1, 7.2, 1, 0.425}, {7.5, 7.6, 1, 0.225},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.from);
        const int other = 1 - row.tone;
        EXPECT_NEAR(level(levels[row.tone], row.from, row.to), full[row.tone] + 20 * std::log10(row.gain),
                    1.5);
        EXPECT_LT(level(levels[other], row.from, row.to), full[other] - 15.0);
    }
    EXPECT_LT(level(levels[0], 7.9, 8.0), full[0] - 20.0) << "faded out at the end";
}

// Slides with a sound of each kind the viewer plays, each heard over its own slide's time; and a
// slide whose picture is not there, drawn as the viewer draws it: grey, with the file's name.
TEST(VideoExport, EverySoundKindIsHeardAndAMissingPictureLooksAsInTheViewer) {
    if (peerProgram("ffprobe").isEmpty() || peerProgram("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffprobe and ffmpeg (Debian's ffmpeg) are needed to make the sounds";
    ShareShow show;
    const QString photo = show.picture("p.jpg", {800, 600}, QColor(230, 120, 40));
    const QStringList sounds = {show.encoded("s.mp3", 900, "libmp3lame"), show.ogg("s.ogg", 900),
                                show.encoded("s.flac", 900, "flac"), show.encoded("s.opus", 900, "libopus"),
                                show.wav("s.wav", 900)};
    for (const QString& sound : sounds) {
        ASSERT_FALSE(sound.isEmpty());
        show.add(photo, 1, sound);
    }
    show.add(show.path("gone.jpg"), 1);
    sharing::VideoJob job;
    job.show = show.shared();
    job.target = show.path("sounds.mp4");
    const sharing::ShareOutcome outcome = sharing::writeVideo(job, {});
    ASSERT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();

    const std::vector<double> levels = soundLevels(job.target, 100);
    ASSERT_GE(levels.size(), 59u);
    for (int slide = 0; slide < 5; ++slide) {
        SCOPED_TRACE(sounds[slide].toStdString());
        for (int window = slide * 10 + 1; window < slide * 10 + 8; ++window)
            EXPECT_GT(levels[std::size_t(window)], 300.0) << "at " << window / 10.0 << " s";
        EXPECT_LT(levels[std::size_t(slide * 10 + 9)], 30.0);
    }

    const QImage missing = decodedFrame(job.target, 5.5, job.size);
    ASSERT_FALSE(missing.isNull());
    const QRect whole(QPoint(0, 0), job.size);
    EXPECT_GT(pixelsNear(missing, whole, QColor(192, 192, 192), 16), whole.width() * whole.height() * 9 / 10);
    // The name, in dark letters, across the middle.
    const QRect middle(whole.width() / 4, whole.height() * 2 / 5, whole.width() / 2, whole.height() / 5);
    EXPECT_GT(pixelsNear(missing, middle, Qt::black, 80), 100);
}

// Only a regular file within the sound files' limit is read as a sound: a FIFO without a writer
// would hold the export in its open for good, a device or a procfs file (which reports size 0 and goes
// on for hundreds of GB) would be read without end, and a file with a sound's name that names other
// files (a concat script called concat.mp3) is never followed to the real sound it points at.
TEST(VideoExport, OnlyRegularSoundFilesWithinTheLimitAreRead) {
    ShareShow show;
    ASSERT_FALSE(show.wav("real.wav", 900).isEmpty());
    QString error;
    sharing::CodecBackend* codec = sharing::codecBackend(&error);
    ASSERT_TRUE(codec) << error.toStdString();
    ASSERT_TRUE(codec->probeSound(show.path("real.wav")).readable);
    QFile list(show.path("concat.mp3"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly) && list.write("ffconcat version 1.0\nfile 'real.wav'\n") > 0);
    list.close();
    const WatchedFifo fifo(show.path("pipe.mp3"));
    ASSERT_TRUE(fifo.made());
    ASSERT_TRUE(QFile::link("/dev/zero", show.path("zero.wav")));
    ASSERT_TRUE(QFile::link("/proc/self/pagemap", show.path("pagemap.mp3")));
    // A sound's header before 2 GB of silence, sparse: it takes no room on the disk.
    ASSERT_TRUE(QFile::copy(show.path("real.wav"), show.path("huge.wav")));
    QFile huge(show.path("huge.wav"));
    ASSERT_TRUE(huge.resize(imaging::SoundFileLimit + 1));
    const struct {
        const char* name;
        const char* reason;
    } rows[] = {{"concat.mp3", ""},
                {"pipe.mp3", "not a regular file"},
                {"zero.wav", "not a regular file"},
                {"pagemap.mp3", ""},
                {"huge.wav", "file too large (over 2048 MB)"}};
    // Each in a child process, so that a file read without end fails its row instead of the whole test.
    for (const auto& row : rows)
        EXPECT_EQ(inGuardedChild([&] {
                      const sharing::SoundFacts facts = codec->probeSound(show.path(row.name));
                      std::fprintf(stderr, "%s: %s\n", row.name, qPrintable(facts.error));
                      return !facts.readable && !facts.error.isEmpty() &&
                             facts.error.contains(QLatin1String(row.reason));
                  }),
                  "")
            << row.name;
    EXPECT_FALSE(fifo.opened());
}

// The module is looked for in this build only by the programs inside it; an installed program looks
// only where its shipped files are.
TEST(VideoExport, TheBuildsCodecModuleServesOnlyProgramsOfTheBuild) {
    const QTemporaryDir elsewhere;
    const QString inBuild = QApplication::applicationDirPath();
    const struct {
        QString programFolder;
        bool build;
    } rows[] = {{inBuild, true}, {QStringLiteral("/usr/bin"), false}, {elsewhere.path(), false}};
    const QString buildModules = QDir(inBuild + QStringLiteral("/../../app")).canonicalPath();
    ASSERT_FALSE(buildModules.isEmpty());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.programFolder.toStdString());
        const QStringList folders = sharing::codecModuleFolders(row.programFolder);
        const bool found = std::any_of(folders.begin(), folders.end(), [&](const QString& folder) {
            return QDir(folder).canonicalPath() == buildModules;
        });
        EXPECT_EQ(found, row.build);
    }
}

TEST(VideoExport, TheNameTypedGetsTheContainerItNamesOrTheFiltersOne) {
    const struct {
        const char* typed;
        VideoContainer filter;
        const char* name;
    } rows[] = {
        {"/v/trip", VideoContainer::Mp4, "/v/trip.mp4"},
        {"/v/trip", VideoContainer::WebM, "/v/trip.webm"},
        {"/v/trip.mp4", VideoContainer::WebM, "/v/trip.mp4"},
        {"/v/trip.WEBM", VideoContainer::Mp4, "/v/trip.WEBM"},
        {"/v/trip.avi", VideoContainer::Mp4, "/v/trip.mp4"},
        {"/v/show.mkv", VideoContainer::WebM, "/v/show.webm"},
        {"/v/show.MOV", VideoContainer::Mp4, "/v/show.mp4"},
        {"/v/trip.2024", VideoContainer::WebM, "/v/trip.2024.webm"},
        {"/v/trip.", VideoContainer::Mp4, "/v/trip.mp4"},
        {"/v.d/trip", VideoContainer::Mp4, "/v.d/trip.mp4"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        const QString name = sharing::videoFileName(QLatin1String(row.typed), row.filter);
        EXPECT_EQ(name, QLatin1String(row.name));
        const bool webm = name.endsWith(QLatin1String(".webm"), Qt::CaseInsensitive);
        EXPECT_EQ(sharing::containerForName(name), webm ? VideoContainer::WebM : VideoContainer::Mp4);
    }
}

// Cancel within a slide of four minutes, with its sound, at the first sign of progress: the work
// stops there, and nothing is left beside the target.
TEST(VideoExport, CancelTakesEffectWithinALongSlide) {
    if (peerProgram("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffmpeg (Debian's ffmpeg) is needed to make the sound";
    ShareShow show;
    const QString sound = show.ogg("long.ogg", 240000);
    ASSERT_FALSE(sound.isEmpty());
    show.add(show.picture("p.jpg", {800, 600}, QColor(230, 120, 40)), 240, sound);
    const QStringList before =
        QDir(show.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (VideoContainer container : {VideoContainer::Mp4, VideoContainer::WebM}) {
        SCOPED_TRACE(int(container));
        sharing::VideoJob job;
        job.show = show.shared();
        job.container = container;
        job.target = show.path(container == VideoContainer::Mp4 ? "long.mp4" : "long.webm");
        std::atomic<bool> cancel{false};
        std::int64_t furthest = 0, total = 0;
        sharing::ShareControl control;
        control.cancel = &cancel;
        control.progress = [&](std::int64_t done, std::int64_t all) {
            furthest = std::max(furthest, done);
            total = all;
            cancel = true;
        };
        const sharing::ShareOutcome outcome = sharing::writeVideo(job, control);
        EXPECT_EQ(outcome.result, sharing::ShareOutcome::Cancelled) << outcome.reason.toStdString();
        EXPECT_EQ(total, 240 * job.fps);
        EXPECT_LE(furthest, total / 20);
        EXPECT_EQ(QDir(show.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  before);
    }
}

// Under a file-size limit, the write fails with the system's reason and the target's name, and
// leaves nothing behind.
TEST(VideoExport, AWriteThatFailsSaysWhyAndWhere) {
    ShareShow show;
    show.add(show.picture("p.jpg", {1600, 1200}, QColor(230, 120, 40)), 3);
    show.add(show.picture("q.jpg", {1600, 1200}, QColor(40, 200, 90)), 3);
    const QStringList before =
        QDir(show.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (VideoContainer container : {VideoContainer::Mp4, VideoContainer::WebM}) {
        SCOPED_TRACE(int(container));
        sharing::VideoJob job;
        job.show = show.shared();
        job.container = container;
        job.target = show.path(container == VideoContainer::Mp4 ? "full.mp4" : "full.webm");
        // Past the limit a write fails with EFBIG, where the system would otherwise end the program.
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit limited = old;
        limited.rlim_cur = 16 * 1024;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const sharing::ShareOutcome outcome = sharing::writeVideo(job, {});
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(outcome.result, sharing::ShareOutcome::Failed);
        EXPECT_TRUE(outcome.reason.startsWith(QDir::toNativeSeparators(job.target) + QLatin1String(": ")))
            << outcome.reason.toStdString();
        EXPECT_TRUE(outcome.reason.contains(QString::fromLocal8Bit(strerror(EFBIG))))
            << outcome.reason.toStdString();
        EXPECT_EQ(QDir(show.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  before);
    }
}

// A held picture is stored once and repeated by frames written without the encoder: at every size
// and frame rate the video settings offer, each repeat decodes as its picture, past the wrap of the
// frame numbers and the key frame every ten seconds. A repeated H.264 picture depends on the size
// and the rate; a repeated VP9 frame does not, so WebM has a row at each end.
TEST(VideoExport, HeldPicturesRepeatAtEverySizeAndRate) {
    if (peerProgram("ffprobe").isEmpty() || peerProgram("ffmpeg").isEmpty())
        GTEST_SKIP() << "ffprobe and ffmpeg (Debian's ffmpeg) are needed to look at the video";
    ShareShow show;
    show.add(show.picture("a.jpg", {1600, 1200}, QColor(230, 120, 40)), 1);
    show.add(show.picture("b.jpg", {1200, 1600}, QColor(40, 200, 90)), 11);
    show.add(show.picture("c.jpg", {1600, 900}, QColor(60, 80, 240)), 1);
    const struct {
        double at;
        int slide;
    } moments[] = {{0.5, 0}, {1.1, 1}, {6.0, 1}, {11.9, 1}, {12.5, 2}};
    struct Row {
        QSize size;
        int fps;
        VideoContainer container;
    };
    std::vector<Row> rows = {{{1280, 720}, 24, VideoContainer::WebM},
                             {{1920, 1080}, 60, VideoContainer::WebM}};
    for (const QSize size : {QSize(1280, 720), QSize(1920, 1080)})
        for (const int fps : {24, 25, 30, 50, 60})
            rows.push_back({size, fps, VideoContainer::Mp4});
    rows.push_back({{3840, 2160}, 25, VideoContainer::Mp4});
    rows.push_back({{1080, 1920}, 30, VideoContainer::WebM});
    for (const auto& [size, fps, container] : rows) {
        SCOPED_TRACE(QStringLiteral("%1x%2 at %3, %4")
                         .arg(size.width())
                         .arg(size.height())
                         .arg(fps)
                         .arg(container == VideoContainer::Mp4 ? "MP4" : "WebM")
                         .toStdString());
        sharing::VideoJob job;
        job.show = show.shared();
        job.target = show.path(container == VideoContainer::Mp4 ? "held.mp4" : "held.webm");
        job.container = container;
        job.size = size;
        job.fps = fps;
        const sharing::ShareOutcome outcome = sharing::writeVideo(job, {});
        ASSERT_EQ(outcome.result, sharing::ShareOutcome::Done) << outcome.reason.toStdString();
        const QJsonObject counted =
            QJsonDocument::fromJson(
                runPeer(peerProgram("ffprobe"),
                        {"-v", "error", "-count_frames", "-select_streams", "v", "-show_entries",
                         "stream=nb_read_frames", "-of", "json", job.target}))
                .object();
        EXPECT_EQ(counted["streams"][0]["nb_read_frames"].toString().toInt(), 13 * fps);
        const sharing::FrameRenderer renderer(size);
        for (const auto& moment : moments) {
            SCOPED_TRACE(moment.at);
            const sharing::SharedSlide& slide = job.show.slides[std::size_t(moment.slide)];
            const QRect area = renderer.pictureArea(slide);
            const QImage frame = decodedFrame(job.target, moment.at, size);
            ASSERT_FALSE(frame.isNull());
            EXPECT_GT(psnr(frame, fittedOnBlack(slide.picture, size, area), area), 30.0);
        }
        QFile::remove(job.target);
    }
}
