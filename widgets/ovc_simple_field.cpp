// SPDX-License-Identifier: MIT
#include "ovc_simple_field.h"

#include <QLocale>
#include <QPalette>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace {

QValidator* digitsValidator(QObject* parent, bool tenths = false) {
    return new QRegularExpressionValidator(
        QRegularExpression(tenths ? QStringLiteral("[0-9]*([.,][0-9]?)?") : QStringLiteral("[0-9]*")),
        parent);
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
    return tenthsMode_ ? (tenths() + 5) / 10 : text().toInt();
}

void TOvcSimpleField::setValue(int value) {
    setText(QString::number(value));
}

void TOvcSimpleField::setTenths(bool tenths) {
    tenthsMode_ = tenths;
    setValidator(digitsValidator(this, tenths));
    updateColours();
}

int TOvcSimpleField::tenths() const {
    const QString t = text();
    const qsizetype point = t.indexOf(QRegularExpression(QStringLiteral("[.,]")));
    const int whole = (point < 0 ? t : t.left(point)).toInt();
    const int tenth = point >= 0 && point + 1 < t.size() ? t.at(point + 1).digitValue() : 0;
    return whole * 10 + std::max(tenth, 0);
}

void TOvcSimpleField::setTenthsValue(int tenths) {
    setText(tenths % 10 == 0
                ? QString::number(tenths / 10)
                : QString::number(tenths / 10) + QLocale().decimalPoint() + QString::number(tenths % 10));
}

bool TOvcSimpleField::isValid() const {
    if (text().isEmpty())
        return !required_;
    bool ok = false;
    const int v = tenthsMode_ ? tenths() : text().toInt(&ok);
    return (ok || tenthsMode_) && v >= minimum_ && v <= maximum_;
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
