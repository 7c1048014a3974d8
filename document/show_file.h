// SPDX-License-Identifier: MIT
#pragma once
// The show file (".vrs"): a 23-byte header (the signature "MORVANT rev1.00", the slide count and
// the record size) followed by the slide records byte for byte, and after them the show's own data in
// an extension block when it has any (show_extension.h). Reading and writing the bytes,
// and repairing image and audio paths that moved together with the show file.

#include "show_document.h"
#include "show_extension.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace ShowFile {

inline constexpr char Signature[] = "MORVANT rev1.00"; // stored without its terminating zero
inline constexpr int SignatureSize = 15;
inline constexpr int HeaderSize = 23;
inline constexpr int RecordSize = 824;
static_assert(sizeof(Signature) - 1 == SignatureSize);
static_assert(RecordSize == sizeof(TSlideRecord));

enum class ReadStatus {
    Ok,
    InvalidSignature, // "MORVANT" is not in the first 15 bytes: the show is left as it was
    InvalidStructure, // negative count, foreign record size or missing bytes: the show is empty
    IoError,          // the file could not be opened or read: the show is left as it was
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    QString errorString;               // the system's reason for an IoError
    std::vector<TSlideRecord> records; // the slides read (after the 500 cap)
    // The show's own data and its slides' objects; a damaged block is left out and says why.
    ShowExtension::Data extension{};
    // True when the caller should show "Invalid Verasco File!".
    bool invalid() const {
        return status == ReadStatus::InvalidSignature || status == ReadStatus::InvalidStructure;
    }
    bool ok() const { return status == ReadStatus::Ok; }
};

struct WriteResult {
    bool ok = true;
    QString errorString;        // the system's reason when the file could not be written
    bool folderRefused = false; // the folder lets no new file be made in it
};

// The whole file for the current show: header, records 0 to SlideCount - 1 and, where the show or a
// slide has data beyond the records, the extension block.
QByteArray encode(const ShowDocument& doc);
// The slides of a file's bytes, and the extension block after them.
ReadResult decode(const QByteArray& bytes);

// True when the file is a regular file whose first bytes carry the show signature, whatever its name:
// how a show renamed without its ".vrs" is still known (the desktop's file type uses the same test).
bool isShowFile(const QString& path);

// Reads the file under the path exactly as given, never more than a show holds. Only a regular
// file is read: a FIFO, a device or a folder is an IoError.
ReadResult read(const QString& path);
// Reads the file into the show (ShowDocument::load): a file of broken structure leaves the show
// empty, any other failure leaves it as it was.
ReadResult read(const QString& path, ShowDocument& doc);
// Writes through a new file beside the target that replaces it only when complete, so a failed
// write leaves an earlier file whole. A folder where no new file can be made is reported as such
// (folderRefused); an earlier file there is never written in place. The file is created under the
// path as given.
WriteResult write(const QString& path, const ShowDocument& doc);

// The folder of a show file: its path up to and including the last "/" or "\" (empty if none).
QString folderOf(const QString& showPath);
// The file name part of a stored path: everything after its last "/" or "\", so that a path
// saved on another system still yields its file name.
QString fileNamePart(const QString& storedPath);
enum class PathKind { File, Folder };
// An existing file (or folder) whose names match those of an absolute path without regard to
// case, or an empty string. The exact path is preferred when it exists.
QString resolveCaseInsensitive(const QString& path, PathKind kind = PathKind::File);

struct RepairOutcome {
    bool imageMoved = false;   // ImageFile now names the file found
    bool imageMissing = false; // the picture was found nowhere; ImageFile keeps its path
    bool audioMoved = false;   // AudioFile now names the file found
    QString tooLong;           // a file found whose path is too long to be stored: not taken
};
// Repairs the image and audio paths of a slide read from a show file: a path that names no file is
// looked for by case-insensitive match, then by its file name in the show's folder. A picture or
// sound found nowhere keeps its path, so that a drive plugged in again or a folder renamed back
// brings it back and a save does not lose it. A file found under a path too long to be stored
// leaves its field as it was.
RepairOutcome repairSlidePaths(TSlideRecord& record, const QString& showFolder);
// Whether the slide's audio file exists (the audio mark of its thumbnail depends on it).
bool audioFileExists(const ShowDocument& doc, int index);

// The status line while a show is read: "Read i of N...".
QString readingStatusText(int done, int count);

// The extension of a name as the document commands and the export test it: the lower-cased text
// from the last "." of the file name to its end, or empty. A dot in a folder name does not count.
QString nameExtension(const QString& name);
// The name with ".vrs" appended when it has no extension at all.
QString withShowExtension(const QString& name);

} // namespace ShowFile
