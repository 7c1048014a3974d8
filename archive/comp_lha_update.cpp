// SPDX-License-Identifier: MIT
// Writing an archive file: a new archive, members appended to an existing one, or an existing
// archive rewritten through a work file without the members that the new ones replace.
#include "comp_lha.h"

#include "archive_reader.h"
#include "file_mask.h"
#include "lha_errors.h"
#include "work_files.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace verasco::archive {
namespace {

bool IsWritableFolder(const std::string& folder) {
    std::error_code ec;
    return fs::is_directory(folder, ec) &&
           (fs::status(folder, ec).permissions() & fs::perms::owner_write) != fs::perms::none;
}

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return EqualsIgnoreCase(fs::weakly_canonical(a, ec).string(), fs::weakly_canonical(b, ec).string());
}

// Copies `count` bytes from `in` to `out`.
void CopyBytes(std::istream& in, std::ostream& out, uint64_t count) {
    std::vector<char> buffer(1 << 16);
    while (count > 0) {
        const size_t take = static_cast<size_t>(std::min<uint64_t>(count, buffer.size()));
        in.read(buffer.data(), static_cast<std::streamsize>(take));
        if (static_cast<size_t>(in.gcount()) != take)
            throw EInOutError("Read error");
        out.write(buffer.data(), static_cast<std::streamsize>(take));
        if (!out)
            throw EWriteError("Write error");
        count -= take;
    }
}

// Passes on the exception being handled when it refuses a damaged header of the old archive.
void PassOnHeaderErrors() {
    try {
        throw;
    } catch (const ECompLHABadChecksum&) {
        throw;
    } catch (const ECompLHAInvalidHeader&) {
        throw;
    } catch (const ECompLHAInvalidHeaderLevel&) {
        throw;
    } catch (const ECompLHAUnrecognizedCompressionMethod&) {
        throw;
    } catch (...) {
    }
}

} // namespace

// Where the work file of a rewrite goes: in the temporary folder when that is usable, else beside
// the archive; it is named like the archive.
std::string TCompLHA::workFilePath() const {
    std::string folder, name;
    SplitPath(ArchiveName, folder, name);
    if (!tempArchivePath_.empty() && IsWritableFolder(tempArchivePath_) &&
        !SameFolder(tempArchivePath_, FolderOf(fs::absolute(ArchiveName).string())))
        return tempArchivePath_ + name;
    return ArchiveName;
}

// The work file must not be one of the files it receives.
void TCompLHA::refuseSelfAddition(const std::string& work) const {
    std::string workFolder, workName;
    SplitPath(fs::absolute(work).string(), workFolder, workName);
    for (const std::string& entry : FilesToProcess) {
        std::string folder, mask;
        std::string pattern = entry;
        if (HasSubfolderSuffix(pattern))
            pattern.resize(pattern.size() - 2);
        SplitPath(fs::absolute(pattern).string(), folder, mask);
        if (folder == workFolder && MatchesMask(workName, mask))
            throw EInOutError("Cannot add " + PrintableName(work) + " to itself!");
    }
}

