// SPDX-License-Identifier: MIT
#include "print_dialog.h"

#include "dialog_parts.h"
#include "help_viewer.h"
#include "layout_preview.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

using print::named;

namespace {

// Image1 to Image3 show the journals, Image4 to Image6 the contact sheets, each small to large.
int imageIndexOfLayout(int layout) {
    return layout >= print::PrintOptions::SmallJournal ? layout - 3 : layout + 3;
}

} // namespace

Tprintdlg::Tprintdlg(QWidget* parent, ContentsTiming timing) : DeferredWindow(parent) {
    setObjectName(QStringLiteral("printdlg"));
    setWindowTitle(tr("Print Verasco"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    buildContentsIfNow(timing);
}

void Tprintdlg::build() {
    RadioButton1 = named(new QRadioButton(tr("Sm&all Size"), this), "RadioButton1");
    RadioButton2 = named(new QRadioButton(tr("M&edium Size"), this), "RadioButton2");
    RadioButton3 = named(new QRadioButton(tr("La&rge Size"), this), "RadioButton3");
    RadioButton1->setChecked(true);
    CheckBox5 = named(new QCheckBox(tr("&Journal Format"), this), "CheckBox5");
    CheckBox6 = named(new QCheckBox(tr("Co&mments"), this), "CheckBox6");
    CheckBox2 = named(new QCheckBox(tr("Frame &Numbers"), this), "CheckBox2");
    CheckBox3 = named(new QCheckBox(tr("&Date && Filename in Header"), this), "CheckBox3");
    CheckBox4 = named(new QCheckBox(tr("C&ustom Footer:"), this), "CheckBox4");
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setMaxLength(FooterLength);
    Edit1->setAccessibleName(tr("Custom footer"));
    Button1 = named(new QPushButton(tr("&Print"), this), "Button1");
    Button2 = named(new QPushButton(tr("Cancel"), this), "Button2");
    previewButton_ = named(new QPushButton(tr("Pre&view..."), this), "PreviewButton");
    previewButton_->setAutoDefault(false);
    // The six previews lie on top of each other; only the chosen layout's is visible. Their
    // pictures are drawn when the dialog is first shown.
    auto* previews = new QWidget(this);
    previews->setFixedSize(print::PreviewWidth, print::PreviewHeight);
    const char* const imageNames[] = {"Image1", "Image2", "Image3", "Image4", "Image5", "Image6"};
    for (int layout = 1; layout <= 6; ++layout) {
        QLabel* image = named(new QLabel(previews), imageNames[imageIndexOfLayout(layout) - 1]);
        image->setGeometry(0, 0, print::PreviewWidth, print::PreviewHeight);
        Images[imageIndexOfLayout(layout) - 1] = image;
    }
    buildLayout(previews);

    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{RadioButton1, RadioButton2, RadioButton3, CheckBox5})
        connect(b, &QAbstractButton::clicked, this, &Tprintdlg::updateLayoutChoice);
    connect(previewButton_, &QPushButton::clicked, this, [this] {
        if (preview_)
            preview_(options());
    });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { showHelpContext(HelpContext); });
    updateLayoutChoice();
}

void Tprintdlg::buildLayout(QWidget* previews) {
    auto* choices = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{RadioButton1, RadioButton2, RadioButton3, CheckBox5})
        choices->addWidget(w);
    auto* commentsRow = new QHBoxLayout;
    commentsRow->addSpacing(20);
    commentsRow->addWidget(CheckBox6);
    choices->addLayout(commentsRow);
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox2, CheckBox3, CheckBox4, Edit1})
        choices->addWidget(w);
    choices->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(previews);
    top->addSpacing(12);
    top->addLayout(choices);
    print::layOutPrintDialog(this, top, Button1, Button2, previewButton_);
}

print::PrintOptions Tprintdlg::options() const {
    buildContents();
    print::PrintOptions o;
    const int size = RadioButton3->isChecked() ? 3 : RadioButton2->isChecked() ? 2 : 1;
    o.layout = CheckBox5->isChecked() ? size + 3 : size;
    o.frameNumbers = CheckBox2->isChecked();
    o.header = CheckBox3->isChecked();
    o.footer = CheckBox4->isChecked();
    o.footerText = Edit1->text();
    o.comments = CheckBox6->isChecked();
    return o;
}

void Tprintdlg::updateLayoutChoice() {
    const int shown = imageIndexOfLayout(options().layout) - 1;
    for (int i = 0; i < 6; ++i)
        Images[i]->setVisible(i == shown);
    CheckBox6->setEnabled(CheckBox5->isChecked());
}

void Tprintdlg::drawPreviews() {
    if (previewsDrawn_)
        return;
    previewsDrawn_ = true;
    for (int layout = 1; layout <= 6; ++layout)
        Images[imageIndexOfLayout(layout) - 1]->setPixmap(
            QPixmap::fromImage(print::drawLayoutPreview(layout)));
}

void Tprintdlg::showEvent(QShowEvent* event) {
    drawPreviews();
    updateLayoutChoice();
    QDialog::showEvent(event);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void Tprintdlg::reject() {
    done(Cancel);
}
