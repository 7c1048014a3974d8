// SPDX-License-Identifier: MIT
// TPhoto's on-screen display (scaled or own size, scroll bars) and its printing into a painter.
#include "tphoto.h"

#include "dib_memory.h"
#include "print_placement.h"

#include <QCoreApplication>
#include <QPaintDevice>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtMath>

TPhoto::TPhoto(QWidget* parent) : QWidget(parent) {
    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    vertical_ = new QScrollBar(Qt::Vertical, this);
    horizontal_->hide();
    vertical_->hide();
    connect(horizontal_, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    connect(vertical_, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
}

// While off, the control keeps what it last showed: no paint events reach it, so layout changes in
// between do not flicker.
void TPhoto::setUpdate(bool on) {
    update_ = on;
    if (on)
        layoutScrollBars();
    setUpdatesEnabled(on); // turning it on schedules a repaint
}

void TPhoto::setAutoSize(int mode) {
    autoSize_ = mode;
    scaledCache_ = QPixmap();
    layoutScrollBars();
    if (update_)
        update();
}

void TPhoto::setScrollBars(int bars) {
    scrollBars_ = bars & 3;
    layoutScrollBars();
    if (update_)
        update();
}

void TPhoto::setOwnSizeInDevicePixels(bool on) {
    devicePixels_ = on;
    layoutScrollBars();
    if (update_)
        update();
}

QSize TPhoto::shownSize() const {
    const qreal ratio = devicePixels_ ? devicePixelRatioF() : 1;
    return QSize(qCeil(size_.width() / ratio), qCeil(size_.height() / ratio));
}

void TPhoto::Redisplay() {
    scaledCache_ = QPixmap();
    layoutScrollBars();
    if (update_)
        repaint();
}

QSize TPhoto::scaledPixels(QSize stored, QSize view, qreal devicePixelRatio) {
    const QSize fitted = stored.scaled(view, Qt::KeepAspectRatio);
    return QSize(qRound(fitted.width() * devicePixelRatio), qRound(fitted.height() * devicePixelRatio));
}

void TPhoto::Refresh() {
    if (update_)
        repaint();
}

void TPhoto::pictureChanged() {
    scaledCache_ = QPixmap();
    layoutScrollBars();
    if (update_)
        update();
}

void TPhoto::wheelEvent(QWheelEvent* event) {
    QScrollBar* bar = vertical_->isVisible() ? vertical_ : (horizontal_->isVisible() ? horizontal_ : nullptr);
    if (bar)
        QCoreApplication::sendEvent(bar, event);
    else
        QWidget::wheelEvent(event);
}

void TPhoto::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    scaledCache_ = QPixmap();
    layoutScrollBars();
}

QRect TPhoto::viewportRect() const {
    QRect r = rect();
    if (horizontal_->isVisible())
        r.setBottom(horizontal_->y() - 1);
    if (vertical_->isVisible())
        r.setRight(vertical_->x() - 1);
    return r;
}

// A bar is shown when it is enabled and the picture, drawn at its own size, is larger than the
// control in that direction.
void TPhoto::layoutScrollBars() {
    const bool ownSize = autoSize_ != AutoSizeScaled && !image_.isNull();
    const QSize shown = shownSize();
    const int barW = vertical_->sizeHint().width();
    const int barH = horizontal_->sizeHint().height();
    bool needH = ownSize && (scrollBars_ & 1) && shown.width() > width();
    bool needV = ownSize && (scrollBars_ & 2) && shown.height() > height();
    // One bar takes room from the other direction and may make the other bar necessary.
    needH = needH || (ownSize && (scrollBars_ & 1) && needV && shown.width() > width() - barW);
    needV = needV || (ownSize && (scrollBars_ & 2) && needH && shown.height() > height() - barH);
    const int viewW = width() - (needV ? barW : 0);
    const int viewH = height() - (needH ? barH : 0);
    horizontal_->setVisible(needH);
    vertical_->setVisible(needV);
    if (needH) {
        horizontal_->setGeometry(0, viewH, viewW, barH);
        horizontal_->setRange(0, qMax(0, shown.width() - viewW));
        horizontal_->setPageStep(viewW);
    } else {
        horizontal_->setValue(0);
    }
    if (needV) {
        vertical_->setGeometry(viewW, 0, barW, viewH);
        vertical_->setRange(0, qMax(0, shown.height() - viewH));
        vertical_->setPageStep(viewH);
    } else {
        vertical_->setValue(0);
    }
}

void TPhoto::paintEvent(QPaintEvent*) {
    if (!update_)
        return;
    QPainter painter(this);
    const QRect view = viewportRect();
    painter.fillRect(view, palette().window());
    if (image_.isNull() || size_.isEmpty())
        return;
    if (autoSize_ == AutoSizeScaled) {
        // Scaled to the control's area, keeping the picture's proportions, centred.
        // Drawn with the screen's own pixels: sharp where a logical pixel has several.
        const QSize fitted = size_.scaled(view.size(), Qt::KeepAspectRatio);
        const qreal ratio = devicePixelRatioF();
        const QSize pixels = scaledPixels(size_, view.size(), ratio);
        if (fitted.isEmpty() || pixels.isEmpty())
            return;
        if (scaledCache_.size() != pixels) {
            scaledCache_ =
                QPixmap::fromImage(image_.size() == pixels ? image_
                                                           : image_.scaled(pixels, Qt::IgnoreAspectRatio,
                                                                           Qt::SmoothTransformation));
            scaledCache_.setDevicePixelRatio(ratio);
        }
        const QPoint at(view.x() + (view.width() - fitted.width()) / 2,
                        view.y() + (view.height() - fitted.height()) / 2);
        painter.drawPixmap(at, scaledCache_);
        return;
    }
    painter.setClipRect(view);
    const QPoint origin(view.x() - horizontal_->value(), view.y() - vertical_->value());
    if (devicePixels_ && image_.size() == size_) {
        // One picture pixel on each device pixel: no resampling.
        painter.drawImage(QRectF(origin, QSizeF(size_) / devicePixelRatioF()), image_);
    } else if (image_.size() == size_) {
        painter.drawImage(origin, image_);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(origin, size_), image_);
    }
}

void TPhoto::setPrinterhDC(QPainter* painter) {
    if (!painter || !painter->isActive() || !painter->device())
        return fail(PrintFailed, tr("no active printer painter"));
    if (image_.isNull())
        return fail(NoPicture, tr("no picture to print"));
    const QPaintDevice* device = painter->device();
    const QRectF target = imaging::twipsToDevice(printerLeft_, printerTop_, printerWidth_, printerHeight_,
                                                 device->logicalDpiX(), device->logicalDpiY());
    // A printer (or a printer file) stores the picture as it is handed over: shrink it first to the
    // pixels the rectangle covers on the device.
    const QRectF onDevice = painter->transform().mapRect(target);
    const QSize devicePixels(qMax(1, qCeil(onDevice.width())), qMax(1, qCeil(onDevice.height())));
    const bool shrink = image_.width() > devicePixels.width() && image_.height() > devicePixels.height();
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target,
                       shrink ? image_.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              : image_);
    painter->restore();
    succeed();
}
