// SPDX-License-Identifier: MIT
#pragma once
// The "Fill" and "Caption" choices of Image Properties (a slide's own, or as the show has them) and
// of Preferences (the show's): what fills the frame beside the picture (black, the picture blurred,
// one colour) and where the caption's band lies (bottom or top). For a slide, a small frame shows
// the slide as the show will draw it, its caption drawn by the show's own band. The objects are left
// as they were unless the user changes a choice.

#include "show_look.h"

#include <QFont>
#include <QImage>
#include <QJsonObject>
#include <QWidget>

class QComboBox;
class QToolButton;

class QPainter;

// The slide in a small frame of the usual 16:9 screen: its fill, its picture and its caption.
class LookPreview : public QWidget {
  public:
    static constexpr int PreviewWidth = 160;
    static constexpr int PreviewHeight = 90;
    // How the show draws a slide in `frame`, given once by the program (the players' own drawing);
    // without it the preview stays empty.
    using Draw = void (*)(QPainter& painter, const QRect& frame, const QImage& picture,
                          const ShowRules::Look& look, const QString& text, const QFont& font,
                          const QColor& colour);
    static void setDraw(Draw draw);
    explicit LookPreview(QWidget* parent = nullptr);
    void setPicture(const QImage& picture);
    void setLook(const ShowRules::Look& look);
    void setCaption(const QString& text, const QFont& font, const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
    ShowRules::Look look_;
    QString text_;
    QFont font_;
    QColor colour_;
};

class LookField : public QWidget {
    Q_OBJECT
  public:
    // For a slide (with the choice "As the show" and the preview) or for the show.
    enum class Level { Slide, Show };
    explicit LookField(Level level, QWidget* parent = nullptr);

    // Shows the look `own` holds (a slide's object, or the show's); `show` is what the show holds.
    void load(const QJsonObject& own, const QJsonObject& show = {});
    // The slide's picture for the preview.
    void setPicture(const QImage& picture);
    // The caption the preview shows; an empty text shows none.
    void setCaption(const QString& text, const QFont& font, const QColor& colour);
    // The object with the look chosen; as it was given when the user changed nothing.
    QJsonObject storeInto(const QJsonObject& own) const;
    // The field's stops in the dialog's tab order.
    QWidget* firstChoice() const;
    QWidget* colourButton() const;
    QWidget* lastChoice() const;

  private:
    ShowLook::Own chosen() const;
    // A choice changed: the preview follows.
    void changed(bool fill);
    void pickColour();

    Level level_;
    QComboBox* fill_ = nullptr;
    QToolButton* colour_ = nullptr;
    QComboBox* place_ = nullptr;
    LookPreview* preview_ = nullptr;
    QColor fillColour_ = Qt::darkGray;
    QJsonObject show_;
    bool fillChanged_ = false, placeChanged_ = false;
    bool loading_ = false;
};
