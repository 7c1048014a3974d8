// SPDX-License-Identifier: MIT
// The show file: header and records as bytes, the reader's defences against hostile headers, the
// writer's all-or-nothing replacement, and the repair of paths after a show moved.

#include "file_bytes.h"
#include "show_file.h"
#include "work_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "guarded_child.h"
#include "small_tmpfs.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <optional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

constexpr uid_t NobodyId = 65534;

// Little-endian 32-bit value written by hand, independent of the program's own encoder.
void putInt32(QByteArray& bytes, int offset, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

QByteArray header(const QByteArray& signature, std::int32_t count, std::int32_t recordSize = 824) {
    QByteArray h = signature.leftJustified(15, ' ', true);
    h.resize(23);
    putInt32(h, 15, count);
    putInt32(h, 19, recordSize);
    return h;
}

// One record laid out from the field offsets of the show file.
struct RecordBytes {
    QByteArray bytes = QByteArray(824, '\0');

    RecordBytes& shortString(int offset, const QByteArray& text) {
        bytes[offset] = static_cast<char>(text.size());
        bytes.replace(offset + 1, text.size(), text);
        return *this;
    }
    RecordBytes& byte(int offset, std::uint8_t value) {
        bytes[offset] = static_cast<char>(value);
        return *this;
    }
    RecordBytes& int32(int offset, std::int32_t value) {
        putInt32(bytes, offset, value);
        return *this;
    }
    RecordBytes& image(const QByteArray& path) { return shortString(2, path); }
    RecordBytes& audio(const QByteArray& path) { return shortString(258, path); }
};

QByteArray showBytes(int count, int recordsPresent, std::int32_t recordSize = 824) {
    QByteArray bytes = header("MORVANT rev1.00", count, recordSize);
    for (int i = 0; i < recordsPresent; ++i)
        bytes += RecordBytes().image("c:\\pics\\" + QByteArray::number(i) + ".jpg").byte(514, 7).bytes;
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

std::string image(const ShowDocument& doc, int i) {
    return doc.slide(i).ImageFile.str();
}

// n image slides with distinct values in every field.
std::vector<TSlideRecord> slides(int n) {
    std::vector<TSlideRecord> records(std::size_t(n), ShowDocument().freshRecord());
    for (int i = 0; i < n; ++i) {
        TSlideRecord& r = records[std::size_t(i)];
        r.ImageFile.assign("/pictures/slide" + std::to_string(i) + ".jpg");
        r.AudioFile.assign(i % 2 ? "/music/tune.wav" : "");
        r.Text.assign("caption " + std::to_string(i));
        r.Delay = static_cast<std::uint8_t>(i + 1);
        r.HoldForAudio = i % 2;
        r.ShowText = 1;
        r.FontColor = 0x00102030 + i;
        r.FontSize = -12 - i;
        r.FontStyle = FontBold | FontUnderline;
    }
    return records;
}

void fillShow(ShowDocument& doc, int n) {
    doc.load(slides(n));
}

TEST(ShowFileRead, ReadsEveryFieldOfAFileBuiltByteByByte) {
    RecordBytes first;
    first.byte(0, 0xAA).byte(1, 0xBB);
    first.image("/shows/flower.jpg").audio("/shows/birds.wav");
    first.bytes[2 + 1 + 17] = 'Z'; // an undefined byte behind the image path
    first.byte(514, 12).byte(515, 1).byte(516, 2).byte(517, 0x11).byte(519, 0x13);
    first.shortString(520, "Arial").byte(553, 0x21).byte(555, 0x23);
    first.int32(556, 0x800000FF).int32(560, 14).byte(564, FontItalic | FontStrikeOut).byte(567, 0x33);
    first.shortString(568, "At the lake");
    RecordBytes second;
    second.image("BLANK").byte(514, 255);
    const QByteArray file = header("MORVANT rev1.00", 2) + first.bytes + second.bytes;

    const auto result = ShowFile::decode(file);
    ShowDocument doc;
    doc.load(result.records);

    ASSERT_TRUE(result.ok());
    ASSERT_EQ(doc.SlideCount, 2);
    const TSlideRecord& r = doc.slide(0);
    EXPECT_EQ(r.ImageFile.str(), "/shows/flower.jpg");
    EXPECT_EQ(r.AudioFile.str(), "/shows/birds.wav");
    EXPECT_EQ(r.Delay, 12);
    EXPECT_EQ(r.HoldForAudio, 1);
    EXPECT_EQ(r.ShowText, 2);
    EXPECT_EQ(r.FontName.str(), "Arial");
    EXPECT_EQ(static_cast<std::uint32_t>(r.FontColor), 0x800000FFu);
    EXPECT_EQ(r.FontSize, 14);
    EXPECT_EQ(r.FontStyle, FontItalic | FontStrikeOut);
    EXPECT_EQ(r.Text.str(), "At the lake");
    EXPECT_TRUE(doc.isBlank(1));
    EXPECT_EQ(doc.slide(1).Delay, 255);
    // Reserved bytes come back out unchanged; the bytes behind a text, undefined, as zeros.
    QByteArray expected = file;
    expected[23 + 2 + 1 + 17] = '\0';
    EXPECT_EQ(ShowFile::encode(doc), expected);
}

// A field that held a longer text before passes none of it on to the file.
TEST(ShowFileWrite, BytesBehindEachTextAreZeros) {
    std::vector<TSlideRecord> records = slides(1);
    TSlideRecord& r = records[0];
    r.ImageFile.assign("/a/very/long/folder/name/of/pictures/first.jpg");
    r.ImageFile.assign("/b.jpg");
    r.AudioFile.assign("/music/a long tune.wav");
    r.AudioFile.assign("");
    r.FontName.assign("Some Long Font Name");
    r.FontName.assign("Arial");
    r.Text.assign("a caption that was longer");
    r.Text.assign("short");
    ShowDocument doc;
    doc.load(records);

    const QByteArray record = ShowFile::encode(doc).mid(23);

    for (const auto& [offset, capacity, text] :
         {std::tuple{2, 255, QByteArray("/b.jpg")}, std::tuple{258, 255, QByteArray()},
          std::tuple{520, 32, QByteArray("Arial")}, std::tuple{568, 255, QByteArray("short")}}) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(record.mid(offset, 1 + capacity),
                  char(text.size()) + text + QByteArray(capacity - text.size(), '\0'));
    }
}

TEST(ShowFileWrite, ThreeSlidesMake2495BytesThatReadBackAsTheSameRecords) {
    std::vector<TSlideRecord> records = slides(3);
    records[2].reserved3[1] = 0x5A;
    ShowDocument doc;
    doc.load(records);
    QTemporaryDir dir;
    const QString path = dir.filePath("Holiday.VRS");

    const auto written = ShowFile::write(path, doc);
    ShowDocument back;
    const auto read = ShowFile::read(path, back); // under the name as given, case kept

    ASSERT_TRUE(written.ok) << written.errorString.toStdString();
    ASSERT_TRUE(read.ok());
    const QByteArray bytes = fileBytes(path);
    ASSERT_EQ(bytes.size(), 2495);
    EXPECT_EQ(bytes.left(23), header("MORVANT rev1.00", 3));
    EXPECT_EQ(bytes.mid(23 + 824 + 2, 21), QByteArray("\x14/pictures/slide1.jpg"));
    ASSERT_EQ(back.SlideCount, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(std::memcmp(&back.slide(i), &doc.slide(i), sizeof(TSlideRecord)), 0) << "slide " << i;
    EXPECT_EQ(ShowFile::encode(back), bytes);
}

// A header of 700 slides reads as 500; an empty show is a valid one.
TEST(ShowFileRead, TheHeaderCountUpTo500IsTheShowsLength) {
    QTemporaryDir dir;
    for (const auto& [count, present, read] : {std::tuple{700, 500, 500}, std::tuple{0, 0, 0}}) {
        const QString path = dir.filePath("show.vrs");
        writeFile(path, showBytes(count, present));
        ShowDocument doc;
        fillShow(doc, 2);

        ASSERT_TRUE(ShowFile::read(path, doc).ok()) << count;
        EXPECT_EQ(doc.SlideCount, read) << count;
        if (read > 0) {
            EXPECT_EQ(image(doc, read - 1), "c:\\pics\\499.jpg");
        }
    }
}

struct SignatureCase {
    const char* name;
    QByteArray first15;
    bool accepted;
};

class ShowFileSignature : public testing::TestWithParam<SignatureCase> {};

TEST_P(ShowFileSignature, MorvantAnywhereInTheFirst15BytesCaseSensitive) {
    const SignatureCase& c = GetParam();
    QByteArray bytes = c.first15;
    bytes.resize(15);
    bytes += header("", 1).mid(15) + RecordBytes().image("BLANK").bytes;
    QTemporaryDir dir;
    writeFile(dir.filePath("show.vrs"), bytes);
    ShowDocument doc;
    fillShow(doc, 2);

    const auto result = ShowFile::read(dir.filePath("show.vrs"), doc);

    if (c.accepted) {
        EXPECT_TRUE(result.ok());
        EXPECT_EQ(doc.SlideCount, 1);
    } else {
        EXPECT_EQ(result.status, ShowFile::ReadStatus::InvalidSignature);
        EXPECT_TRUE(result.invalid());
        EXPECT_EQ(doc.SlideCount, 2) << "an invalid file leaves the show as it was";
        EXPECT_EQ(image(doc, 0), "/pictures/slide0.jpg");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ShowFileSignature,
                         testing::Values(SignatureCase{"ours", "MORVANT rev1.00", true},
                                         SignatureCase{"otherVersion", "MORVANT rev9.99", true},
                                         SignatureCase{"atTheEnd", "12345678MORVANT", true},
                                         SignatureCase{"cutAtTheEnd", "123456789MORVAN", false},
                                         SignatureCase{"lowerCase", "morvant rev1.00", false},
                                         SignatureCase{"mixedCase", "Morvant rev1.00", false},
                                         SignatureCase{"zeros", QByteArray(15, '\0'), false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct HostileCase {
    const char* name;
    QByteArray bytes;
};

class ShowFileHostileHeader : public testing::TestWithParam<HostileCase> {};

TEST_P(ShowFileHostileHeader, IsInvalidAndLeavesAnEmptyShow) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.vrs");
    writeFile(path, GetParam().bytes);
    ShowDocument doc;
    fillShow(doc, 4);

    const auto result = ShowFile::read(path, doc);

    EXPECT_EQ(result.status, ShowFile::ReadStatus::InvalidStructure);
    EXPECT_TRUE(result.invalid());
    EXPECT_EQ(doc.SlideCount, 0);
    EXPECT_TRUE(result.records.empty());
    EXPECT_EQ(ShowFile::decode(GetParam().bytes).status, ShowFile::ReadStatus::InvalidStructure);
}

INSTANTIATE_TEST_SUITE_P(Rows, ShowFileHostileHeader,
                         testing::Values(HostileCase{"negativeCount", showBytes(-1, 1)},
                                         HostileCase{"hugeNegativeCount", showBytes(INT32_MIN, 0)},
                                         HostileCase{"recordSizeZero", showBytes(1, 1, 0)},
                                         HostileCase{"recordSizeSmaller", showBytes(2, 2, 823)},
                                         HostileCase{"recordSizeLarger", showBytes(1, 2, 1648)},
                                         HostileCase{"negativeRecordSize", showBytes(1, 1, -824)},
                                         HostileCase{"recordsMissing", showBytes(3, 2)},
                                         HostileCase{"lastRecordCut", showBytes(2, 2).chopped(1)},
                                         HostileCase{"headerCut", showBytes(0, 0).left(20)},
                                         HostileCase{"signatureOnly", QByteArray("MORVANT")}),
                         [](const auto& info) { return std::string(info.param.name); });

// A local socket bound to a path, as a running program leaves one in a folder.
void makeSocketFile(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

// Only a regular file is read as a show: nothing else blocks the program, eats its memory or is
// taken for a show, and the show in memory stays as it was.
TEST(ShowFileRead, WhatIsNoRegularFileIsAnIoErrorAndLeavesTheShow) {
    QTemporaryDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.vrs")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero.vrs")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.vrs"));
    makeSocketFile(dir.filePath("socket.vrs"));
    for (const char* name : {"nothing.vrs", "pipe.vrs", "zero.vrs", "folder.vrs", "socket.vrs"}) {
        const QString path = dir.filePath(name);
        EXPECT_EQ(inGuardedChild([&] {
                      ShowDocument doc;
                      fillShow(doc, 2);
                      const auto result = ShowFile::read(path, doc);
                      return result.status == ShowFile::ReadStatus::IoError &&
                             !result.errorString.isEmpty() && doc.SlideCount == 2 &&
                             !ShowFile::isShowFile(path);
                  }),
                  "")
            << name;
    }
}

TEST(ShowFileWrite, AFolderThatCannotHoldTheFileReportsWhyAndCreatesNothing) {
    QTemporaryDir dir;
    writeFile(dir.filePath("plain.txt"), "not a folder");
    ShowDocument doc;
    fillShow(doc, 1);

    for (const QString& path : {dir.filePath("plain.txt/show.vrs"), dir.filePath("gone/show.vrs")}) {
        const auto result = ShowFile::write(path, doc);
        EXPECT_FALSE(result.ok) << path.toStdString();
        EXPECT_FALSE(result.errorString.isEmpty());
        EXPECT_FALSE(result.folderRefused);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"plain.txt"});
}

enum class Obstacle { FullDisk, FileSizeLimit, ReadOnlyDisk, LockedFolder, LockedFile };

// What stands in the way of a save, set up over an earlier show file in `folder`; false when this
// machine cannot set it up (mounting needs root).
bool setUpObstacle(Obstacle obstacle, const QString& folder, const QString& show,
                   std::optional<SmallTmpfs>& disk, ChildLimits& limits) {
    const bool root = ::geteuid() == 0;
    // Whoever saves may reach the folder.
    const QFile::Permissions reachable =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    if (!QFile::setPermissions(QFileInfo(folder).path(), reachable))
        return false;
    switch (obstacle) {
    case Obstacle::FullDisk:
        return disk->mounted();
    case Obstacle::FileSizeLimit:
        limits.fileSize = 4000;
        return true;
    case Obstacle::ReadOnlyDisk:
        return disk->makeReadOnly();
    case Obstacle::LockedFolder:
        // The saving user may write the show, not the folder it lies in.
        limits.asNobody = true;
        if (root && ::chown(QFile::encodeName(show).constData(), NobodyId, NobodyId) != 0)
            return false;
        return QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::ExeOther |
                                                 (root ? QFile::WriteOwner : QFile::Permissions()));
    case Obstacle::LockedFile:
        limits.asNobody = true;
        return QFile::setPermissions(show, QFile::ReadOwner | QFile::ReadOther) &&
               QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                 QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
    }
    return false;
}

// A save either replaces the file whole or leaves it untouched, and says why it failed in the
// system's words; where the folder lets no new file be made, it says so, and the earlier file is
// never written in place (a full disk or a kill would leave it damaged).
TEST(ShowFileWrite, AFailedWriteSaysWhyAndLeavesTheEarlierFileWhole) {
    const struct {
        const char* what;
        Obstacle obstacle;
        int reason; // the system's error, or 0 for a folder that refuses new files
    } rows[] = {
        {"full disk", Obstacle::FullDisk, ENOSPC},
        {"file-size limit", Obstacle::FileSizeLimit, EFBIG},
        {"read-only disk", Obstacle::ReadOnlyDisk, 0},
        {"folder without write permission", Obstacle::LockedFolder, 0},
        {"file without write permission", Obstacle::LockedFile, EACCES},
    };
    for (const auto& row : rows) {
        QTemporaryDir dir;
        const QString folder = dir.filePath("shows");
        ASSERT_TRUE(QDir().mkdir(folder));
        std::optional<SmallTmpfs> disk;
        if (row.obstacle == Obstacle::FullDisk || row.obstacle == Obstacle::ReadOnlyDisk)
            disk.emplace(folder.toStdString());
        const QString path = folder + "/show.vrs";
        ShowDocument doc;
        fillShow(doc, 3);
        ChildLimits limits;
        if (!ShowFile::write(path, doc).ok || !setUpObstacle(row.obstacle, folder, path, disk, limits)) {
            std::cout << "[ SKIPPED  ] " << row.what << ": cannot be set up here (mounting needs root)\n";
            continue;
        }
        const QByteArray earlier = fileBytes(path);
        fillShow(doc, 100); // 82 KB: more than the small disk holds

        EXPECT_EQ(inGuardedChild(
                      [&] {
                          const auto result = ShowFile::write(path, doc);
                          if (row.reason == 0)
                              return !result.ok && result.folderRefused;
                          return !result.ok && !result.folderRefused &&
                                 result.errorString == QString::fromLocal8Bit(std::strerror(row.reason));
                      },
                      limits),
                  "")
            << row.what;
        EXPECT_EQ(fileBytes(path), earlier) << row.what;
        EXPECT_EQ(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                  QStringList{"show.vrs"})
            << row.what;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

// A save ended while it writes (here by the file-size limit's signal, which nothing can catch) leaves
// its work beside the show; the next save there removes it, and keeps the work of a save that still
// runs and every other file.
TEST(ShowFileWrite, WorkLeftByAKilledSaveGoesWithTheNextSave) {
    QTemporaryDir dir;
    const QString path = dir.filePath("show.vrs");
    ShowDocument doc;
    fillShow(doc, 100);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit noCore{0, 0}, fileSize{4096, 4096};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        std::signal(SIGXFSZ, SIG_DFL);
        ShowFile::write(path, doc);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    const auto entries = [&dir] {
        QStringList names =
            QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
        names.sort();
        return names;
    };
    const QStringList left = entries();
    ASSERT_EQ(left.size(), 1);
    EXPECT_TRUE(left[0].startsWith(".show.vrs.") && left[0].endsWith(".part")) << left[0].toStdString();

    QByteArray running;
    imaging::WorkLock lock;
    const int fd = imaging::createWorkFile(QFile::encodeName(dir.filePath("other.vrs")), 0666, running, lock);
    ASSERT_GE(fd, 0);
    ::close(fd);
    // The user's own files, named like work or holding a file named like a work folder's mark.
    writeFile(dir.filePath("show.vrs.1a2b3c"), "mine");
    writeFile(dir.filePath(".notes.txt.0badcafe.part"), "mine");
    QDir(dir.path()).mkdir("Photos");
    writeFile(dir.filePath("Photos/.verasco-work"), "mine");
    ASSERT_TRUE(ShowFile::write(path, doc).ok);
    QStringList expected{QFileInfo(QFile::decodeName(running)).fileName(), ".notes.txt.0badcafe.part",
                         "Photos", "show.vrs", "show.vrs.1a2b3c"};
    expected.sort();
    EXPECT_EQ(entries(), expected);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("Photos/.verasco-work")));
}

class ShowFileRepair : public testing::Test {
  protected:
    QTemporaryDir dir;
    std::vector<TSlideRecord> records;
    ShowDocument doc;

    QString put(const QString& relative) {
        const QString path = dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        writeFile(path, "x");
        return path;
    }
    // A slide read from a show file, its paths stored as these bytes.
    void slide(const std::string& imageFile, const std::string& audioFile = {}) {
        TSlideRecord& r = records.emplace_back(doc.freshRecord());
        r.ImageFile.assign(imageFile);
        r.AudioFile.assign(audioFile);
    }
    void slideOf(const QString& imagePath, const QString& audioPath = {}) {
        slide(QFile::encodeName(imagePath).toStdString(), QFile::encodeName(audioPath).toStdString());
    }
    ShowFile::RepairOutcome repair(int i) {
        return ShowFile::repairSlidePaths(records[std::size_t(i)], dir.path() + "/");
    }
    std::string image(int i) const { return records[std::size_t(i)].ImageFile.str(); }
    std::string audio(int i) const { return records[std::size_t(i)].AudioFile.str(); }
    // The repaired slides as the show.
    const ShowDocument& show() {
        doc.load(records);
        return doc;
    }
};

TEST_F(ShowFileRepair, FilesAreFoundWithoutRegardToCaseOrNextToAShowSavedOnWindows) {
    const QString inFolders = put("Pictures/Summer/Flower.JPG");
    const QString besideShow = put("Storm.Jpg");
    const QString sound = put("birds.wav");
    const QString copied = put("tulip.png"); // the show was copied here from a folder now gone
    slideOf((dir.path() + "/pictures/SUMMER/flower.jpg").toLower());
    slide("D:\\OLD\\STORM.JPG", "c:\\shows\\birds.wav");
    slide("/home/ann/gone/tulip.png");

    const auto first = repair(0);
    const auto second = repair(1);
    const auto third = repair(2);

    EXPECT_TRUE(first.imageMoved && second.imageMoved && second.audioMoved && third.imageMoved);
    EXPECT_EQ(image(0), inFolders.toStdString());
    EXPECT_EQ(image(1), besideShow.toStdString());
    EXPECT_EQ(image(2), copied.toStdString());
    EXPECT_EQ(audio(1), sound.toStdString());
    EXPECT_TRUE(ShowFile::audioFileExists(show(), 1));
}

TEST_F(ShowFileRepair, AccentedNamesOfAShowSavedOnWindowsAreFoundBesideIt) {
    const QString picture = put(QStringLiteral("M\u00FCller.jpg"));
    const QString sound = put(QStringLiteral("Ch\u00E2teau.wav"));
    slide("C:\\Bilder\\M\xFCller.jpg", "C:\\Bilder\\Ch\xE2teau.wav");

    const auto outcome = repair(0);

    EXPECT_TRUE(outcome.imageMoved && outcome.audioMoved);
    EXPECT_EQ(show().imagePath(0), picture);
    EXPECT_EQ(show().audioPath(0), sound);
    EXPECT_EQ(image(0), picture.toUtf8().toStdString()) << "written back as UTF-8";
}

TEST_F(ShowFileRepair, AFileFoundUnderAPathTooLongToStoreLeavesThePathAsItWas) {
    // Under 255 characters, but more than 255 bytes once stored.
    const QString found = put(QString(120, QChar(0xE9)) + QStringLiteral("/flower.jpg"));
    ASSERT_GT(found.toUtf8().size(), 255);
    slide("C:\\old\\flower.jpg");

    const auto outcome = ShowFile::repairSlidePaths(records[0], ShowFile::folderOf(found));

    EXPECT_FALSE(outcome.imageMoved || outcome.imageMissing);
    EXPECT_EQ(outcome.tooLong, found);
    EXPECT_EQ(image(0), "C:\\old\\flower.jpg");
}

// An unplugged drive or a renamed folder loses nothing: the paths stay, also bytes of another code
// page; only a slide without any path becomes blank.
TEST_F(ShowFileRepair, FilesFoundNowhereKeepTheirPaths) {
    slide("/no/such/place/flower.jpg", "/no/such/place/tune.wav");
    slide("D:\\Caf\xe9\\cr\xe8me.jpg");
    slide("");

    const auto outcome = repair(0);
    const auto windowsPath = repair(1);
    const auto noPath = repair(2);

    EXPECT_TRUE(outcome.imageMissing && windowsPath.imageMissing);
    EXPECT_FALSE(outcome.imageMoved || outcome.audioMoved || noPath.imageMissing);
    EXPECT_EQ(image(0), "/no/such/place/flower.jpg");
    EXPECT_TRUE(show().isMissing(0));
    EXPECT_EQ(audio(0), "/no/such/place/tune.wav");
    EXPECT_FALSE(ShowFile::audioFileExists(show(), 0));
    EXPECT_EQ(image(1), "D:\\Caf\xe9\\cr\xe8me.jpg");
    EXPECT_EQ(image(2), "BLANK");
    EXPECT_FALSE(show().isMissing(2));
}

TEST_F(ShowFileRepair, PathsThatStillNameFilesAndBlankSlidesStayAsTheyAre) {
    const QString picture = put("a/Flower.jpg");
    put("blank"); // a file of that name beside the show does not turn a blank slide into a picture
    slideOf(picture, QStringLiteral("   "));
    slide("blank");

    const auto first = repair(0);
    const auto second = repair(1);

    EXPECT_FALSE(first.imageMoved || first.imageMissing || first.audioMoved);
    EXPECT_FALSE(second.imageMoved || second.imageMissing);
    EXPECT_EQ(image(0), picture.toStdString());
    EXPECT_EQ(audio(0), "   ");
    EXPECT_EQ(image(1), "blank");
}

TEST(ShowFilePaths, FolderFileNameAndExtension) {
    struct Row {
        QString path, folder, name, extension, withExtension;
    };
    const Row rows[] = {
        {"/home/ann/shows/trip.vrs", "/home/ann/shows/", "trip.vrs", ".vrs", "/home/ann/shows/trip.vrs"},
        {"C:\\shows\\Trip.VRS", "C:\\shows\\", "Trip.VRS", ".vrs", "C:\\shows\\Trip.VRS"},
        {"/home/ann/my.shows/trip", "/home/ann/my.shows/", "trip", "", "/home/ann/my.shows/trip.vrs"},
        {"C:\\j.smith\\trip.2024.VRS", "C:\\j.smith\\", "trip.2024.VRS", ".vrs",
         "C:\\j.smith\\trip.2024.VRS"},
        {"/home/ann/.local/trip", "/home/ann/.local/", "trip", "", "/home/ann/.local/trip.vrs"},
        {"/home/ann/trip", "/home/ann/", "trip", "", "/home/ann/trip.vrs"},
        {"trip.txt", "", "trip.txt", ".txt", "trip.txt"},
        {"d:/mixed\\path/x.jpg", "d:/mixed\\path/", "x.jpg", ".jpg", "d:/mixed\\path/x.jpg"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        EXPECT_EQ(ShowFile::folderOf(row.path), row.folder);
        EXPECT_EQ(ShowFile::fileNamePart(row.path), row.name);
        EXPECT_EQ(ShowFile::nameExtension(row.path), row.extension);
        EXPECT_EQ(ShowFile::withShowExtension(row.path), row.withExtension);
    }
    EXPECT_EQ(ShowFile::readingStatusText(7, 12), "Read 7 of 12...");
}

} // namespace
