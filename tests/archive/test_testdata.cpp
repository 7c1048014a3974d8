// SPDX-License-Identifier: MIT
// Every archive of the shared LHA test data, read as its manifest says: readable members expand
// to the recorded bytes with the recorded names and CRCs; the others fail with the right message.
#include "archive_test_support.h"
#include "comp_lha.h"
#include "crc16.h"
#include "lha_errors.h"

#include <gtest/gtest.h>

#include <map>

using namespace verasco::archive;
using namespace archive_test;

namespace {

struct Row {
    std::string archive, member, method, level, size, crc16, osId, expected, cls, notes;
};

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return cells;
        start = tab + 1;
    }
}

// Rows of a manifest, grouped by archive in the order of the file.
std::vector<std::pair<std::string, std::vector<Row>>> Manifest(const std::string& path) {
    std::istringstream in(ReadFile(path));
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> head = Split(line);
    auto column = [&head](const char* name) {
        return static_cast<size_t>(std::find(head.begin(), head.end(), name) - head.begin());
    };
    std::vector<std::pair<std::string, std::vector<Row>>> out;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        const std::vector<std::string> c = Split(line);
        auto at = [&c](size_t i) { return i < c.size() ? c[i] : std::string(); };
        Row r{at(column("archive")), at(column("member")), at(column("method")), at(column("level")),
              at(column("size")),    at(column("crc16")),  at(column("os_id")),  at(column("expected")),
              at(column("class")),   at(column("notes"))};
        if (out.empty() || out.back().first != r.archive)
            out.push_back({r.archive, {}});
        out.back().second.push_back(r);
    }
    return out;
}

// Manifest names use "/" and \xNN; the component's use "\".
std::string ManifestName(const std::string& m) {
    std::string out;
    if (m == "-")
        return out; // a folder entry without a name
    for (size_t i = 0; i < m.size(); ++i) {
        if (m[i] == '\\' && i + 3 < m.size() + 1 && m[i + 1] == 'x') {
            out.push_back(static_cast<char>(std::stoi(m.substr(i + 2, 2), nullptr, 16)));
            i += 3;
        } else {
            out.push_back(m[i] == '/' ? '\\' : m[i]);
        }
    }
    if (size_t nul = out.find('\0'); nul != std::string::npos)
        out.resize(nul);
    return out;
}

// CutData: the last member's data is cut short; the listing ends before it, expanding fails on it.
// TooLarge: a member of 4 GiB or more, which the 32-bit fields cannot hold.
enum class Outcome { Reads, Level, OsMode, Method, Unsafe, Checksum, BadCrc, CutData, Empty, TooLarge };

// The system identifier that decides whether "X:" is a drive: levels 1 to 3 only.
char OsId(const Row& r) {
    return r.level != "0" && !r.osId.empty() ? r.osId[0] : 0;
}

// Folder entries without a name, and symbolic links of other systems, are not made.
bool NotMade(const Row& r, const std::string& name) {
    return r.method == "-lhd-" && (name.empty() || name.find('|') != std::string::npos);
}

// What the component must do with an archive: the first member that it cannot read decides;
// members whose names climb out of the target folder are reported together at the end.
Outcome Expected(const std::string& archive, const std::vector<Row>& rows, std::string& detail) {
    static const std::map<std::string, Outcome> damaged = {
        {"archives/derived/bad_header_sum_h0.lzh", Outcome::Checksum},
        {"archives/derived/bad_header_sum_h1.lzh", Outcome::Checksum},
        {"archives/derived/bad_data_crc.lzh", Outcome::BadCrc},
        {"archives/derived/cut_in_data.lzh", Outcome::CutData},
        {"archives/derived/cut_in_header.lzh", Outcome::Empty},
        {"archives/regression/truncated.lzh", Outcome::CutData},
        {"archives/morphos_lha_2717/h2_huge.lzh", Outcome::TooLarge},
    };
    if (auto it = damaged.find(archive); it != damaged.end()) {
        detail = ManifestName(rows.front().member);
        return it->second;
    }
    std::string unsafe;
    for (const Row& r : rows) {
        const int level = std::stoi(r.level);
        if (level > 3) {
            detail = r.level;
            return Outcome::Level;
        }
        // Level 1 knows MS-DOS, Unix and the Java writer's marks; levels 2 and 3 any system.
        if (level == 1 && r.osId != "M" && r.osId != "U" && r.osId != "J" && r.osId != "0x00") {
            detail = r.osId; // a byte that does not print appears as 0xNN in both
            return Outcome::OsMode;
        }
        if (r.method != "-lh0-" && r.method != "-lh1-" && r.method != "-lh5-" && r.method != "-lhd-") {
            detail = r.method;
            return Outcome::Method;
        }
        const std::string name = ManifestName(r.member);
        std::string expanded;
        if (!NotMade(r, name) && !ExpansionName(name, OsId(r), expanded))
            unsafe += (unsafe.empty() ? "" : ", ") + PrintableName(name);
    }
    detail = unsafe;
    return unsafe.empty() ? Outcome::Reads : Outcome::Unsafe;
}

