// SPDX-License-Identifier: MIT
#pragma once
// The photographs the benchmarks work on, made by ImageMagick in a temporary folder: gradients with
// noise, so that every block has detail as in a real photograph and entropy decoding has work.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>

#include <unistd.h>

// ImageMagick's `convert`, the real one in /usr/bin when there is one in front of it on the path.
inline QString imageMagickConvert() {
    return QFile::exists(QStringLiteral("/usr/bin/convert")) ? QStringLiteral("/usr/bin/convert")
                                                             : QStringLiteral("convert");
}

// Makes a JPEG file of `size` pixels of a gradient with noise. `gradient` is ImageMagick's, such as
// "navy-orange"; `path` may start with ImageMagick's name of another format ("BMP3:").
inline bool makePhoto(const QString& path, const QString& gradient, QSize size, int quality = 90) {
    return QProcess::execute(imageMagickConvert(),
                             {QStringLiteral("-size"),
                              QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                              QStringLiteral("gradient:") + gradient, QStringLiteral("-attenuate"),
                              QStringLiteral("0.4"), QStringLiteral("+noise"), QStringLiteral("Gaussian"),
                              QStringLiteral("-quality"), QString::number(quality), path}) == 0;
}

// A 4000 x 3000 photograph, as a camera makes them.
inline bool makeLargePhoto(const QString& path, const QString& gradient) {
    return makePhoto(path, gradient, QSize(4000, 3000));
}

// `count` (at most six) different 4000 x 3000 photographs in `folder`, each of its own colours;
// empty when ImageMagick could not make one.
inline QStringList makeLargePhotos(const QString& folder, int count) {
    static const char* const gradients[] = {"navy-orange", "darkgreen-khaki", "maroon-skyblue",
                                            "black-gold",  "purple-white",    "teal-salmon"};
    QStringList made;
    for (int i = 0; i < count && i < int(std::size(gradients)); ++i) {
        const QString path =
            QDir(folder).filePath(QStringLiteral("photo-%1.jpg").arg(QLatin1String(gradients[i])));
        if (!makeLargePhoto(path, QLatin1String(gradients[i])))
            return {};
        made.append(path);
    }
    return made;
}

// `count` file names in `folder` (photo000.jpg, ...), hard links to `sources` in turn, so that a show
// or a folder of many photographs costs no disk space; empty when a link could not be made.
inline QStringList linkPhotos(const QStringList& sources, const QString& folder, int count) {
    QStringList links;
    if (sources.isEmpty() || !QDir().mkpath(folder))
        return links;
    for (int i = 0; i < count; ++i) {
        const QString link =
            QDir(folder).filePath(QStringLiteral("photo%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
        if (::link(QFile::encodeName(sources[i % sources.size()]).constData(),
                   QFile::encodeName(link).constData()) != 0)
            return {};
        links.append(link);
    }
    return links;
}
