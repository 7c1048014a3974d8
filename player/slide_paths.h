#pragma once
// The file names a slide stores, as paths of this system (slides keep them in its 8-bit encoding).

#include "show_document.h"

#include <QFile>
#include <QString>

inline QString slideImagePath(const ShowDocument& show, int index) {
    return QFile::decodeName(QByteArray::fromStdString(show.slide(index).ImageFile.str()));
}

inline QString slideAudioPath(const ShowDocument& show, int index) {
    return QFile::decodeName(QByteArray::fromStdString(show.slide(index).AudioFile.str()));
}
