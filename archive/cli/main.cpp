// verasco-lha: a small command-line program over the archive component, for scripts and for
// looking into stand-alone packages.
#include "comp_lha.h"
#include "lha_errors.h"
#include "member_name.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

using namespace verasco::archive;

namespace {

const char* kUsage =
    "usage: verasco-lha a|x|t|l [options] ARCHIVE [FILES...]\n"
    "  a  add FILES to ARCHIVE (same-named members are replaced)\n"
    "  x  extract members (all, or those named or matched by FILES)\n"
    "  t  test members: expand and check each CRC without writing files\n"
    "  l  list members\n"
    "options:\n"
    "  -lh0- | -lh1- | -lh5-   method for a (default -lh5-)\n"
    "  -0 | -1                 header level for a (default 1; level 0 upper-cases names)\n"
    "  -p                      store folder names (StorePath)\n"
    "  -C FOLDER               target folder: extract into it (x); cut it from stored names (a -p)\n";

int List(TCompLHA& lha) {
    if (!lha.Scan()) {
        std::cerr << "verasco-lha: " << PrintableName(lha.ArchiveName) << ": no such archive\n";
        return 1;
    }
    std::printf("%-10s %10s %10s %4s %-5s  %-10s %-8s %s\n", "method", "size", "packed", "lvl", "crc", "date",
                "time", "name");
    for (const auto& [name, info] : lha.Contents()) {
        std::printf("%-10s %10u %10u %4d %04x   %04d-%02d-%02d %02d:%02d:%02d %s\n",
                    MethodIdentifier(static_cast<LhaMethod>(info.method)), info.originalSize, info.packedSize,
                    info.headerLevel, info.crc, 1980 + (info.date >> 9), (info.date >> 5) & 15,
                    info.date & 31, info.time >> 11, (info.time >> 5) & 63, (info.time & 31) * 2,
                    PrintableName(name).c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = argv[1];
    TCompLHA lha;
    lha.CompressionMethod = TCompLHAMethod::colh5;
    lha.ArchiveType = TCompLHAArchiveType::caLHA;
    lha.ExceptionOnFileError = true;
    lha.MakeDirectories = true;
    std::vector<std::string> positional;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-lh0-")
            lha.CompressionMethod = TCompLHAMethod::colh0;
        else if (arg == "-lh1-")
            lha.CompressionMethod = TCompLHAMethod::colh1;
        else if (arg == "-lh5-")
            lha.CompressionMethod = TCompLHAMethod::colh5;
        else if (arg == "-0")
            lha.ArchiveType = TCompLHAArchiveType::caLHARC;
        else if (arg == "-1")
            lha.ArchiveType = TCompLHAArchiveType::caLHA;
        else if (arg == "-p")
            lha.StorePath = true;
        else if (arg == "-C" && i + 1 < argc)
            lha.SetTargetPath(argv[++i]);
        else if (arg == "--")
            positional.insert(positional.end(), argv + i + 1, argv + argc), i = argc;
        else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "verasco-lha: unknown option " << arg << "\n" << kUsage;
            return 2;
        } else
            positional.push_back(arg);
    }
    if (positional.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    lha.ArchiveName = positional[0];
    lha.FilesToProcess.assign(positional.begin() + 1, positional.end());
    try {
        if (command == "a") {
            if (lha.FilesToProcess.empty()) {
                std::cerr << "verasco-lha: no files to add\n";
                return 2;
            }
            lha.Compress();
            for (const std::string& name : lha.Processed())
                std::cout << "added " << PrintableName(name) << "\n";
        } else if (command == "x" || command == "t") {
            if (command == "t")
                lha.Verify();
            else
                lha.Expand();
            for (const std::string& name : lha.Processed())
                std::cout << (command == "t" ? "ok " : "extracted ") << PrintableName(name) << "\n";
        } else if (command == "l") {
            return List(lha);
        } else {
            std::cerr << kUsage;
            return 2;
        }
    } catch (const std::exception& e) {
        std::cerr << "verasco-lha: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
