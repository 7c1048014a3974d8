// SPDX-License-Identifier: MIT
// The viewer's playback: putting a slide on screen, the playback loop with its timed waits and holds
// for audio, and the buttons and slider that act on it while it runs or while the show is stopped.
#include "show_form.h"

#include "caption_band.h"
#include "cross_fade.h"
#include "frame_fill.h"
#include "media_device.h"
#include "missing_picture.h"
#include "motion_view.h"
#include "music_level.h"
#include "picture_ahead.h"
#include "picture_place.h"
#include "shared_flags.h"
#include "show_document.h"
#include "show_extension.h"
#include "show_look.h"
#include "show_motion.h"
#include "show_music.h"
#include "show_timeline.h"
#include "slide_audio.h"
#include "slide_paths.h"
#include "slide_transition.h"
#include "stored_font.h"
#include "title_slides.h"
#include "tphoto.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

#include <climits>
#include <utility>

namespace {

// The longest that one slide's lateness is taken off the next slide's time, in milliseconds.
constexpr qint64 MaxCarryMs = 100;

// Where the viewer's image area shows a picture of `size`.
ShowRules::Rect placedPicture(QSize size, const QRect& area) {
    return ShowRules::placePicture(size.width(), size.height(),
                                   {area.x(), area.y(), area.width(), area.height()});
}

} // namespace

void TshowFrm::ShowCurrentSlide() {
    displaySlide(Display::Loop);
}

void TshowFrm::displaySlide(Display how) {
    const int index = flags_.CurrentSlide;
    const TSlideRecord& slide = show_.slide(index);
    // Changes to the show from here on are drawn at once; this slide is on its way already.
    drawnRecord_ = slide;
    drawnExtra_ = show_.extra(index);
    beginFade(index, how);
    motionFromStart_ = true;
    if (how == Display::Loop)
        Memo1->setVisible(slide.ShowText && !bandCaptions());
    Photo10->setVisible(!isBlankSlide(slide));
    const QPointer<TshowFrm> self(this);
    if (!loadPicture(index, how == Display::Stopped))
        return;
    if (how == Display::Loop) {
        QCoreApplication::processEvents();
        if (!self)
            return;
    }
    fillCaption(index);
    requestNextPicture();
    emit slideShown(index);
}

// The change is part of the new slide's time: it never lasts longer than that time. A step by hand
// into a slide without a change of its own keeps the whole cross-fade of the settings. With reduced
// motion every change is a cut.
void TshowFrm::beginFade(int index, Display how) {
    if (switches_.ReduceMotion)
        return;
    const bool stored = SlideTransition::transitionInto(show_.showData(), show_.extra(index)).has_value();
    const ShowRules::SlideChange change =
        how == Display::Loop || stored
            ? slideChange(index)
            : ShowRules::SlideChange{ShowRules::TransitionKind::Fade, switches_.CrossFadeMs};
    if (change.ms > 0 && change.kind != ShowRules::TransitionKind::Cut && index != shownIndex_ && isVisible())
        fade_->begin(Panel6->grab(), int(change.ms), change.kind);
}

ShowRules::SlideChange TshowFrm::slideChange(int index) const {
    std::vector<std::optional<ShowRules::Transition>> stored;
    std::vector<std::int64_t> own;
    for (int i = 0; i < show_.SlideCount; ++i) {
        stored.push_back(SlideTransition::transitionInto(show_.showData(), show_.extra(i)));
        own.push_back(slideTimeMs(i));
    }
    return ShowRules::slideChanges(stored, own, switches_.CrossFadeMs)[std::size_t(index)];
}

