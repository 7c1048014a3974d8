// SPDX-License-Identifier: MIT
#include "search_form.h"

#include "folder_images.h"
#include "image_browser.h"
#include "named_widget.h"
#include "ovc_search_list.h"
#include "ovc_table.h"

#include <QFileInfo>
#include <QVBoxLayout>

namespace {
QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}
} // namespace

Tsrchform::Tsrchform(QWidget* parent, ContentsTiming timing) : DeferredWindow(parent) {
    setObjectName(QStringLiteral("srchform"));
    setWindowTitle(tr("Find Image"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(196, 303);
    buildContentsIfNow(timing);
}

void Tsrchform::build() {
    OvcSearchList1 = named(new TOvcSearchList(this), "OvcSearchList1");
    OvcSearchList1->setRowHeight(13);
    OvcSearchList1->setAccessibleName(tr("Pictures of the folder by name"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(OvcSearchList1);
    connect(OvcSearchList1, &TOvcSearchList::Change, this, &Tsrchform::OvcSearchList1Change);
    listNames();
}

void Tsrchform::setNames(const QStringList& paths) {
    names_ = paths;
    if (contentsBuilt())
        listNames();
}

void Tsrchform::listNames() {
    const QSignalBlocker quiet(OvcSearchList1);
    OvcSearchList1->clear();
    for (const QString& path : names_)
        OvcSearchList1->addItem(fileName(path));
}

void Tsrchform::Execute(QWidget& mainWindow) {
    move(mainWindow.x() + 120, mainWindow.y() + 128);
    if (browser_)
        browser_->grid().setFocus();
    exec();
}

void Tsrchform::OvcSearchList1Change() {
    const QListWidgetItem* selected = OvcSearchList1->currentItem();
    if (!selected || !browser_)
        return;
    // The list holds the names as they are on disk: two differing only in case are two files.
    const QStringList& paths = browser_->folder().FolderImagePaths;
    for (int row = 0; row < paths.size(); ++row) {
        if (fileName(paths[row]) == selected->text()) {
            TOvcTable& grid = browser_->grid();
            grid.setActiveRow(row);
            grid.setTopRow(row);
            return;
        }
    }
}
