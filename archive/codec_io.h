// SPDX-License-Identifier: MIT
// Buffered byte source and sink of one codec run: 8192-byte buffers, CRC, progress, the output
// budget and scrambling are handled here once for every method.
#pragma once

#include "crc16.h"
#include "lzh_codec.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace verasco::archive {

constexpr size_t kIoBufferSize = 8192;

// Key stream that XORs member data with the four bytes of a password key in turn.
class Scrambler {
  public:
    explicit Scrambler(const std::string& password);
    bool active() const { return active_; }
    void apply(uint8_t* data, size_t n);

  private:
    bool active_ = false;
    uint8_t key_[4] = {};
    uint32_t turn_ = 0;
};

class ByteSource {
  public:
    ByteSource(const CodecJob& job, bool unscramble, bool computeCrc);

    // Bytes available in the buffer; refill() when empty. Returns false at the end of input.
    const uint8_t* data() const { return buffer_.data() + pos_; }
    size_t available() const { return end_ - pos_; }
    void consume(size_t n) { pos_ += n; }
    bool refill();

    // Copies up to n bytes; returns the count (less only at the end of input).
    size_t read(uint8_t* dst, size_t n);

    uint16_t crc() const { return crc_; }
    uint64_t bytesRead() const { return readSoFar_; }
    // Zero bytes handed out past the end of input by a bit reader.
    uint64_t overrun = 0;

  private:
    const CodecJob& job_;
    Scrambler scrambler_;
    bool computeCrc_;
    uint64_t remaining_;
    uint64_t readSoFar_ = 0;
    uint16_t crc_ = 0;
    std::array<uint8_t, kIoBufferSize> buffer_{};
    size_t pos_ = 0;
    size_t end_ = 0;
};

class ByteSink {
  public:
    ByteSink(const CodecJob& job, uint64_t budget, bool scramble, bool computeCrc);

    void put(uint8_t b) {
        if (written_ >= budget_)
            Overflow();
        ++written_;
        buffer_[fill_++] = b;
        if (fill_ == kIoBufferSize)
            flushBuffer();
    }
    void write(const uint8_t* p, size_t n);
    // Writes what is left in the buffer: only at the end of a successful run.
    void finish();

    uint64_t written() const { return written_; }
    uint16_t crc() const { return crc_; }

  private:
    [[noreturn]] static void Overflow();
    void flushBuffer();

    const CodecJob& job_;
    Scrambler scrambler_;
    bool computeCrc_;
    uint64_t budget_;
    uint64_t written_ = 0;
    uint16_t crc_ = 0;
    std::array<uint8_t, kIoBufferSize> buffer_{};
    size_t fill_ = 0;
};

// Most significant bit first reader over a ByteSource; reads past the end give zero bits.
class BitReader {
  public:
    explicit BitReader(ByteSource& source) : src_(source) { fill(); }

    // Keeps at least 57 valid bits in the buffer.
    void fill() {
        if (bits_ > 56)
            return;
        if (src_.available() >= 8) {
            uint64_t v;
            std::memcpy(&v, src_.data(), 8);
            v = __builtin_bswap64(v);
            buf_ |= v >> bits_;
            const unsigned take = (63 - bits_) >> 3;
            src_.consume(take);
            bits_ += take * 8;
            return;
        }
        slowFill();
    }
    uint32_t peek(unsigned n) const { return static_cast<uint32_t>(buf_ >> (64 - n)); }
    void skip(unsigned n) {
        buf_ <<= n;
        bits_ -= n;
    }
    uint32_t get(unsigned n) {
        if (n == 0)
            return 0;
        fill();
        uint32_t v = peek(n);
        skip(n);
        return v;
    }
    uint64_t raw() const { return buf_; }
    bool overran() const { return src_.overrun > 16; }

  private:
    void slowFill();

    ByteSource& src_;
    uint64_t buf_ = 0;
    unsigned bits_ = 0;
};

// Most significant bit first writer into a ByteSink.
class BitWriter {
  public:
    explicit BitWriter(ByteSink& sink) : sink_(sink) {}
    void put(unsigned n, uint32_t value) {
        if (n == 0)
            return;
        acc_ = (acc_ << n) | (value & ((1u << n) - 1));
        bits_ += n;
        while (bits_ >= 8) {
            bits_ -= 8;
            sink_.put(static_cast<uint8_t>(acc_ >> bits_));
        }
    }
    // Pads the last partial byte with zero bits.
    void flush() {
        if (bits_ > 0)
            put(8 - bits_, 0);
    }

  private:
    ByteSink& sink_;
    uint64_t acc_ = 0;
    unsigned bits_ = 0;
};

// The method bodies, one per file.
void CompressLh5(ByteSource& in, ByteSink& out);
void ExpandLh5(ByteSource& in, ByteSink& out, uint64_t expectedSize);
void CompressLh1(ByteSource& in, ByteSink& out);
void ExpandLh1(ByteSource& in, ByteSink& out, uint64_t expectedSize);
void ExpandRle(ByteSource& in, ByteSink& out, uint64_t expectedSize);

} // namespace verasco::archive
