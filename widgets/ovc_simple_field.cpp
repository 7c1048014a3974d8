// SPDX-License-Identifier: MIT
#include "ovc_simple_field.h"

#include <QPalette>
#include <QRegularExpressionValidator>

namespace {

QValidator* digitsValidator(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), parent);
}

} // namespace

TOvcSimpleField::TOvcSimpleField(QWidget* parent) : QLineEdit(parent) {
    // Digits only; the range is checked as a whole, so intermediate values such as "0" while
    // typing "05" can still be typed and show as invalid.
    setValidator(digitsValidator(this));
    setMaxLength(3);
    connect(this, &QLineEdit::textChanged, this, &TOvcSimpleField::updateColours);
    updateColours();
}

void TOvcSimpleField::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    updateColours();
}

void TOvcSimpleField::setMaxDigits(int digits) {
    setMaxLength(digits);
    updateColours();
}

void TOvcSimpleField::setRequired(bool required) {
    required_ = required;
    updateColours();
}

void TOvcSimpleField::setErrorColours(const QColor& background, const QColor& text) {
    errorBackground_ = background;
    errorText_ = text;
    updateColours();
}

int TOvcSimpleField::value() const {
    return text().toInt();
}

void TOvcSimpleField::setValue(int value) {
    setText(QString::number(value));
}

bool TOvcSimpleField::isValid() const {
    if (text().isEmpty())
        return !required_;
    bool ok = false;
    const int v = text().toInt(&ok);
    return ok && v >= minimum_ && v <= maximum_;
}

void TOvcSimpleField::updateColours() {
    const bool valid = isValid();
    // A palette that sets only these two roles; an empty one gives back the inherited colours.
    QPalette p;
    if (!valid) {
        p.setColor(QPalette::Base, errorBackground_);
        p.setColor(QPalette::Text, errorText_);
    }
    setPalette(p);
    if (valid != shownValid_) {
        shownValid_ = valid;
        emit validityChanged(valid);
    }
}
