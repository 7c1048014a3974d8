// SPDX-License-Identifier: MIT
// The "-lh1-" expander on arbitrary member data.
#include "fuzz_expand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return ExpandOnce(verasco::archive::LhaMethod::Lh1, data, size);
}
