// SPDX-License-Identifier: MIT
// Expanding and verifying the members of an archive file. Every member is expanded into a new
// file beside its target first, so that a failure never leaves a half-written file in place of a
// good one; a verification expands into nothing and only checks the size and CRC.
#include "comp_lha.h"

#include "archive_reader.h"
#include "file_mask.h"
#include "lha_errors.h"
#include "lzh_codec.h"
#include "work_files.h"

#include <chrono>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace verasco::archive {
namespace {

bool NameInList(const std::string& name, const std::vector<std::string>& lines) {
    std::string folder, base;
    SplitPath(name, folder, base);
    for (const std::string& line : lines) {
        if (EqualsIgnoreCase(PlatformName(line), PlatformName(name)))
            return true;
        std::string lineFolder, lineBase;
        SplitPath(line, lineFolder, lineBase);
        if (EqualsIgnoreCase(PlatformName(lineFolder), PlatformName(folder)) && MatchesMask(base, lineBase))
            return true;
        if (lineFolder.empty() && MatchesMask(base, lineBase) &&
            line.find_first_of("*?") != std::string::npos)
            return true;
    }
    return false;
}

// Folder entries that carry "|" are symbolic links of other systems; they are not made, and
// neither is a folder entry without a name.
bool NotMade(const LhaMemberHeader& header) {
    return header.method == LhaMethod::Directory &&
           (header.name.empty() || header.name.find('|') != std::string::npos);
}

void RefuseWithoutPassword(const LhaMemberHeader& header, const std::string& password) {
    if (header.scrambled && password.empty())
        throw EcompLHAEncrypted("File is encrypted -- password required");
}

// Takes every byte and keeps none: what a verification expands into.
class DiscardingBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// The first folder on the way from the target folder `root` to `target` that is a symbolic link,
// or the folder `target` itself when it names one: empty when there is none. Only the part of the
// path that the member's name made is looked at; the target folder may be reached through links
// its user chose. A link where the member's file goes is no folder on the way: the file replaces it.
std::string LinkOnTheWay(const std::string& root, const std::string& target) {
    if (target.compare(0, root.size(), root) != 0)
        return {};
    std::error_code ec;
    for (size_t cut = target.find_first_of("/\\", root.size()); cut != std::string::npos;
         cut = target.find_first_of("/\\", cut + 1)) {
        const std::string folder = target.substr(0, cut);
        if (folder.size() > root.size() && fs::symlink_status(folder, ec).type() == fs::file_type::symlink)
            return folder;
    }
    return {};
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

} // namespace

void TCompLHA::Verify() {
    const bool previous = VerifyMode;
    VerifyMode = true;
    try {
        Expand();
    } catch (...) {
        VerifyMode = previous;
        throw;
    }
    VerifyMode = previous;
}

void TCompLHA::Expand() {
    abort_ = false;
    processed_.clear();
    fileInformationIndex_ = -1;
    ArchiveReader reader;
    if (!reader.open(ArchiveName, MembersStart))
        throw EInOutError("Cannot open " + PrintableName(ArchiveName));
    std::vector<std::string> targets, refused, linked;
    LhaMemberHeader header;
    try {
        while (reader.next(header)) {
            ++fileInformationIndex_;
            std::string name;
            const bool safe = ExpansionName(header.name, header.osId, name);
            if (NotMade(header) || !(FilesToProcess.empty() || NameInList(header.name, FilesToProcess) ||
                                     NameInList(name, FilesToProcess)))
                continue;
            if (!safe)
                refused.push_back(PrintableName(header.name));
            else if (!abort_ && !expandMember(reader.stream(), header, name, targets))
                linked.push_back(PrintableName(header.name));
            if (abort_)
                break;
        }
    } catch (const ECompLHAOperationAborted&) {
        // A cancelled run ends quietly.
    }
    if (!FilesToProcess.empty())
        FilesToProcess = targets;
    if (!refused.empty() && !abort_)
        throw ECompLHAInvalidHeader("Unsafe path in archive: " + JoinNames(refused));
    if (!linked.empty() && !abort_)
        throw EInOutError("Symbolic link in the way, not followed: " + JoinNames(linked));
}

// The file a member is expanded to after the check event and the confirmation: empty to skip the
// member, "*" to stop.
std::string TCompLHA::expansionTarget(const std::string& name, uint32_t dateTime) const {
    std::string target = targetPath_ + PlatformName(name);
    if (OnCheckFile)
        OnCheckFile(name, target, dateTime, TCompLHAProcessMode::cmExpand);
    confirmName(VerifyMode ? 4 : 2, name, target);
    return target;
}

// Free space that cannot be queried is not a shortage: the write itself then reports whatever
// really goes wrong.
void TCompLHA::checkSpace(const std::string& folder, const std::string& target, uint32_t size) const {
    std::error_code ec;
    const fs::space_info space = fs::space(folder.empty() ? fs::path(".") : fs::path(folder), ec);
    if (ec)
        return;
    uint64_t free = space.available;
    if (fs::symlink_status(target, ec).type() == fs::file_type::regular)
        free += fs::file_size(target, ec);
    if (free < size)
        throw ECompLHAInsufficientDiskSpace("Not enough disk space to expand " + PrintableName(target));
}

// An existing target must be open for writing before a new file replaces it; a link is replaced
// itself, whatever it names.
bool TCompLHA::targetWritable(const std::string& target) const {
    std::error_code ec;
    const fs::file_type type = fs::symlink_status(target, ec).type();
    if (type == fs::file_type::not_found || type == fs::file_type::symlink)
        return true;
    std::fstream probe(target, std::ios::in | std::ios::out | std::ios::binary);
    if (probe)
        return true;
    if (ExceptionOnFileError)
        throw EInOutError("Cannot open " + PrintableName(target));
    return false;
}

// Expands one member, whose safe name is `name`, into its target; false when the member is not
// expanded because a folder on its way is a symbolic link, which could lead out of the target folder.
bool TCompLHA::expandMember(std::istream& archive, const LhaMemberHeader& header, const std::string& name,
                            std::vector<std::string>& targets) {
    const bool isFolder = header.method == LhaMethod::Directory;
    const uint32_t dateTime = static_cast<uint32_t>(header.date) << 16 | header.time;
    const std::string target = expansionTarget(name, dateTime);
    if (target.empty())
        return true;
    if (target == "*") {
        abort_ = true;
        return true;
    }
    if (!VerifyMode && !LinkOnTheWay(targetPath_, isFolder ? WithTrailingSeparator(target) : target).empty())
        return false;
    std::error_code ec;
    if (isFolder) {
        if (MakeDirectories && !VerifyMode) {
            fs::create_directories(target, ec);
            targets.push_back(target);
            processed_.push_back(target);
        }
        return true;
    }
    if (VerifyMode) {
        RefuseWithoutPassword(header, Password);
        DiscardingBuffer nothing;
        std::ostream out(&nothing);
        expandData(archive, header, out);
    } else if (!writeMember(archive, header, target)) {
        return true;
    }
    targets.push_back(target);
    processed_.push_back(target);
    if (OnAfterProcessed)
        OnAfterProcessed(name, target, dateTime, TCompLHAProcessMode::cmExpand);
    return true;
}

// Expands a member into a new file beside `target` and puts it in the target's place; false when the
// member is skipped because a file cannot be opened or created.
bool TCompLHA::writeMember(std::istream& archive, const LhaMemberHeader& header, const std::string& target) {
    std::error_code ec;
    const std::string folder = FolderOf(target);
    if (MakeDirectories && !folder.empty())
        fs::create_directories(folder, ec);
    if (CheckSpaceBeforeExpand)
        checkSpace(folder, target, header.originalSize);
    RefuseWithoutPassword(header, Password);
    if (!targetWritable(target))
        return false;
    std::string work;
    try {
        work = CreateTempFile(folder);
    } catch (const EInOutError&) {
        if (ExceptionOnFileError)
            throw;
        return false;
    }
    try {
        expandInto(work, archive, header);
        // A folder swapped for a link while the member was expanded is not followed either.
        if (const std::string link = LinkOnTheWay(targetPath_, target); !link.empty())
            throw EInOutError("Symbolic link in the way, not followed: " + PrintableName(link));
        fs::rename(work, target, ec);
        if (ec)
            throw EInOutError("Cannot replace " + PrintableName(target));
        if (header.attribute & 0x01)
            fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove, ec);
    } catch (...) {
        RemoveQuietly(work);
        throw;
    }
    return true;
}