// The expected member bytes, when the manifest records them.
bool ExpectedBytes(const std::string& base, const Row& r, std::string& bytes) {
    if (r.expected != "-") {
        bytes = ReadFile(base + "/" + r.expected);
        return true;
    }
    const size_t at = r.notes.find("content: ");
    if (at == std::string::npos)
        return false;
    size_t count = 0;
    unsigned value = 0;
    if (std::sscanf(r.notes.c_str() + at, "content: %zu bytes of 0x%x", &count, &value) != 2)
        return false;
    bytes.assign(count, static_cast<char>(value));
    return true;
}

void CheckArchive(const std::string& base, const std::string& archive, const std::vector<Row>& rows) {
    SCOPED_TRACE(archive);
    std::string detail;
    const Outcome outcome = Expected(archive, rows, detail);
    TempDir out;
    TCompLHA lha;
    lha.ArchiveName = base + "/" + archive;
    lha.SetTargetPath(out.str());
    lha.MakeDirectories = true;
    try {
        ASSERT_TRUE(lha.Scan());
        if (outcome == Outcome::Empty) {
            EXPECT_TRUE(lha.Contents().empty());
            return;
        }
        // The table of contents is whole even where expansion must refuse.
        const size_t listed = rows.size() - (outcome == Outcome::CutData ? 1 : 0);
        ASSERT_EQ(lha.Contents().size(), listed);
        for (size_t i = 0; i < listed; ++i) {
            const auto& [name, info] = lha.Contents()[i];
            std::string slashed = name;
            std::replace(slashed.begin(), slashed.end(), '/', '\\');
            EXPECT_EQ(slashed, ManifestName(rows[i].member));
            EXPECT_EQ(std::to_string(info.originalSize), rows[i].size);
            EXPECT_EQ(info.crc, std::stoul(rows[i].crc16, nullptr, 16));
            EXPECT_EQ(info.headerLevel, std::stoi(rows[i].level));
        }
        // Refused members are reported after the others are done.
        const auto expandOrVerify = [&lha, outcome, &detail](void (TCompLHA::*operation)()) {
            try {
                (lha.*operation)();
                EXPECT_EQ(outcome, Outcome::Reads) << "no error";
            } catch (const ECompLHAInvalidHeader& e) {
                if (outcome != Outcome::Unsafe)
                    throw;
                EXPECT_EQ(e.what(), "Unsafe path in archive: " + detail);
            }
        };
        expandOrVerify(&TCompLHA::Expand);
        for (const Row& r : rows) {
            const std::string name = ManifestName(r.member);
            std::string target;
            if (NotMade(r, name) || !ExpansionName(name, OsId(r), target))
                continue;
            std::replace(target.begin(), target.end(), '\\', '/');
            if (r.method == "-lhd-") {
                EXPECT_TRUE(fs::is_directory(out / target)) << name;
                continue;
            }
            // Where a later member takes the same path, the manifest keeps the data under
            // another name; the check below covers it.
            if (r.expected != "-" && !r.expected.ends_with("/" + target))
                continue;
            std::string bytes;
            if (ExpectedBytes(base, r, bytes)) {
                const std::string got = ReadFile(out / target);
                EXPECT_EQ(got.size(), bytes.size()) << name;
                EXPECT_TRUE(got == bytes) << name;
            } else {
                EXPECT_TRUE(fs::exists(out / target)) << name;
            }
        }
        // Every member's CRC, also of those whose file a later member replaced.
        TempDir verify;
        lha.SetTargetPath(verify.str());
        expandOrVerify(&TCompLHA::Verify);
        EXPECT_TRUE(fs::is_empty(verify.str()));
    } catch (const ECompLHAInvalidHeaderLevel& e) {
        EXPECT_EQ(outcome, Outcome::Level) << e.what();
        EXPECT_EQ(std::string(e.what()), "Unsupported header level in archive: " + detail);
    } catch (const ECompLHAUnrecognizedCompressionMethod& e) {
        EXPECT_EQ(outcome, Outcome::Method) << e.what();
        EXPECT_EQ(std::string(e.what()), "Unrecognized compression method: \"" + detail + "\" in header");
    } catch (const ECompLHABadChecksum& e) {
        EXPECT_EQ(outcome, Outcome::Checksum) << e.what();
    } catch (const ECompLHABadCRC& e) {
        EXPECT_TRUE(outcome == Outcome::BadCrc || outcome == Outcome::CutData) << e.what();
    } catch (const ELZHBadDecodeTable& e) {
        EXPECT_EQ(outcome, Outcome::CutData) << e.what();
    } catch (const ECompLHAInvalidHeader& e) {
        const std::string message = e.what();
        EXPECT_TRUE(outcome == Outcome::OsMode || outcome == Outcome::TooLarge) << message;
        EXPECT_EQ(message, (outcome == Outcome::OsMode ? "Unsupported OS mode in archive: "
                                                       : "Member of 4 GiB or more in archive: ") +
                               detail);
    }
}

} // namespace

