// SPDX-License-Identifier: MIT
#include "standalone_player.h"

#include "package_pictures.h"
#include "package_show.h"
#include "runtime_decoder.h"
#include "slide_paths.h"
#include "tphoto.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSlider>

namespace {

// The fastest speed: each slide for no time beyond putting it on screen.
constexpr int FastestSpeed = 20;

QString fontOf(const TSlideRecord& slide) {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(fontNameOf(slide))
        .arg(slide.FontSize)
        .arg(slide.FontStyle)
        .arg(slide.FontColor);
}

} // namespace

StandalonePlayer::StandalonePlayer(PackageShow& package, const RuntimeDecoder& runtime, std::FILE* report)
    : package_(package), runtime_(runtime), report_(report), viewer_(package.show(), flags_) {
    const PlayerOptions options = package.options();
    ViewerHost host;
    host.switches = [options, report] {
        ShowSwitches switches;
        switches.ShowSlideControls = options.controls;
        switches.LoopSlideShow = options.loop && !report;
        return switches;
    };
    host.loadPicture = [this](int index, QSize box, TPhoto& photo) { loadPicture(index, box, photo); };
    viewer_.setHost(std::move(host));
    viewer_.findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(report ? FastestSpeed : options.speed);
    if (report)
        connect(&viewer_, &TshowFrm::slideShown, this, &StandalonePlayer::reportSlide);
    qApp->installEventFilter(this);
}

void StandalonePlayer::start() {
    viewer_.StartShow(true);
    viewer_.showFullScreen();
}

void StandalonePlayer::loadPicture(int index, QSize box, TPhoto& photo) {
    SlidePicture picture = decodeSlidePicture(package_.pictureData(index), box, runtime_);
    shown_[index] = {picture.image.size(), picture.byRuntime};
    photo.setPicture(picture.image);
}

void StandalonePlayer::reportSlide(int index) {
    const TSlideRecord& slide = package_.show().slide(index);
    const SlideList::DataRange& range = package_.range(index);
    const Shown& shown = shown_[index];
    const QString line =
        QStringLiteral("slide=%1\toffset=%2\tlength=%3\tpicture=%4x%5\tdecoder=%6\tdelay=%7\thold=%8"
                       "\taudio=%9\tfont=%10\tcaption=%11\n")
            .arg(index + 1)
            .arg(range.offset)
            .arg(range.length)
            .arg(shown.size.width())
            .arg(shown.size.height())
            .arg(shown.byRuntime ? QStringLiteral("runtime") : QStringLiteral("own"))
            .arg(slide.Delay)
            .arg(slide.HoldForAudio ? 1 : 0)
            .arg(QFileInfo(audioPathOf(slide)).fileName(), fontOf(slide),
                 slide.ShowText ? captionOf(slide) : QString());
    std::fputs(line.toLocal8Bit().constData(), report_);
    std::fflush(report_);
    if (index == package_.show().SlideCount - 1)
        QMetaObject::invokeMethod(&viewer_, &QWidget::close, Qt::QueuedConnection);
}

bool StandalonePlayer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        viewer_.close();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
