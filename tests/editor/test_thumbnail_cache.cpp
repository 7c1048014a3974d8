// SPDX-License-Identifier: MIT
// Thumbnails shared with the desktop through the freedesktop.org thumbnail cache: entries another
// program made (gdk-pixbuf-thumbnailer, with the keys a file manager adds) are used while their keys
// match, the entries written here are where and what that program's rules expect, failures are
// remembered, a cache that cannot be written changes nothing but speed, and a camera's EXIF picture
// serves when its proportions match.
#include "file_bytes.h"
#include "image_loader.h"
#include "qt_application_environment.h"
#include "small_tmpfs.h"
#include "thumbnail_cache.h"
#include "thumbnail_cache_folder.h"
#include "thumbnail_picture.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {
testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QCoreApplication>);

QByteArray run(const QString& program, const QStringList& arguments, bool* ok = nullptr) {
    QProcess process;
    process.start(program, arguments);
    const bool done = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
                      process.exitCode() == 0;
    if (ok)
        *ok = done;
    return process.readAllStandardOutput();
}

bool have(const char* program) {
    return !QStandardPaths::findExecutable(QLatin1String(program)).isEmpty();
}

QString solid(const QString& path, QSize size, QColor colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture.save(path, nullptr, 90) ? path : QString();
}

// Mostly blue, mostly red: which picture a thumbnail was made from.
bool blueish(const QImage& picture) {
    const QColor c = picture.pixelColor(picture.width() / 2, picture.height() / 2);
    return c.blue() > 150 && c.red() < 100;
}

QString entryPath(const QString& folder, const QString& picture) {
    const QByteArray uri = imaging::ThumbnailCache::fileUri(QFileInfo(picture).absoluteFilePath());
    return folder + QLatin1Char('/') + QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex() +
           ".png";
}

class SharedCache : public testing::Test {
  protected:
    // An entry made by gdk-pixbuf-thumbnailer from `drawnFrom`, with the keys of `picture` and the
    // picture's size as `recorded` (none when invalid), as a file manager's thumbnail factory stores
    // it; with an orientation other than 1, exiftool gives it an EXIF chunk that records it.
    bool entryOfAnotherProgram(const ThumbnailCacheFolder& into, const QString& picture,
                               const QString& drawnFrom, const char* folder, int size, qint64 mtime,
                               QSize recorded = {800, 600}, int orientation = 1) {
        const QString target =
            entryPath(into.thumbnails() + QLatin1Char('/') + QLatin1String(folder), picture);
        QDir().mkpath(QFileInfo(target).path());
        const QString made = dir.filePath(QStringLiteral("made.png"));
        bool ok = false;
        run(QStringLiteral("gdk-pixbuf-thumbnailer"),
            {QStringLiteral("-s"), QString::number(size), drawnFrom, made}, &ok);
        if (!ok)
            return false;
        QStringList keys{
            made, QStringLiteral("-set"), QStringLiteral("Thumb::URI"),
            // ImageMagick reads "%" as the start of an escape of its own.
            QString::fromLatin1(imaging::ThumbnailCache::fileUri(QFileInfo(picture).absoluteFilePath()))
                .replace(QLatin1Char('%'), QStringLiteral("%%")),
            QStringLiteral("-set"), QStringLiteral("Thumb::MTime"), QString::number(mtime)};
        if (recorded.isValid())
            keys << QStringLiteral("-set") << QStringLiteral("Thumb::Image::Width")
                 << QString::number(recorded.width()) << QStringLiteral("-set")
                 << QStringLiteral("Thumb::Image::Height") << QString::number(recorded.height());
        run(QStringLiteral("convert"), keys << target, &ok);
        if (ok && orientation != 1)
            run(QStringLiteral("exiftool"),
                {QStringLiteral("-q"), QStringLiteral("-overwrite_original"), QStringLiteral("-n"),
                 QStringLiteral("-Orientation=%1").arg(orientation), target},
                &ok);
        return ok;
    }

