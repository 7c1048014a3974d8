// SPDX-License-Identifier: MIT
// libjpeg error handling for the JPEG/QPX codec: fatal errors jump back to the caller's setjmp point
// instead of ending the program, and so do warnings about damaged data and a progressive stream of
// more scans than any real picture has: such a picture is one that cannot be read, never one shown
// with invented rows or decoded for minutes.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace imaging {

// Why a decode was ended early by the error manager rather than by a fatal libjpeg error.
enum class JpegStop { None, Truncated, CorruptData, TooManyScans };

struct JpegErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg sees only this part
    std::jmp_buf jump;
    JpegStop stop;
};

// The most scans a picture may have. Progressive pictures as cameras, editors and libjpeg's own
// scripts write them have about ten; each scan is a pass over the whole picture, so a stream that
// repeats scans can take minutes on one large picture.
inline constexpr int MaxJpegScans = 100;

// Fills `manager` and returns the pointer to store in the codec struct's `err` field.
jpeg_error_mgr* initJpegErrorManager(JpegErrorManager& manager);

// For a decompressor's progress monitor: ends the decode, through the error manager's jump, once the
// stream has gone past MaxJpegScans.
void stopAfterTooManyScans(j_common_ptr cinfo);

// Progress of a libjpeg pass sequence in percent (0..99), from its progress manager.
int jpegProgressPercent(const jpeg_progress_mgr& progress);

} // namespace imaging
