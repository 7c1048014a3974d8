// SPDX-License-Identifier: MIT
#include "print_image_dialog.h"

#include "dialog_parts.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using print::named;

namespace {

constexpr int PathWidth = 320;

} // namespace

Tprint1Dlg::Tprint1Dlg(QWidget* parent, ContentsTiming timing) : DeferredWindow(parent) {
    setObjectName(QStringLiteral("print1Dlg"));
    setWindowTitle(tr("Print Image"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    buildContentsIfNow(timing);
}

void Tprint1Dlg::build() {
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1 = named(new QLabel(Panel1), "Image1");
    Image1->setFixedSize(80, 70);
    auto* framed = new QVBoxLayout(Panel1);
    framed->setContentsMargins(4, 4, 4, 4);
    framed->addWidget(Image1);
    Label1 = named(new QLabel(tr("Filename:"), this), "Label1");
    Label2 = named(new QLabel(this), "Label2");
    Label2->setFixedWidth(PathWidth);
    Button1 = named(new QPushButton(tr("&Print"), this), "Button1");
    Button2 = named(new QPushButton(tr("Cancel"), this), "Button2");

    auto* name = new QVBoxLayout;
    name->addWidget(Label1);
    name->addWidget(Label2);
    name->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(Panel1);
    top->addLayout(name);
    print::layOutPrintDialog(this, top, Button1, Button2);
}

int Tprint1Dlg::confirm(const QImage& thumbnail, const QString& path) {
    buildContents();
    Image1->setPixmap(QPixmap::fromImage(thumbnail));
    // A long path loses its middle rather than its file name.
    Label2->setText(QFontMetrics(Label2->font()).elidedText(path, Qt::ElideMiddle, PathWidth));
    Label2->setToolTip(path);
    Button1->setFocus();
    return exec();
}

void Tprint1Dlg::reject() {
    done(Cancel);
}
