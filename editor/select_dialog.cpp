// SPDX-License-Identifier: MIT
#include "select_dialog.h"

#include "dialogs.h"
#include "form_open_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

const char* const TselectDlg::Filter =
    QT_TR_NOOP("All Files (*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;"
               "*.webp;*.gif;*.heic;*.heif;*.avif)|"
               "*.bmp;*.jpg;*.qpx;*.kqp;*.dib;*.jif;*.pcx;*.png;*.tga;*.tif;*.jpeg;*.jpe;"
               "*.webp;*.gif;*.heic;*.heif;*.avif");

namespace {
constexpr int PanelHeight = 290;
constexpr int RowTop = PanelHeight + 16;
constexpr int DialogHeight = RowTop + 40;
} // namespace

TselectDlg::TselectDlg(QWidget* parent, ContentsTiming timing) : DeferredWindow(parent) {
    setObjectName(QStringLiteral("selectDlg"));
    setWindowTitle(tr("Select Images"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    buildContentsIfNow(timing);
}

void TselectDlg::build() {
    FormOpenDialog1 = new TFormOpenDialog(this);
    FormOpenDialog1->setObjectName(QStringLiteral("FormOpenDialog1"));
    FormOpenDialog1->setFilter(tr(Filter));
    FormOpenDialog1->setCancelCaption(tr("Cancel"));
    Label1 = new QLabel(tr("Directory:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Label1->setBuddy(Edit1);
    OKBtn = new QPushButton(tr("&Select"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    layoutFor(96);

    connect(FormOpenDialog1, &TFormOpenDialog::FolderChange, this, &TselectDlg::FormOpenDialog1FolderChange);
    connect(FormOpenDialog1, &TFormOpenDialog::fileChosen, this, [this] { done(FileChosen); });
    connect(FormOpenDialog1, &TFormOpenDialog::cancelClicked, this, &QDialog::reject);
    connect(OKBtn, &QPushButton::clicked, this, &TselectDlg::OKBtnClick);
}

void TselectDlg::layoutFor(int dotsPerInch) {
    const bool large = dotsPerInch > 96;
    const int width = large ? 560 : 452;
    FormOpenDialog1->setGeometry(8, 8, width - 16, PanelHeight);
    Label1->setGeometry(8, RowTop + 4, large ? 96 : 72, 20);
    Edit1->setGeometry(large ? 109 : 84, RowTop, large ? 307 : 260, 24);
    OKBtn->setGeometry(large ? 444 : 360, RowTop - 1, large ? 100 : 84, 26);
    setFixedSize(width, DialogHeight);
}

bool TselectDlg::Execute() {
    buildContents();
    const int result = dialogSeams().runModal(this);
    return result == FileChosen;
}

void TselectDlg::FormOpenDialog1FolderChange() {
    Edit1->setText(FormOpenDialog1->FileName().trimmed());
}

void TselectDlg::OKBtnClick() {
    if (imagesField_)
        imagesField_->setText(Edit1->text());
    done(Accepted);
}

void TselectDlg::FormShow() {
    layoutFor(logicalDpiX());
    FormOpenDialog1->showInitialDir();
}

void TselectDlg::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}
