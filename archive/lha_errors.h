// SPDX-License-Identifier: MIT
// The exception classes of the archive engine. Each one carries only its message.
#pragma once

#include <stdexcept>
#include <string>

namespace verasco::archive {

#define VERASCO_LHA_EXCEPTION(Name)                                                                          \
    class Name : public std::runtime_error {                                                                 \
      public:                                                                                                \
        explicit Name(const std::string& message) : std::runtime_error(message) {}                           \
    }

VERASCO_LHA_EXCEPTION(ECompLHABadCRC);
VERASCO_LHA_EXCEPTION(ECompLHABadChecksum);
VERASCO_LHA_EXCEPTION(ECompLHACouldNotRenameFile);
VERASCO_LHA_EXCEPTION(ECompLHAInsufficientDiskSpace);
VERASCO_LHA_EXCEPTION(ECompLHAInvalidHeader);
VERASCO_LHA_EXCEPTION(ECompLHAInvalidHeaderLevel);
VERASCO_LHA_EXCEPTION(ECompLHAOperationAborted);
VERASCO_LHA_EXCEPTION(ECompLHAUnrecognizedCompressionMethod);
VERASCO_LHA_EXCEPTION(EcompLHAEncrypted);
VERASCO_LHA_EXCEPTION(ELZHBadDecodeTable);
VERASCO_LHA_EXCEPTION(EUnableToCompress);
// A failed read or write of a file (the run-time library's input/output error).
VERASCO_LHA_EXCEPTION(EInOutError);

#undef VERASCO_LHA_EXCEPTION

// A failed write: the one input/output error that compressing reports as a full disk.
class EWriteError : public EInOutError {
  public:
    using EInOutError::EInOutError;
};

} // namespace verasco::archive