// Compresses FilesToProcess into `work`, created new or, when appending, after its last member.
void TCompLHA::writeNewMembers(const std::string& work, bool appending) {
    std::error_code ec;
    uint64_t keptLength = 0;
    std::fstream out;
    if (appending) {
        keptLength = membersEnd();
        out.open(work, std::ios::in | std::ios::out | std::ios::binary);
        if (!out)
            throw EInOutError("Cannot open " + PrintableName(work));
        out.seekp(static_cast<std::streamoff>(keptLength));
    } else {
        if (MakeDirectories && !FolderOf(work).empty())
            fs::create_directories(FolderOf(work), ec);
        out.open(work, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
        if (!out)
            throw EInOutError("Cannot create " + PrintableName(work));
    }
    try {
        CompressToStream(out, FilesToProcess, CompressionMethod);
        out.put(0);
        out.flush();
        if (!out)
            throw EWriteError("Write error");
        const uint64_t end = static_cast<uint64_t>(out.tellp());
        out.close();
        // Whatever followed the old end marker goes.
        if (appending)
            fs::resize_file(work, end, ec);
    } catch (...) {
        out.close();
        if (appending)
            fs::resize_file(work, keptLength, ec);
        else
            RemoveQuietly(work);
        try {
            throw;
        } catch (const EWriteError&) {
            throw ECompLHAInsufficientDiskSpace("Disk protected or full during compression");
        }
    }
}

// Appends the members of the old archive that the new ones do not replace, then the end marker.
void TCompLHA::rewriteOlderMembers(const std::string& work) {
    try {
        std::fstream rewrite(work, std::ios::in | std::ios::out | std::ios::binary);
        rewrite.seekp(-1, std::ios::end); // over the end marker
        copyOlderMembers(rewrite, FilesToProcess);
        rewrite.put(0);
        rewrite.flush();
        if (!rewrite)
            throw EWriteError("Write error");
    } catch (...) {
        RemoveQuietly(work);
        PassOnHeaderErrors();
        throw ECompLHAInsufficientDiskSpace("Disk full or write error during compression");
    }
}

// Where the members of the archive end, found by walking them: the last one's data may end in a
// zero byte, which is no end marker. A member cut short is refused.
uint64_t TCompLHA::membersEnd() const {
    ArchiveReader reader;
    if (!reader.open(ArchiveName, MembersStart))
        throw EInOutError("Cannot open " + PrintableName(ArchiveName));
    LhaMemberHeader header;
    while (reader.next(header))
        if (!reader.dataComplete(header))
            throw ECompLHAInvalidHeader("Unexpected end of archive in the data of " +
                                        PrintableName(header.name));
    return reader.nextPosition();
}

// The older members are copied byte for byte, header included, so that they keep what this
// component does not write itself: names in file name headers, other extended headers, the system
// that made them.
void TCompLHA::copyOlderMembers(std::ostream& out, const std::vector<std::string>& newNames) {
    ArchiveReader reader;
    if (!reader.open(ArchiveName, MembersStart))
        throw EInOutError("Cannot open " + PrintableName(ArchiveName));
    LhaMemberHeader header;
    fileInformationIndex_ = -1;
    while (reader.next(header)) {
        ++fileInformationIndex_;
        if (!reader.dataComplete(header))
            throw ECompLHAInvalidHeader("Unexpected end of archive in the data of " +
                                        PrintableName(header.name));
        bool replaced = false;
        for (const std::string& n : newNames)
            replaced = replaced || EqualsIgnoreCase(PlatformName(n), PlatformName(header.name));
        if (!replaced) {
            reader.stream().seekg(static_cast<std::streamoff>(reader.headerPosition()));
            CopyBytes(reader.stream(), out,
                      reader.dataPosition() + header.packedSize - reader.headerPosition());
        }
    }
}

// Puts the rewritten archive in place of the old one in a single rename, so that the old archive
// stays whole until the new one is complete. A work file on another file system is first copied
// beside the archive.
void TCompLHA::replaceArchive(const std::string& work) {
    std::error_code ec;
    CopyOwnerAndMode(ArchiveName, work);
    fs::rename(work, ArchiveName, ec);
    if (!ec)
        return;
    std::string copy;
    try {
        copy = CreateWorkFile(ArchiveName, ArchiveName);
        ec.clear();
        fs::copy_file(work, copy, fs::copy_options::overwrite_existing, ec);
        CopyOwnerAndMode(ArchiveName, copy);
        if (!ec)
            fs::rename(copy, ArchiveName, ec);
    } catch (const EInOutError&) {
        ec = std::make_error_code(std::errc::io_error);
    }
    if (ec) {
        if (!copy.empty())
            RemoveQuietly(copy);
        throw ECompLHACouldNotRenameFile("Could not replace " + PrintableName(ArchiveName) + " with " +
                                         PrintableName(work));
    }
    RemoveQuietly(work);
}

void TCompLHA::Compress() {
    processed_.clear();
    std::error_code ec;
    const bool archiveExists = fs::exists(ArchiveName, ec);
    const bool rewriting = archiveExists && !AllowDuplicates;
    const std::string work = rewriting ? CreateWorkFile(workFilePath(), ArchiveName) : ArchiveName;
    try {
        refuseSelfAddition(work);
    } catch (...) {
        if (rewriting)
            RemoveQuietly(work);
        throw;
    }
    // The archive being written is never one of its own members.
    struct Exclusion {
        std::string& path;
        ~Exclusion() { path.clear(); }
    } exclusion{excluded_ = archiveExists ? ArchiveName : std::string()};
    writeNewMembers(work, archiveExists && AllowDuplicates);
    if (!rewriting)
        return;
    rewriteOlderMembers(work);
    replaceArchive(work);
}

} // namespace verasco::archive
