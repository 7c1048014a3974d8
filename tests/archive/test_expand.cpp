// SPDX-License-Identifier: MIT
// The archive component's reading operations on real files: expand, verify and scan, the choice of
// members, passwords, damaged and cut members, and the refusals that keep expansion inside its
// folder.
#include "component_test_support.h"
#include "lha_errors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace verasco::archive;
using namespace archive_test;

// An archive of four members in two folders, for the tests of expansion choices.
std::string FourMemberArchive(Fixture& f) {
    TCompLHA lha;
    lha.ArchiveName = f.dir / "four.lzh";
    lha.ArchiveType = TCompLHAArchiveType::caLHA;
    lha.ForceUpperCase = true;
    lha.StorePath = true;
    lha.SetTargetPath(f.src);
    lha.FilesToProcess = {f.add("a.txt", "a"), f.add("b.txt", "b"), f.add("sub/c.txt", "c"),
                          f.add("sub/d.bmp", "d")};
    lha.Compress();
    return lha.ArchiveName;
}

TEST(Component, ExpandSelectsMembers) {
    Fixture f;
    const std::string archive = FourMemberArchive(f);
    const struct {
        std::vector<std::string> lines;
        std::vector<std::string> expanded;
    } rows[] = {
        {{}, {"A.TXT", "B.TXT", "SUB", "SUB/C.TXT", "SUB/D.BMP"}},
        {{"B.TXT"}, {"B.TXT"}},
        {{"*.bmp"}, {"SUB", "SUB/D.BMP"}},
        {{"sub\\*.*"}, {"SUB", "SUB/C.TXT", "SUB/D.BMP"}},
        {{"a.txt", "sub/c.txt"}, {"A.TXT", "SUB", "SUB/C.TXT"}},
        {{"c.txt"}, {}}, // a name without wildcards names the member with its folder
        {{"nothing"}, {}},
    };
    for (const auto& r : rows) {
        TempDir out;
        TCompLHA lha;
        lha.ArchiveName = archive;
        lha.SetTargetPath(out.str());
        lha.MakeDirectories = true;
        lha.FilesToProcess = r.lines;
        lha.Expand();
        const std::vector<std::string> files = FilesIn(out.str());
        EXPECT_EQ(files, r.expanded) << testing::PrintToString(r.lines);
        std::vector<std::string> targets;
        for (const std::string& name : r.expanded)
            if (name != "SUB")
                targets.push_back(out / name);
        if (!r.lines.empty()) {
            EXPECT_EQ(lha.FilesToProcess, targets) << testing::PrintToString(r.lines);
        }
    }
}

// The check event and the confirmation decide for each member in turn: an empty name or No skips
// that member, "*" or Cancel stops the run, on the first member as on a later one.
TEST(Component, CheckEventAndConfirmationsWhileExpanding) {
    Fixture f;
    const std::string archive = FourMemberArchive(f);
    enum How { CheckEmpty, CheckStar, AnswerNo, AnswerCancel };
    const struct {
        How how;
        const char* member;
        std::vector<std::string> expanded;
    } rows[] = {
        {CheckEmpty, "A.TXT", {"B.TXT", "SUB", "SUB/C.TXT", "SUB/D.BMP"}},
        {CheckEmpty, "SUB\\C.TXT", {"A.TXT", "B.TXT", "SUB", "SUB/D.BMP"}},
        {CheckStar, "A.TXT", {}},
        {CheckStar, "SUB\\C.TXT", {"A.TXT", "B.TXT"}},
        {AnswerNo, "A.TXT", {"B.TXT", "SUB", "SUB/C.TXT", "SUB/D.BMP"}},
        {AnswerNo, "B.TXT", {"A.TXT", "SUB", "SUB/C.TXT", "SUB/D.BMP"}},
        {AnswerCancel, "A.TXT", {}},
        {AnswerCancel, "B.TXT", {"A.TXT"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.how) + " " + r.member);
        TempDir out;
        TCompLHA lha;
        lha.ArchiveName = archive;
        lha.SetTargetPath(out.str());
        lha.MakeDirectories = true;
        lha.Confirm = r.how == AnswerNo || r.how == AnswerCancel;
        lha.OnCheckFile = [&r](const std::string& name, std::string& target, uint32_t,
                               TCompLHAProcessMode mode) {
            EXPECT_EQ(mode, TCompLHAProcessMode::cmExpand);
            if (name == r.member && (r.how == CheckEmpty || r.how == CheckStar))
                target = r.how == CheckEmpty ? "" : "*";
        };
        lha.OnConfirm = [&r](const std::string&, const std::string& text) {
            if (text.starts_with(std::string("Expand ") + r.member + " to "))
                return r.how == AnswerNo ? TCompLHAConfirmAnswer::No : TCompLHAConfirmAnswer::Cancel;
            return TCompLHAConfirmAnswer::Yes;
        };
        EXPECT_NO_THROW(lha.Expand());
        EXPECT_EQ(FilesIn(out.str()), r.expanded);
    }
}

