// SPDX-License-Identifier: MIT
#pragma once
// The scans of a JPEG stream, counted for the picture policy (picture_limits.h) before anything is
// decoded. Plain C++, so that every decoder keeps the policy: libjpeg's in the program and in the
// packages' run-time for Linux, and Windows' own in the run-time for Windows.

#include <cstddef>

namespace imaging {

// The scans (start-of-scan markers) of a JPEG stream up to its end marker, found by walking its
// marker segments and entropy-coded data without decoding anything.
int countJpegScans(const unsigned char* data, std::size_t size);

} // namespace imaging
