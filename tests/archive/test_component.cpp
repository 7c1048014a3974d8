// The archive component's operations on real files: compress, rewrite, expand, verify, scan,
// find files, confirmations, cancelling, and the refusals that keep expansion inside its folder.
#include "archive_test_support.h"
#include "comp_lha.h"
#include "crc16.h"
#include "file_mask.h"
#include "lha_errors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace verasco::archive;
using namespace archive_test;

namespace {

std::vector<std::string> Names(const TCompLHA& lha) {
    std::vector<std::string> names;
    for (const auto& [name, info] : lha.Contents())
        names.push_back(name);
    return names;
}

std::vector<std::string> FilesIn(const std::string& folder) {
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
};

// One member of an archive written field by field, stored as it is ("-lh0-").
struct RawMember {
    std::string name;
    std::string data;
    char osId = 0; // 0: a level-0 header; else level 1 with this operating-system identifier
};

// An archive with names the component would never store itself.
void WriteRawArchive(const std::string& path, const std::vector<RawMember>& members) {
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

} // namespace

TEST(Component, Defaults) {
    TCompLHA lha;
    EXPECT_EQ(lha.ArchiveType, TCompLHAArchiveType::caLHARC);
    EXPECT_EQ(lha.CompressionMethod, TCompLHAMethod::colh0);
    EXPECT_FALSE(lha.MakeDirectories || lha.SafeMode || lha.VerifyMode || lha.AllowDuplicates ||
                 lha.StorePath || lha.ForceUpperCase || lha.ExceptionOnFileError || lha.Confirm ||
                 lha.CheckSpaceBeforeExpand);
    EXPECT_EQ(lha.ConfirmMessages,
              (std::vector<std::string>{"Please confirm", "Compress %s as %s?", "Expand %s to %s?",
                                        "Delete %s from the archive?", "Verify archive integrity of %s?"}));
    EXPECT_EQ(lha.FileInformationIndex(), -1);
    lha.SetTargetPath("/tmp/x");
    EXPECT_EQ(lha.TargetPath(), "/tmp/x/");
    lha.SetTempArchivePath("/tmp/y/");
    EXPECT_EQ(lha.TempArchivePath(), "/tmp/y/");
}

TEST(Component, CompressScanAndExpand) {
    Fixture f;
    const std::string text = SampleText(40000, 1);
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    lha.CompressionMethod = TCompLHAMethod::colh5;
    lha.FilesToProcess = {f.add("Text.txt", text), f.add("empty.dat", ""),
                          f.add("noise.bin", RandomBytes(9000, 1)), f.src + "/missing.txt"};
    lha.Compress();
    EXPECT_EQ(lha.FilesToProcess, (std::vector<std::string>{"TEXT.TXT", "EMPTY.DAT", "NOISE.BIN"}));
    EXPECT_EQ(lha.Processed(), lha.FilesToProcess);
    EXPECT_EQ(ReadFile(lha.ArchiveName).back(), '\0'); // end marker

    ASSERT_TRUE(lha.Scan());
    ASSERT_EQ(Names(lha), (std::vector<std::string>{"TEXT.TXT", "EMPTY.DAT", "NOISE.BIN"}));
    const auto& c = lha.Contents();
    EXPECT_EQ(c[0].second.method, static_cast<int>(LhaMethod::Lh5));
    EXPECT_EQ(c[0].second.originalSize, text.size());
    EXPECT_LT(c[0].second.packedSize, text.size() / 2);
    EXPECT_EQ(c[1].second.method, static_cast<int>(LhaMethod::Lh5));
    EXPECT_EQ(c[1].second.packedSize, 0u);
    EXPECT_EQ(c[2].second.method, static_cast<int>(LhaMethod::Lh0)); // did not shrink
    EXPECT_EQ(c[2].second.packedSize, 9000u);
    EXPECT_EQ(lha.CompressionPercentage(), 100);

    lha.SetTargetPath(f.out);
    lha.FilesToProcess.clear();
    lha.Expand();
    EXPECT_EQ(ReadFile(f.out + "/TEXT.TXT"), text);
    EXPECT_EQ(ReadFile(f.out + "/EMPTY.DAT"), "");
    EXPECT_EQ(FilesIn(f.out), (std::vector<std::string>{"EMPTY.DAT", "NOISE.BIN", "TEXT.TXT"}));
    EXPECT_EQ(lha.FileInformationIndex(), 2);
    // The file keeps the member's time.
    EXPECT_EQ(FileDosDateTime(f.out + "/TEXT.TXT"), FileDosDateTime(f.src + "/Text.txt"));
}

TEST(Component, LevelOneKeepsCaseAndFolders) {
    Fixture f;
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    lha.ArchiveType = TCompLHAArchiveType::caLHA;
    lha.StorePath = true;
    lha.SetTargetPath(f.src);
    lha.CompressionMethod = TCompLHAMethod::colh1;
    lha.FilesToProcess = {f.add("Pics/Holiday/One.bmp", SampleText(5000, 2)), f.add("Top.txt", "hello")};
    lha.Compress();
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha), (std::vector<std::string>{"Pics\\Holiday\\One.bmp", "Top.txt"}));
    EXPECT_EQ(lha.Contents()[0].second.headerLevel, 1);

    lha.SetTargetPath(f.out);
    lha.MakeDirectories = true;
    lha.FilesToProcess.clear();
    lha.Expand();
    EXPECT_EQ(ReadFile(f.out + "/Pics/Holiday/One.bmp"), SampleText(5000, 2));
    EXPECT_EQ(lha.Processed(),
              (std::vector<std::string>{f.out + "/Pics/Holiday/One.bmp", f.out + "/Top.txt"}));
}

