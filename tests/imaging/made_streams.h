// SPDX-License-Identifier: MIT
#pragma once
// Picture files made byte by byte for the tests of the readers' limits: progressive JPEG streams of
// chosen scans, frame headers that claim another size, HEIF files whose container declares another
// size than the coded picture's, and large plain JPEG files written a row at a time.

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QString>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace imaging_test {

// A side x side picture of `components` as a progressive stream of the given scans, its rows a
// gradient (or of one grey with `flat`).
QByteArray progressiveStream(int side, int components, J_COLOR_SPACE space,
                             const std::vector<jpeg_scan_info>& scans, bool flat = false);
// A 64 x 64 grey picture that refines its first `coefficients` coefficients one at a time, each in
// two valid steps: 2 + 2 x coefficients scans.
QByteArray scanByScan(int coefficients);
// The bytes with the picture size in the frame header set to width x height.
QByteArray withFrameSize(QByteArray jpeg, int width, int height);
// The value as `bytes` big-endian bytes.
QByteArray bigEndian(quint32 value, int bytes);
// An ISO base media box of that type around the body.
QByteArray box(const char* type, const QByteArray& body);
// A HEIF file whose every image spatial extent ("ispe") declares width x height.
QByteArray withDeclaredHeifSize(QByteArray heif, int width, int height);
// A HEIF grid of tiles x tiles references to the one coded picture of `tileHeif` (a file as heif-enc
// writes it, of one item of tileSide x tileSide): a few kilobytes that declare a picture tiles times
// as wide and as high.
QByteArray heifGridOfOneTile(const QByteArray& tileHeif, int tiles, int tileSide);
// A baseline JPEG file of one colour, written a row at a time (a picture of any size in little
// memory); false when it could not be written.
bool writeFlatJpeg(const QString& path, QSize size, QColor colour, int quality = 75);

} // namespace imaging_test
