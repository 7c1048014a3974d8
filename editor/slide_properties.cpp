// SPDX-License-Identifier: MIT
#include "slide_properties.h"

#include "caption_source_field.h"
#include "look_field.h"
#include "motion_field.h"
#include "show_document.h"
#include "show_grid_view.h"
#include "show_selection.h"
#include "stored_path.h"
#include "text_dialog.h"
#include "thumbnails.h"
#include "tphoto.h"
#include "transition_field.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>

#include <algorithm>

SlideProperties::SlideProperties(ShowDocument& show, ShowGridView& view, ThumbnailBuilder& thumbnails,
                                 Ttextdlg& dialog)
    : show_(show), view_(view), thumbnails_(thumbnails), dialog_(dialog) {
    dialog_.setThumbnailRebuilder(
        [this](const QString& imagePath, bool blank) { return thumbnailWithoutAudio(imagePath, blank); });
}

int SlideProperties::openActive() {
    const std::vector<int> chosen = view_.selection().slides();
    return chosen.size() > 1 ? openSeveral(chosen) : open(view_.activeIndex());
}

int SlideProperties::openFor(int index) {
    ShowSelection& selection = view_.selection();
    if (selection.several() && selection.isSelected(index))
        return openSeveral(selection.slides());
    selection.clear();
    return open(index);
}

int SlideProperties::open(int index) {
    if (index < 0 || index >= show_.SlideCount)
        return 0;
    dialog_.loadSlide(show_.slide(index), show_.imagePath(index), show_.audioPath(index),
                      show_.thumbnail(index), index, show_.timeMs(index));
    dialog_.motionField().load(show_.extra(index), show_.imagePath(index));
    dialog_.captionSourceField().load(show_.extra(index), show_.imagePath(index));
    dialog_.transitionField().load(show_.extra(index));
    loadLook(index);
    const int result = dialog_.exec();
    if (result != Ttextdlg::Ok)
        return result;
    ShowSlide edited = show_.at(index);
    edited.thumbnail = dialog_.thumbnail();
    edited.extra = dialog_.lookField().storeInto(
        dialog_.transitionField().storeInto(dialog_.motionField().storeInto(edited.extra)));
    // The dialog only accepts audio paths that can be stored.
    if (!StoredPath::assign(edited.record.AudioFile, dialog_.audioPath()))
        return result;
    dialog_.storeInto(edited.record);
    SlideTimes::setTimeMs(edited.record, edited.extra, dialog_.timeMs());
    if (const auto source = dialog_.captionSourceField().chosen())
        CaptionSources::apply(edited, *source, show_.imagePath(index));
    const ShowDocument::Step step(show_, QCoreApplication::translate("SlideProperties", "Image Properties"));
    show_.replace(index, std::move(edited));
    return result;
}

int SlideProperties::openSeveral(const std::vector<int>& indexes) {
    if (indexes.empty() || indexes.front() < 0 || indexes.back() >= show_.SlideCount)
        return 0;
    const int first = indexes.front();
    dialog_.loadSlide(show_.slide(first), show_.imagePath(first), show_.audioPath(first),
                      show_.thumbnail(first), first, show_.timeMs(first));
    dialog_.showSeveral(int(indexes.size()), differingFields(indexes));
    // The first slide's motion and change are shown; one chosen goes to every slide.
    dialog_.motionField().load(show_.extra(first), show_.imagePath(first));
    dialog_.captionSourceField().load(show_.extra(first), show_.imagePath(first), sourcesDiffer(indexes));
    dialog_.transitionField().load(show_.extra(first));
    loadLook(first);
    const int result = dialog_.exec();
    if (result != Ttextdlg::Ok)
        return result;
    const Ttextdlg::Fields changed = dialog_.changedFields();
    TSlideRecord given = show_.slide(first);
    // The dialog only accepts audio paths that can be stored.
    if (!StoredPath::assign(given.AudioFile, dialog_.audioPath()))
        return result;
    dialog_.storeInto(given);
    const ShowDocument::Step step(show_, QCoreApplication::translate("SlideProperties", "Image Properties"));
    for (int index : indexes) {
        ShowSlide slide = withChanges(index, given, changed);
        slide.extra = dialog_.lookField().storeInto(
            dialog_.transitionField().storeInto(dialog_.motionField().storeInto(slide.extra)));
        // Each slide takes its caption from its own photo.
        if (const auto source = dialog_.captionSourceField().chosen())
            CaptionSources::apply(slide, *source, show_.imagePath(index));
        show_.replace(index, std::move(slide));
    }
    return result;
}

