// SPDX-License-Identifier: MIT
// libjpeg error handling for the JPEG/QPX codec: fatal errors jump back to the caller's setjmp point
// instead of ending the program, and so do warnings about damaged data and a picture beyond the
// picture policy (too large, too much working memory, more scans than its size allows): such a
// picture is one that cannot be read, never one shown with invented rows or decoded for minutes.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "jpeg_scans.h"
#include "picture_limits.h"

namespace imaging {

// Why a decode was ended early by the error manager rather than by a fatal libjpeg error.
enum class JpegStop { None, Truncated, CorruptData, TooManyScans, TooLarge, OutOfMemory };

struct JpegErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg sees only this part
    std::jmp_buf jump;
    JpegStop stop;
};

// Fills `manager` and returns the pointer to store in the codec struct's `err` field.
jpeg_error_mgr* initJpegErrorManager(JpegErrorManager& manager);

// For a decompressor whose header has been read from `data`: ends the decode through the error
// manager's jump when the picture is beyond the picture policy's size or its stream holds more scans
// than the policy allows for that size, and caps libjpeg's working memory at the policy's budget (a
// progressive picture whose coefficients would take more is refused as too large).
void applyPicturePolicy(j_decompress_ptr cinfo, const unsigned char* data, std::size_t size);

// Progress of a libjpeg pass sequence in percent (0..99), from its progress manager.
int jpegProgressPercent(const jpeg_progress_mgr& progress);

} // namespace imaging
