// SPDX-License-Identifier: MIT
#include "slide_list.h"

#include <algorithm>
#include <charconv>

namespace {

std::string paddedField(const std::string& text) {
    std::string field = text.substr(0, SlideList::FieldSize);
    field.resize(SlideList::FieldSize, ' ');
    return field;
}

std::string unpaddedField(std::string_view bytes, int offset) {
    std::string_view field = bytes.substr(static_cast<std::size_t>(offset), SlideList::FieldSize);
    const std::size_t end = field.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view() : field.substr(0, end + 1));
}

// A plain decimal number: digits only, at least one, no sign or blanks.
bool parseDecimal(std::string_view text, std::int64_t& value) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

SlideList::ParseResult failure(SlideList::Status status, std::string error, SlideList& out) {
    out = SlideList();
    return {status, std::move(error)};
}

} // namespace

std::string OffsetText(std::int64_t offset) {
    return std::to_string(offset);
}

std::string SlideList::header(std::int32_t count) const {
    std::string bytes(Signature, SignatureSize);
    bytes += paddedField(options);
    bytes += paddedField(note);
    bytes.resize(HeaderSize);
    SlideRecordBytes::putInt32(bytes.data() + CountOffset, count);
    SlideRecordBytes::putInt32(bytes.data() + CountOffset + 4, RecordSize);
    return bytes;
}

std::string SlideList::recordBytes(const TSlideRecord& record) {
    std::string bytes(RecordSize, '\0');
    SlideRecordBytes::encode(record, bytes.data());
    return bytes;
}

std::string SlideList::bytes() const {
    std::string out = header(static_cast<std::int32_t>(records.size()));
    for (const TSlideRecord& record : records)
        out += recordBytes(record);
    return out;
}

SlideList::ParseResult SlideList::parse(std::string_view bytes, SlideList& out) {
    if (bytes.substr(0, SignatureSize).find("MORVANT") == std::string_view::npos)
        return failure(Status::BadSignature, "it is not a slide list", out);
    if (bytes.size() < static_cast<std::size_t>(HeaderSize))
        return failure(Status::Truncated, "its header is cut short", out);
    const std::int32_t count = SlideRecordBytes::getInt32(bytes.data() + CountOffset);
    const std::int32_t recordSize = SlideRecordBytes::getInt32(bytes.data() + CountOffset + 4);
    if (count < 0 || recordSize != RecordSize)
        return failure(Status::BadHeader,
                       "its header announces " + std::to_string(count) + " slides of " +
                           std::to_string(recordSize) + " bytes",
                       out);
    const std::int64_t need = HeaderSize + std::int64_t(count) * RecordSize;
    if (static_cast<std::int64_t>(bytes.size()) < need)
        return failure(Status::Truncated,
                       "it announces " + std::to_string(count) + " slides but holds only " +
                           std::to_string((bytes.size() - HeaderSize) / RecordSize),
                       out);
    out.options = unpaddedField(bytes, SignatureSize);
    out.note = unpaddedField(bytes, SignatureSize + FieldSize);
    out.records.assign(static_cast<std::size_t>(count), TSlideRecord{});
    for (std::int32_t i = 0; i < count; ++i)
        SlideRecordBytes::decode(bytes.data() + HeaderSize + std::size_t(i) * RecordSize, out.records[i]);
    return {};
}

std::vector<SlideList::DataRange> SlideList::dataRanges(std::int64_t dataSize) const {
    std::vector<DataRange> ranges(records.size());
    std::vector<bool> parsed(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        parsed[i] = parseDecimal(records[i].ImageFile.str(), ranges[i].offset);
    for (std::size_t i = 0; i < records.size(); ++i) {
        DataRange& r = ranges[i];
        const bool last = i + 1 == records.size();
        if (!parsed[i] || (!last && !parsed[i + 1]))
            continue;
        const std::int64_t end = last ? dataSize : ranges[i + 1].offset;
        r.length = end - r.offset;
        r.valid = r.offset <= dataSize && r.length >= 0 && end <= dataSize;
        if (!r.valid)
            r.length = 0;
    }
    return ranges;
}

std::string PlayerOptions::format() const {
    return "loop=" + std::to_string(loop ? 1 : 0) + " speed=" + std::to_string(speed) +
           " controls=" + std::to_string(controls ? 1 : 0);
}

PlayerOptions PlayerOptions::parse(std::string_view text) {
    PlayerOptions options;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        const std::string_view item = text.substr(pos, end - pos);
        pos = end + 1;
        const std::size_t eq = item.find('=');
        std::int64_t value = 0;
        if (eq == std::string_view::npos || !parseDecimal(item.substr(eq + 1), value))
            continue;
        const std::string_view key = item.substr(0, eq);
        if (key == "loop" && value <= 1)
            options.loop = value == 1;
        else if (key == "speed" && value <= 20)
            options.speed = static_cast<int>(value);
        else if (key == "controls" && value <= 1)
            options.controls = value == 1;
    }
    return options;
}
