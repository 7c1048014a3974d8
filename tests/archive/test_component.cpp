// SPDX-License-Identifier: MIT
// The archive component's writing operations on real files: compress, rewrite through a work file,
// find files, confirmations while compressing, cancelling, and how failures are reported.
#include "component_test_support.h"
#include "file_mask.h"
#include "lha_errors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace verasco::archive;
using namespace archive_test;

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

    EXPECT_EQ(lha.FileInformationIndex(), -1);
    f.expandAll(lha);
    EXPECT_EQ(ReadFile(f.out + "/TEXT.TXT"), text);
    EXPECT_EQ(ReadFile(f.out + "/EMPTY.DAT"), "");
    EXPECT_EQ(FilesIn(f.out), (std::vector<std::string>{"EMPTY.DAT", "NOISE.BIN", "TEXT.TXT"}));
    EXPECT_EQ(lha.FileInformationIndex(), 2);
    // The file keeps the member's time.
    EXPECT_EQ(FileDosDateTime(f.out + "/TEXT.TXT"), FileDosDateTime(f.src + "/Text.txt"));
}

// A name that begins like a drive ("c:Top.txt") is a file name where paths have no drives: it keeps
// its colon and does not become a second "Top.txt". At level 2 the time goes through Unix time.
TEST(Component, LevelsOneAndTwoKeepCaseAndFolders) {
    for (const auto& [type, level] :
         {std::pair{TCompLHAArchiveType::caLHA, 1}, std::pair{TCompLHAArchiveType::caLHA2, 2}}) {
        SCOPED_TRACE(level);
        Fixture f;
        TCompLHA lha;
        lha.ArchiveName = f.dir / "a.lzh";
        lha.ArchiveType = type;
        lha.StorePath = true;
        lha.SetTargetPath(f.src);
        lha.CompressionMethod = TCompLHAMethod::colh1;
        lha.FilesToProcess = {f.add("Pics/Holiday/One.bmp", SampleText(5000, 2)), f.add("Top.txt", "hello"),
                              f.add("c:Top.txt", "colon")};
        lha.Compress();
        ASSERT_TRUE(lha.Scan());
        const std::string colonName = kPathsHaveDrives ? "Top.txt" : "c:Top.txt";
        EXPECT_EQ(Names(lha), (std::vector<std::string>{"Pics\\Holiday\\One.bmp", "Top.txt", colonName}));
        EXPECT_EQ(lha.Contents()[0].second.headerLevel, level);

        lha.SetTargetPath(f.out);
        lha.MakeDirectories = true;
        lha.FilesToProcess.clear();
        lha.Expand();
        EXPECT_EQ(ReadFile(f.out + "/Pics/Holiday/One.bmp"), SampleText(5000, 2));
        EXPECT_EQ(ReadFile(f.out + "/" + colonName), "colon");
        EXPECT_EQ(lha.Processed(), (std::vector<std::string>{f.out + "/Pics/Holiday/One.bmp",
                                                             f.out + "/Top.txt", f.out + "/" + colonName}));
        EXPECT_EQ(FileDosDateTime(f.out + "/Top.txt"), FileDosDateTime(f.src + "/Top.txt"));
    }
}

// A private archive stays private when it is rewritten: the new file has its permissions (and, where
// the user may give it, its owner).
void ExpectOwnerAndMode(const std::string& path, fs::perms mode, uid_t owner) {
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(fs::perms(st.st_mode & 07777), mode);
    EXPECT_EQ(st.st_uid, owner);
}

// Owner and mode of an archive whose rewrite must keep them: the second user's where root may
// give it away.
uid_t MakePrivate(const std::string& archive, fs::perms mode) {
    fs::permissions(archive, mode);
    const uid_t owner = geteuid() == 0 ? 65534 : geteuid();
    EXPECT_EQ(chown(archive.c_str(), owner, static_cast<gid_t>(-1)), 0);
    return owner;
}

