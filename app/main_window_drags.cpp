// SPDX-License-Identifier: MIT
// The main window's side of the editor's drags, the Find Image dialog and the shell drop on the show
// grid: the handlers hand the work to the editor's classes.

#include "main_window.h"

#include "app_windows.h"
#include "drag_drop_files.h"
#include "editor_drags.h"
#include "image_browser.h"
#include "ovc_table.h"
#include "search_form.h"
#include "shell_drop.h"
#include "show_editing.h"

#include <QAction>
#include <QMenu>

void TMainFormverasco::createDrags() {
    drags_ = std::make_unique<EditorDrags>(show_, *browser_, *OvcTable2, flags_, *centralWidget(), [this] {
        editing_->BitBtn1Click(ShowEditing::Origin::FolderDrag);
    });
    drags_->setMoveSlides([this](int source, int target) { return editing_->dragSlides(source, target); });
    connect(OvcTable1, &TOvcTable::mouseMove, this, &TMainFormverasco::OvcTable1MouseMove);
    connect(OvcTable1, &TOvcTable::mouseUp, this, &TMainFormverasco::OvcTable1MouseUp);
    connect(OvcTable2, &TOvcTable::mouseMove, this, &TMainFormverasco::OvcTable2MouseMove);
    connect(OvcTable2, &TOvcTable::mouseUp, this, &TMainFormverasco::OvcTable2MouseUp);

    Tsrchform* find = windows_->srchform;
    find->setBrowser(browser_.get());
    browser_->setListedHandler([find](const QStringList& paths) { find->setNames(paths); });
    PopupMenu1 = new QMenu(OvcTable1);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* findItem = PopupMenu1->addAction(tr("&Find Image..."));
    findItem->setObjectName(QStringLiteral("FindImage1"));
    connect(findItem, &QAction::triggered, this, &TMainFormverasco::FindImage1Click);
    OvcTable1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(OvcTable1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(OvcTable1->mapToGlobal(pos)); });

    DragDropFiles1 = new TDragDropFiles(OvcTable2);
    DragDropFiles1->setObjectName(QStringLiteral("DragDropFiles1"));
    connect(DragDropFiles1, &TDragDropFiles::Drop, this, &TMainFormverasco::DragDropFiles1Drop);
}

void TMainFormverasco::OvcTable1MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, const QPoint& pos) {
    drags_->OvcTable1MouseMove(pos);
}

void TMainFormverasco::OvcTable1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint& pos) {
    drags_->OvcTable1MouseUp(button, pos);
}

void TMainFormverasco::OvcTable2MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, const QPoint& pos) {
    drags_->OvcTable2MouseMove(pos);
}

void TMainFormverasco::OvcTable2MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, const QPoint& pos) {
    drags_->OvcTable2MouseUp(pos);
}

void TMainFormverasco::FindImage1Click() {
    windows_->srchform->Execute(*this);
}

void TMainFormverasco::DragDropFiles1Drop(const QStringList& paths) {
    if (viewerOpen())
        return;
    appendDroppedFiles(*showSlides_, paths);
}
