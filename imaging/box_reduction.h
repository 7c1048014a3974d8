// SPDX-License-Identifier: MIT
// A picture reduced by whole boxes while its rows arrive, for the readers that never hold the
// picture itself (png_rows.h, tiff_rows.h): each reduced pixel is the mean of the pixels of its box
// (factor x factor of them, fewer at the right and bottom edges), weighted by their alpha. Only the
// reduced picture and the sums of the reduced rows under way are kept.
#pragma once

#include <QImage>
#include <QSize>

#include <vector>

namespace imaging {

class BoxReduction {
  public:
    // How many pixels a side each reduced pixel takes: as many as leave the reduced picture covering
    // what the picture becomes when fitted into `box`.
    static int factorFor(QSize picture, QSize box);
    static QSize reducedSize(QSize picture, int factor);

    // Prepares the reduction of `picture` by `factor`, keeping the sums of up to `bandRows` reduced
    // rows under way at once; in true colour with alpha when `alpha`. The pixels added are 8-bit red,
    // green, blue and alpha, their colours multiplied by their alpha already when `premultiplied`.
    // False when the memory is not there.
    bool start(QSize picture, int factor, bool alpha, bool premultiplied, int bandRows);
    // Adds `count` pixels that lie at x = first, first + step, ... on row `y` of the picture.
    void add(int y, const uchar* rgba, int count, int first = 0, int step = 1);
    // Writes every reduced row not written yet whose box lies wholly above row `y` of the picture.
    void finishRowsAbove(int y);
    int factor() const { return k; }
    QImage take() { return std::move(image); }

  private:
    quint64* rowSums(int reducedY);
    QSize picture;
    int k = 1;
    int bandRows = 1;
    int nextRow = 0; // the first reduced row not written yet
    bool premultiplied = false;
    std::vector<quint64> sums; // per reduced pixel: red, green and blue weighted by alpha, and alpha
    QImage image;
};

} // namespace imaging
