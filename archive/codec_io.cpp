// SPDX-License-Identifier: MIT
#include "codec_io.h"

#include "lha_errors.h"

#include <istream>
#include <ostream>
#include <thread>

namespace verasco::archive {

Scrambler::Scrambler(const std::string& password) {
    if (password.empty())
        return;
    active_ = true;
    uint32_t key = 1;
    for (unsigned char c : password)
        key *= c;
    if (key == 0)
        key = 0x5EC2A93Bu; // any fixed non-zero value; a product of 0 would not scramble
    for (int i = 0; i < 4; ++i)
        key_[i] = static_cast<uint8_t>(key >> (8 * i));
}

void Scrambler::apply(uint8_t* data, size_t n) {
    for (size_t i = 0; i < n; ++i)
        data[i] ^= key_[turn_++ & 3];
}

int Percent(uint64_t part, uint64_t whole) {
    if (whole == 0)
        return 100;
    if (whole <= 100000)
        return static_cast<int>(part * 100 / whole);
    return static_cast<int>(part / (whole / 100));
}

ByteSource::ByteSource(const CodecJob& job, bool unscramble, bool computeCrc)
    : job_(job), scrambler_(unscramble ? job.password : std::string()), computeCrc_(computeCrc),
      remaining_(job.inputLength) {}

bool ByteSource::refill() {
    pos_ = end_ = 0;
    if (remaining_ == 0)
        return false;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(kIoBufferSize, remaining_));
    job_.input->read(reinterpret_cast<char*>(buffer_.data()), static_cast<std::streamsize>(want));
    const size_t got = static_cast<size_t>(job_.input->gcount());
    // A failed read is not the end of the input: the data would silently come out short.
    if (job_.input->bad())
        throw EInOutError(QT_TRANSLATE_NOOP("ArchiveEngine", "Read error"), {});
    if (got == 0) {
        remaining_ = 0;
        return false;
    }
    remaining_ -= got;
    readSoFar_ += got;
    end_ = got;
    if (computeCrc_)
        crc_ = UpdateCrc16(crc_, buffer_.data(), got);
    if (scrambler_.active())
        scrambler_.apply(buffer_.data(), got);
    int percent = 0;
    if (job_.progress) {
        percent = Percent(readSoFar_, job_.inputLength);
        job_.progress(percent);
    }
    if ((job_.abortFlag && *job_.abortFlag) || percent == -1)
        throw ECompLHAOperationAborted(QT_TRANSLATE_NOOP("ArchiveEngine", "Operation cancelled"), {});
    std::this_thread::yield();
    return true;
}

size_t ByteSource::read(uint8_t* dst, size_t n) {
    size_t done = 0;
    while (done < n) {
        if (available() == 0 && !refill())
            break;
        const size_t take = std::min(n - done, available());
        std::memcpy(dst + done, data(), take);
        consume(take);
        done += take;
    }
    return done;
}

ByteSink::ByteSink(const CodecJob& job, uint64_t budget, bool scramble, bool computeCrc)
    : job_(job), scrambler_(scramble ? job.password : std::string()), computeCrc_(computeCrc),
      budget_(budget) {}

void ByteSink::Overflow() {
    throw EUnableToCompress(QT_TRANSLATE_NOOP("ArchiveEngine", "Could not compress data"), {});
}

void ByteSink::write(const uint8_t* p, size_t n) {
    if (n > budget_ - written_)
        Overflow();
    while (n > 0) {
        const size_t take = std::min(n, kIoBufferSize - fill_);
        std::memcpy(buffer_.data() + fill_, p, take);
        fill_ += take;
        written_ += take;
        p += take;
        n -= take;
        if (fill_ == kIoBufferSize)
            flushBuffer();
    }
}

void ByteSink::flushBuffer() {
    std::this_thread::yield();
    if (scrambler_.active())
        scrambler_.apply(buffer_.data(), fill_);
    if (computeCrc_)
        crc_ = UpdateCrc16(crc_, buffer_.data(), fill_);
    job_.output->write(reinterpret_cast<const char*>(buffer_.data()), static_cast<std::streamsize>(fill_));
    if (!*job_.output)
        throw EWriteError(QT_TRANSLATE_NOOP("ArchiveEngine", "Write error"), {});
    fill_ = 0;
}

void ByteSink::finish() {
    if (fill_ > 0)
        flushBuffer();
    job_.output->flush();
    if (!*job_.output)
        throw EWriteError(QT_TRANSLATE_NOOP("ArchiveEngine", "Write error"), {});
}

void BitReader::slowFill() {
    while (bits_ <= 56) {
        if (src_.available() == 0 && !src_.refill()) {
            // Past the end of input every bit reads as 0.
            ++src_.overrun;
            bits_ += 8;
            continue;
        }
        buf_ |= static_cast<uint64_t>(*src_.data()) << (56 - bits_);
        src_.consume(1);
        bits_ += 8;
    }
}

} // namespace verasco::archive
