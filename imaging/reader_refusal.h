// SPDX-License-Identifier: MIT
#pragma once
// How the program's own picture readers say why they refuse a file: the reason in the program's
// language, and what kind of failure it is, which decides what is remembered about the file.

#include "picture_limits.h"

#include <QCoreApplication>
#include <QString>

namespace imaging {

// `reason` is marked with QT_TRANSLATE_NOOP("PictureReaders", ...) where it is written.
inline void refuseWith(QString* error, DecodeFailure* failure, const char* reason,
                       DecodeFailure kind = DecodeFailure::BadData) {
    if (error)
        *error = QCoreApplication::translate("PictureReaders", reason);
    if (failure)
        *failure = kind;
}

} // namespace imaging
