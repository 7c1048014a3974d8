// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the show file reader, in memory and as a file on disk, and checks that the
// show stays consistent, that whatever it accepted writes back out as the same header and records
// (but for zeros where a record held stray bytes behind a text) and the same data of its own, that
// every stored path reads as text that reads the same once written as UTF-8, and that the file reader,
// with its own checks and its reads of only the records it uses, comes to the same show as the
// reader of the bytes.

#include "cleared_records.h"
#include "show_file.h"
#include "stored_path.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Where each input is written to be read back as a file: a folder of this run's own.
QString inputFile() {
    static const QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("input.vrs"));
    return path;
}

// The file read into a show of three slides: a show on success, empty for a broken structure, and
// left as it was for any other failure.
void checkFileRead(const QByteArray& bytes, const ShowFile::ReadResult& fromBytes, const ShowDocument& doc) {
    QFile file(inputFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    static ShowDocument fromFile;
    fromFile.load(std::vector<TSlideRecord>(3, fromFile.freshRecord()));
    const ShowFile::ReadResult result = ShowFile::read(inputFile(), fromFile);
    if (result.status != fromBytes.status ||
        ShowFile::isShowFile(inputFile()) != bytes.left(15).contains("MORVANT"))
        std::abort();
    const int expected = result.ok()                                               ? doc.SlideCount
                         : result.status == ShowFile::ReadStatus::InvalidStructure ? 0
                                                                                   : 3;
    if (fromFile.SlideCount != expected ||
        (result.ok() && ShowFile::encode(fromFile) != ShowFile::encode(doc)))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ShowDocument doc;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ShowFile::ReadResult result = ShowFile::decode(bytes);
    if (result.records.size() > std::size_t(ShowDocument::MaxSlides) ||
        (!result.ok() && !result.records.empty()))
        std::abort();
    doc.load(result.records, result.extension.show, result.extension.slides);
    if (result.ok()) {
        const QByteArray again = ShowFile::encode(doc);
        const std::string expected = clearedRecords(bytes.constData() + ShowFile::HeaderSize,
                                                    static_cast<std::size_t>(doc.SlideCount));
        const qsizetype end = ShowFile::HeaderSize + qsizetype(expected.size());
        if (again.size() < end ||
            std::memcmp(again.constData() + ShowFile::HeaderSize, expected.data(), expected.size()) != 0)
            std::abort();
        // The show's data written out reads back as the same data, and only where there is some.
        const ShowFile::ReadResult back = ShowFile::decode(again);
        const bool none = doc.showData().isEmpty() && back.extension.slides.empty();
        if (back.extension.show != doc.showData() || !back.extension.damage.isEmpty() ||
            (again.size() == end) != none)
            std::abort();
        for (int i = 0; i < doc.SlideCount; ++i) {
            const QString image = doc.imagePath(i);
            if (StoredPath::decode(StoredPath::encode(image)) != image)
                std::abort();
        }
    }
    checkFileRead(bytes, result, doc);
    return 0;
}
