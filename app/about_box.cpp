#include "about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent, ContentsTiming timing) : DeferredWindow(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    buildContentsIfNow(timing);
}

void TAboutBox::build() {
    auto* layout = new QVBoxLayout(this);
    auto* product = new QLabel(QStringLiteral("<b>Morvant Verasco</b>"), this);
    product->setObjectName(QStringLiteral("ProductName"));
    auto* version = new QLabel(QStringLiteral("Version 1.0"), this);
    version->setObjectName(QStringLiteral("Version"));
    auto* copyright = new QLabel(QStringLiteral("Copyright \u00a9 Morvant Imaging"), this);
    copyright->setObjectName(QStringLiteral("Copyright"));
    auto* comments =
        new QLabel(QStringLiteral("Compose, present, print and package picture slide shows."), this);
    comments->setObjectName(QStringLiteral("Comments"));
    auto* web = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(MakerWebPage)), this);
    web->setObjectName(QStringLiteral("WebPage"));
    web->setTextInteractionFlags(Qt::TextBrowserInteraction);
    web->setOpenExternalLinks(true);
    for (QLabel* label : {product, version, copyright, comments, web})
        layout->addWidget(label);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
