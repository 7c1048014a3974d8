// SPDX-License-Identifier: MIT
// Both ways with other LHA programs, at every header level: what the component and verasco-lha
// write, Debian's lhasa and jlha-utils list and extract bit-exact; what jlha-utils writes, the
// component and verasco-lha list, test and extract. (lhasa writes no archives.)
#include "component_test_support.h"
#include "lha_errors.h"

#include <gtest/gtest.h>

using namespace verasco::archive;
using namespace archive_test;

namespace {

// The members every written archive carries: name and bytes.
std::vector<std::pair<std::string, std::string>> SampleFiles() {
    const std::string text = SampleText(3 << 20, 21);
    std::string binary;
    for (uint32_t i = 0; binary.size() < 40000; ++i)
        binary +=
            std::string(reinterpret_cast<const char*>(&i), 4) + "\x55\x48\x89\xe5" + std::string(i % 7, '\0');
    return {
        {"empty.dat", ""},
        {"one.bin", "Z"},
        {"equal8k.bin", std::string(8192, '\x41')},
        {"random.bin", RandomBytes(20000, 3)},
        {"t8191.txt", text.substr(0, 8191)},
        {"t8192.txt", text.substr(0, 8192)},
        {"t8193.txt", text.substr(0, 8193)},
        {"b16383.bin", binary.substr(0, 16383)},
        {"b16384.bin", binary.substr(0, 16384)},
        {"b16385.bin", binary.substr(0, 16385)},
        {"big.txt", text},
    };
}

std::string Lhasa() {
    return "lhasa";
}

std::string Cli() {
    return std::string(VERASCO_BINARY_DIR) + "/archive/verasco-lha";
}

const char* LevelName(TCompLHAArchiveType type) {
    return type == TCompLHAArchiveType::caLHARC ? " level 0"
           : type == TCompLHAArchiveType::caLHA ? " level 1"
                                                : " level 2";
}

} // namespace

TEST(Peers, LhasaReadsWhatTheComponentWrites) {
    if (!HaveProgram("lhasa"))
        GTEST_SKIP() << "lhasa is not installed";
    TempDir dir;
    fs::create_directories(dir / "src");
    std::vector<std::string> paths;
    const auto files = SampleFiles();
    for (const auto& [name, bytes] : files) {
        WriteFile(dir / ("src/" + name), bytes);
        paths.push_back(dir / ("src/" + name));
    }
    const struct {
        TCompLHAMethod method;
        TCompLHAArchiveType type;
        const char* id;
    } rows[] = {{TCompLHAMethod::colh0, TCompLHAArchiveType::caLHARC, "-lh0-"},
                {TCompLHAMethod::colh1, TCompLHAArchiveType::caLHARC, "-lh1-"},
                {TCompLHAMethod::colh5, TCompLHAArchiveType::caLHARC, "-lh5-"},
                {TCompLHAMethod::colh0, TCompLHAArchiveType::caLHA, "-lh0-"},
                {TCompLHAMethod::colh1, TCompLHAArchiveType::caLHA, "-lh1-"},
                {TCompLHAMethod::colh5, TCompLHAArchiveType::caLHA, "-lh5-"},
                {TCompLHAMethod::colh0, TCompLHAArchiveType::caLHA2, "-lh0-"},
                {TCompLHAMethod::colh1, TCompLHAArchiveType::caLHA2, "-lh1-"},
                {TCompLHAMethod::colh5, TCompLHAArchiveType::caLHA2, "-lh5-"}};
    int n = 0;
    for (const auto& r : rows) {
        const std::string archive = dir / ("a" + std::to_string(n) + ".lzh");
        const std::string out = dir / ("x" + std::to_string(n++));
        SCOPED_TRACE(std::string(r.id) + LevelName(r.type));
        TCompLHA lha;
        lha.ArchiveName = archive;
        lha.CompressionMethod = r.method;
        lha.ArchiveType = r.type;
        lha.FilesToProcess = paths;
        lha.Compress();
        ASSERT_TRUE(lha.Scan());
        for (const auto& [name, info] : lha.Contents()) {
            if (name == "RANDOM.BIN" || name == "random.bin") {
                EXPECT_EQ(info.method, static_cast<int>(LhaMethod::Lh0)); // did not shrink
            }
        }
        std::string listing;
        ASSERT_EQ(RunCommand(Lhasa() + " t " + archive, &listing), 0) << listing;
        ASSERT_EQ(RunCommand(Lhasa() + " l " + archive, &listing), 0) << listing;
        EXPECT_NE(listing.find(" 11 files"), std::string::npos) << listing;
        ASSERT_EQ(RunCommand(Lhasa() + " xw=" + out + " " + archive, &listing), 0) << listing;
        for (const auto& [name, bytes] : files) {
            // lhasa shows upper-case level-0 names in lower case.
            const std::string got = ReadFile(out + "/" + name);
            EXPECT_EQ(got.size(), bytes.size()) << name;
            EXPECT_TRUE(got == bytes) << name;
        }
    }
}

