// SPDX-License-Identifier: MIT
#pragma once
// The fixed-size record in which a second start hands one command-line path to the running instance.

#include <QByteArray>
#include <QString>
#include <optional>

inline constexpr int HandoffRecordSize = 256;
inline constexpr int HandoffMaxPathBytes = HandoffRecordSize - 1;
// The longest path a long record carries: one byte more than any path the system opens (its
// PATH_MAX counts the closing zero), so that a path cut to it names no file.
inline constexpr int HandoffMaxLongPathBytes = 4096;

// 256-byte record: byte 0 = length n (0..255), bytes 1..n = the path's bytes (QFile::encodeName), rest
// zero. A path of more than 255 bytes, which such a record cannot hold, goes whole in a long record:
// byte 0 = 255, then all the path's bytes (at most HandoffMaxLongPathBytes of them), so that the
// running instance refuses it as a start would instead of taking a cut path that may name another
// file. An instance that knows only the 256-byte record ignores a long one.
QByteArray encodeHandoffRecord(const QString& argument);

// The path carried by a record or a long record; nullopt for anything else.
std::optional<QString> decodeHandoffRecord(const QByteArray& record);