TEST(Component, VerifyWritesNothing) {
    Fixture f;
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    lha.CompressionMethod = TCompLHAMethod::colh5;
    lha.FilesToProcess = {f.add("a.txt", SampleText(30000, 4)), f.add("b.txt", "b")};
    lha.Compress();
    lha.SetTargetPath(f.out);
    lha.FilesToProcess.clear();
    std::vector<std::string> asked;
    lha.Confirm = true;
    lha.OnConfirm = [&asked](const std::string&, const std::string& text) {
        asked.push_back(text);
        return TCompLHAConfirmAnswer::Yes;
    };
    lha.Verify();
    EXPECT_FALSE(lha.VerifyMode);
    EXPECT_TRUE(fs::is_empty(f.out));
    EXPECT_EQ(lha.Processed().size(), 2u);
    EXPECT_EQ(asked, (std::vector<std::string>{"Verify archive integrity of A.TXT?",
                                               "Verify archive integrity of B.TXT?"}));

    // Expanding asks line 2; No skips the member.
    asked.clear();
    lha.OnConfirm = [&asked](const std::string&, const std::string& text) {
        asked.push_back(text);
        return text.find("B.TXT") != std::string::npos ? TCompLHAConfirmAnswer::No
                                                       : TCompLHAConfirmAnswer::Yes;
    };
    lha.Expand();
    EXPECT_EQ(asked.front(), "Expand A.TXT to " + f.out + "/A.TXT?");
    EXPECT_EQ(FilesIn(f.out), std::vector<std::string>{"A.TXT"});
    fs::remove(f.out + "/A.TXT");
    lha.Confirm = false;

    // A damaged member fails the check, and still nothing is left behind.
    std::string bytes = ReadFile(lha.ArchiveName);
    bytes[40] = static_cast<char>(bytes[40] ^ 0x10);
    WriteFile(lha.ArchiveName, bytes);
    EXPECT_ANY_THROW(lha.Verify());
    EXPECT_FALSE(lha.VerifyMode);
    EXPECT_TRUE(fs::is_empty(f.out));
}

TEST(Component, FailedExpansionKeepsTheOldFile) {
    SKIP_WITHOUT_TESTDATA();
    TempDir dir;
    TCompLHA lha;
    lha.ArchiveName = TestData() + "/archives/derived/bad_data_crc.lzh";
    lha.SetTargetPath(dir.str());
    WriteFile(dir / "gpl-2", "the good old file");
    EXPECT_THAT([&] { lha.Expand(); }, testing::ThrowsMessage<ECompLHABadCRC>(testing::StrEq(
                                           "Bad CRC during expansion -- data may be invalid")));
    EXPECT_EQ(ReadFile(dir / "gpl-2"), "the good old file");
    EXPECT_EQ(FilesIn(dir.str()), std::vector<std::string>{"gpl-2"});
}

TEST(Component, SpaceCheckRefusesOnlyAKnownShortage) {
    SKIP_WITHOUT_TESTDATA();
    TempDir dir;
    TCompLHA lha;
    lha.ArchiveName = TestData() + "/archives/derived/bad_data_crc.lzh";
    lha.CheckSpaceBeforeExpand = true;
    lha.MakeDirectories = false;
    lha.ExceptionOnFileError = true;
    lha.SetTargetPath((dir / "missing").c_str()); // a folder whose free space cannot be asked for
    try {
        lha.Expand();
        ADD_FAILURE() << "no exception";
    } catch (const ECompLHAInsufficientDiskSpace& e) {
        ADD_FAILURE() << "reported as a full disk: " << e.what();
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("missing"), std::string::npos) << e.what();
    }
}