TEST(Component, CompressingIntoAnArchiveReplacesSameNamedMembers) {
    Fixture f;
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    lha.CompressionMethod = TCompLHAMethod::colh5;
    lha.FilesToProcess = {f.add("a.txt", "old a"), f.add("b.txt", "old b"), f.add("c.txt", "old c")};
    lha.Compress();
    lha.FilesToProcess = {f.add("b.txt", "new b"), f.add("d.txt", "new d")};
    lha.Compress();
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha), (std::vector<std::string>{"B.TXT", "D.TXT", "A.TXT", "C.TXT"}));
    EXPECT_FALSE(fs::exists(f.dir / "a.$$$"));
    lha.SetTargetPath(f.out);
    lha.FilesToProcess.clear();
    lha.Expand();
    EXPECT_EQ(ReadFile(f.out + "/B.TXT"), "new b");
    EXPECT_EQ(ReadFile(f.out + "/A.TXT"), "old a");

    // With duplicates allowed the new member is appended and the old one stays.
    lha.AllowDuplicates = true;
    lha.FilesToProcess = {f.add("a.txt", "newer a")};
    lha.Compress();
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha), (std::vector<std::string>{"B.TXT", "D.TXT", "A.TXT", "C.TXT", "A.TXT"}));
    EXPECT_EQ(ReadFile(lha.ArchiveName).back(), '\0');
}

// Names beyond ASCII are upper-cased at level 0 and compared without regard to case.
TEST(Component, LetterCaseBeyondAscii) {
    Fixture f;
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    lha.FilesToProcess = {f.add("caf\xC3\xA9.bmp", "old")};
    lha.Compress();
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha), std::vector<std::string>{"CAF\xC3\x89.BMP"});

    lha.ArchiveType = TCompLHAArchiveType::caLHA;
    lha.FilesToProcess = {f.add("Caf\xC3\x89.bmp", "new")};
    lha.Compress();
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha), std::vector<std::string>{"Caf\xC3\x89.bmp"});
    lha.SetTargetPath(f.out);
    lha.FilesToProcess = {"caf\xC3\xA9.BMP"};
    lha.Expand();
    EXPECT_EQ(ReadFile(f.out + "/Caf\xC3\x89.bmp"), "new");
}

