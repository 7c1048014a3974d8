// SPDX-License-Identifier: MIT
#include "package_members.h"

#include "archive_reader.h"
#include "lha_errors.h"
#include "lzh_codec.h"
#include "member_name.h"
#include "member_names.h"
#include "private_folder.h"

#include <fstream>
#include <set>

namespace verasco::head {
namespace {

// Package members are plain file names: nothing that could name another folder.
bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

archive::ArchiveReader Open(const std::string& package, uint64_t start) {
    archive::ArchiveReader reader;
    if (!reader.open(package, start))
        throw PackageError("cannot read " + package);
    return reader;
}

[[noreturn]] void Damaged(const std::string& what) {
    throw PackageError("the package is damaged: " + what);
}

// Expands the member whose header was just read into the file `target`.
void ExpandMember(archive::ArchiveReader& reader, const archive::LhaMemberHeader& header,
                  const std::string& target, const std::function<bool()>& stop) {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    archive::CodecJob job;
    job.direction = archive::CodecDirection::Expand;
    job.method = header.method;
    job.input = &reader.stream();
    job.output = &out;
    job.inputLength = header.packedSize;
    job.expectedSize = header.originalSize;
    job.progress = [&stop](int& percentDone) {
        if (stop())
            percentDone = -1;
    };
    if (!out)
        throw archive::EWriteError("cannot create " + target);
    const archive::CodecResult result = archive::RunExpansion(job);
    out.close();
    if (!out)
        throw archive::EWriteError("cannot write " + target);
    if (result.crc != header.crc || result.bytesWritten != header.originalSize)
        Damaged("Bad CRC in " + header.name);
}

} // namespace

PackageMembers ListMembers(const std::string& package, uint64_t start) {
    archive::ArchiveReader reader = Open(package, start);
    PackageMembers members;
    archive::LhaMemberHeader header;
    uint64_t end = reader.nextPosition();
    std::set<std::string> stored; // a second member of a name would take the first one's place
    try {
        while (reader.next(header) && reader.dataComplete(header)) {
            if (!IsPlainName(header.name))
                Damaged("the member name " + header.name + " would leave the show's folder");
            if (!stored.insert(MemberNames::stored(header.name)).second)
                Damaged("two members are named " + archive::PrintableName(header.name));
            members.names.push_back(header.name);
            members.expandedSize += header.originalSize;
            end = reader.nextPosition();
        }
    } catch (const PackageError&) {
        throw;
    } catch (const std::exception& e) {
        Damaged(e.what());
    }
    if (members.names.empty())
        throw PackageError("the package holds no show");
    if (end != reader.size())
        Damaged(std::to_string(reader.size() - std::min(reader.size(), end)) +
                " bytes after the last complete member (is the file cut short?)");
    return members;
}

void ExpandMembers(const std::string& package, uint64_t start, const std::string& folder,
                   uint64_t expandedSize, const std::function<bool()>& stop) {
    archive::ArchiveReader reader = Open(package, start);
    archive::LhaMemberHeader header;
    try {
        while (reader.next(header))
            ExpandMember(reader, header, folder + "/" + header.name, stop);
    } catch (const archive::ECompLHAOperationAborted&) {
        // Stopped by a signal: the caller ends.
    } catch (const archive::EWriteError&) {
        throw PackageError("cannot write the show into " + folder + " (" + SpaceNeeded(expandedSize) + ")");
    } catch (const PackageError&) {
        throw;
    } catch (const std::exception& e) {
        Damaged(e.what());
    }
}

} // namespace verasco::head