    static qint64 mtimeOf(const QString& path) { return QFileInfo(path).lastModified().toSecsSinceEpoch(); }

    void SetUp() override {
        if (!have("gdk-pixbuf-thumbnailer") || !have("convert"))
            GTEST_SKIP() << "gdk-pixbuf-thumbnailer (libgdk-pixbuf2.0-bin) or ImageMagick is missing";
        red = solid(dir.filePath(QStringLiteral("Red photo #1 é&.jpg")), {800, 600}, Qt::red);
        blue = solid(dir.filePath(QStringLiteral("blue.jpg")), {800, 600}, Qt::blue);
        ASSERT_FALSE(red.isEmpty() || blue.isEmpty());
    }

    QTemporaryDir dir;
    ThumbnailCacheFolder cache;
    QString red, blue;
};

// An entry is used when its keys match the file and it has the pixels the thumbnail takes, from
// whichever of the four sizes holds one (the largest thumbnails only from a larger entry); a wrong
// modification time, too few pixels or more than its folder's size are not. A recorded size of other
// proportions than the entry's is not believed, and the entry's own EXIF orientation turns it.
TEST_F(SharedCache, AnotherProgramsEntryIsUsedWhileItsKeysMatch) {
    const struct {
        const char* folder;
        int size;
        qint64 mtimeOffset;
        qreal scale;
        bool used;
        QSize recorded = {800, 600};
        int orientation = 1;
        QSize fitted = {64, 48};
    } rows[] = {{"normal", 128, 0, 1, true},
                {"large", 256, 0, 2, true},
                {"x-large", 512, 0, 1, true},
                {"xx-large", 1024, 0, 1, true},
                {"normal", 128, 1, 1, false},
                {"normal", 32, 0, 1, false},
                {"normal", 128, 0, 2, true},
                {"normal", 256, 0, 1, false},
                {"large", 512, 0, 1, false},
                // The largest thumbnails, 256 pixels wide, from a large entry, never a normal one.
                {"large", 256, 0, 3.2, true},
                {"normal", 128, 0, 3.2, false},
                {"normal", 128, 0, 1, true, {100, 6000}},
                {"normal", 128, 0, 1, true, {}, 6, {36, 48}}};
    for (const auto& row : rows) {
        const ThumbnailCacheFolder fresh;
        ASSERT_TRUE(entryOfAnotherProgram(fresh, red, blue, row.folder, row.size,
                                          mtimeOf(red) + row.mtimeOffset, row.recorded, row.orientation));
        const quint64 before = imaging::decodedImageCount();
        const std::optional<QImage> picture = decodeThumbnailPicture(red, row.scale);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(blueish(*picture), row.used) << row.folder << " " << row.size << " " << row.mtimeOffset;
        EXPECT_EQ(imaging::decodedImageCount() == before, row.used) << row.folder;
        EXPECT_EQ(picture->size(), (row.used ? row.fitted : QSize(64, 48)) * row.scale) << row.folder;
        EXPECT_EQ(picture->devicePixelRatio(), row.scale);
    }
}

// Qt (as file managers built on it write entries) compresses a long key, the picture's URI.
TEST_F(SharedCache, AnEntryWhoseKeysAreCompressedIsUsed) {
    QImage entry(128, 96, QImage::Format_RGB32);
    entry.fill(Qt::blue);
    const QByteArray uri = imaging::ThumbnailCache::fileUri(QFileInfo(red).absoluteFilePath());
    ASSERT_GT(uri.size(), 40) << "long enough to be compressed";
    entry.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uri));
    entry.setText(QStringLiteral("Thumb::MTime"), QString::number(mtimeOf(red)));
    const QString target = entryPath(cache.thumbnails() + QStringLiteral("/normal"), red);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(target).path()) && entry.save(target, "png"));
    ASSERT_TRUE(fileBytes(target).contains("zTXtThumb::URI"));
    const std::optional<QImage> picture = decodeThumbnailPicture(red);
    ASSERT_TRUE(picture.has_value());
    EXPECT_TRUE(blueish(*picture));
}