TEST(Component, RewriteThroughTheTemporaryFolder) {
    Fixture f;
    fs::create_directories(f.dir / "work");
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    lha.FilesToProcess = {f.add("a.txt", "a")};
    lha.Compress();
    lha.SetTempArchivePath(f.dir / "work");
    lha.FilesToProcess = {f.add("b.txt", "b")};
    bool workCopySeen = false;
    lha.OnAfterProcessed = [&](const std::string&, const std::string&, uint32_t, TCompLHAProcessMode) {
        workCopySeen = fs::exists(f.dir / "work/a.$$$");
    };
    lha.Compress();
    EXPECT_TRUE(workCopySeen);
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha), (std::vector<std::string>{"B.TXT", "A.TXT"}));
    EXPECT_TRUE(fs::is_empty(f.dir / "work"));
}

// Removes a folder made outside the test's own temporary folder, also when the test fails.
struct RemovedAtTheEnd {
    std::string path;
    ~RemovedAtTheEnd() {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, ec);
        fs::remove_all(path, ec);
    }
};

// A folder on another file system than `folder` that can take a work file, or empty.
std::string FolderOnAnotherFileSystem(const std::string& folder) {
    struct stat here {};
    if (stat(folder.c_str(), &here) != 0)
        return std::string();
    for (const char* candidate : {"/dev/shm", "/run/shm"}) {
        struct stat there {};
        if (stat(candidate, &there) == 0 && S_ISDIR(there.st_mode) && there.st_dev != here.st_dev &&
            access(candidate, W_OK) == 0)
            return candidate;
    }
    return std::string();
}

// The rewrite of an archive whose work file cannot simply be renamed onto it: the temporary folder
// on another file system, or (where none is available) a temporary folder that turns read-only
// while the new members are written, so that nothing can be moved out of it.
TEST(Component, RewriteKeepsTheArchiveWhenTheWorkFileCannotBeRenamed) {
    const bool root = geteuid() == 0;
    int cases = 0;
    for (const bool otherFileSystem : {true, false}) {
        SCOPED_TRACE(otherFileSystem ? "another file system" : "read-only temporary folder");
        Fixture f;
        const std::string other = FolderOnAnotherFileSystem(f.dir.str());
        if ((otherFileSystem && other.empty()) || (!otherFileSystem && root))
            continue;
        const std::string work =
            otherFileSystem ? other + "/verasco-work-" + std::to_string(getpid()) : f.dir / "work";
        fs::create_directories(work);
        const RemovedAtTheEnd cleanUp{work};
        ++cases;
        TCompLHA lha;
        lha.ArchiveName = f.dir / "a.lzh";
        lha.CompressionMethod = TCompLHAMethod::colh5;
        lha.FilesToProcess = {f.add("a.txt", SampleText(30000, 14))};
        lha.Compress();
        lha.SetTempArchivePath(work);
        if (!otherFileSystem)
            lha.OnAfterProcessed = [&work](const std::string&, const std::string&, uint32_t,
                                           TCompLHAProcessMode) {
                fs::permissions(work, fs::perms::owner_write, fs::perm_options::remove);
            };
        lha.FilesToProcess = {f.add("b.txt", SampleText(30000, 15))};
        EXPECT_NO_THROW(lha.Compress());
        lha.OnAfterProcessed = nullptr;
        fs::permissions(work, fs::perms::owner_all);
        ASSERT_TRUE(lha.Scan());
        EXPECT_EQ(Names(lha), (std::vector<std::string>{"B.TXT", "A.TXT"}));
        lha.SetTargetPath(f.out);
        lha.FilesToProcess.clear();
        lha.Expand();
        EXPECT_EQ(ReadFile(f.out + "/A.TXT"), SampleText(30000, 14));
        EXPECT_EQ(ReadFile(f.out + "/B.TXT"), SampleText(30000, 15));
        EXPECT_EQ(FilesIn(f.dir.str()).size(), FilesIn(f.src).size() + FilesIn(f.out).size() + 3 +
                                                   (otherFileSystem ? 0 : 1 + FilesIn(work).size()));
    }
    if (cases == 0)
        GTEST_SKIP() << "no second file system (/dev/shm), and a read-only folder does not stop root";
}

