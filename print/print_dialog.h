// SPDX-License-Identifier: MIT
#pragma once
// The print dialog of a show: the size and format of the layout, frame numbers, header, footer and
// comments, with a small picture of the chosen layout, and "Pre&view..." to see the pages before they
// are printed. It keeps its choices while the program runs.

#include "deferred_window.h"
#include "show_print_layout.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Tprintdlg : public DeferredWindow<QDialog> {
    Q_OBJECT
  public:
    enum Result { Print = 1, Cancel = 2 };
    static constexpr int HelpContext = 20;
    static constexpr int FooterLength = 128;

    explicit Tprintdlg(QWidget* parent = nullptr, ContentsTiming timing = ContentsTiming::Now);

    // The choices as they stand: the layout number 1 to 6 and the page decorations.
    print::PrintOptions options() const;
    // What "Pre&view..." does with the choices as they stand.
    void setPreview(std::function<void(const print::PrintOptions&)> preview) {
        preview_ = std::move(preview);
    }

  public slots:
    // Shows the preview of the chosen size and format; "Co&mments" follows "&Journal Format".
    void updateLayoutChoice();

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    void build() override;
    void buildLayout(QWidget* previews);
    void drawPreviews();

    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* previewButton_ = nullptr;
    QLabel* Images[6] = {};
    std::function<void(const print::PrintOptions&)> preview_;
    bool previewsDrawn_ = false;
};
