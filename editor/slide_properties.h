// SPDX-License-Identifier: MIT
#pragma once
// Opens the image properties dialog for one slide of the show and, on OK, writes the dialog's
// values and its thumbnail back into that slide.

class QImage;
class QString;
class ShowDocument;
class ShowGridView;
class ThumbnailBuilder;
class Ttextdlg;

class SlideProperties {
  public:
    SlideProperties(ShowDocument& show, ShowGridView& view, ThumbnailBuilder& thumbnails, Ttextdlg& dialog);

    // For slide index when it holds a slide: the dialog's result; 0 when nothing opened.
    int open(int index);
    // For the show grid's active cell.
    int openActive();

  private:
    QImage thumbnailWithoutAudio(const QString& imagePath, bool blank);

    ShowDocument& show_;
    ShowGridView& view_;
    ThumbnailBuilder& thumbnails_;
    Ttextdlg& dialog_;
};
