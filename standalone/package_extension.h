// SPDX-License-Identifier: MIT
#pragma once
// The show's data beyond the slide records in a package, after the slides' sounds: "images.vrx",
// the show's extension block as the show file writes it with each music entry's path replaced by
// its member name, then the music as Ogg Vorbis members "music-1.ogg", "music-2.ogg"..., which a
// package's players decode as they play. A music file that cannot be decoded is left out and named.
// Each shown caption is drawn once, as the viewer's full screen lays out its band, for a screen
// CaptionBand::PackageWidth x PackageHeight, into a member "caption-N.pgm" (N the slide's number)
// named by the slide's "caption": an 8-bit coverage mask as a binary PGM file, which the players
// scale to their screen and draw in the slide's colour, needing no font of their own.
// A show without such data adds nothing, so that its package is that of a show of records alone.

#include "export_error.h"
#include "slide_pass.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class ShowDocument;

// The member that holds the block.
inline constexpr char ExtensionMemberName[] = "images.vrx";

// A sound file to be written as an Ogg Vorbis file.
struct MusicConversion {
    QString from;
    QString to;
};

// Converts the files; for each whether it was converted, or nothing when the user stopped the work.
using MusicConverter = std::function<std::optional<std::vector<bool>>(const std::vector<MusicConversion>&)>;

struct ExtensionPassJob {
    const ShowDocument* show = nullptr;
    QString packageFolder;
    QStringList reservedNames; // names no member of the show's data may take
    MusicConverter convertMusic;
    std::vector<QString>* leftOut = nullptr; // told the music files that were left out
};

// True when the show holds data beyond its records or shows a caption, so that its package carries
// the block.
bool hasExtensionData(const ShowDocument& show);

// Writes the block and the music into the package folder and appends them to `files`, after what
// is there; nothing for a show without such data. Stopped by the user, it fails as cancelled.
std::optional<ExportError> runExtensionPass(const ExtensionPassJob& job, std::vector<PackageFile>& files);
