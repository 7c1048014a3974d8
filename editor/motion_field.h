// SPDX-License-Identifier: MIT
#pragma once
// The "M&otion" choice of Image Properties: none, zoom in, zoom out, a pan across the picture's
// longer side, or custom frames dragged on a small picture of the slide. It reads and writes the
// motion in the slide's object of the show's extension block and leaves that object as it was
// unless the user changes the motion.

#include "show_motion.h"

#include <QImage>
#include <QJsonObject>
#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;

// The slide's picture with the motion's first frame (green) and last frame (red) over it. A frame is
// moved by dragging it and sized by dragging its lower right corner.
class MotionFrames : public QWidget {
    Q_OBJECT
  public:
    static constexpr int PreviewWidth = 160;
    static constexpr int PreviewHeight = 120;
    explicit MotionFrames(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setMotion(const std::optional<ShowMotion::Motion>& motion);
    const std::optional<ShowMotion::Motion>& motion() const { return motion_; }
    // Where the picture is drawn in the widget.
    QRectF pictureRect() const;
    // A frame of the motion in widget coordinates.
    QRectF frameRect(const ShowMotion::Frame& frame) const;

  signals:
    void framesDragged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    ShowMotion::Frame* grabbed();

    QImage picture_;
    std::optional<ShowMotion::Motion> motion_;
    enum class Grip { None, From, To } grip_ = Grip::None;
    bool sizing_ = false;
    QPointF lastPos_;
};

class MotionField : public QWidget {
    Q_OBJECT
  public:
    explicit MotionField(QWidget* parent = nullptr);

    // Shows the motion of the slide's object, over a small picture decoded from `imagePath`.
    void load(const QJsonObject& slide, const QString& imagePath);
    // The slide's object with the motion chosen; as it was given when the user changed nothing.
    QJsonObject storeInto(const QJsonObject& slide) const;
    ShowMotion::Kind kind() const;
    // The choice's box, the field's one stop of the dialog's tab order.
    QWidget* chooser() const;
    // The small picture of the slide the field shows.
    const QImage& picture() const { return frames_->picture(); }

  private:
    void choose(int index);

    QLabel* label_ = nullptr;
    QComboBox* box_ = nullptr;
    MotionFrames* frames_ = nullptr;
    QSizeF picture_{4, 3};
    bool changed_ = false;
    bool loading_ = false;
};