// The entry is where that program looks (the MD5 of the URI that gio gives the file), with the keys it
// checks, at most 128 pixels, mode 0600 in folders of mode 0700, written whole under another name
// first, and readable as a PNG by gdk-pixbuf.
TEST_F(SharedCache, OurEntryIsWhereAndWhatTheOtherProgramsExpect) {
    ASSERT_TRUE(decodeThumbnailPicture(red).has_value());
    if (have("gio")) {
        const QByteArray info = run(QStringLiteral("gio"), {QStringLiteral("info"), red});
        const qsizetype at = info.indexOf("\nuri: ");
        ASSERT_GE(at, 0);
        const QByteArray uri = info.mid(at + 6, info.indexOf('\n', at + 1) - at - 6);
        EXPECT_EQ(imaging::ThumbnailCache::fileUri(red), uri);
    }
    const QString normal = cache.thumbnails() + QStringLiteral("/normal");
    const QString entry = entryPath(normal, red);
    QImageReader reader(entry);
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << entry.toStdString();
    EXPECT_EQ(image.size(), QSize(128, 96));
    EXPECT_EQ(image.text(QStringLiteral("Thumb::URI")).toUtf8(),
              imaging::ThumbnailCache::fileUri(QFileInfo(red).absoluteFilePath()));
    EXPECT_EQ(image.text(QStringLiteral("Thumb::MTime")).toLongLong(), mtimeOf(red));
    EXPECT_EQ(image.text(QStringLiteral("Thumb::Image::Width")), QStringLiteral("800"));
    EXPECT_EQ(QDir(normal).entryList(QDir::Files), QStringList{QFileInfo(entry).fileName()});
    for (const auto& [path, mode] : {std::pair{entry, 0600}, {normal, 0700}, {cache.thumbnails(), 0700}}) {
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, mode_t(mode)) << path.toStdString();
    }
    bool ok = false;
    run(QStringLiteral("gdk-pixbuf-thumbnailer"), {entry, dir.filePath(QStringLiteral("again.png"))}, &ok);
    EXPECT_TRUE(ok);
    // The second reading takes the entry.
    const quint64 before = imaging::decodedImageCount();
    EXPECT_TRUE(decodeThumbnailPicture(red).has_value());
    EXPECT_EQ(imaging::decodedImageCount(), before);
}

// A file that is no picture is tried once per modification, remembered under this version's name; a
// picture refused by a limit of the program is no fault of its own and is tried again; the pictures
// inside the cache itself get no entries.
TEST_F(SharedCache, FailuresAreRememberedAndTheCacheIsNotThumbnailed) {
    const QString broken = dir.filePath(QStringLiteral("broken.jpg"));
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xD8\xFF not really a picture");
    }
    quint64 before = imaging::decodedImageCount();
    EXPECT_FALSE(decodeThumbnailPicture(broken).has_value());
    EXPECT_EQ(imaging::decodedImageCount(), before + 1);
    const QString failures = cache.thumbnails() + QLatin1Char('/') + imaging::ThumbnailCache::failureFolder();
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("/fail/verasco-[0-9]+\\.[0-9.]+$")).match(failures).hasMatch())
        << failures.toStdString();
    EXPECT_TRUE(QFile::exists(entryPath(failures, broken)));
    EXPECT_FALSE(decodeThumbnailPicture(broken).has_value());
    EXPECT_EQ(imaging::decodedImageCount(), before + 1) << "not tried again";
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    }
    EXPECT_FALSE(decodeThumbnailPicture(broken).has_value());
    EXPECT_EQ(imaging::decodedImageCount(), before + 2) << "tried again once changed";

    const QString huge = dir.filePath(QStringLiteral("huge.jpg"));
    {
        QFile source(red);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        QByteArray jpeg = source.readAll();
        const qsizetype frame = jpeg.indexOf("\xFF\xC0");
        ASSERT_GT(frame, 0);
        jpeg.replace(frame + 5, 4, QByteArray("\x40\x00\x40\x00", 4)); // 16384 x 16384
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size());
    }
    before = imaging::decodedImageCount();
    EXPECT_FALSE(decodeThumbnailPicture(huge).has_value());
    EXPECT_FALSE(decodeThumbnailPicture(huge).has_value());
    EXPECT_EQ(imaging::decodedImageCount(), before + 2) << "tried again";
    EXPECT_FALSE(QFile::exists(entryPath(failures, huge)));

    const QString inside = cache.thumbnails() + QStringLiteral("/normal/picture.jpg");
    QDir().mkpath(QFileInfo(inside).path());
    ASSERT_TRUE(QFile::copy(red, inside));
    ASSERT_TRUE(decodeThumbnailPicture(inside).has_value());
    EXPECT_FALSE(QFile::exists(entryPath(cache.thumbnails() + QStringLiteral("/normal"), inside)));
}

