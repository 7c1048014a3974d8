// SPDX-License-Identifier: MIT
#pragma once
// Converts a picture to QPX through an imaging control, the way the export uses the preview
// window's Photo1: load it, show it, set the three quality values, save it. The export tries the
// bytes converters first, on threads of their own: a plain bitmap (see bmp_rows.h) is encoded
// straight from its file's rows, any other picture decoded whole and encoded as the control saves
// it; both give the control's bytes, and only a picture they cannot convert goes to the control,
// which says what is wrong with it.

#include "quality_presets.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class TPhoto;
struct SharedFlags;

// The conversion of plain bitmaps from their rows. One instance per thread; it keeps its read buffer
// from one picture to the next, so that a show of large pictures does not map fresh memory for each.
class BmpRowsConverter {
  public:
    explicit BmpRowsConverter(QualityPreset quality) : quality_(quality) {}

    // The QPX bytes of `image`, or nothing when it is not a plain bitmap or cannot be read or
    // encoded this way (the control then converts it, and reports what is wrong).
    std::optional<QByteArray> operator()(const QString& image);

  private:
    QualityPreset quality_;
    std::vector<char> buffer_;
};

// The conversion of any picture off the window thread: a plain bitmap from its rows, else the whole
// picture decoded and encoded. One instance per thread.
class PictureQpxConverter {
  public:
    explicit PictureQpxConverter(QualityPreset quality) : quality_(quality), rows_(quality) {}

    // The QPX bytes of `image`, or nothing when it cannot be decoded or encoded (the control then
    // converts it, and reports what is wrong).
    std::optional<QByteArray> operator()(const QString& image);

  private:
    QualityPreset quality_;
    BmpRowsConverter rows_;
};

class PhotoQpxConverter {
  public:
    PhotoQpxConverter(TPhoto& photo, SharedFlags& flags, QualityPreset quality)
        : photo_(photo), flags_(flags), quality_(quality) {}

    // Writes `target`; false with the control's reason when the picture cannot be loaded or saved.
    bool operator()(const QString& image, const QString& target, QString& reason);

  private:
    TPhoto& photo_;
    SharedFlags& flags_;
    QualityPreset quality_;
};
