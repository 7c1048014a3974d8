// SPDX-License-Identifier: MIT
#include "show_file.h"

#include "plain_files.h"
#include "stored_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace ShowFile {
namespace {

bool hasSignature(const QByteArray& bytes) {
    return bytes.left(SignatureSize).contains("MORVANT");
}

ReadResult failure(ReadStatus status, const QString& reason = {}) {
    return {status, reason, {}};
}

std::int32_t announcedCount(const QByteArray& header) {
    return qFromLittleEndian<std::int32_t>(header.constData() + SignatureSize);
}

// Checks the header and returns the number of records to read, or -1 when the header is unusable.
int recordsAnnounced(const QByteArray& header) {
    if (header.size() < HeaderSize)
        return -1;
    const std::int32_t count = announcedCount(header);
    const std::int32_t size = qFromLittleEndian<std::int32_t>(header.constData() + SignatureSize + 4);
    if (count < 0 || size != RecordSize)
        return -1;
    return std::min<std::int32_t>(count, ShowDocument::MaxSlides);
}

// A stored path that still names a file, taken as it is. A relative path would depend on the
// working directory of the moment, so it is looked for next to the show instead.
bool namesFile(const QString& path) {
    return QDir::isAbsolutePath(path) && QFileInfo(path).isFile();
}

// Where a moved file is now: the same path in another case, or its file name in the show's folder.
QString locateMoved(const QString& stored, const QString& showFolder) {
    if (QString found = resolveCaseInsensitive(stored); !found.isEmpty())
        return found;
    const QString name = fileNamePart(stored);
    if (name.isEmpty())
        return {};
    return resolveCaseInsensitive(QFileInfo(showFolder + name).absoluteFilePath());
}

int lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

// Points a stored path that names no file at the moved file. A file found whose path is too
// long to be stored is named in the outcome, and the field keeps its old path.
bool repairPath(ShortString<StoredPath::Capacity>& field, const QString& showFolder, RepairOutcome& outcome) {
    const QString stored = StoredPath::of(field);
    if (namesFile(stored))
        return true;
    const QString found = locateMoved(stored, showFolder);
    if (found.isEmpty())
        return false;
    if (StoredPath::assign(field, found))
        return true;
    outcome.tooLong = found;
    return true;
}

// The bytes of the extension block after the records, never more than a block may hold; nothing
// after a show of more records than are read.
QByteArray readExtension(QFile& file, const QByteArray& read) {
    if (announcedCount(read) > ShowDocument::MaxSlides)
        return {};
    QByteArray block = file.read(ShowExtension::PrefixSize);
    const qint64 length = ShowExtension::announcedLength(block);
    if (length > 0 && length <= ShowExtension::MaxBytes)
        block += file.read(length);
    return block;
}

} // namespace

QByteArray encode(const ShowDocument& doc) {
    const int count = std::clamp(doc.SlideCount, 0, ShowDocument::MaxSlides);
    QByteArray bytes(HeaderSize + count * RecordSize, '\0');
    char* out = bytes.data();
    std::memcpy(out, Signature, SignatureSize);
    qToLittleEndian<std::int32_t>(count, out + SignatureSize);
    qToLittleEndian<std::int32_t>(RecordSize, out + SignatureSize + 4);
    std::vector<QJsonObject> extras;
    extras.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        SlideRecordBytes::encode(doc.slide(i), out + HeaderSize + i * RecordSize);
        extras.push_back(doc.extra(i));
    }
    return bytes + ShowExtension::encode(doc.showData(), extras);
}

ReadResult decode(const QByteArray& bytes) {
    if (!hasSignature(bytes))
        return failure(ReadStatus::InvalidSignature);
    const int count = recordsAnnounced(bytes);
    if (count < 0 || bytes.size() < HeaderSize + qsizetype(count) * RecordSize)
        return failure(ReadStatus::InvalidStructure);
    ReadResult result;
    result.records.resize(std::size_t(count));
    for (int i = 0; i < count; ++i)
        SlideRecordBytes::decode(bytes.constData() + HeaderSize + i * RecordSize, result.records[i]);
    // A show of more slides than are read was not written here: what follows its records is not read.
    if (announcedCount(bytes) == count)
        result.extension = ShowExtension::decode(
            QByteArrayView(bytes).sliced(HeaderSize + qsizetype(count) * RecordSize), count);
    return result;
}