// A cache that refuses writes (read-only for root too) gives the same thumbnails, decoded each time.
TEST_F(SharedCache, AReadOnlyCacheChangesNothingButSpeed) {
    const std::optional<QImage> writable = decodeThumbnailPicture(red);
    const ThumbnailCacheFolder readOnly;
    QDir().mkpath(readOnly.path());
    SmallTmpfs disk(readOnly.path().toStdString());
    if (!disk.mounted() || !disk.makeReadOnly())
        GTEST_SKIP() << "a read-only folder needs root to mount it";
    for (int reading = 0; reading < 2; ++reading) {
        const quint64 before = imaging::decodedImageCount();
        const std::optional<QImage> picture = decodeThumbnailPicture(red);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(*picture, *writable);
        EXPECT_EQ(imaging::decodedImageCount(), before + 1);
    }
    EXPECT_TRUE(QDir(readOnly.path()).isEmpty());
}

// A camera's small picture serves while its proportions are the picture's: one with bars (another
// proportion) does not, nor one too large for a thumbnail (a few kilobytes that would decode to a
// large picture at every listing), and the picture is decoded instead. It is turned as the picture is.
TEST_F(SharedCache, AMatchingExifPictureServesAJpegWithoutAnEntry) {
    if (!have("exiftool"))
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
    const struct {
        QSize picture;
        int orientation;
        bool used;
        QSize fitted;
        QSize thumbnail = {160, 120};
    } rows[] = {{{1600, 1200}, 1, true, {64, 48}},
                {{1600, 1200}, 6, true, {36, 48}},
                {{1600, 900}, 1, false, {64, 36}},
                {{1600, 1200}, 1, false, {64, 48}, {800, 600}}};
    int n = 0;
    for (const auto& row : rows) {
        const QString photo =
            solid(dir.filePath(QStringLiteral("camera%1.jpg").arg(n++)), row.picture, Qt::red);
        const QString small =
            solid(dir.filePath(QStringLiteral("small%1.jpg").arg(n)), row.thumbnail, Qt::blue);
        bool ok = false;
        run(QStringLiteral("exiftool"),
            {QStringLiteral("-q"), QStringLiteral("-overwrite_original"), QStringLiteral("-n"),
             QStringLiteral("-Orientation=%1").arg(row.orientation),
             QStringLiteral("-ThumbnailImage<=") + small, photo},
            &ok);
        ASSERT_TRUE(ok);
        const std::optional<QImage> picture = decodeThumbnailPicture(photo);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(blueish(*picture), row.used) << n;
        EXPECT_EQ(picture->size(), row.fitted) << n;
        EXPECT_EQ(QFile::exists(entryPath(cache.thumbnails() + QStringLiteral("/normal"), photo)), !row.used)
            << n;
    }
}

} // namespace