TEST(Component, Passwords) {
    Fixture f;
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    lha.CompressionMethod = TCompLHAMethod::colh5;
    lha.Password = "open sesame";
    lha.FilesToProcess = {f.add("a.txt", SampleText(20000, 8))};
    lha.Compress();
    lha.SetTargetPath(f.out);
    lha.FilesToProcess.clear();
    const struct {
        std::string password;
        std::string message;
    } rows[] = {{"", "File is encrypted -- password required"},
                {"wrong", "Invalid password -- cannot decrypt file"}};
    for (const auto& r : rows) {
        lha.Password = r.password;
        EXPECT_THAT([&] { lha.Expand(); },
                    testing::ThrowsMessage<EcompLHAEncrypted>(testing::StrEq(r.message)));
    }
    lha.Password = "open sesame";
    lha.Expand();
    EXPECT_EQ(ReadFile(f.out + "/A.TXT"), SampleText(20000, 8));
}

TEST(Component, PasswordUnscramblesOnlyScrambledMembers) {
    Fixture f;
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    lha.CompressionMethod = TCompLHAMethod::colh5;
    lha.FilesToProcess = {f.add("plain.txt", SampleText(20000, 12))};
    lha.Compress();
    lha.Password = "open sesame";
    lha.FilesToProcess = {f.add("secret.txt", SampleText(20000, 13))};
    lha.Compress();
    ASSERT_TRUE(lha.Scan());
    ASSERT_EQ(Names(lha), (std::vector<std::string>{"SECRET.TXT", "PLAIN.TXT"}));
    EXPECT_TRUE(lha.Contents()[0].second.scrambled);
    EXPECT_FALSE(lha.Contents()[1].second.scrambled);

    f.expandAll(lha);
    EXPECT_EQ(ReadFile(f.out + "/SECRET.TXT"), SampleText(20000, 13));
    EXPECT_EQ(ReadFile(f.out + "/PLAIN.TXT"), SampleText(20000, 12));
}

// Names the component never stores itself, as other archivers do: from the root, with a drive,
// climbing out with "..", with control characters. Members climbing out are refused and reported
// at the end; the others expand below the target folder.
TEST(Component, MemberNamesExpandBelowTheTarget) {
    const struct {
        const char* stored;
        char osId;            // 0: level 0; else level 1 (or `level`) with this system identifier
        const char* expanded; // nullptr: refused
        int level = -1;
    } rows[] = {
        {"\\abs\\a.txt", 0, "abs/a.txt"},
        {"C:\\drive\\b.txt", 0, "drive/b.txt"},
        {"\\\\server\\share\\c.txt", 'M', "server/share/c.txt"},
        {"c:d.txt", 'M', "d.txt"},
        {"a:b.txt", 'U', "a:b.txt"}, // a file name on a Unix system, not a drive
        {"..\\up.txt", 0, nullptr},
        {"ok\\..\\..\\up\x1b]2;title\x07.txt", 'U', nullptr},
        {"/tmp/\x1b]2;x\x07\n", 'U', "tmp/\x1b]2;x\x07\n"},
        {"plain.txt", 0, "plain.txt"},
        {"\\abs2\\e.txt", 'U', "abs2/e.txt", 2},
        {"C:\\f.txt", 'M', "f.txt", 2},
        {"two\\..\\..\\up.txt", 'U', nullptr, 2},
    };
    Fixture f;
    std::vector<RawMember> members;
    std::vector<std::string> expected;
    for (const auto& r : rows) {
        members.push_back({r.stored, r.stored, r.osId, false, r.level});
        if (r.expanded)
            expected.push_back(r.expanded);
    }
    WriteRawArchive(f.dir / "names.lzh", members);
    std::vector<std::string> checked;
    TCompLHA lha;
    lha.ArchiveName = f.dir / "names.lzh";
    lha.SetTargetPath(f.out);
    lha.MakeDirectories = true;
    lha.OnCheckFile = [&](const std::string& name, std::string& target, uint32_t, TCompLHAProcessMode) {
        checked.push_back(name);
        EXPECT_EQ(target, f.out + "/" + PlatformName(name));
    };
    try {
        lha.Expand();
        ADD_FAILURE() << "the refused members were not reported";
    } catch (const ECompLHAInvalidHeader& e) {
        EXPECT_STREQ(e.what(), "Unsafe path in archive: ..\\up.txt, ok\\..\\..\\up\\x1B]2;title\\x07.txt, "
                               "two\\..\\..\\up.txt");
    }
    ASSERT_EQ(checked.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(PlatformName(checked[i]), expected[i]);
        const std::string stored = members[i < 5 ? i : i + 2].name;
        EXPECT_EQ(ReadFile(f.out + "/" + expected[i]), stored) << expected[i];
    }
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(f.dir.str()))
        if (e.is_regular_file())
            files.push_back(fs::relative(e.path(), f.dir.str()).string());
    EXPECT_EQ(files.size(), expected.size() + 1); // and the archive
}