bool SlideProperties::sourcesDiffer(const std::vector<int>& indexes) const {
    const CaptionSources::Source first = CaptionSources::sourceOf(show_.extra(indexes.front()));
    return std::any_of(indexes.begin(), indexes.end(), [this, first](int index) {
        return CaptionSources::sourceOf(show_.extra(index)) != first;
    });
}

void SlideProperties::loadLook(int index) {
    dialog_.lookField().load(show_.extra(index), show_.showData());
    dialog_.lookField().setPicture(dialog_.motionField().picture());
}

Ttextdlg::Fields SlideProperties::differingFields(const std::vector<int>& indexes) const {
    const TSlideRecord& a = show_.slide(indexes.front());
    Ttextdlg::Fields differing;
    for (int index : indexes) {
        const TSlideRecord& b = show_.slide(index);
        differing.delay |= show_.timeMs(indexes.front()) != show_.timeMs(index);
        differing.holdForAudio |= (a.HoldForAudio != 0) != (b.HoldForAudio != 0);
        differing.showText |= (a.ShowText != 0) != (b.ShowText != 0);
        differing.caption |= a.Text.str() != b.Text.str();
        differing.font |= a.FontName.str() != b.FontName.str() || a.FontSize != b.FontSize ||
                          a.FontStyle != b.FontStyle || a.FontColor != b.FontColor;
        differing.audio |= show_.audioPath(indexes.front()).trimmed() != show_.audioPath(index).trimmed();
    }
    return differing;
}

// The whole slide as it stands, so that whatever else it carries stays with it.
ShowSlide SlideProperties::withChanges(int index, const TSlideRecord& given,
                                       const Ttextdlg::Fields& changed) {
    ShowSlide slide = show_.at(index);
    TSlideRecord& record = slide.record;
    if (changed.delay)
        SlideTimes::setTimeMs(record, slide.extra, dialog_.timeMs());
    if (changed.holdForAudio)
        record.HoldForAudio = given.HoldForAudio;
    if (changed.showText)
        record.ShowText = given.ShowText;
    if (changed.caption)
        record.Text = given.Text;
    if (changed.font) {
        record.FontName = given.FontName;
        record.FontSize = given.FontSize;
        record.FontStyle = given.FontStyle;
        record.FontColor = given.FontColor;
    }
    if (changed.audio) {
        const bool hadAudio = show_.hasAudio(index);
        record.AudioFile = given.AudioFile;
        if (recordHasAudio(record))
            thumbnails_.drawAudioMark(slide.thumbnail);
        else if (hadAudio)
            slide.thumbnail = thumbnailWithoutAudio(show_.imagePath(index), show_.isBlank(index));
    }
    return slide;
}

// The slide's picture drawn afresh through the imaging control, as when the slide was added; a
// picture that can no longer be read leaves an empty picture with the name, one whose file is not
// there the mark of a missing picture.
QImage SlideProperties::thumbnailWithoutAudio(const QString& imagePath, bool blank) {
    thumbnails_.measureScreenDepth();
    QImage thumbnail;
    if (!blank && !QFileInfo::exists(imagePath)) {
        thumbnails_.drawMissingThumbnail(thumbnail, imagePath);
        return thumbnail;
    }
    TPhoto& photo = thumbnails_.photo();
    if (!blank) {
        photo.setQPXThumbnail(1);
        photo.setFileName(imagePath);
        photo.setQPXThumbnail(0);
        QCoreApplication::processEvents();
    }
    if (blank || photo.FXError() != 0) {
        thumbnails_.clearWorkBitmap();
    } else {
        thumbnails_.FitThumbnailImage();
        if (thumbnails_.palettePath())
            thumbnails_.reducePaletteColours();
        thumbnails_.fetchWithRetries();
    }
    thumbnails_.DrawThumbnail(thumbnail, imagePath);
    return thumbnail;
}
