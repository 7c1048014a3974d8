// libjpeg error handling for the JPEG/QPX codec: fatal errors jump back to the caller's setjmp point
// instead of ending the program, and a stream that ends early is remembered so it counts as a failure.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace imaging {

struct JpegErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg sees only this part
    std::jmp_buf jump;
    bool truncated;
};

// Fills `manager` and returns the pointer to store in the codec struct's `err` field.
jpeg_error_mgr* initJpegErrorManager(JpegErrorManager& manager);

// Progress of a libjpeg pass sequence in percent (0..99), from its progress manager.
int jpegProgressPercent(const jpeg_progress_mgr& progress);

} // namespace imaging
