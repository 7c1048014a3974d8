// SPDX-License-Identifier: MIT
#pragma once
// One slide of a show, laid out byte for byte as it is kept in memory and stored in a show file.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// A short string: a length byte n followed by n single-byte characters inside a field of fixed
// capacity. Bytes after the n-th character are undefined and never read.
template <std::size_t Capacity> struct ShortString {
    std::uint8_t length;
    char chars[Capacity];

    std::string str() const { return std::string(chars, length <= Capacity ? length : Capacity); }
    void assign(std::string_view text) {
        const std::size_t n = text.size() < Capacity ? text.size() : Capacity;
        length = static_cast<std::uint8_t>(n);
        text.copy(chars, n);
    }
    bool empty() const { return length == 0; }
};
static_assert(sizeof(ShortString<255>) == 256);
static_assert(sizeof(ShortString<32>) == 33);

struct TSlideRecord {
    std::uint8_t reserved0[2];
    ShortString<255> ImageFile; // full path of the image, or "BLANK" for a blank slide
    ShortString<255> AudioFile; // full path of the audio played with the slide; blank = none
    std::uint8_t Delay;         // display time in seconds, 1 to 255
    std::uint8_t HoldForAudio;  // 0 = false, other = true
    std::uint8_t ShowText;      // 0 = false, other = true
    std::uint8_t reserved1[3];
    ShortString<32> FontName;
    std::uint8_t reserved2[3];
    std::int32_t FontColor; // 0x00BBGGRR, or a system colour (top byte 0x80)
    std::int32_t FontSize;  // points
    std::uint8_t FontStyle; // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    std::uint8_t reserved3[3];
    ShortString<255> Text; // caption, one line
};

static_assert(sizeof(TSlideRecord) == 824);
static_assert(offsetof(TSlideRecord, reserved0) == 0);
static_assert(offsetof(TSlideRecord, ImageFile) == 2);
static_assert(offsetof(TSlideRecord, AudioFile) == 258);
static_assert(offsetof(TSlideRecord, Delay) == 514);
static_assert(offsetof(TSlideRecord, HoldForAudio) == 515);
static_assert(offsetof(TSlideRecord, ShowText) == 516);
static_assert(offsetof(TSlideRecord, reserved1) == 517);
static_assert(offsetof(TSlideRecord, FontName) == 520);
static_assert(offsetof(TSlideRecord, reserved2) == 553);
static_assert(offsetof(TSlideRecord, FontColor) == 556);
static_assert(offsetof(TSlideRecord, FontSize) == 560);
static_assert(offsetof(TSlideRecord, FontStyle) == 564);
static_assert(offsetof(TSlideRecord, reserved3) == 565);
static_assert(offsetof(TSlideRecord, Text) == 568);

enum FontStyleBits : std::uint8_t { FontBold = 1, FontItalic = 2, FontUnderline = 4, FontStrikeOut = 8 };

inline constexpr std::string_view BlankImageName = "BLANK";
inline constexpr std::string_view DefaultFontName = "MS Sans Serif";
inline constexpr std::int32_t DefaultFontSize = 8;

// A record as stored in files: the bytes as they are held, with the two 32-bit fields little-endian.
// `out` and `in` hold sizeof(TSlideRecord) bytes.
namespace SlideRecordBytes {
inline constexpr std::size_t FontColorOffset = offsetof(TSlideRecord, FontColor);
inline constexpr std::size_t FontSizeOffset = offsetof(TSlideRecord, FontSize);
inline constexpr std::size_t TailOffset = offsetof(TSlideRecord, FontStyle);
static_assert(FontSizeOffset == FontColorOffset + 4 && TailOffset == FontSizeOffset + 4);

inline void putInt32(char* out, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

inline std::int32_t getInt32(const char* in) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// Zeros behind a short string's characters: a record held in memory may still carry there the
// bytes of a longer text the field held before, which a file must not pass on.
template <std::size_t Capacity> void clearBehind(const ShortString<Capacity>& field, char* out) {
    const std::size_t n = field.length <= Capacity ? field.length : Capacity;
    std::memset(out + 1 + n, 0, Capacity - n);
}

inline void encode(const TSlideRecord& r, char* out) {
    const auto* raw = reinterpret_cast<const char*>(&r);
    std::memcpy(out, raw, FontColorOffset);
    putInt32(out + FontColorOffset, r.FontColor);
    putInt32(out + FontSizeOffset, r.FontSize);
    std::memcpy(out + TailOffset, raw + TailOffset, sizeof(TSlideRecord) - TailOffset);
    clearBehind(r.ImageFile, out + offsetof(TSlideRecord, ImageFile));
    clearBehind(r.AudioFile, out + offsetof(TSlideRecord, AudioFile));
    clearBehind(r.FontName, out + offsetof(TSlideRecord, FontName));
    clearBehind(r.Text, out + offsetof(TSlideRecord, Text));
}

inline void decode(const char* in, TSlideRecord& r) {
    auto* raw = reinterpret_cast<char*>(&r);
    std::memcpy(raw, in, FontColorOffset);
    r.FontColor = getInt32(in + FontColorOffset);
    r.FontSize = getInt32(in + FontSizeOffset);
    std::memcpy(raw + TailOffset, in + TailOffset, sizeof(TSlideRecord) - TailOffset);
}
} // namespace SlideRecordBytes