// The work file never takes the archive's name, nor that of a file already there.
TEST(Component, WorkFileNamesAreNeverInUse) {
    Fixture f;
    for (const char* name : {"x.$$$", "y.lzh"}) {
        SCOPED_TRACE(name);
        WriteFile(f.dir / "y.$$$", "a file of the user");
        TCompLHA lha;
        lha.ArchiveName = f.dir / name;
        lha.FilesToProcess = {f.add("a.txt", "a")};
        lha.Compress();
        lha.FilesToProcess = {f.add("b.txt", "b")};
        lha.Compress();
        ASSERT_TRUE(lha.Scan());
        EXPECT_EQ(Names(lha), (std::vector<std::string>{"B.TXT", "A.TXT"}));
        EXPECT_EQ(ReadFile(f.dir / "y.$$$"), "a file of the user");
    }
    EXPECT_EQ(FilesIn(f.dir.str()),
              (std::vector<std::string>{"out", "src", "src/a.txt", "src/b.txt", "x.$$$", "y.$$$", "y.lzh"}));
}

TEST(Component, ArchiveCannotReceiveItself) {
    Fixture f;
    f.add("a.txt", "a");
    TCompLHA lha;
    lha.ArchiveName = f.src + "/x.lzh";
    lha.FilesToProcess = {f.src + "/*.*"};
    try {
        lha.Compress();
        ADD_FAILURE() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot add " + f.src + "/x.lzh to itself!");
    }
    EXPECT_FALSE(fs::exists(lha.ArchiveName));
}

TEST(Component, FindFilesAndPatterns) {
    Fixture f;
    f.add("a.bmp", "1");
    f.add("B.BMP", "2");
    f.add("c.txt", "3");
    f.add("noext", "4");
    f.add(".hidden.bmp", "5");
    f.add("sub/d.bmp", "6");
    TCompLHA lha;
    std::vector<std::string> list;
    lha.FindFiles(list, f.src, false, "*.bmp");
    EXPECT_EQ(list, (std::vector<std::string>{f.src + "/B.BMP", f.src + "/a.bmp"}));
    lha.FindFiles(list, f.src + "/", false, "*.bmp/s");
    EXPECT_EQ(list, (std::vector<std::string>{f.src + "/B.BMP", f.src + "/a.bmp", f.src + "/sub/d.bmp"}));
    lha.FindFiles(list, f.src, false, "*");
    EXPECT_EQ(list.size(), 4u); // every file; the folder only with the include-all flag
    lha.FindFiles(list, f.src, true, "*");
    EXPECT_EQ(list.size(), 5u);

    const struct {
        const char* name;
        const char* mask;
        bool match;
    } rows[] = {{"caf\xC3\xA9.bmp", "CAF\xC3\x89.*", true},
                {"caf\xC3\xA9.bmp", "caf?.bmp", true},
                {"\xCE\xB1\xCE\xB2.txt", "\xCE\x91?.TXT", true}, // Greek letters, "?" one character
                {"photo.bmp", "*.bmp", true},
                {"photo.bmp", "PHOTO.*", true},
                {"photo", "*.*", true},
                {"photo", "*", true},
                {"photo.bmp", "ph?to.bmp", true},
                {"photo.bmp", "ph?.bmp", false},
                {"a.tar.gz", "*.tar", false},
                {"a.tar.gz", "a.t*", true},
                {"photo.bmp", "*.bm", false}};
    for (const auto& r : rows)
        EXPECT_EQ(MatchesMask(r.name, r.mask), r.match) << r.name << " " << r.mask;

    // A pattern in the list becomes the files it matches.
    std::ostringstream stream;
    std::vector<std::string> files = {f.src + "/*.bmp", f.src + "/c.txt"};
    lha.CompressToStream(stream, files, TCompLHAMethod::colh5);
    EXPECT_EQ(files, (std::vector<std::string>{"B.BMP", "A.BMP", "C.TXT"}));
    EXPECT_NE(stream.str().back(), '\0'); // no end marker on a stream
}

