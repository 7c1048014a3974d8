#pragma once
// Converts a picture to QPX through an imaging control, the way the export uses the preview
// window's Photo1: load it, show it, set the three quality values, save it.

#include "quality_presets.h"

#include <QString>

class TPhoto;
struct SharedFlags;

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