bool TshowFrm::loadPicture(int index, bool processAfterLoad) {
    const QRect area = Panel6->contentsRect();
    imaging::LoadedImage loaded;
    Photo10->setGeometry(area);
    Photo10->setUpdate(false);
    Photo10->setAutoSize(TPhoto::AutoSizeScaled);
    // The picture is shown in this area at the most, so a reduced decode that covers the area's
    // device pixels will do.
    const qreal ratio = Panel6->devicePixelRatioF();
    const QSize pixels(qRound(area.width() * ratio), qRound(area.height() * ratio));
    Photo10->setReducedDecodeBox(pixels);
    if (host_.loadPicture) {
        host_.loadPicture(index, pixels, *Photo10);
    } else if (show_.isMissing(index)) {
        Photo10->setPicture(missingPicture(area.size(), show_.imagePath(index), font()));
    } else {
        const PictureRequest request = pictureRequest(index);
        shownIndex_ = index;
        if (!pictures_->ready(request)) {
            // Decoded on the decoding thread: the slide is on screen without its picture until
            // pictureDecoded() puts it there.
            waitingPicture_ = index;
            pictures_->request(request);
            Photo10->hide();
            Photo10->setUpdate(true);
            // A slide whose picture is decoded anew for another size keeps moving meanwhile.
            if (motionFromStart_ || shownMotion_ != index)
                motion_->stop();
            return true;
        }
        loaded = pictures_->take(request);
        Photo10->setLoadedImage(request.path, loaded);
    }
    waitingPicture_ = -1;
    shownIndex_ = index;
    if (processAfterLoad) {
        const QPointer<TshowFrm> self(this);
        QCoreApplication::processEvents();
        // A step taken meanwhile has put a later slide on screen, picture and caption: this one
        // must not put its own caption under that picture.
        if (!self || flags_.CurrentSlide != index)
            return false;
    }
    if (Photo10->FXError() != 0)
        Photo10->hide();
    const int w = Photo10->IWidth(), h = Photo10->IHeight();
    const ShowRules::Rect place = placedPicture(QSize(w, h), area);
    if (w < area.width() && h < area.height()) {
        Photo10->setAutoSize(TPhoto::AutoSizeOwnSize);
        Photo10->setGeometry(place.x, place.y, w, h);
    }
    Photo10->setUpdate(true);
    Photo10->Redisplay();
    startMotion(index, loaded.image);
    showFill();
    placeBandCaption();
    return true;
}

// The motion runs over the slide's time from the moment its picture is on screen; the fade of the
// slide before lies over it, and the band caption. The same slide put on screen again after a resize
// keeps its motion where it is, with the picture decoded for the new size.
void TshowFrm::startMotion(int index, const QImage& picture) {
    const std::optional<ShowMotion::Motion> motion = ShowMotion::motion(show_.extra(index));
    if (!motion || picture.isNull() || isBlankSlide(show_.slide(index)) || Photo10->FXError() != 0) {
        motion_->stop();
        return;
    }
    if (!motionFromStart_ && motion_->running() && shownMotion_ == index) {
        motion_->setPicture(picture);
        return;
    }
    // With motion reduced, the motion's end held still.
    motion_->begin(picture, switches_.ReduceMotion ? ShowMotion::Motion{motion->to, motion->to} : *motion,
                   slideTimeMs(index));
    shownMotion_ = index;
    motionFromStart_ = false;
}

void TshowFrm::fillCaption(int index) {
    const TSlideRecord& slide = show_.slide(index);
    drawnRecord_ = slide;
    drawnExtra_ = show_.extra(index);
    const bool band = bandCaptions();
    Memo1->setVisible(slide.ShowText && !band);
    Memo1->clear();
    Memo1->setFont(storedFont(fontNameOf(slide), slide.FontSize, slide.FontStyle));
    const QColor colour = storedColor(slide.FontColor, palette());
    Memo1->setPalette(captionPalette(palette(), colour));
    Memo1->setPlainText(shownCaptionOf(slide));
    // A title slide's title stands in the middle of the image area however captions are drawn.
    const bool title = TitleSlides::isTitle(slide, drawnExtra_);
    const QString onBand = (band || title) && slide.ShowText ? shownCaptionOf(slide) : QString();
    bandCaption_->setCaption(onBand, Memo1->font(), colour, Panel6->contentsRect(),
                             ShowLook::lookOf(show_.showData(), drawnExtra_).captionPlace, title);
    placeBandCaption();
    Memo1->repaint();
    if (presenting_) {
        updateChrome();
        return;
    }
    Panel1->setVisible(!band);
    if (slide.ShowText && !band)
        fitCaptionBox();
}

bool TshowFrm::bandCaptions() const {
    return presenting_ || ShowExtension::captions(show_.showData()) == ShowExtension::Captions::Band;
}

// The band lies on the bottom (or top) edge of the picture as shown, across the whole image area, and
// may go beyond a small picture so that its caption stays readable. In full screen it keeps above the
// controls while they show.
void TshowFrm::placeBandCaption() {
    const QRect area = Panel6->contentsRect();
    QRect picture;
    const QSize image(Photo10->IWidth(), Photo10->IHeight());
    if (Photo10->isVisibleTo(Panel6) && !image.isEmpty()) {
        const ShowRules::Rect place = placedPicture(image, area);
        picture = QRect(place.x, place.y, place.width, place.height) & area;
    }
    const auto place = ShowLook::lookOf(show_.showData(), drawnExtra_).captionPlace;
    QRect room = CaptionBand::room(area, picture, place);
    if (presenting_ && Panel3->isVisible() && place == ShowLook::CaptionPlace::Bottom)
        room.setBottom(qMin(room.bottom(), Panel6->mapFrom(this, Panel3->geometry().topLeft()).y() - 1));
    bandCaption_->setPicture(room);
    fade_->raise();
}

