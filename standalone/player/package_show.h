// SPDX-License-Identifier: MIT
#pragma once
// The show of an unpacked stand-alone package: the slide list "images.sld" read into a show
// document, "images.dat" mapped into memory, and where each slide's picture lies in it. A slide
// whose data is empty or would run past the image data becomes a blank slide; a slide's audio is
// the file of that name in the package folder, found whatever the letter case of the stored name.

#include "show_document.h"
#include "slide_list.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QString>

#include <vector>

class PackageShow {
  public:
    // Reads the two files from `folder`. False, with what is wrong in `error`, when they are missing,
    // the slide list is damaged or it holds no slides.
    bool open(const QString& folder, QString& error);

    ShowDocument& show() { return show_; }
    const PlayerOptions& options() const { return options_; }
    // Where the slide's data lies in "images.dat" (the stored offset, and the length up to the next).
    const SlideList::DataRange& range(int index) const { return ranges_[index]; }
    // The slide's picture data; empty for a blank slide.
    QByteArrayView pictureData(int index) const;

  private:
    static bool readSlideList(const QString& path, SlideList& list, QString& error);
    bool mapImageData(const QString& path, QString& error);
    void fillShow(const SlideList& list, const QDir& folder);

    ShowDocument show_;
    PlayerOptions options_;
    std::vector<SlideList::DataRange> ranges_;
    QFile data_;
    const uchar* bytes_ = nullptr;
    qint64 size_ = 0;
};
