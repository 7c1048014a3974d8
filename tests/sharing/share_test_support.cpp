// SPDX-License-Identifier: MIT
#include "share_test_support.h"

#include "stored_path.h"
#include "test_pictures.h"
#include "test_wav.h"

#include <QApplication>
#include <QDir>
#include <QJsonDocument>
#include <QPainter>
#include <QPalette>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <cmath>

QString ShareShow::picture(const QString& name, QSize size, QColor tint) {
    const QString file = dir.filePath(name);
    return test_pictures::picture(size, tint).save(file, "JPEG", 95) ? file : QString();
}

QString ShareShow::wav(const QString& name, int ms) {
    const QString file = dir.filePath(name);
    return writeTestWav(file, ms) ? file : QString();
}

QString ShareShow::ogg(const QString& name, int ms) {
    return encoded(name, ms, "libvorbis");
}

QString ShareShow::encoded(const QString& name, int ms, const char* codec, int frequency) {
    const QString ffmpeg = peerProgram("ffmpeg");
    const QString file = dir.filePath(name);
    if (ffmpeg.isEmpty() ||
        QProcess::execute(ffmpeg,
                          {"-v", "error", "-y", "-f", "lavfi", "-i",
                           QStringLiteral("sine=frequency=%1:duration=%2").arg(frequency).arg(ms / 1000.0),
                           "-c:a", QLatin1String(codec), file}) != 0)
        return {};
    return file;
}

void ShareShow::add(const QString& image, int seconds, const QString& audio, bool hold,
                    const QString& caption, QColor colour) {
    ShowSlide slide{show.freshRecord(), {}};
    TSlideRecord& r = slide.record;
    EXPECT_TRUE(StoredPath::assign(r.ImageFile, image));
    EXPECT_TRUE(StoredPath::assign(r.AudioFile, audio));
    r.Delay = std::uint8_t(seconds);
    r.HoldForAudio = hold;
    r.ShowText = !caption.isEmpty();
    r.Text.assign(caption.toStdString());
    r.FontName.assign("DejaVu Sans");
    r.FontSize = 14;
    r.FontStyle = FontBold;
    r.FontColor = colour.red() | colour.green() << 8 | colour.blue() << 16;
    EXPECT_TRUE(show.append(slide));
}

sharing::SharedShow ShareShow::shared() const {
    return sharing::readSharedShow(show, QApplication::palette());
}

QString peerProgram(const char* name) {
    return QStandardPaths::findExecutable(QLatin1String(name));
}

QByteArray runPeer(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

QJsonObject probeFile(const QString& file) {
    return QJsonDocument::fromJson(
               runPeer(peerProgram("ffprobe"), {"-v", "error", "-show_format", "-show_streams",
                                                "-show_chapters", "-of", "json", file}))
        .object();
}

QImage decodedFrame(const QString& file, double seconds, QSize size) {
    const QByteArray rgb =
        runPeer(peerProgram("ffmpeg"), {"-v", "error", "-ss", QString::number(seconds), "-i", file,
                                        "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
    if (rgb.size() != qsizetype(size.width()) * size.height() * 3)
        return {};
    return QImage(reinterpret_cast<const uchar*>(rgb.constData()), size.width(), size.height(),
                  size.width() * 3, QImage::Format_RGB888)
        .convertToFormat(QImage::Format_RGB32);
}

std::vector<double> soundLevels(const QString& file, int windowMs) {
    const QByteArray pcm = runPeer(peerProgram("ffmpeg"), {"-v", "error", "-i", file, "-map", "0:a", "-ac",
                                                           "1", "-ar", "8000", "-f", "s16le", "-"});
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData());
    const qsizetype count = pcm.size() / 2, window = 8 * windowMs;
    std::vector<double> levels;
    for (qsizetype start = 0; start + window <= count; start += window) {
        double sum = 0;
        for (qsizetype i = start; i < start + window; ++i)
            sum += double(samples[i]) * samples[i];
        levels.push_back(std::sqrt(sum / double(window)));
    }
    return levels;
}

std::vector<std::pair<double, double>> toneLevels(const QString& file, int frequency) {
    const QString filters =
        QStringLiteral(
            "aresample=48000,bandpass=f=%1:width_type=q:width=8,asetnsamples=n=4800:p=0,"
            "astats=metadata=1:reset=1,ametadata=mode=print:key=lavfi.astats.Overall.RMS_level:file=-")
            .arg(frequency);
    const QByteArray printed = runPeer(
        peerProgram("ffmpeg"), {"-v", "error", "-i", file, "-map", "0:a", "-af", filters, "-f", "null", "-"});
    std::vector<std::pair<double, double>> levels;
    double at = -1;
    for (const QByteArray& line : printed.split('\n')) {
        if (const qsizetype time = line.indexOf("pts_time:"); time >= 0)
            at = line.mid(time + 9).trimmed().toDouble();
        else if (const qsizetype level = line.indexOf("RMS_level="); level >= 0 && at >= 0)
            levels.emplace_back(at,
                                line.contains("inf") ? -200.0 : line.mid(level + 10).trimmed().toDouble());
    }
    return levels;
}

double psnr(const QImage& a, const QImage& b, const QRect& region) {
    double sum = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                sum += double(d) * d;
        }
    const double mse = sum / (3.0 * region.width() * region.height());
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

QImage fittedOnBlack(const QString& picture, QSize frame, const QRect& area) {
    const QImage source(picture);
    QImage out(frame, QImage::Format_RGB32);
    out.fill(Qt::black);
    const QSize size = source.width() < area.width() && source.height() < area.height()
                           ? source.size()
                           : source.size().scaled(area.size(), Qt::KeepAspectRatio);
    const QPoint at(area.x() + (area.width() - size.width()) / 2,
                    area.y() + (area.height() - size.height()) / 2);
    QPainter(&out).drawImage(at, source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return out;
}

int pixelsNear(const QImage& image, const QRect& region, QColor colour, int tolerance) {
    int count = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            count += std::abs(p.red() - colour.red()) <= tolerance &&
                     std::abs(p.green() - colour.green()) <= tolerance &&
                     std::abs(p.blue() - colour.blue()) <= tolerance;
        }
    return count;
}
