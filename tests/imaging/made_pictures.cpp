// SPDX-License-Identifier: MIT
// The shared test pictures, made again when the shared test data is not beside the clone. A name
// says how its picture is made, as the test data's README describes it: a photograph (flower,
// ladybird, storm: here a drawn stand-in) of 320 x 240 pixels unless the name gives a size, or
// size_WxH for a crop of the 640 x 480 picture; then the file kind, written by ImageMagick.
#include "support.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace imaging_test {
namespace {

// A photograph's stand-in: soft colour waves with a few sharp-edged shapes, different per photo.
QImage drawnPhoto(int photo, QSize canvas) {
    QImage image(canvas, QImage::Format_RGB32);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const double r = 128 + 100 * std::sin(x * (0.008 + 0.004 * photo) + y * 0.005);
            const double g = 128 + 100 * std::sin(y * 0.012 - x * 0.003 * photo);
            const double b = 128 + 100 * std::cos((x + y) * 0.004 * (photo + 1));
            image.setPixel(x, y, qRgb(int(r), int(g), int(b)));
        }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        painter.setBrush(QColor::fromHsv((photo * 70 + i * 50) % 360, 60, 60 + 30 * i));
        const QRect box(40 + 90 * i, 30 + (photo * 37 + i * 61) % 300, 70 + 10 * photo, 90);
        if (i % 2)
            painter.drawEllipse(box);
        else
            painter.drawRect(box);
    }
    return image;
}

// Transparent towards the corners, opaque in the centre.
QImage withRadialAlpha(const QImage& picture) {
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const double cx = (image.width() - 1) / 2.0, cy = (image.height() - 1) / 2.0;
    const double radius = std::hypot(cx, cy);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int alpha = int(255 * (1 - std::hypot(x - cx, y - cy) / radius));
            image.setPixel(x, y, qRgba(qRed(p), qGreen(p), qBlue(p), std::clamp(alpha, 0, 255)));
        }
    return image;
}

// The picture a name's files are made from, in 8 bits per channel, so that every lossless file made
// from it holds the same pixels; its path, or empty.
QString sourcePicture(const QString& folder, const QStringList& parts, QSize size) {
    const QString photo = parts.front();
    const bool portrait = parts.contains(QLatin1String("portrait"));
    const bool alpha = parts.contains(QLatin1String("alpha"));
    const QString path = QDir(folder).filePath(QStringLiteral("source_%1_%2x%3%4%5.png")
                                                   .arg(photo)
                                                   .arg(size.width())
                                                   .arg(size.height())
                                                   .arg(portrait ? QStringLiteral("_portrait") : QString(),
                                                        alpha ? QStringLiteral("_alpha") : QString()));
    if (QFile::exists(path))
        return path;
    const int number = photo == QLatin1String("flower") ? 1 : photo == QLatin1String("ladybird") ? 2 : 3;
    QImage picture = drawnPhoto(number, portrait ? QSize(480, 640) : QSize(640, 480));
    if (photo == QLatin1String("size"))
        picture = picture.copy(QRect(QPoint(17, 23), size));
    else
        picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (alpha)
        picture = withRadialAlpha(picture);
    return picture.save(path, "PNG") ? path : QString();
}

// The options and the coder that make the file kind the name's parts and extension call for.
QStringList kindArguments(const QStringList& parts, const QString& ext) {
    const auto has = [&](const char* part) { return parts.contains(QLatin1String(part)); };
    QStringList args{QStringLiteral("-strip")};
    QString coder = ext.toUpper();
    if (ext == QLatin1String("jpg")) {
        args << QStringLiteral("-quality") << QStringLiteral("85");
        if (has("progressive"))
            args << QStringLiteral("-interlace") << QStringLiteral("Plane");
        if (has("gray"))
            args << QStringLiteral("-colorspace") << QStringLiteral("Gray");
        coder = QStringLiteral("JPEG");
    } else if (ext == QLatin1String("png")) {
        coder = has("alpha")  ? QStringLiteral("PNG32")
                : has("pal8") ? QStringLiteral("PNG8")
                              : QStringLiteral("PNG24");
        if (has("gray8")) {
            args << QStringLiteral("-type") << QStringLiteral("Grayscale") << QStringLiteral("-depth")
                 << QStringLiteral("8");
            coder = QStringLiteral("PNG");
        }
        if (has("interlaced"))
            args << QStringLiteral("-interlace") << QStringLiteral("PNG");
    } else if (has("pal8") || has("pal256")) {
        args << QStringLiteral("-colors") << QStringLiteral("256") << QStringLiteral("-type")
             << QStringLiteral("Palette");
    } else {
        args << QStringLiteral("-type") << QStringLiteral("TrueColor");
    }
    if (ext == QLatin1String("bmp") && !has("v5header"))
        coder = QStringLiteral("BMP3");
    if (ext == QLatin1String("bmp"))
        args << QStringLiteral("-compress") << QStringLiteral("None");
    if (has("rle"))
        args << QStringLiteral("-compress") << QStringLiteral("RLE");
    if (has("raw") || has("none"))
        args << QStringLiteral("-compress") << QStringLiteral("None");
    if (has("lzw"))
        args << QStringLiteral("-compress") << QStringLiteral("LZW");
    if (has("16bit"))
        args << QStringLiteral("-depth") << QStringLiteral("16");
    return args << coder + QLatin1Char(':');
}

bool copyOf(const QString& source, const QString& target, qsizetype keep = -1) {
    const QByteArray bytes = fileBytes(madePicturePath(source));
    return !bytes.isEmpty() && writeFile(target, keep < 0 ? bytes : bytes.left(keep));
}

} // namespace

QString madePicturePath(const QString& name) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(name);
    if (QFile::exists(path))
        return path;
    const QString stem = name.section(QLatin1Char('.'), 0, 0);
    const QString ext = name.section(QLatin1Char('.'), 1).toLower();
    if (name == QLatin1String("broken_truncated.jpg")) {
        const qsizetype whole = fileBytes(madePicturePath(QStringLiteral("ladybird.jpg"))).size();
        return copyOf(QStringLiteral("ladybird.jpg"), path, whole / 2) ? path : QString();
    }
    if (ext == QLatin1String("dib") || ext == QLatin1String("jif"))
        return copyOf(stem + (ext == QLatin1String("dib") ? QStringLiteral(".bmp") : QStringLiteral(".jpg")),
                      path)
                   ? path
                   : QString();
    QStringList parts = stem.split(QLatin1Char('_'));
    QSize size(320, 240);
    static const QRegularExpression sizePart(QStringLiteral("^(\\d+)x(\\d+)$"));
    for (const QString& part : parts)
        if (const QRegularExpressionMatch m = sizePart.match(part); m.hasMatch())
            size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    const QString source = sourcePicture(folder.path(), parts, size);
    if (source.isEmpty())
        return QString();
    QStringList args = QStringList{source} + kindArguments(parts, ext);
    args.last() += path;
    const ToolResult made = runTool(convertProgram(), args);
    return made.exitCode == 0 && QFile::exists(path) ? path : QString();
}

} // namespace imaging_test
