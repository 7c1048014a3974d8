// SPDX-License-Identifier: MIT
#pragma once
// The codec module (see codec_backend.h), loaded the first time a video or a web page is written.

#include "codec_backend.h"

#include <QString>
#include <QStringList>

namespace sharing {

// The module's backend, shared by every thread (it keeps no state between calls); null, with the
// reason in *error, when the module cannot be found or loaded.
CodecBackend* codecBackend(QString* error = nullptr);

// Where the module is looked for, in order, by a program in `programFolder`: where its shipped files
// are (beside it, or installed), and, for a program inside this build (a test, a benchmark), where
// this build puts the module.
QStringList codecModuleFolders(const QString& programFolder);

} // namespace sharing
