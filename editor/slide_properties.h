// SPDX-License-Identifier: MIT
#pragma once
// Opens the image properties dialog for one slide of the show or for several at once and, on OK,
// writes the dialog's values and its thumbnail back into that slide; into several, only the values
// the user changed, each slide keeping its own others. Either is one step of the show's history.

#include "text_dialog.h"

#include <vector>

class QImage;
class QJsonObject;
class QString;
class ShowDocument;
class ShowGridView;
class ThumbnailBuilder;
struct ShowSlide;
struct TSlideRecord;

class SlideProperties {
  public:
    SlideProperties(ShowDocument& show, ShowGridView& view, ThumbnailBuilder& thumbnails, Ttextdlg& dialog);

    // For slide index when it holds a slide: the dialog's result; 0 when nothing opened.
    int open(int index);
    // For the selected slides of the show grid, or else its active cell.
    int openActive();
    // For a right press on slide index: the selected slides when it is one of them, else that slide
    // alone.
    int openFor(int index);
    // For the slides at `indexes`, ascending; their first one's thumbnail is shown.
    int openSeveral(const std::vector<int>& indexes);
    // For a new title slide at `at` (a blank slide showing its caption as its title), put into the
    // show on OK as one step; 0 when the show has no room.
    int insertTitle(int at);

  private:
    // What a visit of the dialog gave: its result, and whether the slide took its values.
    struct Edit {
        int result = 0;
        bool apply = false;
    };
    // The dialog for `slide`, number `index`, run; on OK the slide takes the dialog's values.
    Edit run(ShowSlide& slide, int index, const QString& imagePath, const QString& audioPath);
    void applyTitle(ShowSlide& slide) const;
    void loadTitles(const std::vector<int>& indexes);
    QImage thumbnailWithoutAudio(const QString& imagePath, bool blank);
    Ttextdlg::Fields differingFields(const std::vector<int>& indexes) const;
    // Whether the slides take their captions from different sources.
    bool sourcesDiffer(const std::vector<int>& indexes) const;
    // The slide's fill and caption place in the dialog, over its small picture.
    void loadLook(const QJsonObject& extra);
    // Slide index given the changed fields of `given`, the audio and its mark with them.
    ShowSlide withChanges(int index, const TSlideRecord& given, const Ttextdlg::Fields& changed);

    ShowDocument& show_;
    ShowGridView& view_;
    ThumbnailBuilder& thumbnails_;
    Ttextdlg& dialog_;
};
