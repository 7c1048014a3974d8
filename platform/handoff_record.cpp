// SPDX-License-Identifier: MIT
#include "handoff_record.h"

#include <QFile>

namespace {

constexpr char LongRecordMark = char(HandoffMaxPathBytes);

} // namespace

QByteArray encodeHandoffRecord(const QString& argument) {
    const QByteArray bytes = QFile::encodeName(argument);
    if (bytes.size() > HandoffMaxPathBytes)
        return LongRecordMark + bytes.left(HandoffMaxLongPathBytes);
    QByteArray record(HandoffRecordSize, '\0');
    record[0] = static_cast<char>(bytes.size());
    std::copy_n(bytes.constData(), bytes.size(), record.data() + 1);
    return record;
}

std::optional<QString> decodeHandoffRecord(const QByteArray& record) {
    if (record.size() > HandoffRecordSize && record.size() <= 1 + HandoffMaxLongPathBytes &&
        record[0] == LongRecordMark)
        return QFile::decodeName(record.mid(1));
    if (record.size() != HandoffRecordSize)
        return std::nullopt;
    const int length = static_cast<unsigned char>(record[0]);
    return QFile::decodeName(record.mid(1, length));
}
