// SPDX-License-Identifier: MIT
// libjpeg's error manager start, for a run-time that carries libjpeg inside itself: every handler
// is replaced by the run-time's own (imaging/jpeg_error.*), which neither prints nor exits, so the
// library's own start, which writes to the standard error stream, is left out. That keeps the
// run-time free of references to the C library's data, which a shared object cannot reach from
// libjpeg's static, position-dependent build.
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

void Stop(j_common_ptr) {}
void Note(j_common_ptr, int) {}
void NoText(j_common_ptr, char* buffer) {
    buffer[0] = '\0';
}

} // namespace

jpeg_error_mgr* jpeg_std_error(jpeg_error_mgr* err) {
    std::memset(err, 0, sizeof *err);
    err->error_exit = Stop;
    err->emit_message = Note;
    err->output_message = Stop;
    err->format_message = NoText;
    err->reset_error_mgr = Stop;
    return err;
}
