// SPDX-License-Identifier: MIT
#pragma once
// A file's bytes, or none when it cannot be read.

#include <QByteArray>
#include <QFile>
#include <QString>

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
