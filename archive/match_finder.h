// SPDX-License-Identifier: MIT
// Sliding window with hash chains over three-byte prefixes: the match search of both LZ coders.
// Positions are absolute (1 for the first input byte), so the chains never need rebasing. A member
// holds at most 4 GiB - 1 bytes, so its bytes lie at positions below 2^32 and the chains keep 32
// bits; the end of the input, and the positions the coders step through, reach 2^32 and are
// counted in 64 bits. (Past 2^32 the chains would find nothing: never a wrong match.)
#pragma once

#include "codec_io.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace verasco::archive {

struct MatchLimits {
    uint32_t dictionary; // farthest distance back
    uint32_t maxMatch;   // longest match
    uint32_t maxChain;   // chain entries looked at per search
    uint32_t niceMatch;  // a match this long ends the search
};

class MatchFinder {
  public:
    MatchFinder(ByteSource& source, const MatchLimits& limits, uint64_t firstPosition = 1)
        : src_(source), lim_(limits), capacity_(8 * limits.dictionary + 4 * kPad),
          window_(capacity_ + kPad, 0), head_(kHashSize, 0), prev_(2 * limits.dictionary, 0),
          prevMask_(2 * limits.dictionary - 1), base_(firstPosition), end_(firstPosition) {}

    // Reads input until maxMatch + 3 bytes lie ahead of `pos` or the input ends.
    void fill(uint64_t pos) {
        while (!eof_ && end_ - pos < lim_.maxMatch + 3) {
            if (end_ - base_ == capacity_) {
                const uint64_t keep = pos - base_ > lim_.dictionary + 16 ? pos - lim_.dictionary - 16 : base_;
                std::memmove(window_.data(), window_.data() + (keep - base_), end_ - keep);
                base_ = keep;
            }
            const size_t got = src_.read(window_.data() + (end_ - base_), capacity_ - (end_ - base_));
            if (got == 0)
                eof_ = true;
            end_ += got;
            std::memset(window_.data() + (end_ - base_), 0, kPad);
        }
    }

    uint64_t end() const { return end_; }
    uint8_t at(uint64_t pos) const { return window_[pos - base_]; }

    // Adds `pos` to its chain; returns the previous head (0 when none). Needs 3 bytes at pos.
    uint64_t insert(uint64_t pos) {
        const uint32_t h = hash(pos);
        const uint64_t old = head_[h];
        prev_[pos & prevMask_] = head_[h];
        head_[h] = static_cast<uint32_t>(pos);
        return old;
    }

    // Longest match at `pos` longer than `best`, starting the chain at `candidate`.
    uint32_t longest(uint64_t pos, uint64_t candidate, uint32_t best, uint64_t& matchPos) const {
        const uint32_t maxLen = static_cast<uint32_t>(std::min<uint64_t>(lim_.maxMatch, end_ - pos));
        if (best >= maxLen)
            return 0;
        const uint8_t* s = window_.data() + (pos - base_);
        uint32_t chain = lim_.maxChain;
        uint32_t found = 0;
        while (candidate != 0 && pos - candidate <= lim_.dictionary && chain-- > 0) {
            const uint8_t* c = window_.data() + (candidate - base_);
            if (c[best] == s[best] && c[0] == s[0] && c[1] == s[1]) {
                const uint32_t len = MatchLength(s, c, maxLen);
                if (len > best) {
                    best = len;
                    found = len;
                    matchPos = candidate;
                    if (len >= lim_.niceMatch || len >= maxLen)
                        break;
                }
            }
            candidate = prev_[candidate & prevMask_];
        }
        return found;
    }

  private:
    static constexpr uint32_t kHashBits = 15;
    static constexpr uint32_t kHashSize = 1u << kHashBits;
    static constexpr uint32_t kPad = 16;

    uint32_t hash(uint64_t pos) const {
        uint32_t v;
        std::memcpy(&v, window_.data() + (pos - base_), 4);
        return ((v & 0xFFFFFF) * 2654435761u) >> (32 - kHashBits);
    }

    static uint32_t MatchLength(const uint8_t* s, const uint8_t* c, uint32_t maxLen) {
        uint32_t len = 0;
        while (len + 8 <= maxLen) {
            uint64_t a, b;
            std::memcpy(&a, s + len, 8);
            std::memcpy(&b, c + len, 8);
            if (const uint64_t x = a ^ b)
                return len + static_cast<uint32_t>(__builtin_ctzll(x) >> 3);
            len += 8;
        }
        while (len < maxLen && s[len] == c[len])
            ++len;
        return len;
    }

    ByteSource& src_;
    MatchLimits lim_;
    uint32_t capacity_;
    std::vector<uint8_t> window_;
    std::vector<uint32_t> head_;
    std::vector<uint32_t> prev_;
    uint64_t prevMask_;
    uint64_t base_;
    uint64_t end_;
    bool eof_ = false;
};

// Output window of the expanders: `history` bytes of earlier output (blanks at the start)
// followed by new output, handed to the sink in large pieces.
class ExpandWindow {
  public:
    ExpandWindow(ByteSink& sink, uint32_t history)
        : sink_(sink), history_(history), buffer_(history + kWork + 512, 0x20), pos_(history) {}

    uint8_t* data() { return buffer_.data(); }
    uint32_t pos() const { return pos_; }
    void literal(uint8_t b) { buffer_[pos_++] = b; }
    // Copies `length` bytes from `distance` + 1 bytes back; overlapping copies repeat bytes.
    void copy(uint32_t distance, uint32_t length) {
        uint8_t* dst = buffer_.data() + pos_;
        const uint8_t* src = dst - distance - 1;
        if (distance >= 7) {
            for (uint32_t i = 0; i < length; i += 8)
                std::memcpy(dst + i, src + i, 8);
        } else {
            for (uint32_t i = 0; i < length; ++i)
                dst[i] = src[i];
        }
        pos_ += length;
    }
    // Hands full pieces to the sink, keeping the history.
    void maybeFlush() {
        if (pos_ >= history_ + kWork)
            flush();
    }
    void flush() {
        sink_.write(buffer_.data() + history_, pos_ - history_);
        std::memmove(buffer_.data(), buffer_.data() + pos_ - history_, history_);
        pos_ = history_;
    }

  private:
    static constexpr uint32_t kWork = 32768;
    ByteSink& sink_;
    uint32_t history_;
    std::vector<uint8_t> buffer_;
    uint32_t pos_;
};

} // namespace verasco::archive
