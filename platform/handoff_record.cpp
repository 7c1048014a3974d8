// SPDX-License-Identifier: MIT
#include "handoff_record.h"

#include <QFile>

namespace {

bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

QByteArray encodeHandoffRecord(const QString& argument) {
    const QByteArray bytes = QFile::encodeName(argument);
    qsizetype length = bytes.size();
    if (length > HandoffMaxPathBytes) {
        length = HandoffMaxPathBytes;
        // The first byte left out must start a character, or the cut would split one.
        while (length > 0 && isUtf8Continuation(bytes[length]))
            --length;
    }
    QByteArray record(HandoffRecordSize, '\0');
    record[0] = static_cast<char>(length);
    std::copy_n(bytes.constData(), length, record.data() + 1);
    return record;
}

std::optional<QString> decodeHandoffRecord(const QByteArray& record) {
    if (record.size() != HandoffRecordSize)
        return std::nullopt;
    const int length = static_cast<unsigned char>(record[0]);
    if (1 + length > record.size())
        return std::nullopt;
    return QFile::decodeName(record.mid(1, length));
}