TEST(TestData, EveryArchiveAsTheManifestSays) {
    SKIP_WITHOUT_TESTDATA();
    const std::string base = TestData();
    const auto archives = Manifest(base + "/MANIFEST.tsv");
    ASSERT_GT(archives.size(), 50u);
    for (const auto& [archive, rows] : archives)
        CheckArchive(base, archive, rows);
}

TEST(TestData, ArchivesOfTheJavaWriter) {
    SKIP_WITHOUT_TESTDATA();
    const std::string base = TestData() + "/jlha";
    const auto archives = Manifest(base + "/MANIFEST.tsv");
    ASSERT_EQ(archives.size(), 10u);
    for (const auto& [archive, rows] : archives) {
        std::vector<Row> fixed = rows;
        for (Row& r : fixed)
            r.expected =
                r.expected == "-" ? r.expected : "src/" + r.expected.substr(r.expected.rfind('/') + 1);
        CheckArchive(base, archive, fixed);
    }
}

TEST(TestData, CheckedBeforeTheDataIsTrusted) {
    SKIP_WITHOUT_TESTDATA();
    // The exact messages of the damaged archives.
    const struct {
        const char* archive;
        const char* message;
    } rows[] = {
        {"derived/bad_header_sum_h0.lzh", "Bad checksum in LHARC archive header: 149"},
        {"derived/bad_header_sum_h1.lzh", "Bad checksum in LHA archive header: 27"},
        {"derived/bad_data_crc.lzh", "Bad CRC during expansion -- data may be invalid"},
        {"derived/unknown_method.lzh", "Unrecognized compression method: \"-lhz-\" in header"},
        {"derived/cut_in_data.lzh", "Bad CRC during expansion -- data may be invalid"},
    };
    for (const auto& r : rows) {
        TempDir out;
        TCompLHA lha;
        lha.ArchiveName = TestData() + "/archives/" + r.archive;
        lha.SetTargetPath(out.str());
        try {
            lha.Verify();
            ADD_FAILURE() << r.archive;
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), r.message);
        }
        EXPECT_TRUE(fs::is_empty(out.str()));
    }
}
