// SPDX-License-Identifier: MIT
#pragma once
// The show's data beyond the slide records in a package, after the slides' sounds: "images.vrx",
// the show's extension block as the show file writes it with each music entry's path replaced by
// its member name, then the music as 16-bit PCM WAV members "music-1.wav", "music-2.wav"...,
// since a package's players decode no other sound. A music file that cannot be decoded is left out.
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

// Writes the sound file `from` as a PCM WAV file `to`; false with the reason when it cannot.
using MusicConverter = std::function<bool(const QString& from, const QString& to, QString& reason)>;

struct ExtensionPassJob {
    const ShowDocument* show = nullptr;
    QString packageFolder;
    QStringList reservedNames; // names no member of the show's data may take
    MusicConverter convertMusic;
};

// True when the show holds data beyond its records, so that its package carries the block.
bool hasExtensionData(const ShowDocument& show);

// Writes the block and the music into the package folder and appends them to `files`, after what
// is there; nothing for a show without such data.
std::optional<ExportError> runExtensionPass(const ExtensionPassJob& job, std::vector<PackageFile>& files);