// Expands the member's data into the file `work` and gives the file the member's time.
void TCompLHA::expandInto(const std::string& work, std::istream& archive, const LhaMemberHeader& header) {
    std::ofstream out(work, std::ios::binary | std::ios::trunc);
    if (!out)
        throw EInOutError("Cannot create " + PrintableName(work));
    expandData(archive, header, out);
    out.close();
    if (!out)
        throw EWriteError("Write error");
    SetFileDosDateTime(work, header.date, header.time);
}

// Expands the member's data into `out` and checks its size and CRC.
void TCompLHA::expandData(std::istream& archive, const LhaMemberHeader& header, std::ostream& out) {
    CodecJob job = codecJob(CodecDirection::Expand, header.method, archive, out, header.packedSize);
    job.expectedSize = header.originalSize;
    // A member that is not scrambled is read as it stands, whatever the password.
    if (!header.scrambled)
        job.password.clear();
    const auto started = std::chrono::steady_clock::now();
    CodecResult result;
    try {
        result = RunExpansion(job);
    } catch (const ELZHBadDecodeTable&) {
        if (header.scrambled)
            throw EcompLHAEncrypted("Invalid password -- cannot decrypt file");
        throw;
    }
    durationMs_ =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count();
    if (result.crc != header.crc || result.bytesWritten != header.originalSize) {
        if (header.scrambled)
            throw EcompLHAEncrypted("Invalid password -- cannot decrypt file");
        throw ECompLHABadCRC("Bad CRC during expansion -- data may be invalid");
    }
}

} // namespace verasco::archive
