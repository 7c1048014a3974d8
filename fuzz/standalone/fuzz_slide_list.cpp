// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the slide list reader: whatever it accepts must write back as the same
// bytes after the signature (the reader accepts older revisions, the writer always writes its own),
// but for zeros where a record held stray bytes behind a text, every data range it hands out must lie
// inside the data file, and the player options read from the first field must stay within their ranges.

#include "../document/cleared_records.h"
#include "slide_list.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SlideList list;
    if (!SlideList::parse(bytes, list).ok()) {
        if (!list.records.empty())
            std::abort();
        return 0;
    }
    const std::string again = list.bytes();
    const std::size_t sig = SlideList::SignatureSize;
    const std::size_t head = SlideList::HeaderSize;
    if (bytes.substr(sig, head - sig) != std::string_view(again).substr(sig, head - sig) ||
        clearedRecords(bytes.data() + head, list.records.size()) != std::string_view(again).substr(head))
        std::abort();
    const std::int64_t dataSize = static_cast<std::int64_t>(size) * 7;
    for (const SlideList::DataRange& r : list.dataRanges(dataSize)) {
        if (r.valid && (r.offset < 0 || r.length < 0 || r.offset + r.length > dataSize))
            std::abort();
        if (!r.valid && r.length != 0)
            std::abort();
    }
    const PlayerOptions options = PlayerOptions::parse(list.options);
    if (options.speed < 0 || options.speed > 20)
        std::abort();
    return 0;
}
