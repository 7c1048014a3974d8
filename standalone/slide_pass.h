#pragma once
// The slide pass of an export: writes the slide list "images.sld" and the image data "images.dat"
// into the package folder, converting the pictures that are converted to QPX on the way, and copies
// the slides' audio files beside them under their bare names.

#include "export_error.h"
#include "slide_list.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class ShowDocument;

// Converts the picture `image` into the QPX file `target`; false with the reason when it cannot.
using QpxConverter = std::function<bool(const QString& image, const QString& target, QString& reason)>;

// The most image data a package can address: its offsets are signed 32-bit numbers.
inline constexpr qint64 MaxImageData = 0x7FFFFFFF;

struct SlidePassJob {
    const ShowDocument* show = nullptr;
    QString packageFolder;
    QString conversionFile;    // the one QPX file every converted picture goes through
    QStringList reservedNames; // files of the package that no audio copy may replace
    PlayerOptions options;
    QpxConverter convert;
    std::function<void(int slide, int count)> progress; // before each slide, counting from 1
};

// Runs the pass. On failure the files written so far stay in the package folder; whoever made the
// folder removes it.
std::optional<ExportError> runSlidePass(const SlidePassJob& job);

// Refuses, before anything is written, a show whose pictures packed as they are already pass the
// most image data a package can hold.
std::optional<ExportError> checkImageDataSize(const ShowDocument& show);

// The message for image data beyond that limit.
ExportError tooMuchImageData();
