// SPDX-License-Identifier: MIT
#pragma once
// The confirmation dialog: the one dialog for the program's own questions and messages. A question
// with Yes, No and Cancel, a question with Yes and No, or a message with one OK button; the default
// beep before it, and the caption back at "Confirm" afterwards.

#include "deferred_window.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

class Tconfirmfrm : public DeferredWindow<QDialog> {
    Q_OBJECT
  public:
    enum Mode { QuestionWithCancel, Question, Message };
    // The results of the buttons: Button3 "&Yes", Button1 "&No" or "&OK", Button2 "&Cancel".
    enum Result { No = 1, Ok = 1, Cancel = 2, Yes = 4 };

    explicit Tconfirmfrm(QWidget* parent = nullptr, ContentsTiming timing = ContentsTiming::Now);

    // Beeps and asks; returns Yes, No or Cancel. Esc and the close box give Cancel, or No when
    // the question has no Cancel button.
    int ask(const QString& text, const QString& line2 = {}, bool withCancel = true);
    // Beeps and shows a message captioned "Error" or "Information" with one OK button.
    int message(const QString& caption, const QString& text, const QString& line2 = {});
    // The question before a changed show is dropped, with "&Yes" as its default button. A show name
    // ending in ".vrs" is quoted on the second line, shortened in its middle when it is wider than
    // that line.
    int askSaveChanges(const QString& showName);

    // Shows the buttons of a mode; the dialog lays itself out for it when shown.
    void setMode(Mode mode);
    Mode mode() const { return mode_; }
    // Places everything for the screen's resolution: the larger layout above 96 pixels per inch.
    void layoutFor(int pixelsPerInch);
    // The text shortened in its middle so that it fits the second line, if it does not already.
    QString fitToLine2(const QString& text) const;

    static const char* const DefaultCaption;

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    void build() override;
    int askWithDefault(const QString& text, const QString& line2, bool withCancel,
                       QPushButton* defaultButton);
    // Runs the dialog with the button that Enter presses; "&No" ("&OK") is the default again after.
    int runModal(QPushButton* defaultButton);

    Mode mode_ = QuestionWithCancel;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
};
