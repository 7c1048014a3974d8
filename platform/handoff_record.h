// SPDX-License-Identifier: MIT
#pragma once
// The fixed-size record in which a second start hands one command-line path to the running instance.

#include <QByteArray>
#include <QString>
#include <optional>

inline constexpr int HandoffRecordSize = 256;
inline constexpr int HandoffMaxPathBytes = HandoffRecordSize - 1;

// 256-byte record: byte 0 = length n (0..255), bytes 1..n = the path's bytes (QFile::encodeName), rest zero.
// A longer path is cut to 255 bytes, never inside a multi-byte UTF-8 sequence.
QByteArray encodeHandoffRecord(const QString& argument);

// The path carried by a record; nullopt unless the record is exactly 256 bytes long.
std::optional<QString> decodeHandoffRecord(const QByteArray& record);