TEST(Component, FolderEntries) {
    SKIP_WITHOUT_TESTDATA();
    TempDir dir;
    TCompLHA lha;
    lha.ArchiveName = TestData() + "/archives/explzh_723/h1_subdir.lzh";
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha),
              (std::vector<std::string>{"subdir\\", "subdir\\subdir2\\", "subdir\\subdir2\\hello.txt"}));
    EXPECT_EQ(lha.Contents()[0].second.method, static_cast<int>(LhaMethod::Directory));

    lha.SetTargetPath(dir.str());
    lha.Verify();
    EXPECT_TRUE(fs::is_empty(dir.str()));
    lha.Expand(); // folders are not made: the member inside has nowhere to go and is skipped
    EXPECT_TRUE(fs::is_empty(dir.str()));
    lha.MakeDirectories = true;
    lha.Expand();
    EXPECT_EQ(FilesIn(dir.str()),
              (std::vector<std::string>{"subdir", "subdir/subdir2", "subdir/subdir2/hello.txt"}));
}

TEST(Component, ArchiveInsideAProgramFile) {
    Fixture f;
    TCompLHA lha;
    lha.ArchiveName = f.dir / "inner.lzh";
    lha.FilesToProcess = {f.add("a.txt", "inside")};
    lha.Compress();
    const std::string archive = ReadFile(lha.ArchiveName);

    // 3 pages with 100 bytes in the last: the archive starts at 2 * 512 + 100.
    std::string program(1124, '\x90');
    program[0] = 'M';
    program[1] = 'Z';
    program[2] = 100;
    program[3] = 0;
    program[4] = 3;
    program[5] = 0;
    WriteFile(f.dir / "show.EXE", program + archive);
    lha.ArchiveName = f.dir / "show.EXE";
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha), std::vector<std::string>{"A.TXT"});
    f.expandAll(lha);
    EXPECT_EQ(ReadFile(f.out + "/A.TXT"), "inside");

    // The same bytes under another extension are read from the start, and so is a program file
    // whose pages point past its end; there the filler byte reads as a header level.
    for (const char* name : {"show.bin", "far.exe"}) {
        if (std::string(name) == "far.exe")
            program[4] = 100;
        WriteFile(f.dir / name, program + archive);
        lha.ArchiveName = f.dir / name;
        try {
            lha.Scan();
            ADD_FAILURE() << name;
        } catch (const ECompLHAInvalidHeaderLevel& e) {
            EXPECT_STREQ(e.what(), "Unsupported header level in archive: 144") << name;
        }
    }

    // Short files list nothing.
    WriteFile(f.dir / "tiny.lzh", std::string(21, 'x'));
    lha.ArchiveName = f.dir / "tiny.lzh";
    ASSERT_TRUE(lha.Scan());
    EXPECT_TRUE(lha.Contents().empty());
    lha.ArchiveName = f.dir / "absent.lzh";
    EXPECT_FALSE(lha.Scan());
}

