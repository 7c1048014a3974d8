// SPDX-License-Identifier: MIT
#include "transition_field.h"

#include "slide_transition.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include <cmath>

namespace {

using ShowRules::TransitionKind;

// The kinds as the box offers them, in the order of TransitionKind.
const char* const KindNames[ShowRules::TransitionKinds] = {
    QT_TRANSLATE_NOOP("TransitionField", "Cut"),       QT_TRANSLATE_NOOP("TransitionField", "Fade"),
    QT_TRANSLATE_NOOP("TransitionField", "Wipe left"), QT_TRANSLATE_NOOP("TransitionField", "Wipe right"),
    QT_TRANSLATE_NOOP("TransitionField", "Wipe up"),   QT_TRANSLATE_NOOP("TransitionField", "Wipe down"),
    QT_TRANSLATE_NOOP("TransitionField", "Push left"), QT_TRANSLATE_NOOP("TransitionField", "Push right"),
    QT_TRANSLATE_NOOP("TransitionField", "Push up"),   QT_TRANSLATE_NOOP("TransitionField", "Push down"),
    QT_TRANSLATE_NOOP("TransitionField", "Zoom"),      QT_TRANSLATE_NOOP("TransitionField", "Random")};

} // namespace

TransitionField::TransitionField(const QString& unset, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TransitionField"));
    box_ = new QComboBox(this);
    box_->setObjectName(QStringLiteral("TransitionBox"));
    box_->addItem(unset);
    for (const char* name : KindNames)
        box_->addItem(tr(name));
    label_ = new QLabel(tr("Tra&nsition:"), this);
    label_->setObjectName(QStringLiteral("TransitionLabel"));
    label_->setBuddy(box_);
    time_ = new QDoubleSpinBox(this);
    time_->setObjectName(QStringLiteral("TransitionTime"));
    time_->setRange(ShowRules::MinTransitionMs / 1000.0, ShowRules::MaxTransitionMs / 1000.0);
    time_->setDecimals(1);
    time_->setSingleStep(0.1);
    time_->setSuffix(tr(" s"));
    time_->setAccessibleName(tr("Transition time in seconds"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label_);
    row->addWidget(box_);
    row->addWidget(time_);
    row->addStretch(1);
    const auto choose = [this] {
        changed_ = true;
        time_->setEnabled(box_->currentIndex() > 1);
    };
    connect(box_, &QComboBox::currentIndexChanged, this, choose);
    connect(time_, &QDoubleSpinBox::valueChanged, this, choose);
}

void TransitionField::load(const QJsonObject& object) {
    const std::optional<ShowRules::Transition> stored = SlideTransition::transition(object);
    const QSignalBlocker quietBox(box_), quietTime(time_);
    box_->setCurrentIndex(stored ? int(stored->kind) + 1 : 0);
    time_->setValue(double(stored ? stored->ms : ShowRules::Transition().ms) / 1000.0);
    time_->setEnabled(box_->currentIndex() > 1);
    changed_ = false;
}

QJsonObject TransitionField::storeInto(const QJsonObject& object) const {
    if (!changed_)
        return object;
    const int index = box_->currentIndex();
    if (index <= 0)
        return SlideTransition::withTransition(object, std::nullopt);
    return SlideTransition::withTransition(
        object, ShowRules::Transition{TransitionKind(index - 1), std::llround(time_->value() * 1000)});
}

QWidget* TransitionField::chooser() const {
    return box_;
}

QWidget* TransitionField::timeBox() const {
    return time_;
}
