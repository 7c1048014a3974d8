// SPDX-License-Identifier: MIT
#include "made_streams.h"

#include <QFile>
#include <QtEndian>

#include <cstdlib>

#include <unistd.h>

namespace imaging_test {

QByteArray progressiveStream(int side, int components, J_COLOR_SPACE space,
                             const std::vector<jpeg_scan_info>& scans, bool flat) {
    jpeg_compress_struct c;
    jpeg_error_mgr errors;
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = c.image_height = JDIMENSION(side);
    c.input_components = components;
    c.in_color_space = space;
    jpeg_set_defaults(&c);
    c.scan_info = scans.data();
    c.num_scans = int(scans.size());
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(std::size_t(side * components), JSAMPLE(128));
    while (c.next_scanline < c.image_height) {
        for (std::size_t x = 0; x < row.size() && !flat; ++x)
            row[x] = JSAMPLE((x * 4 + c.next_scanline * 2) & 255);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    const QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    jpeg_destroy_compress(&c);
    return bytes;
}

QByteArray scanByScan(int coefficients) {
    std::vector<jpeg_scan_info> scans{{1, {0}, 0, 0, 0, 1}, {1, {0}, 0, 0, 1, 0}};
    for (int k = 1; k <= coefficients; ++k) {
        scans.push_back({1, {0}, k, k, 0, 1});
        scans.push_back({1, {0}, k, k, 1, 0});
    }
    return progressiveStream(64, 1, JCS_GRAYSCALE, scans);
}

QByteArray withFrameSize(QByteArray jpeg, int width, int height) {
    qsizetype sof = jpeg.indexOf("\xFF\xC0");
    if (sof < 0)
        sof = jpeg.indexOf("\xFF\xC2"); // progressive
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width);
    return jpeg;
}

QByteArray withDeclaredHeifSize(QByteArray heif, int width, int height) {
    for (qsizetype at = heif.indexOf("ispe"); at >= 0 && at + 16 <= heif.size();
         at = heif.indexOf("ispe", at + 4)) {
        qToBigEndian<quint32>(quint32(width), heif.data() + at + 8);
        qToBigEndian<quint32>(quint32(height), heif.data() + at + 12);
    }
    return heif;
}

QByteArray bigEndian(quint32 value, int bytes) {
    QByteArray out;
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char(value >> (8 * i)));
    return out;
}

QByteArray box(const char* type, const QByteArray& body) {
    return bigEndian(quint32(8 + body.size()), 4) + QByteArray(type, 4) + body;
}

namespace {

// The first box of that type in the file, whole (size and type included).
QByteArray boxOf(const QByteArray& file, const char* type) {
    const qsizetype at = file.indexOf(type) - 4;
    return at < 0 ? QByteArray() : file.mid(at, qFromBigEndian<quint32>(file.constData() + at));
}

QByteArray fullBox(const char* type, int version, int flags, const QByteArray& payload) {
    return box(type, bigEndian(quint32(version), 1) + bigEndian(quint32(flags), 3) + payload);
}

} // namespace

QByteArray heifGridOfOneTile(const QByteArray& tileHeif, int tiles, int tileSide) {
    const QByteArray tile = boxOf(tileHeif, "mdat").mid(8);
    const int side = tiles * tileSide;
    const QByteArray grid = bigEndian(0, 2) + bigEndian(quint32(tiles - 1), 1) +
                            bigEndian(quint32(tiles - 1), 1) + bigEndian(quint32(side), 2) +
                            bigEndian(quint32(side), 2);
    QByteArray references = bigEndian(1, 2) + bigEndian(quint32(tiles * tiles), 2);
    for (int i = 0; i < tiles * tiles; ++i)
        references += bigEndian(2, 2);
    const QByteArray iinf = fullBox(
        "iinf", 0, 0,
        bigEndian(2, 2) + fullBox("infe", 2, 0, bigEndian(1, 2) + bigEndian(0, 2) + QByteArray("grid", 5)) +
            fullBox("infe", 2, 1, bigEndian(2, 2) + bigEndian(0, 2) + QByteArray("hvc1", 5)));
    // Properties: 1 the tile's decoder configuration, 2 its size, 3 its pixels, 4 the grid's size.
    const QByteArray iprp = box(
        "iprp",
        box("ipco", boxOf(tileHeif, "hvcC") + boxOf(tileHeif, "ispe") + boxOf(tileHeif, "pixi") +
                        fullBox("ispe", 0, 0, bigEndian(quint32(side), 4) + bigEndian(quint32(side), 4))) +
            fullBox("ipma", 0, 0,
                    bigEndian(2, 4) + bigEndian(1, 2) + bigEndian(1, 1) + bigEndian(4, 1) + bigEndian(2, 2) +
                        bigEndian(3, 1) + bigEndian(0x81, 1) + bigEndian(2, 1) + bigEndian(3, 1)));
    const auto meta = [&](quint32 dataAt) {
        const QByteArray iloc = fullBox(
            "iloc", 0, 0,
            bigEndian(0x44, 1) + bigEndian(0, 1) + bigEndian(2, 2) + bigEndian(1, 2) + bigEndian(0, 2) +
                bigEndian(1, 2) + bigEndian(dataAt, 4) + bigEndian(quint32(grid.size()), 4) +
                bigEndian(2, 2) + bigEndian(0, 2) + bigEndian(1, 2) +
                bigEndian(quint32(dataAt + grid.size()), 4) + bigEndian(quint32(tile.size()), 4));
        return fullBox("meta", 0, 0,
                       boxOf(tileHeif, "hdlr") + fullBox("pitm", 0, 0, bigEndian(1, 2)) + iloc + iinf +
                           fullBox("iref", 0, 0, box("dimg", references)) + iprp);
    };
    const QByteArray ftyp = boxOf(tileHeif, "ftyp");
    const quint32 dataAt = quint32(ftyp.size() + meta(0).size() + 8);
    return ftyp + meta(dataAt) + box("mdat", grid + tile);
}

bool writeFlatJpeg(const QString& path, QSize size, QColor colour, int quality) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    FILE* stream = fdopen(dup(file.handle()), "wb");
    if (!stream)
        return false;
    jpeg_compress_struct c;
    jpeg_error_mgr errors;
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, stream);
    c.image_width = JDIMENSION(size.width());
    c.image_height = JDIMENSION(size.height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(std::size_t(size.width()) * 3);
    for (std::size_t x = 0; x < row.size(); x += 3) {
        row[x] = JSAMPLE(colour.red());
        row[x + 1] = JSAMPLE(colour.green());
        row[x + 2] = JSAMPLE(colour.blue());
    }
    while (c.next_scanline < c.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return std::fclose(stream) == 0;
}

} // namespace imaging_test