bool isShowFile(const QString& path) {
    QFile file;
    return imaging::openRegularFile(file, path) && hasSignature(file.read(SignatureSize));
}

ReadResult read(const QString& path) {
    QFile file;
    QString reason;
    if (!imaging::openRegularFile(file, path, &reason))
        return failure(ReadStatus::IoError, reason);
    QByteArray bytes = file.read(HeaderSize);
    if (file.error() != QFileDevice::NoError)
        return failure(ReadStatus::IoError, file.errorString());
    if (!hasSignature(bytes))
        return failure(ReadStatus::InvalidSignature);
    const int count = recordsAnnounced(bytes);
    if (count < 0)
        return failure(ReadStatus::InvalidStructure);
    // Only the records that will be used are read, so a hostile count costs nothing.
    bytes += file.read(qint64(count) * RecordSize);
    if (file.error() != QFileDevice::NoError)
        return failure(ReadStatus::IoError, file.errorString());
    bytes += readExtension(file, bytes);
    if (file.error() != QFileDevice::NoError)
        return failure(ReadStatus::IoError, file.errorString());
    return decode(bytes);
}

ReadResult read(const QString& path, ShowDocument& doc) {
    ReadResult result = read(path);
    if (result.ok())
        doc.load(result.records, result.extension.show, result.extension.slides);
    else if (result.status == ReadStatus::InvalidStructure)
        doc.clear();
    return result;
}

WriteResult write(const QString& path, const ShowDocument& doc) {
    const imaging::FileWrite written = imaging::writeWholeFile(path, encode(doc));
    return {written.ok, written.error, written.folderRefused};
}

QString folderOf(const QString& showPath) {
    return showPath.left(lastSeparator(showPath) + 1);
}

QString fileNamePart(const QString& storedPath) {
    return storedPath.mid(lastSeparator(storedPath) + 1);
}

QString resolveCaseInsensitive(const QString& path, PathKind kind) {
    if (!QDir::isAbsolutePath(path))
        return {};
    const bool folder = kind == PathKind::Folder;
    const auto exists = [folder](const QString& p) {
        return folder ? QFileInfo(p).isDir() : QFileInfo(p).isFile();
    };
    if (exists(path))
        return path;
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    // The root ("/" here, a drive such as "C:/" on Windows) is taken as it is.
    QString current = clean.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : parts.takeFirst() + '/';
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const QString exact = current + parts[i];
        QString next;
        const bool wantFile = last && !folder;
        if (wantFile ? QFileInfo(exact).isFile() : QFileInfo(exact).isDir()) {
            next = exact;
        } else {
            const QDir::Filters entryKind = wantFile ? QDir::Files : QDir::Dirs;
            const QStringList entries = QDir(current).entryList(
                entryKind | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            const auto match = std::find_if(entries.begin(), entries.end(), [&](const QString& e) {
                return e.compare(parts[i], Qt::CaseInsensitive) == 0;
            });
            if (match == entries.end())
                return {};
            next = current + *match;
        }
        current = last ? next : next + '/';
    }
    return exists(current) ? current : QString();
}

RepairOutcome repairSlidePaths(TSlideRecord& r, const QString& showFolder) {
    RepairOutcome outcome;
    if (!isBlankRecord(r)) {
        const std::string before = r.ImageFile.str();
        if (repairPath(r.ImageFile, showFolder, outcome))
            outcome.imageMoved = r.ImageFile.str() != before;
        else if (StoredPath::of(r.ImageFile).trimmed().isEmpty())
            r.ImageFile.assign(BlankImageName); // no path to keep: a blank slide, as it always was
        else
            outcome.imageMissing = true;
    }
    if (recordHasAudio(r)) {
        const std::string before = r.AudioFile.str();
        repairPath(r.AudioFile, showFolder, outcome);
        outcome.audioMoved = r.AudioFile.str() != before;
    }
    return outcome;
}

bool audioFileExists(const ShowDocument& doc, int index) {
    return doc.hasAudio(index) && QFileInfo(doc.audioPath(index)).isFile();
}

QString readingStatusText(int done, int count) {
    return QCoreApplication::translate("ShowFile", "Read %1 of %2...").arg(done).arg(count);
}

QString nameExtension(const QString& name) {
    const QString file = fileNamePart(name);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : file.mid(dot).toLower();
}

QString withShowExtension(const QString& name) {
    return nameExtension(name).isEmpty() ? name + QStringLiteral(".vrs") : name;
}

} // namespace ShowFile
