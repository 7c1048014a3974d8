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
};

// An archive with names the component would never store itself.
inline void WriteRawArchive(const std::string& path, const std::vector<RawMember>& members) {
    using namespace verasco::archive;
    std::string bytes;
    for (const RawMember& m : members) {
        LhaMemberHeader h;
        h.name = m.name;
        h.level = m.osId ? 1 : 0;
        h.originalSize = h.packedSize = static_cast<uint32_t>(m.data.size());
        h.crc = UpdateCrc16(0, reinterpret_cast<const uint8_t*>(m.data.data()), m.data.size());
        h.date = 0x5821;
        std::ostringstream out;
        WriteMemberHeader(out, h);
        std::string header = out.str();
        if (m.osId) {
            const size_t base = static_cast<uint8_t>(header[21]);
            header[24 + base] = m.osId;
            header[1] = static_cast<char>(HeaderChecksum(reinterpret_cast<const uint8_t*>(header.data()) + 2,
                                                         static_cast<uint8_t>(header[0])));
        }
        bytes += header + m.data;
    }
    WriteFile(path, bytes + std::string(1, '\0'));
}

} // namespace archive_test
