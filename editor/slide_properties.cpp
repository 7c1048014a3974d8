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
#include "title_slides.h"
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
    ShowSlide edited = show_.at(index);
    const Edit edit = run(edited, index, show_.imagePath(index), show_.audioPath(index));
    if (edit.apply) {
        const ShowDocument::Step step(show_,
                                      QCoreApplication::translate("SlideProperties", "Image Properties"));
        show_.replace(index, std::move(edited));
    }
    return edit.result;
}

int SlideProperties::insertTitle(int at) {
    if (at < 0 || at > show_.SlideCount || show_.SlideCount >= ShowDocument::MaxSlides)
        return 0;
    const QString blank = QString::fromLatin1(BlankImageName.data(), qsizetype(BlankImageName.size()));
    ShowSlide title{show_.freshRecord(), thumbnailWithoutAudio(blank, true),
                    TitleSlides::withTitle({}, true)};
    title.record.ImageFile.assign(BlankImageName);
    title.record.ShowText = 1;
    const Edit edit = run(title, at, blank, QString());
    if (edit.apply) {
        const ShowDocument::Step step(show_, QCoreApplication::translate("SlideProperties", "Insert Title"));
        show_.insert(at, {title});
    }
    return edit.result;
}

SlideProperties::Edit SlideProperties::run(ShowSlide& slide, int index, const QString& imagePath,
                                           const QString& audioPath) {
    dialog_.loadSlide(slide.record, imagePath, audioPath, slide.thumbnail, index,
                      SlideTimes::timeMs(slide.record, slide.extra));
    dialog_.motionField().load(slide.extra, imagePath);
    dialog_.captionSourceField().load(slide.extra, imagePath);
    dialog_.captionSourceField().loadTitle(TitleSlides::marked(slide.extra) ? Qt::Checked : Qt::Unchecked,
                                           isBlankRecord(slide.record));
    dialog_.transitionField().load(slide.extra);
    loadLook(slide.extra);
    const int result = dialog_.exec();
    // The dialog only accepts audio paths that can be stored.
    if (result != Ttextdlg::Ok || !StoredPath::assign(slide.record.AudioFile, dialog_.audioPath()))
        return {result, false};
    slide.thumbnail = dialog_.thumbnail();
    slide.extra = dialog_.lookField().storeInto(
        dialog_.transitionField().storeInto(dialog_.motionField().storeInto(slide.extra)));
    dialog_.storeInto(slide.record);
    SlideTimes::setTimeMs(slide.record, slide.extra, dialog_.timeMs());
    if (const auto source = dialog_.captionSourceField().chosen())
        CaptionSources::apply(slide, *source, imagePath);
    applyTitle(slide);
    return {result, true};
}

// A slide marked a title shows its caption: the title is that caption.
void SlideProperties::applyTitle(ShowSlide& slide) const {
    const std::optional<bool> title = dialog_.captionSourceField().titleChosen();
    if (!title)
        return;
    slide.extra = TitleSlides::withTitle(slide.extra, *title);
    if (*title)
        slide.record.ShowText = 1;
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
    loadTitles(indexes);
    dialog_.transitionField().load(show_.extra(first));
    loadLook(show_.extra(first));
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
        applyTitle(slide);
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

void SlideProperties::loadTitles(const std::vector<int>& indexes) {
    const auto titled = [this](int index) { return TitleSlides::marked(show_.extra(index)); };
    const auto blank = [this](int index) { return show_.isBlank(index); };
    const long marks = std::count_if(indexes.begin(), indexes.end(), titled);
    const Qt::CheckState state = marks == 0                      ? Qt::Unchecked
                                 : marks == long(indexes.size()) ? Qt::Checked
                                                                 : Qt::PartiallyChecked;
    dialog_.captionSourceField().loadTitle(state, std::all_of(indexes.begin(), indexes.end(), blank));
}

void SlideProperties::loadLook(const QJsonObject& extra) {
    dialog_.lookField().load(extra, show_.showData());
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
