// SPDX-License-Identifier: MIT
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
    "  -0 | -1 | -2            header level for a (default 1; level 0 upper-cases names)\n"
    "  -p                      store folder names (StorePath)\n"
    "  -C FOLDER               target folder: extract into it (x); cut it from stored names (a -p)\n"
    "  --                      every argument after it is a name, also one beginning with -\n"
    "  -h | --help | --version show this help or the version and exit (as the only argument)\n";

// "-lh0-", "-lh1-" or "-lh5-".
bool MethodOption(const std::string& arg, TCompLHAMethod& method) {
    for (const TCompLHAMethod m : {TCompLHAMethod::colh0, TCompLHAMethod::colh1, TCompLHAMethod::colh5}) {
        if (arg == MethodIdentifier(static_cast<LhaMethod>(m))) {
            method = m;
            return true;
        }
    }
    return false;
}

int List(TCompLHA& lha) {
    if (!lha.Scan()) {
        std::cerr << "verasco-lha: " << PrintableName(lha.ArchiveName) << ": no such archive\n";
        return 1;
    }
    std::printf("%-10s %10s %10s %4s %-5s  %-10s %-8s %s\n", "method", "size", "packed", "lvl", "crc", "date",
                "time", "name");
    for (const auto& [name, info] : lha.Contents()) {
        std::printf("%-10s %10u %10u %4d %04x   %04d-%02d-%02d %02d:%02d:%02d %s\n",
                    MethodIdentifier(static_cast<LhaMethod>(info.method)).c_str(), info.originalSize,
                    info.packedSize, info.headerLevel, info.crc, 1980 + (info.date >> 9),
                    (info.date >> 5) & 15, info.date & 31, info.time >> 11, (info.time >> 5) & 63,
                    (info.time & 31) * 2, PrintableName(name).c_str());
    }
    return 0;
}

// Reads the options and names into the component; false (after saying why) when they are wrong.
bool ReadArguments(int argc, char** argv, TCompLHA& lha) {
    std::vector<std::string> positional;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-0" || arg == "-1" || arg == "-2") {
            lha.ArchiveType = arg == "-0"   ? TCompLHAArchiveType::caLHARC
                              : arg == "-1" ? TCompLHAArchiveType::caLHA
                                            : TCompLHAArchiveType::caLHA2;
        } else if (arg == "-p") {
            lha.StorePath = true;
        } else if (arg == "-C" && i + 1 < argc) {
            lha.SetTargetPath(argv[++i]);
        } else if (arg == "--") {
            positional.insert(positional.end(), argv + i + 1, argv + argc);
            break;
        } else if (arg.size() > 1 && arg[0] == '-') {
            if (!MethodOption(arg, lha.CompressionMethod)) {
                std::cerr << "verasco-lha: unknown option " << PrintableName(arg) << "\n" << kUsage;
                return false;
            }
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty()) {
        std::cerr << kUsage;
        return false;
    }
    lha.ArchiveName = positional[0];
    lha.FilesToProcess.assign(positional.begin() + 1, positional.end());
    return true;
}

// Runs a, x or t and names each file or member done: for x and t also those done before a
// failure, for a only once the archive is written (a failed run keeps none of them).
int Run(const std::string& command, TCompLHA& lha) {
    const char* done = command == "a" ? "added " : command == "t" ? "ok " : "extracted ";
    int status = 0;
    try {
        if (command == "a")
            lha.Compress();
        else if (command == "t")
            lha.Verify();
        else
            lha.Expand();
    } catch (const std::exception& e) {
        std::cerr << "verasco-lha: " << e.what() << "\n";
        status = 1;
    }
    if (command == "a" && status != 0)
        return status;
    for (const std::string& name : lha.Processed())
        std::cout << done << PrintableName(name) << "\n";
    return status;
}

} // namespace

int main(int argc, char** argv) {
    // Asked for, the usage and the version are the answer, not an error.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "verasco-lha " VERASCO_VERSION "\n";
        return 0;
    }
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
    if (!ReadArguments(argc, argv, lha))
        return 2;
    if (command == "l") {
        try {
            return List(lha);
        } catch (const std::exception& e) {
            std::cerr << "verasco-lha: " << e.what() << "\n";
            return 1;
        }
    }
    if (command != "a" && command != "x" && command != "t") {
        std::cerr << kUsage;
        return 2;
    }
    if (command == "a" && lha.FilesToProcess.empty()) {
        std::cerr << "verasco-lha: no files to add\n";
        return 2;
    }
    return Run(command, lha);
}
