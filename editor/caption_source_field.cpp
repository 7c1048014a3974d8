// SPDX-License-Identifier: MIT
#include "caption_source_field.h"

#include "named_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>

using CaptionSources::Source;

CaptionSourceField::CaptionSourceField(QWidget* parent, QPlainTextEdit& caption)
    : QWidget(parent), caption_(caption) {
    box_ = named(new QComboBox(this), "CaptionFromBox");
    for (const char* item : {QT_TR_NOOP("Typed text"), QT_TR_NOOP("Date taken"), QT_TR_NOOP("File name"),
                             QT_TR_NOOP("Description")})
        box_->addItem(tr(item));
    auto* label = named(new QLabel(tr("Caption &from:"), this), "CaptionFromLabel");
    label->setBuddy(box_);
    title_ = named(new QCheckBox(tr("&Title slide"), this), "TitleBox");
    title_->setToolTip(tr("Show the caption of a blank slide large in the middle of the picture"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label);
    row->addWidget(box_);
    row->addSpacing(12);
    row->addWidget(title_);
    row->addStretch();
    connect(box_, &QComboBox::activated, this, &CaptionSourceField::choose);
    connect(&caption_, &QPlainTextEdit::textChanged, this, &CaptionSourceField::captionEdited);
}

void CaptionSourceField::load(const QJsonObject& slide, const QString& imagePath, bool several) {
    imagePath_ = imagePath;
    loaded_ = several ? -1 : int(CaptionSources::sourceOf(slide));
    box_->setCurrentIndex(loaded_);
}

std::optional<Source> CaptionSourceField::chosen() const {
    if (box_->currentIndex() == loaded_ || box_->currentIndex() < 0)
        return std::nullopt;
    return Source(box_->currentIndex());
}

void CaptionSourceField::loadTitle(Qt::CheckState title, bool blank) {
    loadedTitle_ = blank ? title : Qt::Unchecked;
    title_->setTristate(loadedTitle_ == Qt::PartiallyChecked);
    title_->setCheckState(loadedTitle_);
    title_->setEnabled(blank);
}

std::optional<bool> CaptionSourceField::titleChosen() const {
    const Qt::CheckState state = title_->checkState();
    if (state == loadedTitle_ || state == Qt::PartiallyChecked)
        return std::nullopt;
    return state == Qt::Checked;
}

void CaptionSourceField::choose(int index) {
    if (index <= int(Source::Typed))
        return;
    filling_ = true;
    caption_.setPlainText(CaptionSources::captionOf(Source(index), imagePath_));
    filling_ = false;
}

void CaptionSourceField::captionEdited() {
    if (!filling_ && box_->currentIndex() > int(Source::Typed))
        box_->setCurrentIndex(int(Source::Typed));
}
