// SPDX-License-Identifier: MIT
#include "support.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtEndian>

#include <cmath>

namespace imaging_test {

QString imagesDir() {
    const QByteArray env = qgetenv("VERASCO_TESTDATA");
    return QDir(env.isEmpty() ? QStringLiteral(VERASCO_TESTDATA) : QString::fromLocal8Bit(env))
        .filePath(QStringLiteral("images"));
}

bool haveSharedImages() {
    return QDir(imagesDir()).exists();
}

QString imagePath(const QString& name) {
    return haveSharedImages() ? QDir(imagesDir()).filePath(name) : madePicturePath(name);
}

ToolResult runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    ToolResult r;
    if (!p.waitForStarted(30000))
        return r;
    p.closeWriteChannel();
    p.waitForFinished(120000);
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

QString convertProgram() {
    return QFile::exists(QStringLiteral("/usr/bin/convert")) ? QStringLiteral("/usr/bin/convert")
                                                             : QStringLiteral("convert");
}

QByteArray imageMagickRgba(const QString& path, bool autoOrient) {
    QStringList args{path};
    if (autoOrient)
        args << QStringLiteral("-auto-orient");
    args << QStringLiteral("-depth") << QStringLiteral("8") << QStringLiteral("rgba:-");
    const ToolResult r = runTool(convertProgram(), args);
    return r.exitCode == 0 ? r.out : QByteArray();
}

QByteArray rgbaBytes(const QImage& image) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    QByteArray out;
    out.reserve(qsizetype(rgba.width()) * rgba.height() * 4);
    for (int y = 0; y < rgba.height(); ++y)
        out.append(reinterpret_cast<const char*>(rgba.constScanLine(y)), qsizetype(rgba.width()) * 4);
    return out;
}

double psnr(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size() || a.isEmpty())
        return 0;
    double sum = 0;
    qsizetype n = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (i % 4 == 3)
            continue;
        const double d = double(uchar(a[i])) - double(uchar(b[i]));
        sum += d * d;
        ++n;
    }
    if (sum == 0)
        return INFINITY;
    return 10 * std::log10(255.0 * 255.0 / (sum / double(n)));
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray encoded(QSize size, const char* format) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

QByteArray pngClaiming(QSize size) {
    QByteArray png = encoded({8, 8}, "png");
    qToBigEndian<quint32>(quint32(size.width()), png.data() + 16);
    qToBigEndian<quint32>(quint32(size.height()), png.data() + 20);
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 12; i < 29; ++i) { // the chunk's type and data
        crc ^= uchar(png[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    qToBigEndian<quint32>(crc ^ 0xFFFFFFFFu, png.data() + 29);
    return png;
}

} // namespace imaging_test
