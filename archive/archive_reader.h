// SPDX-License-Identifier: MIT
// Reads the members of an archive file in order: finds where they start (also inside a program
// file) and hands out each header with the position of the member's data.
#pragma once

#include "lha_header.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

namespace verasco::archive {

class ArchiveReader {
  public:
    // Opens the archive; false when it cannot be opened. The members begin at `start` when it is
    // given (and inside the file), else where ArchiveStart finds them.
    bool open(const std::string& path, std::optional<uint64_t> start = std::nullopt);

    // Reads the next member header and leaves the stream at the member's data. False after the
    // last member (the end marker, or the end of the file). A member whose data is cut short is
    // handed out: see dataComplete.
    bool next(LhaMemberHeader& header);

    std::istream& stream() { return in_; }
    uint64_t size() const { return size_; }
    // Where the header just read begins, and where its data begins.
    uint64_t headerPosition() const { return headerPos_; }
    uint64_t dataPosition() const { return dataPos_; }
    // Where the next header is looked for: after the last member once next() has said there is none.
    uint64_t nextPosition() const { return next_; }
    // True when the data of the member just read lies whole in the file.
    bool dataComplete(const LhaMemberHeader& header) const { return size_ - dataPos_ >= header.packedSize; }

  private:
    std::ifstream in_;
    uint64_t size_ = 0;
    uint64_t next_ = 0; // where the next header begins
    uint64_t headerPos_ = 0;
    uint64_t dataPos_ = 0;
};

// Where the members of the archive file `name` begin: after the head of a program file whose
// extension is ".exe" (any case) and whose page counts point inside the file, else at 0.
uint64_t ArchiveStart(const std::string& name, std::istream& in, uint64_t size);

} // namespace verasco::archive
