// SPDX-License-Identifier: MIT
#include "about_box.h"

#include "version.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent, ContentsTiming timing) : DeferredWindow(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(tr("About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    buildContentsIfNow(timing);
}

void TAboutBox::build() {
    auto* layout = new QVBoxLayout(this);
    auto* product = new QLabel(QStringLiteral("<b>Morvant Verasco</b>"), this);
    product->setObjectName(QStringLiteral("ProductName"));
    auto* version = new QLabel(tr("Version %1").arg(QLatin1String(VerascoVersion)), this);
    version->setObjectName(QStringLiteral("Version"));
    auto* copyright = new QLabel(QStringLiteral("Copyright \u00a9 Morvant Imaging"), this);
    copyright->setObjectName(QStringLiteral("Copyright"));
    auto* licence = new QLabel(tr("Free software under the MIT licence."), this);
    licence->setObjectName(QStringLiteral("Licence"));
    auto* comments = new QLabel(tr("Compose, present, print and package picture slide shows."), this);
    comments->setObjectName(QStringLiteral("Comments"));
    auto* web = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(MakerWebPage)), this);
    web->setObjectName(QStringLiteral("WebPage"));
    web->setTextInteractionFlags(Qt::TextBrowserInteraction);
    web->setOpenExternalLinks(true);
    for (QLabel* label : {product, version, copyright, licence, comments, web})
        layout->addWidget(label);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
