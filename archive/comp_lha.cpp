#include "comp_lha.h"

#include "file_mask.h"
#include "lha_errors.h"
#include "lzh_codec.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace verasco::archive {
namespace {

constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

std::string WithTrailingSeparator(const std::string& path) {
    if (path.empty() || IsSeparator(path.back()))
        return path;
    return path + kSeparator;
}

LhaMethod ToLhaMethod(TCompLHAMethod method) {
    switch (method) {
    case TCompLHAMethod::colh0:
        return LhaMethod::Lh0;
    case TCompLHAMethod::colh1:
        return LhaMethod::Lh1;
    case TCompLHAMethod::colh5:
        return LhaMethod::Lh5;
    case TCompLHAMethod::corle:
        return LhaMethod::Rle;
    }
    return LhaMethod::Lh0;
}

// "%s" markers replaced in turn by the arguments.
std::string FormatLine(const std::string& format, const std::string& a, const std::string& b) {
    std::string out;
    int used = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            out += used == 0 ? a : used == 1 ? b : std::string();
            ++used;
            ++i;
        } else {
            out.push_back(format[i]);
        }
    }
    return out;
}

// The member's name with the platform's folder separator.
std::string PlatformName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (IsSeparator(c))
            c = kSeparator;
    return out;
}

std::string FolderOf(const std::string& path) {
    std::string folder, name;
    SplitPath(path, folder, name);
    return folder;
}

// A new, empty file with a unique name beginning "LHA" in `folder`.
std::string CreateTempFile(const std::string& folder) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "LHA%08llx.tmp",
                      static_cast<unsigned long long>(random() & 0xFFFFFFFF));
        const std::string path = WithTrailingSeparator(folder.empty() ? std::string(".") : folder) + name;
        if (std::FILE* f = std::fopen(path.c_str(), "wbx")) {
            std::fclose(f);
            return path;
        }
    }
    throw EInOutError("Cannot create a temporary file in " + folder);
}

void RemoveQuietly(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

uint64_t FileSize(std::istream& in) {
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    in.seekg(0);
    return size < 0 ? 0 : static_cast<uint64_t>(size);
}

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

} // namespace

bool IsUnsafeMemberName(const std::string& name) {
    if (name.empty() || IsSeparator(name[0]) || (name.size() >= 2 && name[1] == ':'))
        return true;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = name.size();
        if (name.compare(start, end - start, "..") == 0 && end - start == 2)
            return true;
        start = end + 1;
    }
    return false;
}

TCompLHA::TCompLHA()
    : ConfirmMessages{"Please confirm", "Compress %s as %s?", "Expand %s to %s?",
                      "Delete %s from the archive?", "Verify archive integrity of %s?"} {}

void TCompLHA::SetTargetPath(const std::string& path) {
    targetPath_ = WithTrailingSeparator(path);
}

void TCompLHA::SetTempArchivePath(const std::string& path) {
    tempArchivePath_ = WithTrailingSeparator(path);
}

void TCompLHA::FindFiles(std::vector<std::string>& list, const std::string& folder, bool includeAll,
                         const std::string& mask) const {
    FindMatchingFiles(list, folder, includeAll, mask);
}

std::string TCompLHA::storedNameRules(const std::string& name) const {
    std::string out = DropDrive(name);
    if (ArchiveType == TCompLHAArchiveType::caLHARC || ForceUpperCase)
        out = UpperCaseName(out);
    return out;
}

void TCompLHA::confirmName(int line, const std::string& first, std::string& name) const {
    if (!Confirm || name.empty() || name == "*" || static_cast<int>(ConfirmMessages.size()) <= line)
        return;
    const std::string text = FormatLine(ConfirmMessages[line], first, name);
    if (text.empty() || !OnConfirm)
        return;
    const std::string caption = ConfirmMessages.empty() ? std::string() : ConfirmMessages[0];
    switch (OnConfirm(caption, text)) {
    case TCompLHAConfirmAnswer::Yes:
        break;
    case TCompLHAConfirmAnswer::No:
        name.clear();
        break;
    case TCompLHAConfirmAnswer::Cancel:
        name = "*";
        break;
    }
}

