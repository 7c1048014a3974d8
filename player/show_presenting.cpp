// SPDX-License-Identifier: MIT
// The viewer as a presenter uses it: full screen on the screen chosen for it, the show on black
// without margins, the control strip and the caption area over the bottom of the picture and hidden
// with the pointer while the mouse rests, the screen blacked out at a key, and a slide number typed
// to jump to; the desktop is asked not to lock or blank the screen meanwhile.
#include "show_form.h"

#include "cross_fade.h"
#include "screen_inhibit.h"
#include "shared_flags.h"
#include "show_document.h"

#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>
#include <QWindow>

#include <utility>

namespace {
constexpr int MaxTypedDigits = 3; // enough for the largest show
} // namespace

void TshowFrm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && contentsBuilt())
        setPresenting(isFullScreen());
    // Another appearance: the caption box takes colours that read in it.
    else if (event->type() == QEvent::PaletteChange && contentsBuilt() && isVisible())
        refreshCaption();
}

// The window moves to the middle of the screen, no larger than the screen; full screen then fills
// that screen.
void TshowFrm::placeOnScreen(QScreen* screen) {
    if (!screen || screen == this->screen())
        return;
    windowHandle()->setScreen(screen);
    const QRect available = screen->availableGeometry();
    QRect frame(QPoint(), size().boundedTo(available.size()).expandedTo(minimumSize()));
    frame.moveCenter(available.center());
    setGeometry(frame);
}

void TshowFrm::setPresenting(bool on) {
    if (on == presenting_)
        return;
    presenting_ = on;
    fade_->stop();
    on ? screenInhibit_->hold() : screenInhibit_->release();
    if (on) {
        // Recorded by the window as it went into full screen.
        windowedGeometry_ = normalGeometry();
        captionSizes_ = Splitter1->sizes();
        Panel4->hide();
        Panel5->hide();
        // Out of the layouts: they lie over the picture, which keeps the whole screen.
        Panel3->setParent(this);
        Panel1->setParent(this);
        QPalette black = Splitter1->palette();
        black.setColor(QPalette::Window, Qt::black);
        Splitter1->setPalette(black);
        Splitter1->setAutoFillBackground(true);
        windowHandle()->installEventFilter(this);
        lastMovePos_ = QCursor::pos();
        lastMoveMs_ = waitClock().nowMs();
        chromeShown_ = true;
        refreshCaption();
        updateChrome();
        scheduleIdleCheck();
        return;
    }
    windowHandle()->removeEventFilter(this);
    upperLayout_->addWidget(Panel3);
    Splitter1->addWidget(Panel1);
    Splitter1->setSizes(captionSizes_);
    Splitter1->setPalette(QPalette());
    Splitter1->setAutoFillBackground(false);
    Panel4->show();
    Panel5->show();
    Panel1->show();
    chromeShown_ = true;
    setPointerHidden(false);
    updateControlStrip();
    refreshCaption();
}

void TshowFrm::refreshCaption() {
    if (flags_.CurrentSlide < 0 || flags_.CurrentSlide >= show_.SlideCount)
        return;
    fillCaption(flags_.CurrentSlide);
    showFill(); // the show's look may have changed too
}

void TshowFrm::updateControlStrip() {
    Panel3->setVisible(switches_.ShowSlideControls && (!presenting_ || chromeShown_));
}

// In full screen the caption is on a band over the picture: the caption area is not shown.
void TshowFrm::updateChrome() {
    Panel1->setVisible(false);
    updateControlStrip();
    layoutChrome();
    placeBandCaption();
}

void TshowFrm::layoutChrome() {
    const int captionHeight = captionSizes_.value(1, CaptionHeight);
    int bottom = height();
    if (Panel1->isVisibleTo(this)) {
        bottom -= captionHeight;
        Panel1->setGeometry(0, bottom, width(), captionHeight);
        Panel1->raise();
    }
    Panel3->setGeometry(0, bottom - ControlStripHeight, width(), ControlStripHeight);
    Panel3->raise();
    BlankScreen->raise();
}

void TshowFrm::mouseMoved(QPoint global) {
    // Widgets that appear or go under a resting pointer may bring moves to the same place.
    if (global == lastMovePos_)
        return;
    lastMovePos_ = global;
    lastMoveMs_ = waitClock().nowMs();
    if (!chromeShown_) {
        chromeShown_ = true;
        setPointerHidden(false);
        updateChrome();
    }
    scheduleIdleCheck();
}

// One check at a time, planned for when the last movement will be ControlsIdleMs old.
void TshowFrm::scheduleIdleCheck() {
    if (idleCheckPending_)
        return;
    idleCheckPending_ = true;
    const qint64 left = ControlsIdleMs - (waitClock().nowMs() - lastMoveMs_);
    waitClock().callAfter(int(qMax<qint64>(0, left)), this, [this] {
        idleCheckPending_ = false;
        hideChromeWhenIdle();
    });
}

void TshowFrm::hideChromeWhenIdle() {
    if (!presenting_ || !chromeShown_)
        return;
    const bool overControls = Panel3->isVisible() && Panel3->geometry().contains(mapFromGlobal(lastMovePos_));
    if (overControls)
        lastMoveMs_ = waitClock().nowMs();
    if (overControls || waitClock().nowMs() - lastMoveMs_ < ControlsIdleMs) {
        scheduleIdleCheck();
        return;
    }
    if (Panel3->isAncestorOf(QApplication::focusWidget()))
        Panel6->setFocus();
    chromeShown_ = false;
    setPointerHidden(true);
    updateChrome();
}

void TshowFrm::setPointerHidden(bool hidden) {
    if (hidden) {
        setCursor(Qt::BlankCursor);
        Memo1->viewport()->setCursor(Qt::BlankCursor);
    } else {
        unsetCursor();
        Memo1->viewport()->setCursor(Qt::ArrowCursor);
    }
}

// The show keeps its time under the black screen.
void TshowFrm::toggleBlank() {
    if (BlankScreen->isVisible()) {
        BlankScreen->hide();
        return;
    }
    BlankScreen->setGeometry(rect());
    BlankScreen->raise();
    BlankScreen->show();
}

bool TshowFrm::presenterKey(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (typedNumber_.size() < MaxTypedDigits)
            typedNumber_ += QChar(u'0' + (key - Qt::Key_0));
        return true;
    }
    if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta)
        return false;
    const QString typed = std::exchange(typedNumber_, QString());
    switch (key) {
    case Qt::Key_PageDown:
        SpeedButton5Click();
        return true;
    case Qt::Key_PageUp:
        SpeedButton1Click();
        return true;
    case Qt::Key_B:
    case Qt::Key_Period:
        toggleBlank();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A number that names no slide does nothing.
        if (const int number = typed.toInt(); number >= 1 && number <= show_.SlideCount)
            jumpTo(number - 1);
        return !typed.isEmpty();
    default:
        return false;
    }
}
