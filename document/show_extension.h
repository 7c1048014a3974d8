// SPDX-License-Identifier: MIT
#pragma once
// The show's data beyond the slide records: at most one extension block after the last record, the
// 4 bytes "VRSX", a 32-bit little-endian length N and N bytes of UTF-8 JSON holding one object. The
// show keeps the object's keys but "slides"; slide i keeps element i of "slides" (ShowSlide::extra),
// so that every slide operation carries it. Keys this version does not know stay as they were read.

#include "show_block_limits.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace ShowExtension {

inline constexpr char Tag[] = "VRSX";
inline constexpr int PrefixSize = 8; // the tag and the length
// A block is read only up to this size.
inline constexpr qint64 MaxBytes = ShowBlockLimits::MaxBytes;
// A show plays at most this many music files, one after another; a longer list is damage.
inline constexpr int MaxMusicFiles = 1000;

inline constexpr int DefaultFadeMs = 2000;
inline constexpr int MaxFadeMs = 60000;

// The block's content as the show keeps it.
struct Data {
    QJsonObject show;                // every key but "slides"
    std::vector<QJsonObject> slides; // element i belongs to slide i; shorter (or empty) for none
    QString damage;                  // why a block found after the records was left out, or empty
};

// The block at the start of `tail`, the bytes after the last of `count` records. Bytes that do not
// start with the tag are no block and are passed over, as a reader of the records alone does.
Data decode(QByteArrayView tail, int count);
// The whole block for the show's data and the slides' objects; empty when neither holds anything,
// so that such a show is written exactly as a show of records alone.
QByteArray encode(const QJsonObject& show, const std::vector<QJsonObject>& slides);
// The length announced by a block's first PrefixSize bytes, or -1 when they start no block.
qint64 announcedLength(QByteArrayView prefix);

// The show's music, one file after another: the paths of "music".
QStringList musicPaths(const QJsonObject& show);
// The show's data with these files as its music (none takes the key out).
QJsonObject withMusic(QJsonObject show, const QStringList& paths);
// The fade-out of the music at the show's end, "musicFadeMs" within 0 to MaxFadeMs.
int musicFadeMs(const QJsonObject& show);

// The show's level for its music, "musicLevel", 0 to MusicLevel::FullLevel percent (the default).
int musicLevel(const QJsonObject& show);
QJsonObject withMusicLevel(QJsonObject show, int percent);

// How captions are drawn: "box" (the default) or "band".
enum class Captions { Box, Band };
Captions captions(const QJsonObject& show);
QJsonObject withCaptions(QJsonObject show, Captions style);

// The status line's note for a block left out.
QString damageNote(const QString& damage);

} // namespace ShowExtension
