// SPDX-License-Identifier: MIT
// Helpers shared by the imaging tests: test data paths, running reference programs, pixel access.
#pragma once

#include "file_bytes.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTranslator>

namespace imaging_test {

// The shared test pictures' folder, and whether it is there.
QString imagesDir();
bool haveSharedImages();
// A shared test picture; without the shared test data, the same kind of picture made by ImageMagick
// (made_pictures.cpp), or an empty path for a file that cannot be made.
QString imagePath(const QString& name);
QString madePicturePath(const QString& name);

struct ToolResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
// Runs a program to completion (no shell); exitCode -1 when it could not start.
ToolResult runTool(const QString& program, const QStringList& args);

// ImageMagick's convert (the real one, not a wrapper in front of it).
QString convertProgram();
// The pixels of `path` as ImageMagick decodes them: 8-bit R, G, B, A, top row first.
// With `autoOrient` the file's orientation tag is applied first.
QByteArray imageMagickRgba(const QString& path, bool autoOrient = false);
// The same layout for a picture of ours.
QByteArray rgbaBytes(const QImage& image);

// Peak signal-to-noise ratio of two equally long RGBA buffers over the colour channels.
double psnr(const QByteArray& a, const QByteArray& b);

// Writes bytes to a file, creating it; false on failure.
bool writeFile(const QString& path, const QByteArray& bytes);

// A plain picture of `size` saved in `format` (empty when it cannot be saved).
QByteArray encoded(QSize size, const char* format);
// A small PNG file whose header (with its checksum) declares `size`.
QByteArray pngClaiming(QSize size);

// Translates the texts of the given contexts as a catalogue would, marking each: "[text]".
class MarkedTexts : public QTranslator {
  public:
    explicit MarkedTexts(QStringList contexts) : contexts_(std::move(contexts)) {}
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        return contexts_.contains(QLatin1String(context)) ? QStringLiteral("[%1]").arg(QLatin1String(source))
                                                          : QString();
    }

  private:
    QStringList contexts_;
};

} // namespace imaging_test
