// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the hand-off record decoder; a decoded path must encode back to the same
// record prefix it came from.

#include "handoff_record.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray record(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<QString> path = decodeHandoffRecord(record);
    if (!path)
        return 0;
    const QByteArray again = encodeHandoffRecord(*path);
    if (again.size() != HandoffRecordSize)
        std::abort();
    return 0;
}
