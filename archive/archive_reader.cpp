// SPDX-License-Identifier: MIT
#include "archive_reader.h"

#include "member_name.h"

#include <algorithm>
#include <filesystem>

namespace verasco::archive {

uint64_t ArchiveStart(const std::string& name, std::istream& in, uint64_t size) {
    const std::string ext = std::filesystem::path(name).extension().string();
    if (!EqualsIgnoreCase(ext, ".exe") || size <= 5)
        return 0;
    uint8_t head[6] = {};
    in.seekg(0);
    in.read(reinterpret_cast<char*>(head), 6);
    in.clear();
    in.seekg(0);
    if (head[0] != 0x4D || head[1] != 0x5A)
        return 0;
    const int64_t lastPage = head[2] | (head[3] << 8);
    const int64_t pages = head[4] | (head[5] << 8);
    const int64_t start = pages * 512 + lastPage - 512;
    if (start < 0 || static_cast<uint64_t>(start) > size)
        return 0;
    return static_cast<uint64_t>(start);
}

bool ArchiveReader::open(const std::string& path, std::optional<uint64_t> start) {
    in_.open(path, std::ios::binary);
    if (!in_)
        return false;
    in_.seekg(0, std::ios::end);
    const auto end = in_.tellg();
    size_ = end < 0 ? 0 : static_cast<uint64_t>(end);
    in_.seekg(0);
    next_ = start ? std::min(*start, size_) : ArchiveStart(path, in_, size_);
    return true;
}

bool ArchiveReader::next(LhaMemberHeader& header) {
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(next_));
    if (!ReadMemberHeader(in_, header))
        return false;
    headerPos_ = next_;
    dataPos_ = static_cast<uint64_t>(in_.tellg());
    next_ = dataPos_ + header.packedSize;
    return true;
}

} // namespace verasco::archive