// A link to a folder is not followed (a loop listed the same files again and again); a link to a
// file is listed and archived with the file's content.
TEST(Component, FindFilesDoesNotFollowLinksToFolders) {
    Fixture f;
    f.add("a.txt", "a");
    f.add("sub/b.txt", "b");
    fs::create_directory_symlink("..", f.src + "/sub/loop");
    fs::create_directory_symlink(f.src + "/sub", f.src + "/alias");
    fs::create_symlink("sub/b.txt", f.src + "/link.txt");
    TCompLHA lha;
    std::vector<std::string> list;
    lha.FindFiles(list, f.src, false, "*.txt/S");
    EXPECT_EQ(list, (std::vector<std::string>{f.src + "/a.txt", f.src + "/link.txt", f.src + "/sub/b.txt"}));

    std::ostringstream stream;
    std::vector<std::string> files = {f.src + "/*.txt/S"};
    lha.StorePath = true;
    lha.SetTargetPath(f.src);
    lha.CompressToStream(stream, files, TCompLHAMethod::colh0);
    EXPECT_EQ(files, (std::vector<std::string>{"A.TXT", "LINK.TXT", "SUB\\B.TXT"}));
    const std::string bytes = stream.str();
    EXPECT_NE(bytes.find("LINK.TXT"), std::string::npos);
    EXPECT_EQ(bytes[bytes.find("LINK.TXT") + 8 + 2], 'b'); // after the name and the CRC
}

TEST(Component, CheckFileAndConfirmations) {
    Fixture f;
    const std::vector<std::string> inputs = {f.add("a.txt", "a"), f.add("b.txt", "b"), f.add("c.txt", "c"),
                                             f.add("d.txt", "d")};
    TCompLHA lha;
    std::vector<std::string> asked;
    lha.Confirm = true;
    lha.OnConfirm = [&asked](const std::string& caption, const std::string& text) {
        asked.push_back(caption + ": " + text);
        if (text.find("B.TXT") != std::string::npos)
            return TCompLHAConfirmAnswer::No;
        if (text.find("D.TXT") != std::string::npos)
            return TCompLHAConfirmAnswer::Cancel;
        return TCompLHAConfirmAnswer::Yes;
    };
    lha.OnCheckFile = [](const std::string& original, std::string& name, uint32_t, TCompLHAProcessMode mode) {
        EXPECT_EQ(mode, TCompLHAProcessMode::cmCompress);
        if (original.ends_with("c.txt"))
            name = "x:other.txt";
    };
    std::vector<std::string> after;
    lha.OnAfterProcessed = [&after](const std::string&, const std::string& name, uint32_t,
                                    TCompLHAProcessMode) { after.push_back(name); };
    std::ostringstream stream;
    std::vector<std::string> files = inputs;
    lha.CompressToStream(stream, files, TCompLHAMethod::colh0);
    EXPECT_EQ(files, (std::vector<std::string>{"A.TXT", "OTHER.TXT"}));
    EXPECT_EQ(after, files);
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0], "Please confirm: Compress " + inputs[0] + " as A.TXT?");

    // Cancel on the first confirmation stops before anything is written.
    lha.OnConfirm = [](const std::string&, const std::string&) { return TCompLHAConfirmAnswer::Cancel; };
    std::ostringstream nothing;
    files = inputs;
    lha.CompressToStream(nothing, files, TCompLHAMethod::colh0);
    EXPECT_TRUE(files.empty());
    EXPECT_TRUE(nothing.str().empty());
}

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
    try {
        lha.Expand();
        ADD_FAILURE() << "no exception";
    } catch (const ECompLHABadCRC& e) {
        EXPECT_STREQ(e.what(), "Bad CRC during expansion -- data may be invalid");
    }
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

TEST(Component, CancelledRuns) {
    Fixture f;
    const std::string big = SampleText(200000, 6);
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    lha.CompressionMethod = TCompLHAMethod::colh5;
    lha.FilesToProcess = {f.add("big.txt", big)};
    lha.OnShowProgress = [](int& p) {
        if (p >= 50)
            p = -1;
    };
    EXPECT_THROW(lha.Compress(), ECompLHAOperationAborted);
    EXPECT_FALSE(fs::exists(lha.ArchiveName)); // the half-made archive is gone

    lha.OnShowProgress = nullptr;
    lha.FilesToProcess = {f.src + "/big.txt"};
    lha.Compress();
    lha.SetTargetPath(f.out);
    lha.FilesToProcess.clear();
    int calls = 0;
    lha.OnShowProgress = [&calls](int& p) {
        if (++calls == 2)
            p = -1;
    };
    lha.Expand(); // a cancelled expansion ends quietly
    EXPECT_TRUE(fs::is_empty(f.out));
}