// A member whose data is cut short ends the listing at its header; expanding and verifying report
// it with the CRC or table failure of that member, after the whole members before it; a rewrite
// refuses to copy it and leaves the archive as it was.
TEST(Component, MemberCutShort) {
    for (const TCompLHAMethod method :
         {TCompLHAMethod::colh0, TCompLHAMethod::colh1, TCompLHAMethod::colh5}) {
        SCOPED_TRACE(static_cast<int>(method));
        Fixture f;
        TCompLHA lha;
        lha.ArchiveName = f.dir / "a.lzh";
        lha.CompressionMethod = method;
        lha.FilesToProcess = {f.add("a.txt", SampleText(5000, 19)), f.add("b.txt", SampleText(50000, 20))};
        lha.Compress();
        ASSERT_TRUE(lha.Scan());
        const auto& last = lha.Contents().back().second;
        const std::string whole = ReadFile(lha.ArchiveName);
        const std::string cut = whole.substr(0, last.dataPosition + last.packedSize / 2);
        WriteFile(lha.ArchiveName, cut);

        ASSERT_TRUE(lha.Scan());
        EXPECT_EQ(Names(lha), (std::vector<std::string>{"A.TXT"}));
        for (const bool verify : {true, false}) {
            lha.SetTargetPath(f.out);
            lha.FilesToProcess.clear();
            try {
                verify ? lha.Verify() : lha.Expand();
                ADD_FAILURE() << "no exception";
            } catch (const ECompLHABadCRC&) {
            } catch (const ELZHBadDecodeTable&) {
                EXPECT_NE(method, TCompLHAMethod::colh0);
            }
            EXPECT_EQ(lha.FileInformationIndex(), 1);
            EXPECT_EQ(FilesIn(f.out),
                      verify ? std::vector<std::string>{} : std::vector<std::string>{"A.TXT"});
        }
        lha.FilesToProcess = {f.add("c.txt", "c")};
        EXPECT_THAT([&] { lha.Compress(); }, testing::ThrowsMessage<ECompLHAInvalidHeader>(testing::StrEq(
                                                 "Unexpected end of archive in the data of B.TXT")));
        EXPECT_TRUE(ReadFile(lha.ArchiveName) == cut);
    }
}

// Tiny members, truncated or corrupted, and what each raises when expanded.
TEST(Component, DamagedMembers) {
    Fixture f;
    TCompLHA lha;
    lha.ArchiveName = f.dir / "good.lzh";
    lha.CompressionMethod = TCompLHAMethod::colh5;
    lha.FilesToProcess = {f.add("a.txt", SampleText(3000, 9))};
    lha.Compress();
    const std::string good = ReadFile(lha.ArchiveName);
    const size_t header = 24 + 5; // level 0, "A.TXT"

    enum Kind { BadCrc, BadTable, InvalidHeader, Checksum, Method, Level, Nothing };
    struct Row {
        const char* what;
        std::string bytes;
        Kind kind;
    };
    auto patched = [&good](size_t at, char value) {
        std::string b = good;
        b[at] = value;
        return b;
    };
    auto resummed = [](std::string b) {
        b[1] = static_cast<char>(
            HeaderChecksum(reinterpret_cast<const uint8_t*>(b.data()) + 2, static_cast<uint8_t>(b[0])));
        return b;
    };
    std::vector<Row> rows = {
        {"cut in the header", good.substr(0, 15), Nothing},
        {"cut in the data", good.substr(0, header + 10), BadTable},
        {"checksum", patched(1, static_cast<char>(good[1] + 1)), Checksum},
        {"flipped data bit", patched(good.size() - 10, static_cast<char>(good[good.size() - 10] ^ 4)),
         BadCrc},
        {"table damaged", patched(header + 2, static_cast<char>(0xFF)), BadTable},
        {"crc field", resummed(patched(header - 2, static_cast<char>(good[header - 2] ^ 1))), BadCrc},
        {"unknown method", resummed(patched(5, '9')), Method},
        {"level 4", patched(20, 4), Level},
        {"size larger than the data", resummed(patched(13, 1)), BadCrc},
    };
    for (const Row& r : rows) {
        TempDir out;
        WriteFile(f.dir / "bad.lzh", r.bytes);
        lha.ArchiveName = f.dir / "bad.lzh";
        lha.SetTargetPath(out.str());
        Kind got = Nothing;
        try {
            lha.Expand();
        } catch (const ECompLHABadCRC&) {
            got = BadCrc;
        } catch (const ELZHBadDecodeTable&) {
            got = BadTable;
        } catch (const ECompLHAInvalidHeader&) {
            got = InvalidHeader;
        } catch (const ECompLHABadChecksum&) {
            got = Checksum;
        } catch (const ECompLHAUnrecognizedCompressionMethod&) {
            got = Method;
        } catch (const ECompLHAInvalidHeaderLevel&) {
            got = Level;
        }
        EXPECT_EQ(got, r.kind) << r.what;
        EXPECT_TRUE(fs::is_empty(out.str())) << r.what;
    }
}