void TshowFrm::showFill() {
    const ShowLook::Look look = ShowLook::lookOf(show_.showData(), drawnExtra_);
    fill_->setFill(Photo10->isVisibleTo(Panel6) ? Photo10->image() : titleBackdrop(look), look);
    // Around a scaled picture the control lets the fill through.
    QPalette around;
    if (look.fill != ShowLook::Fill::Black)
        around.setBrush(QPalette::Window, Qt::transparent);
    Photo10->setPalette(around);
    motion_->setFill(fill_->drawn());
}

void TshowFrm::fitCaptionBox() {
    const int margin = int(Memo1->document()->documentMargin());
    const int width = Memo1->viewport()->width() - 2 * margin;
    const int text =
        QFontMetrics(Memo1->font())
            .boundingRect(QRect(0, 0, qMax(1, width), INT_MAX), Qt::TextWordWrap, Memo1->toPlainText())
            .height();
    // A line more than the text needs: the box then shows no part of a line cut off.
    const int need = text + QFontMetrics(Memo1->font()).lineSpacing() + 2 * margin + 2 * Memo1->frameWidth();
    const QList<int> sizes = Splitter1->sizes();
    if (sizes.size() != 2 || need <= sizes[1])
        return;
    const int total = sizes[0] + sizes[1];
    const int box = qMin(need, total / 2);
    Splitter1->setSizes({total - box, box});
}

PictureRequest TshowFrm::pictureRequest(int index) const {
    return {imagePathOf(show_.slide(index)), Panel6->contentsRect().size(), Panel6->devicePixelRatioF(),
            ShowMotion::decodeZoom(ShowMotion::motion(show_.extra(index)))};
}

void TshowFrm::pictureDecoded() {
    const int index = waitingPicture_;
    if (index < 0 || index != flags_.CurrentSlide || index >= show_.SlideCount ||
        !pictures_->ready(pictureRequest(index)))
        return;
    // Shown before it is placed, as when it is put on screen at once, so that the fill is made of it.
    Photo10->setVisible(!isBlankSlide(show_.slide(index)));
    loadPicture(index, false);
    placeBandCaption();
    requestNextPicture();
}

void TshowFrm::requestNextPicture() {
    // While the slide on screen waits for its picture, nothing else is decoded ahead of it.
    if (host_.loadPicture || show_.SlideCount == 0 || waitingPicture_ >= 0)
        return;
    int next = flags_.CurrentSlide + 1;
    if (next >= show_.SlideCount) {
        if (!switches_.LoopSlideShow)
            return;
        next = 0;
    }
    const TSlideRecord& slide = show_.slide(next);
    if (next == shownIndex_ || isBlankSlide(slide) || show_.isMissing(next))
        return;
    pictures_->request(pictureRequest(next));
}

int TshowFrm::slideTimeMs(int index) const {
    return int(ShowRules::ownMs(show_.timeMs(index), TrackBar1->value()));
}

void TshowFrm::setPlayingControlsEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{Button1, TrackBar1, TrackBar2, Label1, Label2, Label3,
                                                      Label4, Label5, Label6})
        w->setEnabled(enabled);
}

void TshowFrm::PlayShow() {
    if (show_.SlideCount == 0)
        return;
    setPlayingControlsEnabled(false);
    timeRanOutAt_ = -1;
    flags_.ShowPlaying = true;
    SpeedButton2->setChecked(true);
    const QJsonObject& data = show_.showData();
    musicLeftOut_.clear();
    statusLine_->clear();
    statusLine_->hide();
    music_->setLevel(ShowExtension::musicLevel(data) / double(MusicLevel::FullLevel));
    music_->start(ShowExtension::musicPaths(data), switches_.LoopSlideShow, ShowExtension::musicFadeMs(data),
                  musicAtSlide(flags_.CurrentSlide));
    musicFollows_ = true;
    while (flags_.ShowPlaying) {
        if (!playOnePass())
            return; // the window has gone
    }
    SpeedButton2->setChecked(false);
    setPlayingControlsEnabled(true);
}

