// SPDX-License-Identifier: MIT
#pragma once
// What a package's player plays, heard without a sound card: ALSA's default device made a file of
// raw samples for the programs given `home` as their home folder, and the loudest of those samples.

#include <QByteArray>
#include <QFile>
#include <QLibrary>
#include <QString>

#include <algorithm>
#include <cstdlib>

// ALSA's library is there to be heard through.
inline bool alsaInstalled() {
    return QLibrary(QStringLiteral("asound"), 2).load();
}

// Writes `home`/.asoundrc so that the default device writes into `sink`; false when it cannot.
inline bool makeAlsaFileSink(const QString& home, const QString& sink) {
    QFile rc(home + QStringLiteral("/.asoundrc"));
    return rc.open(QIODevice::WriteOnly) &&
           rc.write(
               QStringLiteral("pcm.!default { type file slave.pcm \"null\" file \"%1\" format \"raw\" }\n")
                   .arg(sink)
                   .toUtf8()) > 0;
}

// The loudest of the 16-bit samples `from` to `to` of `heard`.
inline int loudest(const QByteArray& heard, qsizetype from, qsizetype to) {
    const auto* samples = reinterpret_cast<const qint16*>(heard.constData());
    int most = 0;
    for (qsizetype i = from; i < to; ++i)
        most = std::max(most, std::abs(int(samples[i])));
    return most;
}
