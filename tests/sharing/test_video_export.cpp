// SPDX-License-Identifier: MIT
// The show written as a video and looked at with FFmpeg's ffprobe and ffmpeg: container, codecs,
// size, frame rate and length; each slide's frame against its picture fitted on black, with its
// caption under it; a cross-fade between two slides; and the sound track, silent exactly where no
// slide's sound plays.
#include "frame_renderer.h"
#include "qt_application_environment.h"
#include "share_test_support.h"
#include "video_export.h"

#include <QApplication>
#include <QJsonArray>
#include <gtest/gtest.h>

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
    const QSize size(1280, 720);
    const int fps = 25;
    const double total = 7.2;
    for (const Format& format : {Format{"show.mp4", VideoContainer::Mp4, "mov,mp4", "h264", "aac", 0},
                                 Format{"show.webm", VideoContainer::WebM, "matroska,webm", "vp9", "opus", 0},
                                 Format{"fade.mp4", VideoContainer::Mp4, "mov,mp4", "h264", "aac", 400}}) {
        SCOPED_TRACE(format.file);
        sharing::VideoJob job;
        job.show = show.shared();
        job.show.fadeMs = format.fadeMs;
        job.target = show.path(format.file);
        job.container = sharing::containerForName(job.target);
        ASSERT_EQ(job.container, format.container);
        job.size = size;
        job.fps = fps;
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
        const double duration =
            probe[QLatin1String("format")][QLatin1String("duration")].toString().toDouble();
        EXPECT_NEAR(duration, total, 1.0 / fps);
        // Every frame decodes without a complaint.
        EXPECT_TRUE(
            runPeer(peerProgram("ffmpeg"), {"-v", "error", "-i", job.target, "-f", "null", "-"}).isEmpty());

        // The middle of each slide: its picture fitted into the area above its caption.
        const sharing::FrameRenderer renderer(size);
        const struct {
            double at;
            QString picture;
        } middles[] = {{1.0, show.a}, {2.5, show.b}, {4.6, {}}, {6.7, show.c}};
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            const QImage frame = decodedFrame(job.target, middles[i].at, size);
            ASSERT_FALSE(frame.isNull());
            const QRect area = renderer.pictureArea(job.show.slides[std::size_t(i)]);
            const QImage expected = middles[i].picture.isEmpty()
                                        ? fittedOnBlack(QString(), size, area)
                                        : fittedOnBlack(middles[i].picture, size, area);
            EXPECT_GT(psnr(frame, expected, area), 30.0);
            if (job.show.slides[std::size_t(i)].showText) {
                const QRect band(0, area.height(), size.width(), size.height() - area.height());
                EXPECT_GT(pixelsNear(frame, band, Qt::white, 30), band.width() * band.height() / 2);
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
