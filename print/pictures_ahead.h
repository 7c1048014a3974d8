// SPDX-License-Identifier: MIT
#pragma once
// The pictures of a print run decoded ahead of the page loop: while the printer takes one picture,
// the next ones are already being decoded on other cores, as the imaging control would load them for
// the printer (JPEG data reduced to what a cell needs).

#include "image_loader.h"

#include <QSize>
#include <QStringList>

#include <future>
#include <map>

namespace print {

class PicturesAhead {
  public:
    // An empty path stands for a slide with nothing to load. `reduceBox` is the largest picture a
    // cell can hold, in the printer's pixels.
    PicturesAhead(QStringList paths, QSize reduceBox);
    // Waits for the pictures still being decoded.
    ~PicturesAhead();
    PicturesAhead(const PicturesAhead&) = delete;
    PicturesAhead& operator=(const PicturesAhead&) = delete;

    // The picture of paths[index] (null when it cannot be loaded); indexes are taken in ascending
    // order, and the pictures after it start decoding meanwhile. Every picture is decoded on another
    // thread; the windows keep painting while this one waits.
    imaging::LoadedImage take(int index);
    const QString& path(int index) const;

  private:
    void startUpTo(int last);
    std::future<imaging::LoadedImage> decode(const QString& path) const;

    QStringList paths_;
    QSize reduceBox_;
    int ahead_;
    int next_ = 0; // the first picture not started yet
    std::map<int, std::future<imaging::LoadedImage>> started_;
};

} // namespace print