// One slide: on screen, its sound, its time, its hold, then on to the next. False when the window
// went away while events were processed; nothing of it may be touched then.
bool TshowFrm::playOnePass() {
    const QPointer<TshowFrm> self(this);
    const int index = flags_.CurrentSlide;
    // The steps asked for until now have brought CurrentSlide to this slide; those asked for while it
    // comes on screen or while its sound opens each move on from it, and the next pass shows that.
    stepsAsked_ = 0;
    // A slide reached by a step or a jump takes the music to where it stands at that slide's start.
    if (!std::exchange(musicFollows_, false)) {
        music_->seek(musicAtSlide(index));
        if (!self || !flags_.ShowPlaying || stepsAsked_ > 0)
            return bool(self);
    }
    // The slide's time counts from the moment it starts coming on screen or, right after a slide whose
    // time ran out, from that moment: decoding, the sound's opening and the work between two slides
    // then do not add up over a long show. A late slide does not shorten the next one by much.
    const qint64 now = waitClock().nowMs();
    const qint64 shownAt = timeRanOutAt_ >= 0 && now - timeRanOutAt_ <= MaxCarryMs ? timeRanOutAt_ : now;
    timeRanOutAt_ = -1;
    ShowCurrentSlide();
    // A stop or a close while the slide was put on screen ends the show before its sound and its time.
    if (!self || !flags_.ShowPlaying || stepsAsked_ > 0)
        return bool(self);
    // A copy: the show may grow while events are processed, and its slides move in memory then.
    const TSlideRecord slide = show_.slide(index);
    SharedFlags* flags = &flags_;
    audio_->StartSlideAudio(slide, [self, flags] { return self && flags->ShowPlaying; });
    // Each step that processes events may have stopped the show or closed the window: a stopped show
    // starts no sound, waits no time and moves to no other slide.
    if (!self || !flags_.ShowPlaying || stepsAsked_ > 0)
        return bool(self);
    noteShowEnd(index, shownAt);
    const int ms = slideTimeMs(index);
    const int left = int(qMax<qint64>(0, ms - (waitClock().nowMs() - shownAt)));
    WaitEnd end = WaitPumping(left, flags_.WaitInterrupt, this);
    if (!self)
        return false;
    if (end != WaitEnd::Quitting && !flags_.WaitInterrupt && flags_.ShowPlaying) {
        end = audio_->HoldForSlideAudio(slide, [self, flags] {
            return self && !flags->WaitInterrupt && flags->ShowPlaying && self->isVisible();
        });
        if (!self)
            return false;
    }
    if (end == WaitEnd::Quitting) {
        SpeedButton3Click();
        return true;
    }
    // A stop, previous or next during the time or the hold: the next pass shows what CurrentSlide names.
    if (flags_.WaitInterrupt || !flags_.ShowPlaying || stepsAsked_ > 0)
        return true;
    if (!slide.HoldForAudio || !SlideAudio::hasPlayableAudio(slide))
        timeRanOutAt_ = shownAt + ms;
    advance();
    return bool(self);
}

qint64 TshowFrm::musicAtSlide(int index) const {
    qint64 at = 0;
    for (int i = 0; i < index && i < show_.SlideCount; ++i)
        at += slideTimeMs(i);
    return at;
}

void TshowFrm::noteMusicLeftOut(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (musicLeftOut_.contains(name))
        return;
    musicLeftOut_ << name;
    statusLine_->setText(tr("Music left out: %1").arg(musicLeftOut_.join(QStringLiteral(", "))));
    statusLine_->setToolTip(statusLine_->text());
    statusLine_->show();
}

void TshowFrm::noteShowEnd(int index, qint64 shownAt) {
    if (switches_.LoopSlideShow || !music_->isPlaying()) {
        music_->setShowEnd(-1);
        return;
    }
    // The slide on screen lasts as long as its own sound where it waits for it.
    const TSlideRecord& slide = show_.slide(index);
    const bool held = slide.HoldForAudio && SlideAudio::hasPlayableAudio(slide);
    qint64 end = shownAt + qMax<qint64>(slideTimeMs(index), held ? MediaPlayer1->length() : 0);
    for (int i = index + 1; i < show_.SlideCount; ++i)
        end += slideTimeMs(i);
    music_->setShowEnd(end);
}

void TshowFrm::advance() {
    musicFollows_ = true;
    ++flags_.CurrentSlide;
    if (flags_.CurrentSlide > show_.SlideCount - 1) {
        if (switches_.LoopSlideShow) {
            flags_.CurrentSlide = 0;
        } else {
            flags_.CurrentSlide = show_.SlideCount - 1;
            SpeedButton3Click();
        }
    }
    clampCurrentSlide();
    showSlideNumber();
    QCoreApplication::processEvents();
}

