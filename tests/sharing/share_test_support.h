// SPDX-License-Identifier: MIT
#pragma once
// What the sharing tests work with: a show of pictures, sounds and captions made in a folder of the
// test's own, and FFmpeg's command-line tools, the peers that look at the videos and sounds written.

#include "shared_show.h"
#include "show_document.h"

#include <QColor>
#include <QImage>
#include <QJsonObject>
#include <QTemporaryDir>

#include <vector>

class ShareShow {
  public:
    // A JPEG picture: a ramp of `tint` with a dark frame.
    QString picture(const QString& name, QSize size, QColor tint);
    // A tone: a quiet 440 Hz WAV file, or a tone made by ffmpeg (330 Hz unless `frequency` says),
    // as Ogg Vorbis or encoded with its `codec` in the container the name's extension says (empty
    // when ffmpeg is missing).
    QString wav(const QString& name, int ms);
    QString ogg(const QString& name, int ms);
    QString encoded(const QString& name, int ms, const char* codec, int frequency = 330);
    // Appends a slide; a caption is shown in DejaVu Sans 14 pt bold in `colour`.
    void add(const QString& image, int seconds, const QString& audio = {}, bool hold = false,
             const QString& caption = {}, QColor colour = QColor(200, 0, 0));
    sharing::SharedShow shared() const;
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    ShowDocument show;
};

// ffprobe, ffmpeg and chromium: the path of the program, empty when it is not installed.
QString peerProgram(const char* name);
// The program's standard output; empty when it failed.
QByteArray runPeer(const QString& program, const QStringList& arguments);

// ffprobe's facts of a file: {"format": {...}, "streams": [...]}.
QJsonObject probeFile(const QString& file);
// The frame shown at `seconds`, decoded by ffmpeg.
QImage decodedFrame(const QString& file, double seconds, QSize size);
// The sound's loudness (root mean square of 16-bit samples) over each window of `windowMs`.
std::vector<double> soundLevels(const QString& file, int windowMs);

// The loudness of the sound near `frequency` (a narrow band-pass), in dB below full scale, as
// ffmpeg's astats measures it over windows of 100 ms: each window's start in seconds and its level.
std::vector<std::pair<double, double>> toneLevels(const QString& file, int frequency);

// The peak signal-to-noise ratio of two pictures over `region`, in decibels.
double psnr(const QImage& a, const QImage& b, const QRect& region);
// The picture as the viewer fits it into `area` of a black frame of `frame` size, made here with Qt.
QImage fittedOnBlack(const QString& picture, QSize frame, const QRect& area);
// How many pixels of `region` are within `tolerance` of `colour` in each channel.
int pixelsNear(const QImage& image, const QRect& region, QColor colour, int tolerance = 60);
