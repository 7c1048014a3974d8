// SPDX-License-Identifier: MIT
// The one picture policy every decoder of the program keeps, checked from a file's header before any
// of its picture is allocated: how large a picture may be, how much working memory its decoder may
// take, and how many passes a progressive JPEG may make over it. A picture beyond it is refused with
// a reason that says "too large" (or "too many scans"), never decoded for minutes or gigabytes.
// Plain C++, so that the packages' decoding run-time (which has no Qt) keeps the same policy.
#pragma once

namespace imaging {

// The largest picture, in pixels. It holds every honest camera and scanner picture: the largest
// camera pictures (medium-format backs of 151 MP), a 1200-dpi A4 scan (139 MP), a 600-dpi A2 scan
// (70 MP). Decoded at four bytes a pixel it takes 640 MB; a small file that claims a 16384 x 16384
// picture (268 MP, a gigabyte decoded) is refused from its header.
inline constexpr long long MaxPicturePixels = 160'000'000LL;

// The longest side, JPEG's own limit, so that a long panorama within the area passes.
inline constexpr long long MaxPictureSide = 65500;

inline constexpr bool fitsPicturePolicy(long long width, long long height) {
    return width > 0 && height > 0 && width <= MaxPictureSide && height <= MaxPictureSide &&
           width * height <= MaxPicturePixels;
}

// The most working memory a decoder may take besides the picture it gives: libjpeg's coefficients of
// a progressive picture (two bytes a sample: 960 MB for a 160 MP picture of three full components).
inline constexpr long long MaxDecoderWorkBytes = 1024LL * 1024 * 1024;

// The limit of Qt's image readers, in megabytes: the largest picture at eight bytes a pixel, the
// deepest format they give (16-bit RGBA PNG and TIFF).
inline constexpr int QtReaderAllocationLimitMB = int(MaxPicturePixels * 8 / (1024 * 1024)) + 1;

// Each scan of a progressive JPEG is a pass over the whole picture. Cameras, editors and libjpeg's
// own scripts write about ten; a small picture may have up to MaxJpegScans, a large one as many as
// fit a budget of passes (100 passes over 16 MP), but never fewer than MinJpegScans.
inline constexpr int MaxJpegScans = 100;
inline constexpr int MinJpegScans = 16;
inline constexpr long long JpegScanPixelBudget = 100LL * 16'000'000;

inline constexpr int allowedJpegScans(long long width, long long height) {
    const long long pixels = width * height;
    if (pixels <= 0)
        return MaxJpegScans;
    const long long fit = JpegScanPixelBudget / pixels;
    return fit >= MaxJpegScans ? MaxJpegScans : fit <= MinJpegScans ? MinJpegScans : int(fit);
}

// Why a picture was not decoded, as far as it decides what may be remembered about its file: only a
// picture refused for its own data stays refused until the file changes.
enum class DecodeFailure {
    None,
    BadData,     // the file's own data: damaged, cut short, no picture of a known kind
    TooLarge,    // beyond this policy (a later version may allow it)
    OutOfMemory, // the machine had not the memory at the time
    NoCodec,     // this system lacks the decoder (a HEIC file without an HEVC decoder)
    Unreadable,  // the file could not be opened or read
};

} // namespace imaging
