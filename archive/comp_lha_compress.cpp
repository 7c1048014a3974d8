// SPDX-License-Identifier: MIT
// Compressing files into an open output stream, one member each.
#include "comp_lha.h"

#include "file_mask.h"
#include "lha_errors.h"
#include "lzh_codec.h"

#include <chrono>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace verasco::archive {
namespace {

LhaMethod ToLhaMethod(TCompLHAMethod method) {
    static_assert(static_cast<int>(TCompLHAMethod::colh0) == static_cast<int>(LhaMethod::Lh0) &&
                  static_cast<int>(TCompLHAMethod::colh1) == static_cast<int>(LhaMethod::Lh1) &&
                  static_cast<int>(TCompLHAMethod::colh5) == static_cast<int>(LhaMethod::Lh5) &&
                  static_cast<int>(TCompLHAMethod::corle) == static_cast<int>(LhaMethod::Rle));
    return static_cast<LhaMethod>(method);
}

uint64_t StreamSize(std::istream& in) {
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    in.seekg(0);
    return size < 0 ? 0 : static_cast<uint64_t>(size);
}

// Every entry that holds "*" or "?" becomes the files it matches in its folder.
std::vector<std::string> ExpandPatterns(const std::vector<std::string>& files) {
    std::vector<std::string> expanded;
    for (const std::string& entry : files) {
        if (entry.find_first_of("*?") == std::string::npos) {
            expanded.push_back(entry);
            continue;
        }
        std::string pattern = entry, suffix;
        if (HasSubfolderSuffix(pattern)) {
            suffix = pattern.substr(pattern.size() - 2);
            pattern.resize(pattern.size() - 2);
        }
        std::string folder, mask;
        SplitPath(pattern, folder, mask);
        std::vector<std::string> found;
        FindMatchingFiles(found, folder, false, mask + suffix);
        expanded.insert(expanded.end(), found.begin(), found.end());
    }
    return expanded;
}

// Runs the codec over the whole input; data that does not shrink is stored as "-lh0-" instead.
CodecResult CompressData(CodecJob& job, LhaMemberHeader& header, std::istream& in, std::ostream& out,
                         std::streampos dataStart) {
    try {
        return RunCodec(job);
    } catch (const EUnableToCompress&) {
        out.clear();
        out.seekp(dataStart);
        in.clear();
        in.seekg(0);
        job.method = header.method = LhaMethod::Lh0;
        return RunCodec(job);
    }
}

} // namespace

std::string TCompLHA::storedNameRules(const std::string& name) const {
    std::string out = DropSystemDrive(name);
    if (ArchiveType == TCompLHAArchiveType::caLHARC || ForceUpperCase)
        out = UpperCaseName(out);
    return out;
}

// The name `path` is stored under after the check event and the confirmation: empty to skip the
// file, "*" to stop.
std::string TCompLHA::proposedName(const std::string& path, uint32_t& dateTime) const {
    StoredNameOptions options;
    options.storePath = StorePath;
    options.targetPath = targetPath_;
    options.upperCase = ArchiveType == TCompLHAArchiveType::caLHARC || ForceUpperCase;
    std::string name = BuildStoredName(path, options);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || (!excluded_.empty() && fs::equivalent(path, excluded_, ec)))
        return std::string();
    dateTime = FileDosDateTime(path);
    if (OnCheckFile) {
        OnCheckFile(path, name, dateTime, TCompLHAProcessMode::cmCompress);
        if (name != "*")
            name = storedNameRules(name);
    }
    confirmName(1, path, name);
    return name;
}

void TCompLHA::compressMember(std::ostream& out, std::istream& in, const std::string& path,
                              const std::string& storedName, LhaMethod method, uint32_t dateTime,
                              int attribute) {
    const auto started = std::chrono::steady_clock::now();
    const uint64_t size = StreamSize(in);
    LhaMemberHeader header;
    header.method = method;
    header.originalSize = static_cast<uint32_t>(size);
    header.date = static_cast<uint16_t>(dateTime >> 16);
    header.time = static_cast<uint16_t>(dateTime);
    header.attribute = static_cast<uint8_t>(attribute & 0x7F);
    header.level = ArchiveType == TCompLHAArchiveType::caLHA2  ? 2
                   : ArchiveType == TCompLHAArchiveType::caLHA ? 1
                                                               : 0;
    header.scrambled = !Password.empty();
    header.name = storedName;
    // A name that begins like a drive is a file name here: the system mark "U" says so to readers,
    // which would otherwise drop the "drive" and expand two members into one file.
    if (header.level >= 1 && DropDrive(storedName) != DropSystemDrive(storedName))
        header.osId = 'U';
    // Data that does not shrink is stored as it is, so the file itself must fit the size fields.
    if (size > LargestDataSize(header))
        throw EInOutError(QT_TRANSLATE_NOOP("ArchiveEngine", "File too large for an archive member: %1"),
                          PrintableName(path));

    const auto headerStart = out.tellp();
    WriteMemberHeader(out, header);
    const auto dataStart = out.tellp();
    CodecJob job = codecJob(CodecDirection::Compress, method, in, out, size);
    CodecResult result;
    try {
        result = CompressData(job, header, in, out, dataStart);
    } catch (const EWriteError&) {
        throw;
    } catch (const EInOutError&) {
        throw EInOutError(QT_TRANSLATE_NOOP("ArchiveEngine", "Cannot read %1"), PrintableName(path));
    }
    // The header says how long the file is; data of another length would make a corrupt member.
    if (result.bytesRead != size)
        throw EInOutError(QT_TRANSLATE_NOOP("ArchiveEngine", "File changed while it was read: %1"),
                          PrintableName(path));
    header.packedSize = static_cast<uint32_t>(result.bytesWritten);
    header.crc = result.crc;
    out.seekp(headerStart);
    WriteMemberHeader(out, header);
    out.seekp(dataStart + static_cast<std::streamoff>(result.bytesWritten));
    if (!out)
        throw EWriteError(QT_TRANSLATE_NOOP("ArchiveEngine", "Write error"), {});
    compressionPercentage_ = Percent(result.bytesWritten, size);
    durationMs_ =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count();
}

void TCompLHA::CompressToStream(std::ostream& out, std::vector<std::string>& files, TCompLHAMethod method) {
    abort_ = false;
    files = ExpandPatterns(files);
    size_t i = 0;
    while (i < files.size()) {
        const std::string path = files[i];
        uint32_t dateTime = 0;
        const std::string name = proposedName(path, dateTime);
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
                throw EInOutError(QT_TRANSLATE_NOOP("ArchiveEngine", "Cannot open %1"), PrintableName(path));
            files.erase(files.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        files[i] = name;
        compressMember(out, in, path, name, ToLhaMethod(method), dateTime, FileAttribute(path) & 0x7F);
        processed_.push_back(name);
        if (OnAfterProcessed)
            OnAfterProcessed(path, name, dateTime, TCompLHAProcessMode::cmCompress);
        ++i;
    }
}

} // namespace verasco::archive
