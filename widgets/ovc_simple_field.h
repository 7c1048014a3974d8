// SPDX-License-Identifier: MIT
#pragma once
// A numeric entry field: whole numbers within a range, a limited number of digits, optionally a
// required value. While its text is no acceptable value it shows the error colours (white text on
// red unless the window chooses others), and the window that holds it refuses to close with OK.

#include <QColor>
#include <QLineEdit>

class TOvcSimpleField : public QLineEdit {
    Q_OBJECT
  public:
    explicit TOvcSimpleField(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // At most this many digits can be typed (a sign is never accepted).
    void setMaxDigits(int digits);
    int maxDigits() const { return maxLength(); }
    // Whether an empty field counts as invalid.
    void setRequired(bool required);
    bool isRequired() const { return required_; }
    void setErrorColours(const QColor& background, const QColor& text);

    // The number shown, or 0 when the field is empty; in tenths, rounded to a whole number.
    int value() const;
    void setValue(int value);
    // The field takes one decimal ("2.5", or with the locale's decimal comma "2,5"); its range is
    // then in tenths.
    void setTenths(bool tenths);
    // The number shown in tenths (25 for "2.5"), or 0 when the field is empty.
    int tenths() const;
    void setTenthsValue(int tenths);
    // True when the text is a number within the range, or empty and not required.
    bool isValid() const;

  signals:
    void validityChanged(bool valid);

  private:
    void updateColours();

    bool tenthsMode_ = false;
    int minimum_ = 0;
    int maximum_ = 999;
    bool required_ = true;
    bool shownValid_ = true;
    QColor errorBackground_ = Qt::red;
    QColor errorText_ = Qt::white;
};
