// SPDX-License-Identifier: MIT
// The component's properties, confirmations, finding files and the table of contents. The
// operations that write live beside it: comp_lha_compress.cpp (into a stream),
// comp_lha_update.cpp (an archive file) and comp_lha_expand.cpp (expand and verify).
#include "comp_lha.h"

#include "archive_reader.h"
#include "file_mask.h"

#include <filesystem>

namespace verasco::archive {
namespace {

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

TCompLHAFileInfo InfoOf(const LhaMemberHeader& header, uint64_t dataPosition) {
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
    info.dataPosition = dataPosition;
    return info;
}

} // namespace

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

void TCompLHA::confirmName(int line, const std::string& first, std::string& name) const {
    if (!Confirm || name.empty() || name == "*" || static_cast<int>(ConfirmMessages.size()) <= line)
        return;
    const std::string text = FormatLine(ConfirmMessages[line], PrintableName(first), PrintableName(name));
    if (text.empty() || !OnConfirm)
        return;
    switch (OnConfirm(ConfirmMessages[0], text)) {
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

// A codec run with the component's password, progress event and abort flag.
CodecJob TCompLHA::codecJob(CodecDirection direction, LhaMethod method, std::istream& in, std::ostream& out,
                            uint64_t inputLength) const {
    CodecJob job;
    job.direction = direction;
    job.method = method;
    job.input = &in;
    job.output = &out;
    job.inputLength = inputLength;
    job.password = Password;
    job.progress = OnShowProgress;
    job.abortFlag = &abort_;
    return job;
}

bool TCompLHA::Scan() {
    contents_.clear();
    std::error_code ec;
    ArchiveReader reader;
    if (!std::filesystem::is_regular_file(ArchiveName, ec) || !reader.open(ArchiveName, MembersStart))
        return false;
    LhaMemberHeader header;
    // A member whose data is cut short ends the listing, as a header cut short does.
    while (reader.next(header) && reader.dataComplete(header))
        contents_.emplace_back(header.name, InfoOf(header, reader.dataPosition()));
    return true;
}

} // namespace verasco::archive
