// SPDX-License-Identifier: MIT
#include "av_support.h"

#include "plain_files.h"

#include <algorithm>
#include <cstdio>

namespace sharing::codec {

QString avErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

InputFile::~InputFile() {
    if (io_)
        av_freep(&io_->buffer);
    avio_context_free(&io_);
}

bool InputFile::open(const QString& path, QString* error) {
    if (!imaging::openRegularFile(file_, path, error))
        return false;
    size_ = file_.size();
    if (const QString tooLarge = imaging::overrunReason(size_, size_, imaging::SoundFileLimit);
        !tooLarge.isEmpty()) {
        *error = tooLarge;
        return false;
    }
    constexpr int BufferSize = 64 * 1024;
    auto* buffer = static_cast<unsigned char*>(av_malloc(BufferSize));
    if (buffer)
        io_ = avio_alloc_context(buffer, BufferSize, 0, this, &InputFile::read, nullptr, &InputFile::seek);
    if (!io_) {
        av_free(buffer);
        *error = avErrorText(AVERROR(ENOMEM));
        return false;
    }
    return true;
}

int InputFile::read(void* opaque, uint8_t* buffer, int size) {
    auto* self = static_cast<InputFile*>(opaque);
    const qint64 left = self->size_ - self->file_.pos();
    if (left <= 0)
        return AVERROR_EOF;
    const qint64 n = self->file_.read(reinterpret_cast<char*>(buffer), std::min<qint64>(size, left));
    return n > 0 ? int(n) : n == 0 ? AVERROR_EOF : AVERROR(EIO);
}

int64_t InputFile::seek(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<InputFile*>(opaque);
    if (whence & AVSEEK_SIZE)
        return self->size_;
    qint64 to = -1;
    switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET:
        to = offset;
        break;
    case SEEK_CUR:
        to = self->file_.pos() + offset;
        break;
    case SEEK_END:
        to = self->size_ + offset;
        break;
    default:
        break;
    }
    return to >= 0 && self->file_.seek(to) ? to : AVERROR(EINVAL);
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