// Abort() from another thread, at any moment of a run: here while the first member is compressed.
TEST(Component, AbortFromAnotherThread) {
    Fixture f;
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    lha.CompressionMethod = TCompLHAMethod::colh5;
    lha.FilesToProcess = {f.add("big.txt", SampleText(400000, 23)), f.add("next.txt", "next")};
    std::atomic<bool> started{false}, called{false};
    lha.OnShowProgress = [&](int& percent) {
        started = true;
        // Half-way the run waits until the other thread has asked it to stop.
        while (percent >= 50 && !called)
            std::this_thread::yield();
    };
    std::thread other([&] {
        while (!started)
            std::this_thread::yield();
        lha.Abort();
        called = true;
    });
    EXPECT_THROW(lha.Compress(), ECompLHAOperationAborted);
    other.join();
    EXPECT_FALSE(fs::exists(lha.ArchiveName));
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
        try {
            lha.Expand();
            ADD_FAILURE() << "no exception";
        } catch (const EcompLHAEncrypted& e) {
            EXPECT_EQ(e.what(), r.message);
        }
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

    lha.SetTargetPath(f.out);
    lha.FilesToProcess.clear();
    lha.Expand();
    EXPECT_EQ(ReadFile(f.out + "/SECRET.TXT"), SampleText(20000, 13));
    EXPECT_EQ(ReadFile(f.out + "/PLAIN.TXT"), SampleText(20000, 12));
}