void TCompLHA::compressMember(std::ostream& out, std::istream& in, const std::string& storedName,
                              LhaMethod method, uint32_t dateTime, int attribute) {
    const auto started = std::chrono::steady_clock::now();
    const uint64_t size = FileSize(in);
    if (size > 0xFFFFFFFFu)
        throw EInOutError("File too large for an archive member: " + storedName);
    LhaMemberHeader header;
    header.method = method;
    header.originalSize = static_cast<uint32_t>(size);
    header.date = static_cast<uint16_t>(dateTime >> 16);
    header.time = static_cast<uint16_t>(dateTime);
    header.attribute = static_cast<uint8_t>(attribute & 0x7F);
    header.level = ArchiveType == TCompLHAArchiveType::caLHA ? 1 : 0;
    header.scrambled = !Password.empty();
    header.name = storedName;

    const auto headerStart = out.tellp();
    WriteMemberHeader(out, header);
    const auto dataStart = out.tellp();

    CodecJob job;
    job.direction = CodecDirection::Compress;
    job.method = method;
    job.input = &in;
    job.output = &out;
    job.inputLength = size;
    job.password = Password;
    job.progress = OnShowProgress;
    job.abortFlag = &abort_;
    CodecResult result;
    try {
        result = RunCodec(job);
    } catch (const EUnableToCompress&) {
        out.clear();
        out.seekp(dataStart);
        in.clear();
        in.seekg(0);
        job.method = header.method = LhaMethod::Lh0;
        result = RunCodec(job);
    }
    header.packedSize = static_cast<uint32_t>(result.bytesWritten);
    header.crc = result.crc;
    out.seekp(headerStart);
    WriteMemberHeader(out, header);
    out.seekp(dataStart + static_cast<std::streamoff>(result.bytesWritten));
    if (!out)
        throw EInOutError("Write error");
    compressionPercentage_ = Percent(result.bytesWritten, size);
    durationMs_ =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count();
}

