// SPDX-License-Identifier: MIT
// Helpers of the tests of the archive component: a folder of source files with one for output, the
// names an archive lists, the files below a folder, and archives written field by field.
#pragma once

#include "archive_test_support.h"
#include "comp_lha.h"
#include "crc16.h"
#include "lha_header.h"

#include <algorithm>
#include <vector>

namespace archive_test {

inline std::vector<std::string> Names(const verasco::archive::TCompLHA& lha) {
    std::vector<std::string> names;
    for (const auto& [name, info] : lha.Contents())
        names.push_back(name);
    return names;
}

inline std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(e.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Fixture {
    TempDir dir;
    std::string src = dir / "src";
    std::string out = dir / "out";
    Fixture() {
        fs::create_directories(src);
        fs::create_directories(out);
    }
    std::string add(const std::string& name, const std::string& bytes) {
        const std::string path = src + "/" + name;
        fs::create_directories(fs::path(path).parent_path());
        WriteFile(path, bytes);
        return path;
    }
    // Expands every member of the archive into `out`.
    void expandAll(verasco::archive::TCompLHA& lha) const {
        lha.SetTargetPath(out);
        lha.FilesToProcess.clear();
        lha.Expand();
    }
};

// One member of an archive written field by field, stored as it is ("-lh0-").
struct RawMember {
    std::string name;
    std::string data;
    char osId = 0; // 0: a level-0 header; else level 1 with this operating-system identifier
    // Level 1: the name only in a file name header and a folder header, the base name empty, as
    // programs write names too long for the base header.
    bool nameInExtendedHeaders = false;
    int level = -1; // 2: a level-2 header instead (with osId, "M" when 0)
};

// A level-1 header of `m` whose names are in extended headers only.
inline std::string NameHeadersOnly(const RawMember& m, uint16_t crc) {
    using namespace verasco::archive;
    std::string folder, base;
    SplitPath(m.name, folder, base);
    std::string ext;
    const std::string parts[] = {'\x01' + base, '\x02' + folder};
    for (const std::string& part : parts) {
        ext.push_back(static_cast<char>(part.size() + 2));
        ext += std::string(1, '\0') + part;
    }
    ext += std::string(2, '\0');
    std::string h(22, '\0');
    h[0] = 25;
    h.replace(2, 5, "-lh0-");
    for (int i = 0; i < 4; ++i) {
        h[7 + i] = static_cast<char>((m.data.size() + ext.size() - 2) >> (8 * i));
        h[11 + i] = static_cast<char>(m.data.size() >> (8 * i));
    }
    h[17] = 0x21;
    h[18] = 0x58;
    h[19] = 0x20;
    h[20] = 1;
    h += std::string{static_cast<char>(crc & 0xFF), static_cast<char>(crc >> 8), m.osId} + ext;
    h[1] = static_cast<char>(HeaderChecksum(reinterpret_cast<const uint8_t*>(h.data()) + 2, 25));
    return h;
}

// An archive with names the component would never store itself.
inline void WriteRawArchive(const std::string& path, const std::vector<RawMember>& members) {
    using namespace verasco::archive;
    std::string bytes;
    for (const RawMember& m : members) {
        LhaMemberHeader h;
        h.name = m.name;
        h.level = static_cast<uint8_t>(m.level >= 0 ? m.level : m.osId ? 1 : 0);
        h.osId = m.osId;
        h.originalSize = h.packedSize = static_cast<uint32_t>(m.data.size());
        h.crc = UpdateCrc16(0, reinterpret_cast<const uint8_t*>(m.data.data()), m.data.size());
        h.date = 0x5821;
        std::ostringstream out;
        WriteMemberHeader(out, h);
        bytes += (m.nameInExtendedHeaders ? NameHeadersOnly(m, h.crc) : out.str()) + m.data;
    }
    WriteFile(path, bytes + std::string(1, '\0'));
}

} // namespace archive_test
