// SPDX-License-Identifier: MIT
#pragma once
// The slide list "images.sld" of a stand-alone package: the signature "MORVANT rev1.01", two
// blank-padded 64-byte text fields, the slide count, the record size 824 and the slide records,
// whose ImageFile holds the decimal offset of the slide's data in "images.dat". The export writes
// it and the package's player reads it. Plain bytes in and out, no Qt.

#include "slide_record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SlideList {
  public:
    static constexpr char Signature[] = "MORVANT rev1.01"; // stored without its terminating zero
    static constexpr int SignatureSize = 15;
    static constexpr int FieldSize = 64;
    static constexpr int CountOffset = SignatureSize + 2 * FieldSize;
    static constexpr int HeaderSize = CountOffset + 8;
    static constexpr int RecordSize = 824;
    static_assert(sizeof(Signature) - 1 == SignatureSize);
    static_assert(HeaderSize == 151 && RecordSize == sizeof(TSlideRecord));

    // The two text fields, without their padding blanks; at most 64 bytes are stored.
    std::string options;
    std::string note;
    std::vector<TSlideRecord> records;

    // The header announcing `count` records.
    std::string header(std::int32_t count) const;
    static std::string recordBytes(const TSlideRecord& record);
    // Header and every record.
    std::string bytes() const;

    enum class Status { Ok, BadSignature, BadHeader, Truncated };
    struct ParseResult {
        Status status = Status::Ok;
        std::string error; // what is wrong, in words, for a message
        bool ok() const { return status == Status::Ok; }
    };
    // Reads a whole slide list. On failure `out` is left empty.
    static ParseResult parse(std::string_view bytes, SlideList& out);

    // Where each slide's data lies in an image data file of `dataSize` bytes: from its offset to
    // the next slide's offset, the last one to the end of the file. A slide whose offset is no
    // plain decimal number or whose data would run outside the file gets `valid` false.
    struct DataRange {
        std::int64_t offset = 0;
        std::int64_t length = 0;
        bool valid = false;
    };
    std::vector<DataRange> dataRanges(std::int64_t dataSize) const;
};

// The offset text of a record: decimal digits, no sign and no padding.
std::string OffsetText(std::int64_t offset);

// What the package's player needs to know besides the slides, carried as a short "key=value"
// text in the first field of the slide list. Unknown keys and bad values are ignored.
struct PlayerOptions {
    bool loop = true;      // start again after the last slide
    int speed = 10;        // 0 to 20; 10 shows each slide for its own time
    bool controls = false; // show the control strip

    std::string format() const;
    static PlayerOptions parse(std::string_view text);
};
