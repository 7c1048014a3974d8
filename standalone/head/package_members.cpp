#include "package_members.h"

#include "comp_lha.h"
#include "member_name.h"

#include <algorithm>
#include <filesystem>

namespace verasco::head {
namespace {

std::string Extension(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

// Package members are plain file names: nothing that could name another folder.
bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

void Prepare(archive::TCompLHA& lha, const std::string& package, uint64_t start) {
    lha.ArchiveName = package;
    lha.MembersStart = start;
    lha.ExceptionOnFileError = true;
}

} // namespace

std::vector<std::string> ListMembers(const std::string& package, uint64_t start) {
    archive::TCompLHA lha;
    Prepare(lha, package, start);
    uint64_t end = start;
    try {
        if (!lha.Scan())
            throw PackageError("cannot read " + package);
        for (const auto& [name, info] : lha.Contents())
            end = info.dataPosition + info.packedSize;
    } catch (const PackageError&) {
        throw;
    } catch (const std::exception& e) {
        throw PackageError(std::string("the package is damaged: ") + e.what());
    }
    std::error_code ec;
    const uint64_t size = std::filesystem::file_size(package, ec);
    if (lha.Contents().empty())
        throw PackageError("the package holds no show");
    if (end != size)
        throw PackageError("the package is damaged: " + std::to_string(size - std::min(size, end)) +
                           " bytes after the last complete member (is the file cut short?)");
    std::vector<std::string> names;
    for (const auto& member : lha.Contents()) {
        if (!IsPlainName(member.first))
            throw PackageError("the package is damaged: the member name " + member.first +
                               " would leave the show's folder");
        names.push_back(member.first);
    }
    return names;
}

void ExpandMembers(const std::string& package, uint64_t start, const std::string& folder,
                   const std::function<bool()>& stop) {
    archive::TCompLHA lha;
    Prepare(lha, package, start);
    lha.SetTargetPath(folder);
    lha.OnShowProgress = [&stop](int& percentDone) {
        if (stop())
            percentDone = -1;
    };
    try {
        lha.Expand();
    } catch (const std::exception& e) {
        throw PackageError(std::string("the package is damaged: ") + e.what());
    }
}

std::string PlayerMember(const std::vector<std::string>& members, const std::string& packageFileName) {
    const std::string wanted = archive::UpperCaseName(packageFileName);
    if (std::find(members.begin(), members.end(), wanted) != members.end())
        return wanted;
    const std::string extension = Extension(wanted);
    std::vector<std::string> candidates;
    std::copy_if(members.begin(), members.end(), std::back_inserter(candidates),
                 [&](const std::string& m) { return !extension.empty() && Extension(m) == extension; });
    if (candidates.size() == 1)
        return candidates.front();
    throw PackageError("the package holds no player named " + wanted);
}

} // namespace verasco::head
