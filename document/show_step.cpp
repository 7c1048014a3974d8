// SPDX-License-Identifier: MIT
#include "show_step.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
const unsigned char* bytesOf(const TSlideRecord& record) {
    return reinterpret_cast<const unsigned char*>(&record);
}

// The record's bytes from the first that differs to the last that differs, as they were and as they
// became; nothing for records of the same bytes.
bool recordPatch(const TSlideRecord& before, const TSlideRecord& after, int index, RecordPatch& patch) {
    const unsigned char* a = bytesOf(before);
    const unsigned char* b = bytesOf(after);
    std::size_t first = 0;
    std::size_t end = sizeof(TSlideRecord);
    while (first < end && a[first] == b[first])
        ++first;
    if (first == end)
        return false;
    while (a[end - 1] == b[end - 1])
        --end;
    patch.index = static_cast<std::uint16_t>(index);
    patch.offset = static_cast<std::uint16_t>(first);
    patch.bytes.assign(reinterpret_cast<const char*>(a + first), end - first);
    patch.bytes.append(reinterpret_cast<const char*>(b + first), end - first);
    return true;
}
} // namespace

ShowEdit ShowEdit::replacement(const std::vector<ShowSlide>& slides, int first,
                               const std::vector<ShowSlide>& after) {
    ShowEdit edit{Kind::Replace, first, 0, {}, {}, {}};
    for (std::size_t i = 0; i < after.size() && first + i < slides.size(); ++i) {
        const ShowSlide& was = slides[first + i];
        const int index = first + int(i);
        RecordPatch record;
        if (recordPatch(was.record, after[i].record, index, record))
            edit.records.push_back(std::move(record));
        if (was.thumbnail != after[i].thumbnail)
            edit.thumbnails.push_back({index, was.thumbnail, after[i].thumbnail});
        if (was.extra != after[i].extra)
            edit.extras.push_back({index, was.extra, after[i].extra});
    }
    return edit;
}

std::pair<int, int> ShowEdit::patch(std::vector<ShowSlide>& slides, bool forward) const {
    int low = -1;
    int high = -1;
    const auto note = [&](int index) {
        low = low < 0 ? index : std::min(low, index);
        high = std::max(high, index);
    };
    for (const RecordPatch& record : records) {
        if (record.index >= slides.size())
            continue;
        const std::size_t length = record.bytes.size() / 2;
        auto* raw = reinterpret_cast<char*>(&slides[record.index].record);
        std::memcpy(raw + record.offset, record.bytes.data() + (forward ? length : 0), length);
        note(record.index);
    }
    for (const ThumbnailPatch& thumbnail : thumbnails) {
        if (thumbnail.index < 0 || std::size_t(thumbnail.index) >= slides.size())
            continue;
        slides[std::size_t(thumbnail.index)].thumbnail = forward ? thumbnail.after : thumbnail.before;
        note(thumbnail.index);
    }
    for (const ExtraPatch& extra : extras) {
        if (extra.index < 0 || std::size_t(extra.index) >= slides.size())
            continue;
        slides[std::size_t(extra.index)].extra = forward ? extra.after : extra.before;
        note(extra.index);
    }
    return {low, high};
}

std::size_t ShowEdit::bytes() const {
    std::size_t total = sizeof(ShowEdit);
    for (const ShowSlide& slide : slides)
        total += sizeof slide + std::size_t(slide.thumbnail.sizeInBytes());
    for (const RecordPatch& record : records)
        total += sizeof record + record.bytes.size();
    for (const ThumbnailPatch& thumbnail : thumbnails)
        total +=
            sizeof thumbnail + std::size_t(thumbnail.before.sizeInBytes() + thumbnail.after.sizeInBytes());
    // Data beyond the records is small: a few keys, counted at a generous size each.
    constexpr std::size_t BytesPerKey = 256;
    for (const ShowSlide& slide : slides)
        total += BytesPerKey * std::size_t(slide.extra.size());
    for (const ExtraPatch& extra : extras)
        total += sizeof extra + BytesPerKey * std::size_t(extra.before.size() + extra.after.size());
    total += BytesPerKey * std::size_t(dataBefore.size() + dataAfter.size());
    return total;
}

std::size_t ShowStep::bytes() const {
    std::size_t total = sizeof(ShowStep);
    for (const ShowEdit& edit : edits_)
        total += edit.bytes();
    return total;
}

ShowStep* ShowStep::takeOver() {
    auto* step = new ShowStep(show_, text());
    step->edits_ = std::move(edits_);
    edits_.clear();
    return step;
}

void ShowStep::undo() {
    for (auto edit = edits_.rbegin(); edit != edits_.rend(); ++edit)
        show_.perform(*edit, false);
}

void ShowStep::redo() {
    if (std::exchange(made_, false))
        return;
    for (const ShowEdit& edit : edits_)
        show_.perform(edit, true);
}
