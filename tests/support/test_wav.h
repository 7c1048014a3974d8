// SPDX-License-Identifier: MIT
#pragma once
// Sound files for tests: a mono 16-bit PCM WAV of a quiet tone, of an exact length.

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cmath>

// Writes the file; false when it could not be written.
inline bool writeTestWav(const QString& path, int ms) {
    constexpr int Rate = 8000;
    const int samples = int(qint64(Rate) * ms / 1000);
    QByteArray data(samples * 2, Qt::Uninitialized);
    for (int i = 0; i < samples; ++i)
        qToLittleEndian<qint16>(qint16(2000 * std::sin(2 * M_PI * 440.0 * i / Rate)), data.data() + 2 * i);
    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + data.size());
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(Rate) << quint32(Rate * 2) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(data.size());
    wav += data;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size();
}
