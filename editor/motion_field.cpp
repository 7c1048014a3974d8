// SPDX-License-Identifier: MIT
#include "motion_field.h"

#include "image_loader.h"
#include "work_wait.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <future>

namespace {

using ShowMotion::Frame;
using ShowMotion::Kind;

// A frame is never dragged smaller than this share of the picture.
constexpr double MinShare = 0.1;
// How near its lower right corner a press sizes a frame, in pixels.
constexpr double CornerGrip = 8;

Frame movedWithin(Frame frame, double dx, double dy) {
    frame.x = std::clamp(frame.x + dx, 0.0, 1 - frame.w);
    frame.y = std::clamp(frame.y + dy, 0.0, 1 - frame.h);
    return frame;
}

Frame sizedWithin(Frame frame, double dw, double dh) {
    frame.w = std::clamp(frame.w + dw, MinShare, 1 - frame.x);
    frame.h = std::clamp(frame.h + dh, MinShare, 1 - frame.y);
    return frame;
}

} // namespace

MotionFrames::MotionFrames(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MotionFrames"));
    setFixedSize(PreviewWidth, PreviewHeight);
}

void MotionFrames::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void MotionFrames::setMotion(const std::optional<ShowMotion::Motion>& motion) {
    motion_ = motion;
    update();
}

QRectF MotionFrames::pictureRect() const {
    const QSizeF size = picture_.isNull() ? QSizeF(4, 3) : QSizeF(picture_.size());
    return ShowMotion::fittedRect(size, QRectF(rect()).adjusted(1, 1, -1, -1));
}

QRectF MotionFrames::frameRect(const Frame& frame) const {
    const QRectF picture = pictureRect();
    return ShowMotion::sourceRect(frame, picture.size()).translated(picture.topLeft());
}

void MotionFrames::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().dark());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!picture_.isNull())
        painter.drawImage(pictureRect(), picture_);
    if (!motion_)
        return;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::green, 2));
    painter.drawRect(frameRect(motion_->from));
    painter.setPen(QPen(Qt::red, 2));
    painter.drawRect(frameRect(motion_->to));
}

ShowMotion::Frame* MotionFrames::grabbed() {
    if (!motion_ || grip_ == Grip::None)
        return nullptr;
    return grip_ == Grip::From ? &motion_->from : &motion_->to;
}

// The last frame lies over the first, so a press where both are takes the last.
void MotionFrames::mousePressEvent(QMouseEvent* event) {
    grip_ = Grip::None;
    if (!motion_ || event->button() != Qt::LeftButton)
        return;
    const QPointF at = event->position();
    for (const auto& [grip, frame] :
         {std::pair{Grip::To, motion_->to}, std::pair{Grip::From, motion_->from}}) {
        const QRectF shown = frameRect(frame);
        if (!shown.adjusted(-CornerGrip / 2, -CornerGrip / 2, CornerGrip / 2, CornerGrip / 2).contains(at))
            continue;
        grip_ = grip;
        sizing_ = QLineF(at, shown.bottomRight()).length() <= CornerGrip;
        lastPos_ = at;
        return;
    }
}

void MotionFrames::mouseMoveEvent(QMouseEvent* event) {
    Frame* frame = grabbed();
    const QRectF picture = pictureRect();
    if (!frame || picture.isEmpty())
        return;
    const QPointF delta = event->position() - lastPos_;
    lastPos_ = event->position();
    const double dx = delta.x() / picture.width(), dy = delta.y() / picture.height();
    *frame = sizing_ ? sizedWithin(*frame, dx, dy) : movedWithin(*frame, dx, dy);
    update();
    emit framesDragged();
}

void MotionFrames::mouseReleaseEvent(QMouseEvent*) {
    grip_ = Grip::None;
}

MotionField::MotionField(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MotionField"));
    box_ = new QComboBox(this);
    box_->setObjectName(QStringLiteral("MotionBox"));
    // In the order of ShowMotion::Kind.
    box_->addItems({tr("None"), tr("Zoom in"), tr("Zoom out"), tr("Pan"), tr("Custom")});
    label_ = new QLabel(tr("M&otion:"), this);
    label_->setObjectName(QStringLiteral("MotionLabel"));
    label_->setBuddy(box_);
    frames_ = new MotionFrames(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label_);
    row->addWidget(box_);
    row->addStretch(1);
    row->addWidget(frames_);
    connect(box_, &QComboBox::currentIndexChanged, this, &MotionField::choose);
    connect(frames_, &MotionFrames::framesDragged, this, [this] {
        changed_ = true;
        const QSignalBlocker quiet(box_);
        box_->setCurrentIndex(int(Kind::Custom));
    });
}

void MotionField::load(const QJsonObject& slide, const QString& imagePath) {
    const QSize preview =
        QSize(MotionFrames::PreviewWidth, MotionFrames::PreviewHeight) * devicePixelRatioF();
    // Decoded on a thread of its own while this one waits, the windows painting meanwhile: the
    // motion's kind follows from the picture's proportions.
    std::future<imaging::LoadedImage> work = std::async(
        std::launch::async, [imagePath, preview] { return imaging::loadImageFile(imagePath, preview); });
    imaging::waitForWork([&work](int ms) {
        return work.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
    });
    const imaging::LoadedImage loaded = work.get();
    picture_ = loaded.fullSize.isEmpty() ? QSizeF(4, 3) : QSizeF(loaded.fullSize);
    frames_->setPicture(loaded.image.isNull()
                            ? QImage()
                            : loaded.image.scaled(preview, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    const std::optional<ShowMotion::Motion> motion = ShowMotion::motion(slide);
    frames_->setMotion(motion);
    loading_ = true;
    box_->setCurrentIndex(int(ShowMotion::kindOf(motion, picture_)));
    loading_ = false;
    changed_ = false;
}

QWidget* MotionField::chooser() const {
    return box_;
}

ShowMotion::Kind MotionField::kind() const {
    return Kind(box_->currentIndex());
}

// Custom starts from the motion shown, or from a zoom in when there was none.
void MotionField::choose(int index) {
    if (loading_)
        return;
    changed_ = true;
    const Kind kind = Kind(index);
    if (kind != Kind::Custom)
        frames_->setMotion(ShowMotion::preset(kind, picture_));
    else if (!frames_->motion())
        frames_->setMotion(ShowMotion::preset(Kind::ZoomIn, picture_));
}

QJsonObject MotionField::storeInto(const QJsonObject& slide) const {
    return changed_ ? ShowMotion::withMotion(slide, frames_->motion()) : slide;
}