TEST(Peers, ComponentReadsWhatJlhaWrites) {
    if (!HaveProgram("jlha"))
        GTEST_SKIP() << "jlha is not installed";
    TempDir dir;
    fs::create_directories(dir / "src");
    const auto files = SampleFiles();
    std::string names;
    for (const auto& [name, bytes] : files) {
        if (name == "big.txt")
            continue; // the Java writer is slow; the others cover its blocks
        WriteFile(dir / ("src/" + name), bytes);
        names += " " + name;
    }
    for (const char* mode : {"c0", "c0z", "c1", "c1z", "c2", "c2z"}) {
        SCOPED_TRACE(mode);
        const std::string archive = dir / (std::string(mode) + ".lzh");
        std::string log;
        ASSERT_EQ(RunCommand("cd " + dir / "src" + " && jlha " + mode + " " + archive + names, &log), 0)
            << log;
        TCompLHA lha;
        lha.ArchiveName = archive;
        ASSERT_TRUE(lha.Scan());
        ASSERT_EQ(lha.Contents().size(), files.size() - 1);
        const std::string out = dir / ("out-" + std::string(mode));
        lha.SetTargetPath(out);
        lha.MakeDirectories = true;
        lha.Expand();
        for (const auto& [name, bytes] : files) {
            if (name == "big.txt")
                continue;
            const std::string got = ReadFile(out + "/" + name);
            EXPECT_TRUE(got == bytes) << name;
        }
    }
}

