// SPDX-License-Identifier: MIT
/* The decoding run-time of stand-alone packages (verasco3.dat, stored in a package as
   "qpxrun30.dll"): QPX and JPEG streams in, 32-bit pixels out. The package's player loads it from
   its own folder at run time, so that a package carries the decoder its images need. A plain C
   interface, so that the library and the player need not share a compiler's C++ rules. */
#ifndef VERASCO_QPX_RUNTIME_H
#define VERASCO_QPX_RUNTIME_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QPXRUN_API_VERSION 1

/* A decoded picture: `height` rows of `stride` bytes, top row first; each pixel is four bytes,
   blue, green, red and 255 (a 32-bit 0xFFRRGGBB value on a little-endian machine). */
typedef struct QpxRunPicture {
    int width;
    int height;
    int stride;
    unsigned char* pixels;
} QpxRunPicture;

/* The interface version the library implements; a player refuses a library of another version. */
int qpxrun_api_version(void);

/* Decodes the `size` bytes at `data`. Returns 0 and fills `picture`, which qpxrun_free releases;
   or returns non-zero, leaves `picture` empty and writes why into `error` (`errorSize` bytes,
   always terminated, may be 0). Damaged or truncated streams fail; nothing is ever read outside
   the given bytes. */
int qpxrun_decode(const unsigned char* data, size_t size, QpxRunPicture* picture, char* error,
                  size_t errorSize);

/* Releases the pixels of a picture that qpxrun_decode filled; an empty picture is left alone. */
void qpxrun_free(QpxRunPicture* picture);

/* The names of the three functions, for a player that looks them up at run time. */
typedef int (*QpxRunApiVersionFunction)(void);
typedef int (*QpxRunDecodeFunction)(const unsigned char*, size_t, QpxRunPicture*, char*, size_t);
typedef void (*QpxRunFreeFunction)(QpxRunPicture*);

#ifdef __cplusplus
}
#endif

#endif
