// SPDX-License-Identifier: MIT
// TCompLHA: the archive component. File-level operations over the LHA format and the codec:
// find files, compress into an open stream or an archive file, expand, verify and scan.
#pragma once

#include "lha_header.h"
#include "lzh_codec.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace verasco::archive {

// Header level of the members written: 0 (names upper-cased), 1, or 2 (names of any length, the
// time as Unix time), which is written only when asked for.
enum class TCompLHAArchiveType { caLHARC, caLHA, caLHA2 };
enum class TCompLHAMethod { colh0, colh1, colh5, corle };
enum class TCompLHAProcessMode { cmCompress = 0, cmExpand = 1, cmDelete = 2 };
enum class TCompLHAConfirmAnswer { Yes, No, Cancel };

// dateTime is the MS-DOS date in the high 16 bits and the time in the low 16 bits.
using TCompLHAFilenameCheckEvent =
    std::function<void(const std::string& originalFilePath, std::string& newFilePath, uint32_t dateTime,
                       TCompLHAProcessMode mode)>;
using TCompLHAAfterProcessedEvent =
    std::function<void(const std::string& originalFilePath, const std::string& newFilePath, uint32_t dateTime,
                       TCompLHAProcessMode mode)>;
// Setting PercentageDone to -1 cancels the operation.
using TCompLHAShowProgressEvent = std::function<void(int& PercentageDone)>;
// Shows a question with Yes, No and Cancel; the program's windows supply it.
using TCompLHAConfirmCallback =
    std::function<TCompLHAConfirmAnswer(const std::string& caption, const std::string& text)>;

// What a scan learns about one member.
struct TCompLHAFileInfo {
    uint16_t date = 0;
    uint16_t time = 0;
    uint8_t attribute = 0;
    uint32_t originalSize = 0;
    uint32_t packedSize = 0;
    int headerLevel = 0;
    bool scrambled = false;
    int method = 0; // LhaMethod index; 4 for a folder entry
    uint16_t crc = 0;
    uint64_t dataPosition = 0;
};

class TCompLHA {
  public:
    TCompLHA();

    // Events.
    TCompLHAFilenameCheckEvent OnCheckFile;
    TCompLHAAfterProcessedEvent OnAfterProcessed;
    TCompLHAShowProgressEvent OnShowProgress;
    TCompLHAConfirmCallback OnConfirm;

    // Properties (defaults are those of the main window's instance).
    const std::string& TargetPath() const { return targetPath_; }
    void SetTargetPath(const std::string& path); // adds the trailing separator
    bool MakeDirectories = false;
    bool SafeMode = false;
    bool VerifyMode = false;
    TCompLHAArchiveType ArchiveType = TCompLHAArchiveType::caLHARC;
    bool AllowDuplicates = false;
    bool StorePath = false;
    bool ForceUpperCase = false;
    bool ExceptionOnFileError = false;
    std::string ArchiveName;
    // Where the members of ArchiveName begin, for an archive that follows a program the ".EXE"
    // rule does not know (the head of a stand-alone package); unset, that rule decides.
    std::optional<uint64_t> MembersStart;
    TCompLHAMethod CompressionMethod = TCompLHAMethod::colh0;
    std::vector<std::string> FilesToProcess;
    std::vector<std::string> ConfirmMessages;
    bool Confirm = false;
    const std::string& TempArchivePath() const { return tempArchivePath_; }
    void SetTempArchivePath(const std::string& path); // adds the trailing separator
    bool CheckSpaceBeforeExpand = false;
    std::string Password;
    int FileInformationIndex() const { return fileInformationIndex_; }

    // Operations.
    void FindFiles(std::vector<std::string>& list, const std::string& folder, bool includeAll,
                   const std::string& mask) const;
    void CompressToStream(std::ostream& out, std::vector<std::string>& files, TCompLHAMethod method);
    void Compress();
    void Expand();
    void Verify();
    bool Scan();

    // Asks a running operation to stop at its next 8192-byte chunk; may be called from any thread.
    void Abort() { abort_ = true; }

    // Results.
    const std::vector<std::pair<std::string, TCompLHAFileInfo>>& Contents() const { return contents_; }
    const std::vector<std::string>& Processed() const { return processed_; }
    int CompressionPercentage() const { return compressionPercentage_; }
    int64_t DurationMs() const { return durationMs_; }

  private:
    void confirmName(int line, const std::string& first, std::string& name) const;
    CodecJob codecJob(CodecDirection direction, LhaMethod method, std::istream& in, std::ostream& out,
                      uint64_t inputLength) const;

    // Compressing files into a stream.
    std::string storedNameRules(const std::string& name) const;
    std::string proposedName(const std::string& path, uint32_t& dateTime) const;
    void compressMember(std::ostream& out, std::istream& in, const std::string& path,
                        const std::string& storedName, LhaMethod method, uint32_t dateTime, int attribute);

    // Writing and updating an archive file.
    std::string workFilePath() const;
    void refuseSelfAddition(const std::string& work) const;
    void writeNewMembers(const std::string& work, bool appending);
    void rewriteOlderMembers(const std::string& work);
    uint64_t membersEnd() const;
    void copyOlderMembers(std::ostream& out, const std::vector<std::string>& newNames);
    void replaceArchive(const std::string& work);

    // Expanding and verifying.
    std::string expansionTarget(const std::string& name, uint32_t dateTime) const;
    void checkSpace(const std::string& folder, const std::string& target, uint32_t size) const;
    bool targetWritable(const std::string& target) const;
    bool expandMember(std::istream& archive, const LhaMemberHeader& header, const std::string& name,
                      std::vector<std::string>& targets);
    bool writeMember(std::istream& archive, const LhaMemberHeader& header, const std::string& target);
    void expandInto(const std::string& work, std::istream& archive, const LhaMemberHeader& header);
    void expandData(std::istream& archive, const LhaMemberHeader& header, std::ostream& out);

    std::string targetPath_;
    std::string tempArchivePath_;
    std::string excluded_; // the archive file being written, which is never compressed into itself
    int fileInformationIndex_ = -1;
    std::atomic<bool> abort_{false};
    std::vector<std::pair<std::string, TCompLHAFileInfo>> contents_;
    std::vector<std::string> processed_;
    int compressionPercentage_ = 0;
    int64_t durationMs_ = 0;
};

} // namespace verasco::archive