TEST(Peers, CommandLineProgram) {
    if (!HaveProgram("lhasa") || !HaveProgram("jlha"))
        GTEST_SKIP() << "lhasa or jlha is not installed";
    TempDir dir;
    fs::create_directories(dir / "src/sub");
    WriteFile(dir / "src/a.txt", SampleText(50000, 4));
    WriteFile(dir / "src/sub/b.bin", RandomBytes(3000, 4) + std::string(5000, 'b'));
    // lhasa shows level-0 names in lower case, jlha as they are stored.
    const auto same = [&dir](const std::string& out, bool capitals = false) {
        EXPECT_EQ(ReadFile(out + (capitals ? "/A.TXT" : "/a.txt")), ReadFile(dir / "src/a.txt")) << out;
        EXPECT_EQ(ReadFile(out + (capitals ? "/SUB/B.BIN" : "/sub/b.bin")), ReadFile(dir / "src/sub/b.bin"))
            << out;
    };
    // Both peers pass over a member whose header they refuse without an error: each member must be
    // reported tested.
    const auto testedTwice = [](const std::string& log) {
        size_t count = 0;
        for (size_t at = log.find("- Tested"); at != std::string::npos; at = log.find("- Tested", at + 1))
            ++count;
        return count == 2;
    };
    std::string log;
    for (const std::string level : {"0", "1", "2"}) {
        SCOPED_TRACE("level " + level);
        // Added with folders (level 0 in capitals); then both peers test and extract the same bytes.
        const std::string ours = dir / ("x" + level + ".lzh");
        ASSERT_EQ(RunCommand(Cli() + " a -lh5- -" + level + " -p -C " + dir / "src" + " " + ours + " " +
                                 dir / "src/a.txt " + dir / "src/sub/b.bin",
                             &log),
                  0)
            << log;
        ASSERT_EQ(RunCommand("lhasa t " + ours, &log), 0) << log;
        EXPECT_TRUE(testedTwice(log)) << log;
        ASSERT_EQ(RunCommand("lhasa xw=" + dir / ("lx" + level) + " " + ours, &log), 0) << log;
        same(dir / ("lx" + level));
        ASSERT_EQ(RunCommand("jlha t " + ours, &log), 0) << log;
        EXPECT_TRUE(testedTwice(log)) << log;
        ASSERT_EQ(RunCommand("jlha xw=" + dir / ("jx" + level) + " " + ours, &log), 0) << log;
        same(dir / ("jx" + level), level == "0");
        // What jlha makes at this level: listed, tested and extracted.
        const std::string theirs = dir / ("j" + level + ".lzh");
        ASSERT_EQ(
            RunCommand("cd " + dir / "src" + " && jlha c" + level + " " + theirs + " a.txt sub/b.bin", &log),
            0)
            << log;
        ASSERT_EQ(RunCommand(Cli() + " l " + theirs, &log), 0) << log;
        EXPECT_NE(log.find("sub\\b.bin"), std::string::npos) << log;
        EXPECT_NE(log.find("    " + level + " "), std::string::npos) << log;
        ASSERT_EQ(RunCommand(Cli() + " t " + theirs, &log), 0) << log;
        EXPECT_EQ(log, "ok a.txt\nok sub/b.bin\n");
        ASSERT_EQ(RunCommand(Cli() + " x -C " + dir / ("vx" + level) + " " + theirs, &log), 0) << log;
        same(dir / ("vx" + level));
    }
}

// Extracting never follows a symbolic link already in the target folder: a member whose folder is a
// link elsewhere is refused and named, a link where a member's file goes is replaced by the file;
// nothing outside the target folder changes. In archives made by jlha and by verasco-lha.
TEST(Peers, CommandLineExtractsThroughNoLink) {
    if (!HaveProgram("jlha"))
        GTEST_SKIP() << "jlha is not installed";
    TempDir dir;
    fs::create_directories(dir / "src/sub");
    WriteFile(dir / "src/sub/inner.txt", "inner");
    WriteFile(dir / "src/f.txt", "member");
    const struct {
        const char* maker;
        std::string command;
    } rows[] = {
        {"jlha", "cd " + dir / "src" + " && jlha c0 " + dir / "jlha.lzh" + " sub/inner.txt f.txt"},
        {"verasco-lha", Cli() + " a -p -C " + dir / "src" + " " + dir / "verasco-lha.lzh " +
                            dir / "src/sub/inner.txt " + dir / "src/f.txt"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.maker);
        std::string log;
        ASSERT_EQ(RunCommand(r.command, &log), 0) << log;
        const std::string out = dir / (std::string("out-") + r.maker),
                          elsewhere = dir / (std::string("elsewhere-") + r.maker);
        fs::create_directories(out);
        fs::create_directories(elsewhere);
        WriteFile(elsewhere + "/victim", "untouched");
        fs::create_directory_symlink(elsewhere, out + "/sub");
        fs::create_symlink(elsewhere + "/victim", out + "/f.txt");
        EXPECT_NE(RunCommand(Cli() + " x -C " + out + " " + dir / (std::string(r.maker) + ".lzh"), &log), 0);
        EXPECT_NE(log.find("Symbolic link in the way, not followed: sub\\inner.txt"), std::string::npos)
            << log;
        EXPECT_EQ(FilesIn(elsewhere), std::vector<std::string>{"victim"});
        EXPECT_EQ(ReadFile(elsewhere + "/victim"), "untouched");
        EXPECT_EQ(fs::symlink_status(out + "/f.txt").type(), fs::file_type::regular);
        EXPECT_EQ(ReadFile(out + "/f.txt"), "member");
        EXPECT_EQ(fs::symlink_status(out + "/sub").type(), fs::file_type::symlink);
    }
}

