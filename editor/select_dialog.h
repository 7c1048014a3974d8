// SPDX-License-Identifier: MIT
#pragma once
// The image folder dialog ("Select Images"): the embedded open panel, the "Directory:" field that
// follows the panel's folder, and "&Select", which hands that folder to the main window's images
// field.

#include "deferred_window.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TFormOpenDialog;

class TselectDlg : public DeferredWindow<QDialog> {
    Q_OBJECT
  public:
    // The result when a file was chosen in the panel rather than a folder selected.
    static constexpr int FileChosen = 2;
    static const char* const Filter;

    explicit TselectDlg(QWidget* parent = nullptr, ContentsTiming timing = ContentsTiming::Now);

    TFormOpenDialog& openDialog() {
        buildContents();
        return *FormOpenDialog1;
    }
    // The field "&Select" writes the chosen folder into.
    void setImagesField(QLineEdit* field) { imagesField_ = field; }

    // Presents this dialog through the panel; true when a file was chosen in the panel (its
    // FileName is then that file). result() tells whether "&Select" closed it.
    bool Execute();

  public slots:
    void FormOpenDialog1FolderChange();
    void OKBtnClick();
    void FormShow();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void build() override;
    void layoutFor(int dotsPerInch);

    TFormOpenDialog* FormOpenDialog1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QLineEdit* imagesField_ = nullptr;
};
