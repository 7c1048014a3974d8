// SPDX-License-Identifier: MIT
#pragma once
// The decoding run-time a package carries ("qpxrun30.dll", verasco3.dat), loaded at run time from
// the player's own folder: QPX and JPEG data in, a picture out.

#include "qpx_runtime.h"

#include <QByteArrayView>
#include <QImage>
#include <QLibrary>
#include <QString>

class RuntimeDecoder {
  public:
    static constexpr char FileName[] = "qpxrun30.dll";

    // Loads the run-time from `folder`. False, with the reason in error(), when it is missing, is no
    // library of ours or implements another interface version.
    bool load(const QString& folder);
    bool loaded() const { return decode_ != nullptr; }
    QString error() const { return error_; }

    // The picture, or a null image with the reason in `why` when the data cannot be decoded.
    QImage decode(QByteArrayView data, QString& why) const;

  private:
    QLibrary library_;
    QpxRunDecodeFunction decode_ = nullptr;
    QpxRunFreeFunction free_ = nullptr;
    QString error_;
};
