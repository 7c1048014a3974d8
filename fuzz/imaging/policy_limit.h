// SPDX-License-Identifier: MIT
// For the picture fuzzers: libFuzzer fails an input one of whose allocations goes beyond what the
// picture policy lets a decode take at once (its largest picture at eight bytes a pixel), whatever
// limit the command line sets for the whole process. A limit given on the command line still wins.
#pragma once

#include "picture_limits.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::string limit = "-malloc_limit_mb=" + std::to_string(imaging::QtReaderAllocationLimitMB);
    static std::vector<char*> arguments;
    arguments.assign(*argv, *argv + *argc);
    arguments.insert(arguments.begin() + (*argc > 0 ? 1 : 0), limit.data());
    arguments.push_back(nullptr);
    *argc = int(arguments.size()) - 1;
    *argv = arguments.data();
    return 0;
}
