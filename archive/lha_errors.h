// SPDX-License-Identifier: MIT
// The exception classes of the archive engine. Each one carries its message.
#pragma once

#include <stdexcept>
#include <string>

namespace verasco::archive {

// The program's translation tools find the messages that a window may show where this marks them; the
// engine itself gives every message in English.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

// A message of the engine. One made from a form (marked for translation in the context "ArchiveEngine")
// keeps the form and the name that "%1" in it stands for, so that a window can give it in its language.
class LhaMessage : public std::runtime_error {
  public:
    explicit LhaMessage(const std::string& message) : std::runtime_error(message) {}
    LhaMessage(const char* form, const std::string& subject)
        : std::runtime_error(Filled(form, subject)), form_(form), subject_(subject) {}
    // The form, or nullptr for a message made otherwise.
    const char* form() const { return form_; }
    const std::string& subject() const { return subject_; }

  private:
    static std::string Filled(const char* form, const std::string& subject) {
        std::string message(form);
        if (const auto at = message.find("%1"); at != std::string::npos)
            message.replace(at, 2, subject);
        return message;
    }

    const char* form_ = nullptr;
    std::string subject_;
};

#define VERASCO_LHA_EXCEPTION(Name)                                                                          \
    class Name : public LhaMessage {                                                                         \
      public:                                                                                                \
        using LhaMessage::LhaMessage;                                                                        \
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