TEST(Component, CompressingIntoAnArchiveReplacesSameNamedMembers) {
    Fixture f;
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    lha.CompressionMethod = TCompLHAMethod::colh5;
    lha.FilesToProcess = {f.add("a.txt", "old a"), f.add("b.txt", "old b"),
                          f.add("c.txt", std::string("old c\0", 6))};
    lha.Compress();
    const uid_t owner = MakePrivate(lha.ArchiveName, fs::perms::owner_read | fs::perms::owner_write);
    lha.FilesToProcess = {f.add("b.txt", "new b"), f.add("d.txt", "new d")};
    lha.Compress();
    ExpectOwnerAndMode(lha.ArchiveName, fs::perms::owner_read | fs::perms::owner_write, owner);
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha), (std::vector<std::string>{"B.TXT", "D.TXT", "A.TXT", "C.TXT"}));
    EXPECT_FALSE(fs::exists(f.dir / "a.$$$"));
    f.expandAll(lha);
    EXPECT_EQ(ReadFile(f.out + "/B.TXT"), "new b");
    EXPECT_EQ(ReadFile(f.out + "/A.TXT"), "old a");

    // With duplicates allowed the new member is appended and the old one stays; the end is found
    // by walking the members, also in an archive without an end marker whose last data byte is 0.
    std::string bytes = ReadFile(lha.ArchiveName);
    bytes.pop_back();
    WriteFile(lha.ArchiveName, bytes);
    lha.AllowDuplicates = true;
    lha.FilesToProcess = {f.add("a.txt", "newer a")};
    lha.Compress();
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha), (std::vector<std::string>{"B.TXT", "D.TXT", "A.TXT", "C.TXT", "A.TXT"}));
    EXPECT_EQ(ReadFile(lha.ArchiveName).back(), '\0');
    f.expandAll(lha);
    EXPECT_EQ(ReadFile(f.out + "/C.TXT"), std::string("old c\0", 6));
    EXPECT_EQ(ReadFile(f.out + "/A.TXT"), "newer a");
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

// Names that only extended headers carry are read; the members a rewrite keeps are copied as they
// were, with their names and the system that made them ("a:b.txt" of a Unix system).
TEST(Component, RewriteKeepsOlderMembersAsTheyWere) {
    Fixture f;
    WriteRawArchive(f.dir / "a.lzh", {{"docs\\Long name.txt", "named in headers", 'M', true},
                                      {"a:b.txt", "unix", 'U'},
                                      {"PLAIN.TXT", "plain"}});
    const std::string older = ReadFile(f.dir / "a.lzh");
    TCompLHA lha;
    lha.ArchiveName = f.dir / "a.lzh";
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha), (std::vector<std::string>{"docs\\Long name.txt", "a:b.txt", "PLAIN.TXT"}));
    lha.FilesToProcess = {f.add("new.txt", "new")};
    lha.Compress();
    EXPECT_NE(ReadFile(lha.ArchiveName).find(older.substr(0, older.size() - 1)), std::string::npos);
    lha.MakeDirectories = true;
    f.expandAll(lha);
    EXPECT_EQ(FilesIn(f.out),
              (std::vector<std::string>{"NEW.TXT", "PLAIN.TXT", "a:b.txt", "docs", "docs/Long name.txt"}));
    EXPECT_EQ(ReadFile(f.out + "/docs/Long name.txt"), "named in headers");
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
        const uid_t owner = MakePrivate(lha.ArchiveName, fs::perms::owner_read | fs::perms::owner_write |
                                                             fs::perms::group_read);
        lha.SetTempArchivePath(work);
        if (!otherFileSystem)
            lha.OnAfterProcessed = [&work](const std::string&, const std::string&, uint32_t,
                                           TCompLHAProcessMode) {
                fs::permissions(work, fs::perms::owner_write, fs::perm_options::remove);
            };
        lha.FilesToProcess = {f.add("b.txt", SampleText(30000, 15))};
        EXPECT_NO_THROW(lha.Compress());
        ExpectOwnerAndMode(lha.ArchiveName,
                           fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read, owner);
        lha.OnAfterProcessed = nullptr;
        fs::permissions(work, fs::perms::owner_all);
        ASSERT_TRUE(lha.Scan());
        EXPECT_EQ(Names(lha), (std::vector<std::string>{"B.TXT", "A.TXT"}));
        f.expandAll(lha);
        EXPECT_EQ(ReadFile(f.out + "/A.TXT"), SampleText(30000, 14));
        EXPECT_EQ(ReadFile(f.out + "/B.TXT"), SampleText(30000, 15));
        EXPECT_EQ(FilesIn(f.dir.str()).size(), FilesIn(f.src).size() + FilesIn(f.out).size() + 3 +
                                                   (otherFileSystem ? 0 : 1 + FilesIn(work).size()));
    }
    if (cases == 0)
        GTEST_SKIP() << "no second file system (/dev/shm), and a read-only folder does not stop root";
}

