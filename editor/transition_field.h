// SPDX-License-Identifier: MIT
#pragma once
// A "&Transition" choice: none stored (the text given says what then plays), or one of the kinds of
// change and its time in seconds. It reads and writes "transition" in an object of the show's
// extension block, a slide's (Image Properties) or the show's own (Preferences), and leaves that
// object as it was unless the user changes the choice.

#include <QJsonObject>
#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QLabel;

class TransitionField : public QWidget {
    Q_OBJECT
  public:
    // `unset` names the first choice, for an object without a change of its own.
    explicit TransitionField(const QString& unset, QWidget* parent = nullptr);

    void load(const QJsonObject& object);
    // The object with the change chosen; as it was given when the user changed nothing.
    QJsonObject storeInto(const QJsonObject& object) const;
    // The kind's box, the field's first stop of a dialog's tab order, and the time's.
    QWidget* chooser() const;
    QWidget* timeBox() const;

  private:
    QLabel* label_ = nullptr;
    QComboBox* box_ = nullptr;
    QDoubleSpinBox* time_ = nullptr;
    bool changed_ = false;
};
