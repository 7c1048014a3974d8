// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the hand-off record decoder; a decoded path must encode back to a record
// the decoder takes, short or long as the path's length asks.

#include "handoff_record.h"

#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray record(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<QString> path = decodeHandoffRecord(record);
    if (!path)
        return 0;
    const QByteArray again = encodeHandoffRecord(*path);
    const bool isLong = again.size() > HandoffRecordSize;
    if (isLong != (QFile::encodeName(*path).size() > HandoffMaxPathBytes) || !decodeHandoffRecord(again))
        std::abort();
    return 0;
}