// Names the component never stores itself, as other archivers do: from the root, with a drive,
// climbing out with "..", with control characters. Members climbing out are refused and reported
// at the end; the others expand below the target folder.
TEST(Component, MemberNamesExpandBelowTheTarget) {
    const struct {
        const char* stored;
        char osId;            // 0: level 0; else level 1 with this system identifier
        const char* expanded; // nullptr: refused
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
    };
    Fixture f;
    std::vector<RawMember> members;
    std::vector<std::string> expected;
    for (const auto& r : rows) {
        members.push_back({r.stored, r.stored, r.osId});
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
        EXPECT_STREQ(e.what(), "Unsafe path in archive: ..\\up.txt, ok\\..\\..\\up\\x1B]2;title\\x07.txt");
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

TEST(Component, PrintableNames) {
    const struct {
        std::string name, shown;
    } rows[] = {
        {"plain\\name.txt", "plain\\name.txt"},
        {"\x1b]2;title\x07\n", "\\x1B]2;title\\x07\\x0A"},
        {"CAF\xC3\x89.BMP", "CAF\xC3\x89.BMP"}, // UTF-8 letters stay
        {"csi\xC2\x9B"
         "31m",
         "csi\\xC2\\x9B31m"},        // a C1 control in UTF-8
        {"latin\xE9", "latin\\xE9"}, // not UTF-8
        {"del\x7F", "del\\x7F"},
        {std::string("nul\0x", 5), "nul\\x00x"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(PrintableName(r.name), r.shown) << r.shown;
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
    lha.SetTargetPath(f.out);
    lha.FilesToProcess.clear();
    lha.Expand();
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
        try {
            lha.Compress();
            ADD_FAILURE() << "no exception";
        } catch (const ECompLHAInvalidHeader& e) {
            EXPECT_STREQ(e.what(), "Unexpected end of archive in the data of B.TXT");
        }
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
        {"level 2", patched(20, 2), Level},
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

// Only a failed write is reported as a full disk; other failures pass on as they are, and neither
// a new nor an existing archive is left with a member whose header and data disagree.
TEST(Component, FailuresWhileCompressingKeepTheirClass) {
    const std::string text = SampleText(100000, 16);
    struct Row {
        const char* what;
        std::function<void(TCompLHA&, const std::string&)> arrange;
        std::string message; // with %s for the file's path
    };
    const Row rows[] = {
        {"file gone before it is opened",
         [](TCompLHA& lha, const std::string&) {
             lha.ExceptionOnFileError = true;
             lha.OnCheckFile = [](const std::string& path, std::string&, uint32_t, TCompLHAProcessMode) {
                 fs::remove(path);
             };
         },
         "Cannot open %s"},
        {"file shrinks while it is read",
         [](TCompLHA& lha, const std::string& path) {
             lha.OnShowProgress = [path](int&) { fs::resize_file(path, 1000); };
         },
         "File changed while it was read: %s"},
    };
    for (const Row& r : rows) {
        for (const bool existing : {false, true}) {
            SCOPED_TRACE(std::string(r.what) + (existing ? ", existing archive" : ", new archive"));
            Fixture f;
            TCompLHA lha;
            lha.ArchiveName = f.dir / "a.lzh";
            lha.CompressionMethod = TCompLHAMethod::colh5;
            if (existing) {
                lha.FilesToProcess = {f.add("old.txt", "old")};
                lha.Compress();
            }
            const std::string before = existing ? ReadFile(lha.ArchiveName) : std::string();
            const std::string path = f.add("new.txt", text);
            r.arrange(lha, path);
            lha.FilesToProcess = {path};
            try {
                lha.Compress();
                ADD_FAILURE() << "no exception";
            } catch (const ECompLHAInsufficientDiskSpace& e) {
                ADD_FAILURE() << "reported as a full disk: " << e.what();
            } catch (const EInOutError& e) {
                std::string expected = r.message;
                expected.replace(expected.find("%s"), 2, path);
                EXPECT_EQ(e.what(), expected);
            }
            EXPECT_EQ(fs::exists(lha.ArchiveName), existing);
            EXPECT_TRUE((existing ? ReadFile(lha.ArchiveName) : std::string()) == before);
            EXPECT_EQ(FilesIn(f.dir.str()).size(), FilesIn(f.src).size() + 2 + (existing ? 1 : 0));
        }
    }
}

// Sparse files at the 32-bit limit of the size fields: a member that could not be stored exactly is
// refused before anything is read; one that can is begun (and cancelled after its first chunk).
TEST(Component, SizesAtTheLimit) {
    const uint64_t limit = 0xFFFFFFFFu;
    // A level-1 header of a regular file carries a 5-byte attribute header, counted in the packed size.
    const struct {
        TCompLHAArchiveType type;
        uint64_t size;
        bool refused;
    } rows[] = {{TCompLHAArchiveType::caLHARC, limit, false},
                {TCompLHAArchiveType::caLHARC, limit + 1, true},
                {TCompLHAArchiveType::caLHA, limit - 5, false},
                {TCompLHAArchiveType::caLHA, limit - 4, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.size) +
                     (r.type == TCompLHAArchiveType::caLHA ? " level 1" : " level 0"));
        Fixture f;
        const std::string path = f.add("huge.bin", "");
        std::error_code ec;
        fs::resize_file(path, r.size, ec);
        if (ec)
            GTEST_SKIP() << "no sparse file of " << r.size << " bytes here: " << ec.message();
        TCompLHA lha;
        lha.ArchiveName = f.dir / "a.lzh";
        lha.ArchiveType = r.type;
        lha.CompressionMethod = TCompLHAMethod::colh5;
        lha.FilesToProcess = {path};
        lha.OnShowProgress = [](int& p) { p = -1; };
        try {
            lha.Compress();
            ADD_FAILURE() << "neither refused nor cancelled";
        } catch (const EInOutError& e) {
            EXPECT_TRUE(r.refused) << e.what();
            EXPECT_EQ(e.what(), "File too large for an archive member: " + path);
        } catch (const ECompLHAOperationAborted&) {
            EXPECT_FALSE(r.refused);
        }
        EXPECT_FALSE(fs::exists(lha.ArchiveName));
    }
}

TEST(Component, WriteFailureBecomesDiskFull) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    Fixture f;
    TCompLHA lha;
    lha.ArchiveName = "/dev/full"; // every write fails as on a full disk
    lha.AllowDuplicates = true;
    lha.FilesToProcess = {f.add("a.txt", SampleText(100000, 3))};
    try {
        lha.Compress();
        ADD_FAILURE() << "no exception";
    } catch (const ECompLHAInsufficientDiskSpace& e) {
        EXPECT_STREQ(e.what(), "Disk protected or full during compression");
    }
}
