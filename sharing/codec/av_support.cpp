// SPDX-License-Identifier: MIT
#include "av_support.h"

namespace sharing::codec {

QString avErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

OutputFile::~OutputFile() {
    if (!context_)
        return;
    if (context_->pb)
        avio_closep(&context_->pb);
    avformat_free_context(context_);
}

bool OutputFile::create(const char* format, const QString& path, QString* error) {
    const int result =
        avformat_alloc_output_context2(&context_, nullptr, format, QFile::encodeName(path).constData());
    if (result < 0 || !context_) {
        *error = avErrorText(result);
        return false;
    }
    return true;
}

bool OutputFile::open(QString* error) {
    const int result = avio_open(&context_->pb, context_->url, AVIO_FLAG_WRITE);
    if (result < 0) {
        *error = avErrorText(result);
        return false;
    }
    return true;
}

bool OutputFile::close(QString* error) {
    const int written = context_->pb ? context_->pb->error : 0;
    const int closed = avio_closep(&context_->pb);
    if (written < 0 || closed < 0) {
        *error = avErrorText(written < 0 ? written : closed);
        return false;
    }
    return true;
}

} // namespace sharing::codec
