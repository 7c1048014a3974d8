#include "jpeg_error.h"

#include <jerror.h>

namespace imaging {

namespace {

[[noreturn]] void jumpOnError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    std::longjmp(manager->jump, 1);
}

void noteMessage(j_common_ptr cinfo, int level) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    // Level -1 is a warning about the data; the rest are traces. libjpeg keeps decoding a stream that
    // ends early by inventing the missing rows; the picture is then not the file's, so it is refused.
    if (level < 0) {
        manager->pub.num_warnings++;
        if (manager->pub.msg_code == JWRN_JPEG_EOF)
            manager->truncated = true;
    }
}

void silent(j_common_ptr) {}

} // namespace

jpeg_error_mgr* initJpegErrorManager(JpegErrorManager& manager) {
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = jumpOnError;
    manager.pub.emit_message = noteMessage;
    manager.pub.output_message = silent;
    manager.truncated = false;
    return &manager.pub;
}

int jpegProgressPercent(const jpeg_progress_mgr& p) {
    if (p.total_passes <= 0 || p.pass_limit <= 0)
        return 0;
    const double done = p.completed_passes + double(p.pass_counter) / double(p.pass_limit);
    const int pct = int(100.0 * done / p.total_passes);
    return pct < 0 ? 0 : (pct > 99 ? 99 : pct);
}

} // namespace imaging