// A rewrite goes through a work file beside the archive or in the temporary folder given; the work
// file never takes the archive's name, nor that of a file already there.
TEST(Component, RewriteThroughAWorkFileOfAFreeName) {
    Fixture f;
    fs::create_directories(f.dir / "work");
    WriteFile(f.dir / "y.$$$", "a file of the user");
    for (const auto& [name, workFolder] : {std::pair{"x.$$$", ""}, {"y.lzh", ""}, {"a.lzh", "work"}}) {
        SCOPED_TRACE(name);
        TCompLHA lha;
        lha.ArchiveName = f.dir / name;
        lha.FilesToProcess = {f.add("a.txt", "a")};
        lha.Compress();
        bool workCopySeen = false;
        if (*workFolder) {
            lha.SetTempArchivePath(f.dir / workFolder);
            lha.OnAfterProcessed = [&](const std::string&, const std::string&, uint32_t,
                                       TCompLHAProcessMode) {
                workCopySeen = fs::exists(f.dir / "work/a.$$$");
            };
        }
        lha.FilesToProcess = {f.add("b.txt", "b")};
        lha.Compress();
        EXPECT_EQ(workCopySeen, *workFolder != '\0');
        ASSERT_TRUE(lha.Scan());
        EXPECT_EQ(Names(lha), (std::vector<std::string>{"B.TXT", "A.TXT"}));
        EXPECT_EQ(ReadFile(f.dir / "y.$$$"), "a file of the user");
    }
    EXPECT_EQ(FilesIn(f.dir.str()), (std::vector<std::string>{"a.lzh", "out", "src", "src/a.txt", "src/b.txt",
                                                              "work", "x.$$$", "y.$$$", "y.lzh"}));
}

// An archive is never stored in itself: written in place it refuses itself among its files, and
// rewritten through a work file it leaves itself out of them.
TEST(Component, ArchiveCannotReceiveItself) {
    Fixture f;
    f.add("a.txt", "a");
    TCompLHA lha;
    lha.ArchiveName = f.src + "/x.lzh";
    lha.FilesToProcess = {f.src + "/*.*"};
    EXPECT_THAT([&] { lha.Compress(); }, testing::ThrowsMessage<EInOutError>(
                                             testing::StrEq("Cannot add " + f.src + "/x.lzh to itself!")));
    EXPECT_FALSE(fs::exists(lha.ArchiveName));

    lha.ArchiveName = f.dir / "x.lzh";
    lha.FilesToProcess = {f.src + "/a.txt"};
    lha.Compress();
    lha.FilesToProcess = {lha.ArchiveName, f.add("b.txt", "b")};
    lha.Compress();
    EXPECT_EQ(lha.FilesToProcess, std::vector<std::string>{"B.TXT"});
    ASSERT_TRUE(lha.Scan());
    EXPECT_EQ(Names(lha), (std::vector<std::string>{"B.TXT", "A.TXT"}));
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
    EXPECT_EQ(files, (std::vector<std::string>{"A.TXT", kPathsHaveDrives ? "OTHER.TXT" : "X:OTHER.TXT"}));
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
                // A window gives the message in its language from the form and the name.
                std::string form = r.message;
                form.replace(form.find("%s"), 2, "%1");
                ASSERT_NE(e.form(), nullptr);
                EXPECT_EQ(e.form(), form);
                EXPECT_EQ(e.subject(), path);
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
    } rows[] = {
        {TCompLHAArchiveType::caLHARC, limit, false},   {TCompLHAArchiveType::caLHARC, limit + 1, true},
        {TCompLHAArchiveType::caLHA, limit - 5, false}, {TCompLHAArchiveType::caLHA, limit - 4, true},
        {TCompLHAArchiveType::caLHA2, limit, false},    {TCompLHAArchiveType::caLHA2, limit + 1, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.size) + " level " + std::to_string(static_cast<int>(r.type)));
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
    EXPECT_THAT([&] { lha.Compress(); }, testing::ThrowsMessage<ECompLHAInsufficientDiskSpace>(
                                             testing::StrEq("Disk protected or full during compression")));
}