void TshowFrm::clampCurrentSlide() {
    if (flags_.CurrentSlide < 0)
        flags_.CurrentSlide = 0;
    if (flags_.CurrentSlide + 1 > TrackBar2->maximum())
        flags_.CurrentSlide = TrackBar2->maximum() - 1;
}

void TshowFrm::followShow(const ShowChange& change) {
    if (!isVisible())
        return;
    flags_.CurrentSlide = change.indexAfter(flags_.CurrentSlide);
    if (shownIndex_ >= 0)
        shownIndex_ = change.indexAfter(shownIndex_);
    if (show_.SlideCount == 0) {
        close();
        return;
    }
    programSetsSlider_ = true;
    TrackBar2->setMaximum(show_.SlideCount);
    programSetsSlider_ = false;
    Label6->setText(QString::number(show_.SlideCount));
    clampCurrentSlide();
    showSlideNumber();
    redrawChangedSlide();
}

void TshowFrm::redrawChangedSlide() {
    const int index = flags_.CurrentSlide;
    // Between slides (the next one chosen, its picture not yet on screen) it is drawn whole anyway.
    if (shownIndex_ != index)
        return;
    const TSlideRecord& slide = show_.slide(index);
    const bool samePicture =
        imagePathOf(slide) == imagePathOf(drawnRecord_) && show_.extra(index) == drawnExtra_;
    if (samePicture && sameRecord(slide, drawnRecord_))
        return; // a thumbnail drawn anew, or a change to other slides
    if (!samePicture) {
        motionFromStart_ = true;
        FormResize();
    }
    fillCaption(index);
}

void TshowFrm::showSlideNumber() {
    const int position = flags_.CurrentSlide + 1;
    programSetsSlider_ = true;
    TrackBar2->setValue(position);
    programSetsSlider_ = false;
    Label4->setText(tr("&Image %1").arg(position));
}

void TshowFrm::SpeedButton2Click() {
    // Play pressed before the auto-play has begun plays once.
    Timer1->stop();
    updateControlStrip();
    PlayShow();
}

void TshowFrm::SpeedButton3Click() {
    // A stop right after "&Play Verasco" also stops the play that is about to begin.
    Timer1->stop();
    audio_->StopAudio();
    music_->stop();
    flags_.ShowPlaying = false;
    flags_.WaitInterrupt = true;
    SpeedButton2->setChecked(false);
}

void TshowFrm::SpeedButton1Click() {
    if (flags_.CurrentSlide > 0) {
        flags_.WaitInterrupt = true;
        const QPointer<TshowFrm> self(this);
        QCoreApplication::processEvents();
        if (!self)
            return;
        --flags_.CurrentSlide;
    }
    afterStep();
}

void TshowFrm::SpeedButton5Click() {
    if (flags_.CurrentSlide < show_.SlideCount - 1) {
        flags_.WaitInterrupt = true;
        ++flags_.CurrentSlide;
    }
    afterStep();
}

// Home and End: like the next button, to the first or the last slide.
void TshowFrm::jumpTo(int index) {
    if (index != flags_.CurrentSlide) {
        flags_.WaitInterrupt = true;
        flags_.CurrentSlide = index;
    }
    afterStep();
}

// What previous, next, Home and End do once CurrentSlide has moved.
void TshowFrm::afterStep() {
    if (show_.SlideCount == 0)
        return;
    clampCurrentSlide();
    const TSlideRecord slide = show_.slide(flags_.CurrentSlide);
    if (slide.HoldForAudio && SlideAudio::hasPlayableAudio(slide))
        audio_->StopAudio();
    showSlideNumber();
    if (flags_.ShowPlaying) {
        ++stepsAsked_;
        flags_.WaitInterrupt = true; // the running loop shows the slide
        return;
    }
    flags_.WaitInterrupt = false;
    displaySlide(Display::Stopped);
}

void TshowFrm::TrackBar2Change(int position) {
    if (programSetsSlider_ || flags_.ShowPlaying)
        return;
    Label4->setText(tr("&Image %1").arg(position));
    flags_.CurrentSlide = position - 1;
    displaySlide(Display::Stopped);
}

void TshowFrm::Button1Click() {
    if (flags_.ShowPlaying || !host_.editPreferences)
        return;
    host_.editPreferences();
    const bool wasFullScreen = switches_.FullScreen;
    switches_ = readSwitches();
    if (switches_.FullScreen != wasFullScreen)
        switches_.FullScreen ? showFullScreen() : showNormal();
}

void TshowFrm::Timer1Timer() {
    Timer1->stop();
    SpeedButton2Click();
}
