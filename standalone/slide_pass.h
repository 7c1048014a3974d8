// SPDX-License-Identifier: MIT
#pragma once
// The slide pass of an export: writes the slide list "images.sld" and the image data "images.dat"
// into the package folder, converting the pictures that are converted to QPX on the way, and copies
// the slides' audio files beside them, each packed under its bare name or, when another sound or a
// file of the package has that name already, under a name of its own.

#include "export_error.h"
#include "slide_list.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class ShowDocument;

// Converts the picture `image` into the QPX file `target`; false with the reason when it cannot.
using QpxConverter = std::function<bool(const QString& image, const QString& target, QString& reason)>;
// Converts the picture `image` straight to QPX bytes; nothing when it cannot, and QpxConverter then
// converts the picture (and reports what is wrong).
using QpxBytesConverter = std::function<std::optional<QByteArray>(const QString& image)>;

// The most image data a package can address: its offsets are signed 32-bit numbers.
inline constexpr qint64 MaxImageData = 0x7FFFFFFF;

// A file the export put into the package folder, and the name it is packed under.
struct PackageFile {
    QString path;
    QString member;
};

struct SlidePassJob {
    const ShowDocument* show = nullptr;
    QString packageFolder;
    QString conversionFile;    // the one QPX file every converted picture goes through
    QStringList reservedNames; // members of the package that no sound may be packed as
    PlayerOptions options;
    QpxConverter convert;
    // When set, tried first for each picture converted on this thread: the bytes it gives go
    // straight into the image data, and only the pictures it cannot convert go to `convert`.
    QpxBytesConverter convertBytes;
    // When set, every other picture to convert goes to it, on a second thread while this thread
    // converts the one before, so that both cores work; the data stays in slide order.
    QpxBytesConverter convertAside;
    std::function<void(int slide, int count)> progress; // before each slide, counting from 1
    // Asked when a slide's picture cannot be read (it is gone, no regular file, unreadable, or its
    // data does not decode): true packs a blank slide in its place, false stops the pass. Unset, the
    // pass stops.
    std::function<bool(const QString& picture, const QString& reason)> blankInstead;
};

// Runs the pass and names the files it wrote into `files`: the slide list, the image data and the
// sounds. The show itself is not changed. On failure the files written so far stay in the package folder;
// whoever made the folder removes it.
std::optional<ExportError> runSlidePass(const SlidePassJob& job, std::vector<PackageFile>& files);

// The bare name, or when a reserved name or a member of `files` is stored alike (in any letter case,
// by MemberNames::same), the name with "-2", "-3"... before its extension.
QString freePackageName(const QString& bare, const QStringList& reserved,
                        const std::vector<PackageFile>& files);

// Refuses, before anything is written, a show whose pictures packed as they are already pass the
// most image data a package can hold.
std::optional<ExportError> checkImageDataSize(const ShowDocument& show);

// The message for image data beyond that limit.
ExportError tooMuchImageData();
