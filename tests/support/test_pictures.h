// SPDX-License-Identifier: MIT
#pragma once
// Pictures made at test time, so that the tests run in a clone without the shared test data: Qt
// writes the BMP/DIB, JPEG/JIF, PNG and TIFF files, ImageMagick the PCX and TGA files.

#include <QColor>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QPainter>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>

namespace test_pictures {

// A picture that is not all one colour: a diagonal ramp with a dark frame.
inline QImage picture(QSize size, QColor tint = QColor(200, 60, 40)) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int ramp = 255 * (x + y) / std::max(1, size.width() + size.height() - 2);
            image.setPixel(x, y, qRgb(tint.red() * ramp / 255, tint.green(), 255 - ramp));
        }
    if (size.width() > 2 && size.height() > 2) {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    }
    return image;
}

// Writes the picture in the format its file name's extension names; false when that failed.
inline bool write(const QString& path, const QImage& image) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("pcx") || ext == QLatin1String("tga")) {
        QTemporaryDir work;
        const QString png = work.filePath(QStringLiteral("source.png"));
        if (!image.save(png, "PNG"))
            return false;
        QProcess convert;
        convert.start(QStringLiteral("convert"), {png, ext + QLatin1Char(':') + path});
        return convert.waitForFinished(60000) && convert.exitStatus() == QProcess::NormalExit &&
               convert.exitCode() == 0 && QFileInfo(path).size() > 0;
    }
    const bool jpeg = ext == QLatin1String("jpg") || ext == QLatin1String("jif") ||
                      ext == QLatin1String("jpeg") || ext == QLatin1String("jpe");
    if (ext == QLatin1String("webp"))
        return QImageWriter(path, "WEBP").write(image);
    const char* format = jpeg                                                         ? "JPEG"
                         : ext == QLatin1String("bmp") || ext == QLatin1String("dib") ? "BMP"
                         : ext == QLatin1String("tif")                                ? "TIFF"
                                                                                      : "PNG";
    QImageWriter writer(path, format);
    return writer.write(image);
}

// Gives a picture file EXIF tags ("-DateTimeOriginal=2021:06:01 12:30:00") as a camera writes them;
// false without exiftool.
inline bool tagExif(const QString& path, const QStringList& assignments) {
    QProcess exiftool;
    exiftool.start(
        QStringLiteral("exiftool"),
        QStringList{QStringLiteral("-q"), QStringLiteral("-overwrite_original"), QStringLiteral("-n")} +
            assignments + QStringList{path});
    return exiftool.waitForFinished(60000) && exiftool.exitStatus() == QProcess::NormalExit &&
           exiftool.exitCode() == 0;
}

// Gives each of the files its date taken, DateTimeOriginal, in one run of exiftool; then gives its
// modification time as `fileTimes` has it, when that is not empty. False without exiftool.
inline bool tagDatesTaken(const QStringList& paths, const QList<QDateTime>& dates,
                          const QList<QDateTime>& fileTimes = {}) {
    QStringList arguments{QStringLiteral("-q"), QStringLiteral("-overwrite_original")};
    for (qsizetype i = 0; i < paths.size(); ++i)
        arguments << dates.value(i).toString(QStringLiteral("'-DateTimeOriginal='yyyy:MM:dd HH:mm:ss"))
                  << paths[i] << QStringLiteral("-execute");
    QProcess exiftool;
    exiftool.start(QStringLiteral("exiftool"), arguments);
    if (!exiftool.waitForFinished(120000) || exiftool.exitStatus() != QProcess::NormalExit ||
        exiftool.exitCode() != 0)
        return false;
    for (qsizetype i = 0; i < fileTimes.size() && i < paths.size(); ++i) {
        QFile file(paths[i]);
        if (!file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(fileTimes[i], QFileDevice::FileModificationTime))
            return false;
    }
    return true;
}

// Gives a picture file the EXIF orientation tag (1 to 8) as a camera writes it; false without exiftool.
inline bool tagOrientation(const QString& path, int orientation) {
    return tagExif(path, {QStringLiteral("-Orientation=%1").arg(orientation)});
}

// A picture of the given size written under folder/name; its path.
inline QString make(const QString& folder, const QString& name, QSize size = QSize(40, 30)) {
    const QString path = QDir(folder).filePath(name);
    return write(path, picture(size)) ? path : QString();
}

// A file of the given bytes, such as one whose name says picture but whose bytes are not one.
inline QString makeFile(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// Files that end before their picture begins: a PNG cut in its header, a JPEG cut in its first
// segment, an empty bitmap.
inline QStringList makeBroken(const QString& folder) {
    return {makeFile(folder, QStringLiteral("broken_header.png"),
                     QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)),
            makeFile(folder, QStringLiteral("broken_truncated.jpg"),
                     QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10)),
            makeFile(folder, QStringLiteral("broken_empty.bmp"), QByteArray())};
}

} // namespace test_pictures
