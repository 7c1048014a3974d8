// SPDX-License-Identifier: MIT
#include "tap_times_dialog.h"

#include "media_device.h"
#include "named_widget.h"
#include "show_document.h"
#include "show_extension.h"
#include "show_music.h"
#include "slide_time.h"
#include "wait_pumping.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TapTimesDialog::TapTimesDialog(ShowDocument& show, QWidget* parent) : QDialog(parent), show_(show) {
    setObjectName(QStringLiteral("TapTimesDialog"));
    setWindowTitle(tr("Tap Times to Music"));
    music_ = new MediaDevice(this);
    quiet_ = new MediaDevice(this);
    player_ = new ShowMusic(*music_, *quiet_, this);
    auto* help =
        new QLabel(tr("Press Space where each slide should end. Esc leaves the times as they were."), this);
    help->setWordWrap(true);
    slide_ = named(new QLabel(this), "TapSlideLabel");
    picture_ = new QLabel(this);
    picture_->setAlignment(Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* done = buttons->addButton(tr("&Done"), QDialogButtonBox::AcceptRole);
    done->setObjectName(QStringLiteral("TapDoneButton"));
    // Space taps: no button takes it.
    for (QAbstractButton* b : buttons->buttons())
        b->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(picture_);
    layout->addWidget(slide_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::finished, player_, &ShowMusic::stop);
    showSlide();
}

TapTimesDialog::~TapTimesDialog() = default;

void TapTimesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (lastTapMs_ >= 0)
        return;
    lastTapMs_ = waitClock().nowMs();
    player_->start(ShowExtension::musicPaths(show_.showData()), false, 0);
}

void TapTimesDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        tap();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The slide shown ends now: its time is the time since the tap before, to the tenth of a second.
void TapTimesDialog::tap() {
    if (lastTapMs_ < 0 || int(taps_.size()) >= show_.SlideCount)
        return;
    const qint64 now = waitClock().nowMs();
    const std::int64_t ms = (now - lastTapMs_ + 50) / 100 * 100;
    taps_.push_back(std::clamp<std::int64_t>(ms, ShowRules::MinSlideMs, ShowRules::MaxSlideMs));
    lastTapMs_ = now;
    if (int(taps_.size()) == show_.SlideCount)
        accept();
    else
        showSlide();
}

void TapTimesDialog::showSlide() {
    const int index = int(taps_.size());
    slide_->setText(tr("Slide %1 of %2").arg(index + 1).arg(show_.SlideCount));
    picture_->setPixmap(QPixmap::fromImage(show_.thumbnail(index)));
}

bool TapTimesDialog::apply() {
    if (taps_.empty())
        return false;
    const ShowDocument::Step step(show_, tr("Tap Times to Music"));
    for (std::size_t i = 0; i < taps_.size(); ++i) {
        ShowSlide slide = show_.at(int(i));
        SlideTimes::setTimeMs(slide.record, slide.extra, taps_[i]);
        show_.replace(int(i), std::move(slide));
    }
    return true;
}