void TCompLHA::CompressToStream(std::ostream& out, std::vector<std::string>& files, TCompLHAMethod method) {
    abort_ = false;
    // Patterns become the files they match.
    std::vector<std::string> expanded;
    for (const std::string& entry : files) {
        if (entry.find_first_of("*?") == std::string::npos) {
            expanded.push_back(entry);
            continue;
        }
        std::string pattern = entry, suffix;
        if (pattern.size() >= 3 && EqualsIgnoreCase(pattern.substr(pattern.size() - 2), "/S")) {
            suffix = pattern.substr(pattern.size() - 2);
            pattern.resize(pattern.size() - 2);
        }
        std::string folder, mask;
        SplitPath(pattern, folder, mask);
        std::vector<std::string> found;
        FindFiles(found, folder, false, mask + suffix);
        expanded.insert(expanded.end(), found.begin(), found.end());
    }
    files = expanded;

    StoredNameOptions options;
    options.storePath = StorePath;
    options.targetPath = targetPath_;
    options.upperCase = ArchiveType == TCompLHAArchiveType::caLHARC || ForceUpperCase;
    size_t i = 0;
    while (i < files.size()) {
        const std::string path = files[i];
        std::string name = BuildStoredName(path, options);
        uint32_t dateTime = 0;
        std::error_code ec;
        if (!fs::is_regular_file(path, ec)) {
            name.clear();
        } else {
            dateTime = FileDosDateTime(path);
            if (OnCheckFile) {
                OnCheckFile(path, name, dateTime, TCompLHAProcessMode::cmCompress);
                if (name != "*")
                    name = storedNameRules(name);
            }
            confirmName(1, path, name);
        }
        if (name.empty()) {
            files.erase(files.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (name == "*") {
            files.erase(files.begin() + static_cast<std::ptrdiff_t>(i), files.end());
            break;
        }
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            if (ExceptionOnFileError)
                throw EInOutError("Cannot open " + path);
            files.erase(files.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        files[i] = name;
        compressMember(out, in, name, ToLhaMethod(method), dateTime, FileAttribute(path) & 0x7F);
        processed_.push_back(name);
        if (OnAfterProcessed)
            OnAfterProcessed(path, name, dateTime, TCompLHAProcessMode::cmCompress);
        ++i;
    }
}

void TCompLHA::Compress() {
    processed_.clear();
    std::error_code ec;
    const bool archiveExists = fs::exists(ArchiveName, ec);
    std::string work = ArchiveName;
    if (archiveExists && !AllowDuplicates) {
        if (!tempArchivePath_.empty() && fs::is_directory(tempArchivePath_, ec) &&
            (fs::status(tempArchivePath_, ec).permissions() & fs::perms::owner_write) != fs::perms::none &&
            !EqualsIgnoreCase(
                fs::weakly_canonical(tempArchivePath_, ec).string(),
                fs::weakly_canonical(FolderOf(fs::absolute(ArchiveName).string()), ec).string())) {
            std::string folder, name;
            SplitPath(ArchiveName, folder, name);
            work = tempArchivePath_ + name;
        }
        work = fs::path(work).replace_extension(".$$$").string();
    }
    // The work file must not be one of the files it receives.
    {
        std::string workFolder, workName;
        SplitPath(fs::absolute(work).string(), workFolder, workName);
        for (const std::string& entry : FilesToProcess) {
            std::string folder, mask;
            std::string pattern = entry;
            if (pattern.size() >= 3 && EqualsIgnoreCase(pattern.substr(pattern.size() - 2), "/S"))
                pattern.resize(pattern.size() - 2);
            SplitPath(fs::absolute(pattern).string(), folder, mask);
            if (folder == workFolder && MatchesMask(workName, mask))
                throw EInOutError("Cannot add " + work + " to itself!");
        }
    }

    const bool appending = archiveExists && AllowDuplicates;
    uint64_t keptLength = 0;
    std::fstream out;
    if (appending) {
        out.open(work, std::ios::in | std::ios::out | std::ios::binary);
        if (!out)
            throw EInOutError("Cannot open " + work);
        out.seekg(0, std::ios::end);
        keptLength = static_cast<uint64_t>(out.tellg());
        if (keptLength > 0) {
            out.seekg(static_cast<std::streamoff>(keptLength - 1));
            if (out.get() == 0)
                --keptLength;
        }
        out.seekp(static_cast<std::streamoff>(keptLength));
    } else {
        if (MakeDirectories && !FolderOf(work).empty())
            fs::create_directories(FolderOf(work), ec);
        out.open(work, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
        if (!out)
            throw EInOutError("Cannot create " + work);
    }
    try {
        CompressToStream(out, FilesToProcess, CompressionMethod);
        out.put(0);
        out.flush();
        if (!out)
            throw EInOutError("Write error");
        out.close();
    } catch (...) {
        out.close();
        if (appending)
            fs::resize_file(work, keptLength, ec);
        else
            RemoveQuietly(work);
        try {
            throw;
        } catch (const EInOutError&) {
            throw ECompLHAInsufficientDiskSpace("Disk protected or full during compression");
        }
    }
    if (!archiveExists || AllowDuplicates)
        return;

    try {
        std::fstream rewrite(work, std::ios::in | std::ios::out | std::ios::binary);
        rewrite.seekp(-1, std::ios::end); // over the end marker
        copyOlderMembers(rewrite, FilesToProcess);
        rewrite.put(0);
        rewrite.flush();
        if (!rewrite)
            throw EInOutError("Write error");
    } catch (const ECompLHABadChecksum&) {
        RemoveQuietly(work);
        throw;
    } catch (const ECompLHAInvalidHeader&) {
        RemoveQuietly(work);
        throw;
    } catch (const ECompLHAInvalidHeaderLevel&) {
        RemoveQuietly(work);
        throw;
    } catch (const ECompLHAUnrecognizedCompressionMethod&) {
        RemoveQuietly(work);
        throw;
    } catch (...) {
        RemoveQuietly(work);
        throw ECompLHAInsufficientDiskSpace("Disk full or write error during compression");
    }
    fs::remove(ArchiveName, ec);
    if (!ec)
        fs::rename(work, ArchiveName, ec);
    if (ec)
        throw ECompLHACouldNotRenameFile("Could not replace " + ArchiveName + " with " + work);
}

void TCompLHA::copyOlderMembers(std::ostream& out, const std::vector<std::string>& newNames) {
    std::ifstream in(ArchiveName, std::ios::binary);
    if (!in)
        throw EInOutError("Cannot open " + ArchiveName);
    const uint64_t size = FileSize(in);
    if (size <= 22)
        return;
    uint64_t pos = archiveStart(in, size);
    in.seekg(static_cast<std::streamoff>(pos));
    LhaMemberHeader header;
    std::vector<char> buffer(1 << 16);
    fileInformationIndex_ = -1;
    while (ReadMemberHeader(in, header, size - pos)) {
        ++fileInformationIndex_;
        const uint64_t dataPos = static_cast<uint64_t>(in.tellg());
        bool replaced = false;
        for (const std::string& n : newNames)
            replaced = replaced || EqualsIgnoreCase(PlatformName(n), PlatformName(header.name));
        if (!replaced) {
            WriteMemberHeader(out, header);
            uint64_t left = header.packedSize;
            while (left > 0) {
                const size_t take = static_cast<size_t>(std::min<uint64_t>(left, buffer.size()));
                in.read(buffer.data(), static_cast<std::streamsize>(take));
                if (static_cast<size_t>(in.gcount()) != take)
                    throw EInOutError("Read error");
                out.write(buffer.data(), static_cast<std::streamsize>(take));
                if (!out)
                    throw EInOutError("Write error");
                left -= take;
            }
        }
        pos = dataPos + header.packedSize;
        in.seekg(static_cast<std::streamoff>(pos));
    }
}

uint64_t TCompLHA::archiveStart(std::istream& in, uint64_t size) const {
    const std::string ext = fs::path(ArchiveName).extension().string();
    if (!EqualsIgnoreCase(ext, ".exe") || size <= 5)
        return 0;
    uint8_t head[6] = {};
    in.seekg(0);
    in.read(reinterpret_cast<char*>(head), 6);
    in.clear();
    in.seekg(0);
    if (head[0] != 0x4D || head[1] != 0x5A)
        return 0;
    const int64_t lastPage = head[2] | (head[3] << 8);
    const int64_t pages = head[4] | (head[5] << 8);
    const int64_t start = pages * 512 + lastPage - 512;
    if (start < 0 || static_cast<uint64_t>(start) > size)
        return 0;
    return static_cast<uint64_t>(start);
}

bool TCompLHA::Scan() {
    contents_.clear();
    std::error_code ec;
    if (!fs::is_regular_file(ArchiveName, ec))
        return false;
    std::ifstream in(ArchiveName, std::ios::binary);
    if (!in)
        return false;
    const uint64_t size = FileSize(in);
    if (size <= 21)
        return true;
    uint64_t pos = archiveStart(in, size);
    in.seekg(static_cast<std::streamoff>(pos));
    LhaMemberHeader header;
    while (ReadMemberHeader(in, header, size - pos)) {
        TCompLHAFileInfo info;
        info.date = header.date;
        info.time = header.time;
        info.attribute = header.attribute;
        info.originalSize = header.originalSize;
        info.packedSize = header.packedSize;
        info.headerLevel = header.level;
        info.scrambled = header.scrambled;
        info.method = static_cast<int>(header.method);
        info.crc = header.crc;
        info.dataPosition = static_cast<uint64_t>(in.tellg());
        contents_.emplace_back(header.name, info);
        pos = info.dataPosition + header.packedSize;
        in.seekg(static_cast<std::streamoff>(pos));
    }
    return true;
}

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
    std::ifstream in(ArchiveName, std::ios::binary);
    if (!in)
        throw EInOutError("Cannot open " + ArchiveName);
    const uint64_t size = FileSize(in);
    uint64_t pos = archiveStart(in, size);
    in.seekg(static_cast<std::streamoff>(pos));
    std::vector<std::string> targets;
    LhaMemberHeader header;
    try {
        while (ReadMemberHeader(in, header, size - pos)) {
            ++fileInformationIndex_;
            const uint64_t dataPos = static_cast<uint64_t>(in.tellg());
            pos = dataPos + header.packedSize;
            if (FilesToProcess.empty() || NameInList(header.name, FilesToProcess)) {
                if (!abort_)
                    expandMember(in, header, targets);
                if (abort_)
                    break;
            }
            in.clear();
            in.seekg(static_cast<std::streamoff>(pos));
        }
    } catch (const ECompLHAOperationAborted&) {
        // A cancelled run ends quietly.
    }
    if (!FilesToProcess.empty())
        FilesToProcess = targets;
}

void TCompLHA::expandMember(std::istream& archive, const LhaMemberHeader& header,
                            std::vector<std::string>& targets) {
    const bool isFolder = header.method == LhaMethod::Directory;
    // Folder entries that carry "|" are symbolic links of other systems; they are not made, and
    // neither is a folder entry without a name.
    if (isFolder && (header.name.empty() || header.name.find('|') != std::string::npos))
        return;
    if (IsUnsafeMemberName(header.name))
        throw ECompLHAInvalidHeader("Unsafe path in archive: " + header.name);

    const uint32_t dateTime = static_cast<uint32_t>(header.date) << 16 | header.time;
    std::string target = targetPath_ + PlatformName(header.name);
    if (OnCheckFile)
        OnCheckFile(header.name, target, dateTime, TCompLHAProcessMode::cmExpand);
    confirmName(VerifyMode ? 4 : 2, header.name, target);
    if (target.empty())
        return;
    if (target == "*") {
        abort_ = true;
        return;
    }
    std::error_code ec;
    if (isFolder) {
        if (MakeDirectories && !VerifyMode) {
            fs::create_directories(target, ec);
            targets.push_back(target);
            processed_.push_back(target);
        }
        return;
    }
    std::string folder = FolderOf(target);
    if (MakeDirectories && !VerifyMode && !folder.empty())
        fs::create_directories(folder, ec);
    if (VerifyMode && (folder.empty() ? false : !fs::is_directory(folder, ec)))
        folder = fs::temp_directory_path(ec).string();

    if (CheckSpaceBeforeExpand) {
        // Free space that cannot be queried is not a shortage: the write itself then reports
        // whatever really goes wrong.
        const fs::space_info space = fs::space(folder.empty() ? fs::path(".") : fs::path(folder), ec);
        if (!ec) {
            uint64_t free = space.available;
            if (fs::is_regular_file(target, ec))
                free += fs::file_size(target, ec);
            if (free < header.originalSize)
                throw ECompLHAInsufficientDiskSpace("Not enough disk space to expand " + target);
        }
    }
    if (header.scrambled && Password.empty())
        throw EcompLHAEncrypted("File is encrypted -- password required");

    // The member is always written to a new file beside the target first, so that a failure
    // never leaves a half-written file in place of a good one.
    if (!VerifyMode && fs::exists(target, ec)) {
        std::fstream probe(target, std::ios::in | std::ios::out | std::ios::binary);
        if (!probe) {
            if (ExceptionOnFileError)
                throw EInOutError("Cannot open " + target);
            return;
        }
    }
    std::string work;
    try {
        work = CreateTempFile(folder);
    } catch (const EInOutError&) {
        if (ExceptionOnFileError)
            throw;
        return;
    }
    try {
        std::ofstream out(work, std::ios::binary | std::ios::trunc);
        if (!out)
            throw EInOutError("Cannot create " + work);
        CodecJob job;
        job.direction = CodecDirection::Expand;
        job.method = header.method;
        job.input = &archive;
        job.output = &out;
        job.inputLength = header.packedSize;
        job.expectedSize = header.originalSize;
        job.password = Password;
        job.progress = OnShowProgress;
        job.abortFlag = &abort_;
        const auto started = std::chrono::steady_clock::now();
        CodecResult result;
        try {
            result = RunCodec(job);
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
        out.close();
        if (!out)
            throw EInOutError("Write error");
        SetFileDosDateTime(work, header.date, header.time);
        if (VerifyMode) {
            RemoveQuietly(work);
        } else {
            fs::rename(work, target, ec);
            if (ec)
                throw EInOutError("Cannot replace " + target);
            if (header.attribute & 0x01)
                fs::permissions(target,
                                fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                                fs::perm_options::remove, ec);
        }
    } catch (...) {
        RemoveQuietly(work);
        throw;
    }
    targets.push_back(target);
    processed_.push_back(target);
    if (OnAfterProcessed)
        OnAfterProcessed(header.name, target, dateTime, TCompLHAProcessMode::cmExpand);
}

} // namespace verasco::archive