// Level-1 headers by default, so that names keep their case; -0 asks for level 0.
TEST(Peers, CommandLineHeaderLevels) {
    TempDir dir;
    WriteFile(dir / "Mixed.Case.txt", "case");
    std::string log;
    const struct {
        const char* option;
        const char* listed;
    } rows[] = {{"", "   1 "}, {"-1", "   1 "}, {"-0", "   0 "}, {"-2", "   2 "}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.option);
        fs::remove(dir / "a.lzh");
        ASSERT_EQ(RunCommand(Cli() + " a " + r.option + " " + dir / "a.lzh " + dir / "Mixed.Case.txt", &log),
                  0)
            << log;
        ASSERT_EQ(RunCommand(Cli() + " l " + dir / "a.lzh", &log), 0) << log;
        EXPECT_NE(log.find(r.listed), std::string::npos) << log;
        const std::string name = std::string(r.option) == "-0" ? "MIXED.CASE.TXT" : "Mixed.Case.txt";
        EXPECT_NE(log.find(name), std::string::npos) << log;
    }
}

// A member stored with the whole path from the root comes back below the target folder.
TEST(Peers, CommandLineAbsolutePaths) {
    TempDir dir;
    const std::string source = dir / "src/deep/file.txt";
    fs::create_directories(dir / "src/deep");
    WriteFile(source, SampleText(3000, 22));
    std::string log;
    ASSERT_EQ(RunCommand(Cli() + " a -p " + dir / "a.lzh " + source, &log), 0) << log;
    ASSERT_EQ(RunCommand(Cli() + " x -C " + dir / "out " + dir / "a.lzh", &log), 0) << log;
    EXPECT_EQ(ReadFile(dir / "out" + source), SampleText(3000, 22));
}

// Names are shown as stored, never sent to the terminal: control characters (C0, DEL, C1) and bytes
// that are not UTF-8 escaped as \xNN, letters beyond ASCII kept; in an archive written here and in
// the one of the test data that carries such a name.
TEST(Peers, CommandLineShowsNamesWithoutControlCharacters) {
    const struct {
        std::string stored, listed, file, extracted; // the file's path below the target folder
    } rows[] = {
        {"\\tmp\\\x1b]2;malicious\x07\n", "\\tmp\\\\x1B]2;malicious\\x07\\x0A", "tmp/\x1b]2;malicious\x07\n",
         "tmp/\\x1B]2;malicious\\x07\\x0A"},
        {"CAF\xC3\x89.BMP", "CAF\xC3\x89.BMP", "CAF\xC3\x89.BMP", "CAF\xC3\x89.BMP"},
        {"csi\xC2\x9B"
         "31m",
         "csi\\xC2\\x9B31m",
         "csi\xC2\x9B"
         "31m",
         "csi\\xC2\\x9B31m"},
        {"latin\xE9", "latin\\xE9", "latin\xE9", "latin\\xE9"},
        {"del\x7F", "del\\x7F", "del\x7F", "del\\x7F"},
    };
    TempDir dir;
    std::vector<RawMember> members;
    for (const auto& r : rows)
        members.push_back({r.stored, "written to the terminal?"});
    WriteRawArchive(dir / "made.lzh", members);
    std::vector<std::pair<std::string, size_t>> archives = {{dir / "made.lzh", std::size(rows)}};
    if (HaveTestData())
        archives.emplace_back(TestData() + "/archives/regression/badterm.lzh", 1);
    for (const auto& [archive, names] : archives) {
        SCOPED_TRACE(archive);
        const std::string out = dir / ("out-" + fs::path(archive).stem().string());
        std::string listing, extraction;
        ASSERT_EQ(RunCommand(Cli() + " l " + archive, &listing), 0) << listing;
        ASSERT_EQ(RunCommand(Cli() + " x -C " + out + " " + archive, &extraction), 0) << extraction;
        for (size_t i = 0; i < names; ++i) {
            EXPECT_NE(listing.find(rows[i].listed), std::string::npos) << listing;
            EXPECT_NE(extraction.find(out + "/" + rows[i].extracted), std::string::npos) << extraction;
            EXPECT_TRUE(fs::exists(out + "/" + rows[i].file)) << rows[i].extracted;
        }
        for (const std::string& output : {listing, extraction})
            EXPECT_TRUE(std::none_of(output.begin(), output.end(), [](char c) {
                const auto byte = static_cast<unsigned char>(c);
                return (byte < 0x20 && c != '\n') || byte == 0x7F || byte == 0xE9;
            })) << output;
    }
}

