// SPDX-License-Identifier: MIT
#include "look_field.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

namespace {

// The items of the choices: "as the show" (no value) first for a slide.
constexpr int AsShow = -1;

LookPreview::Draw drawSlide = nullptr;

} // namespace

void LookPreview::setDraw(Draw draw) {
    drawSlide = draw;
}

LookPreview::LookPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LookPreview"));
    setFixedSize(PreviewWidth, PreviewHeight);
}

void LookPreview::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void LookPreview::setLook(const ShowRules::Look& look) {
    look_ = look;
    update();
}

void LookPreview::setCaption(const QString& text, const QFont& font, const QColor& colour) {
    text_ = text;
    font_ = font;
    colour_ = colour;
    update();
}

void LookPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (drawSlide)
        drawSlide(painter, rect(), picture_, look_, text_, font_, colour_);
}

LookField::LookField(Level level, QWidget* parent) : QWidget(parent), level_(level) {
    fill_ = new QComboBox(this);
    fill_->setObjectName(QStringLiteral("FillBox"));
    place_ = new QComboBox(this);
    place_->setObjectName(QStringLiteral("CaptionPlaceBox"));
    if (level == Level::Slide) {
        fill_->addItem(tr("As the show"), AsShow);
        place_->addItem(tr("As the show"), AsShow);
    }
    fill_->addItem(tr("Black"), int(ShowLook::Fill::Black));
    fill_->addItem(tr("Blurred picture"), int(ShowLook::Fill::Blur));
    fill_->addItem(tr("One colour"), int(ShowLook::Fill::Colour));
    place_->addItem(tr("Bottom"), int(ShowLook::CaptionPlace::Bottom));
    place_->addItem(tr("Top"), int(ShowLook::CaptionPlace::Top));
    colour_ = new QToolButton(this);
    colour_->setObjectName(QStringLiteral("FillColourButton"));
    colour_->setText(tr("Colour..."));
    colour_->setAccessibleName(tr("Fill colour"));
    auto* fillLabel = new QLabel(tr("Fill aroun&d the picture"), this);
    fillLabel->setBuddy(fill_);
    auto* placeLabel = new QLabel(tr("Ca&ption place"), this);
    placeLabel->setBuddy(place_);
    // For a slide a column beside the motion, the preview at its right; for the show two rows.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    const bool slide = level == Level::Slide;
    grid->addWidget(fillLabel, 0, 0, 1, slide ? 2 : 1);
    grid->addWidget(fill_, slide ? 1 : 0, slide ? 0 : 1);
    grid->addWidget(colour_, slide ? 1 : 0, slide ? 1 : 2);
    grid->addWidget(placeLabel, slide ? 2 : 1, 0, 1, slide ? 2 : 1);
    grid->addWidget(place_, slide ? 3 : 1, slide ? 0 : 1);
    if (slide) {
        preview_ = new LookPreview(this);
        grid->addWidget(preview_, 0, 2, 4, 1, Qt::AlignTop);
    }
    grid->setColumnStretch(3, 1);
    connect(fill_, &QComboBox::currentIndexChanged, this, [this] { changed(true); });
    connect(place_, &QComboBox::currentIndexChanged, this, [this] { changed(false); });
    connect(colour_, &QToolButton::clicked, this, &LookField::pickColour);
}

void LookField::load(const QJsonObject& own, const QJsonObject& show) {
    show_ = show;
    const ShowLook::Own look = ShowLook::ownOf(own);
    loading_ = true;
    fill_->setCurrentIndex(fill_->findData(look.fill                ? int(*look.fill)
                                           : level_ == Level::Slide ? AsShow
                                                                    : 0));
    place_->setCurrentIndex(place_->findData(look.captionPlace        ? int(*look.captionPlace)
                                             : level_ == Level::Slide ? AsShow
                                                                      : 0));
    if (look.fillColour.isValid())
        fillColour_ = look.fillColour;
    loading_ = false;
    changed(true);
    fillChanged_ = placeChanged_ = false;
}

void LookField::setPicture(const QImage& picture) {
    if (preview_)
        preview_->setPicture(picture);
}

void LookField::setCaption(const QString& text, const QFont& font, const QColor& colour) {
    if (preview_)
        preview_->setCaption(text, font, colour);
}

ShowLook::Own LookField::chosen() const {
    ShowLook::Own own;
    if (const int fill = fill_->currentData().toInt(); fill != AsShow)
        own.fill = ShowLook::Fill(fill);
    if (own.fill == ShowLook::Fill::Colour)
        own.fillColour = fillColour_;
    if (const int place = place_->currentData().toInt(); place != AsShow)
        own.captionPlace = ShowLook::CaptionPlace(place);
    return own;
}

void LookField::changed(bool fill) {
    if (loading_)
        return;
    (fill ? fillChanged_ : placeChanged_) = true;
    const ShowLook::Own own = chosen();
    colour_->setEnabled(own.fill == ShowLook::Fill::Colour);
    colour_->setStyleSheet(own.fill == ShowLook::Fill::Colour
                               ? QStringLiteral("background-color: %1").arg(fillColour_.name())
                               : QString());
    if (preview_)
        preview_->setLook(ShowLook::lookOf(show_, ShowLook::withOwn({}, own)));
}

void LookField::pickColour() {
    const QColor colour = QColorDialog::getColor(fillColour_, this, tr("Fill colour"));
    if (!colour.isValid())
        return;
    fillColour_ = colour;
    changed(true);
}

// Only the choices changed go into the object: several slides keep what they differ in otherwise.
QJsonObject LookField::storeInto(const QJsonObject& own) const {
    if (!fillChanged_ && !placeChanged_)
        return own;
    ShowLook::Own look = ShowLook::ownOf(own);
    const ShowLook::Own given = chosen();
    if (fillChanged_) {
        look.fill = given.fill;
        look.fillColour = given.fillColour;
    }
    if (placeChanged_)
        look.captionPlace = given.captionPlace;
    return ShowLook::withOwn(own, look);
}

QWidget* LookField::firstChoice() const {
    return fill_;
}

QWidget* LookField::colourButton() const {
    return colour_;
}

QWidget* LookField::lastChoice() const {
    return place_;
}