// Asked for, the usage and the version are an answer on standard output, not an error.
TEST(Peers, CommandLineHelpAndVersion) {
    std::string out;
    EXPECT_EQ(RunCommand("(" + Cli() + " --help 2>/dev/null)", &out), 0);
    EXPECT_EQ(out.rfind("usage: verasco-lha", 0), 0u) << out;
    EXPECT_EQ(RunCommand("(" + Cli() + " --version 2>/dev/null)", &out), 0);
    EXPECT_EQ(out.rfind("verasco-lha ", 0), 0u) << out;
}

// Testing writes nothing, so it works in a folder the user cannot write to.
TEST(Peers, CommandLineTestsInAReadOnlyFolder) {
    TempDir dir, program;
    WriteFile(dir / "song.wav", SampleText(60000, 30));
    std::string log;
    ASSERT_EQ(RunCommand(Cli() + " a " + dir / "a.lzh " + dir / "song.wav", &log), 0) << log;
    // A copy of the program that the second user can reach, wherever the build lies.
    fs::copy_file(Cli(), program / "verasco-lha");
    fs::permissions(program.str(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
    const std::string test = AsSecondUser(program / "verasco-lha t a.lzh");
    if (test.empty())
        GTEST_SKIP() << "root needs setpriv to test as a second user";
    fs::permissions(dir.str(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(RunCommand("cd " + dir.str() + " && " + test, &log), 0) << log;
    EXPECT_EQ(log, "ok song.wav\n");
    fs::permissions(dir.str(), fs::perms::owner_all);
    EXPECT_EQ(FilesIn(dir.str()), (std::vector<std::string>{"a.lzh", "song.wav"}));
}

// Errors: the component's message on standard error and a non-zero exit code. Files added before
// the failure are not reported as added, since no archive keeps them.
TEST(Peers, CommandLineErrors) {
    TempDir dir;
    std::string log;
    WriteFile(dir / "a.txt", "a");
    std::error_code ec;
    WriteFile(dir / "huge.bin", "");
    fs::resize_file(dir / "huge.bin", 0x100000000ull, ec);
    if (!ec) {
        EXPECT_NE(RunCommand(Cli() + " a " + dir / "new.lzh " + dir / "a.txt " + dir / "huge.bin", &log), 0);
        EXPECT_EQ(log, "verasco-lha: File too large for an archive member: " + dir / "huge.bin\n");
        EXPECT_FALSE(fs::exists(dir / "new.lzh"));
    }
    SKIP_WITHOUT_TESTDATA();
    EXPECT_NE(
        RunCommand(Cli() + " x -C " + dir / "bad" + " " + TestData() + "/archives/derived/bad_data_crc.lzh",
                   &log),
        0);
    EXPECT_NE(log.find("Bad CRC during expansion -- data may be invalid"), std::string::npos) << log;
    EXPECT_NE(RunCommand(Cli() + " t " + TestData() + "/archives/morphos_lha_2717/h2_huge.lzh", &log), 0);
    EXPECT_EQ(log, "verasco-lha: Member of 4 GiB or more in archive: zero.bin\n");
}
