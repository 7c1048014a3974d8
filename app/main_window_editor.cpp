// SPDX-License-Identifier: MIT
// The main window's side of the show editor: the handlers of the image browser's controls, each
// handing the work to the editor's classes, and the wiring that connects the controls to them.

#include "main_window.h"

#include "app_windows.h"
#include "confirm_dialog.h"
#include "editor_drags.h"
#include "file_list_box.h"
#include "image_browser.h"
#include "main_menus.h"
#include "ovc_table.h"
#include "panel_bevel.h"
#include "preview_form.h"
#include "select_dialog.h"
#include "show_editing.h"
#include "show_form.h"
#include "show_grid.h"
#include "slide_properties.h"
#include "thumbnails.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>

#include <algorithm>

void TMainFormverasco::createEditor() {
    Tconfirmfrm* confirm = windows_->confirmfrm;
    auto message = [confirm](const QString& caption, const QString& text, const QString& line2) {
        confirm->message(caption, text, line2);
    };
    browser_ = std::make_unique<ImageBrowser>(folder_, *FileListBox1, *thumbnails_, settings_.ImageDirectory,
                                              BrowserControls{*OvcTable1, *Edit1, *Label6, *this},
                                              *windows_->selectDlg, message);
    Tpreviewfrm* preview = windows_->previewfrm;
    browser_->setPreview([preview](const QString& path) { preview->OpenPreview(path); });
    auto switches = [this] {
        return ShowEditing::NewSlideSwitches{settings_.HoldSlideForAudio, settings_.ShowTextOnEachSlide};
    };
    editing_ = std::make_unique<ShowEditing>(show_, *showView_, *browser_,
                                             EditingControls{*BitBtn1, *BitBtn3, *Edit1, *Edit2, *this},
                                             switches, message);
    properties_ = std::make_unique<SlideProperties>(show_, *showView_, *thumbnails_, *windows_->textdlg);
    OvcTable1->setCellBitmapSupplier(
        [this](int row, int col) { return browser_->OvcTable1GetCellData(row, col); });
    OvcTable1->setRowsAboutToBeFetched([this](const QList<int>& rows) { browser_->rowsInView(rows); });
    connect(BitBtn5, &QPushButton::clicked, this, &TMainFormverasco::Button1Click);
    connect(OvcTable1, &TOvcTable::keyUp, this, &TMainFormverasco::OvcTable1KeyUp);
    connect(OvcTable1, &TOvcTable::mouseDown, this, &TMainFormverasco::OvcTable1MouseDown);
    connect(OvcTable1, &TOvcTable::entered, this, &TMainFormverasco::OvcTable1Enter);
    connect(OvcTable1, &TOvcTable::exited, this, &TMainFormverasco::OvcTable1Exit);
    connect(BitBtn1, &QPushButton::clicked, this, &TMainFormverasco::BitBtn1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TMainFormverasco::BitBtn3Click);
    connect(OvcTable2, &TOvcTable::entered, this, &TMainFormverasco::OvcTable2Enter);
    connect(OvcTable2, &TOvcTable::exited, this, &TMainFormverasco::OvcTable2Exit);
    connect(OvcTable2, &TOvcTable::mouseDown, this, &TMainFormverasco::OvcTable2MouseDown);
    Edit1->installEventFilter(this);
    createDrags();
    connectGridKeys();
}

// Focus that only passes to a menu or another window and comes back is no edit of the field.
static bool leavesTheWindowsControls(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

bool TMainFormverasco::filterEditorEvent(QObject* watched, QEvent* event) {
    if (watched != Edit1 || !browser_)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        if (!leavesTheWindowsControls(event))
            Edit1Enter();
        return false;
    case QEvent::FocusOut:
        if (!leavesTheWindowsControls(event))
            Edit1Exit();
        return false;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        Edit1KeyPress();
        return true;
    }
    default:
        return false;
    }
}

void TMainFormverasco::Button1Click() {
    browser_->Button1Click();
}

void TMainFormverasco::Edit1Enter() {
    browser_->Edit1Enter();
}

void TMainFormverasco::Edit1Exit() {
    browser_->CommitImagesField();
}

void TMainFormverasco::Edit1KeyPress() {
    browser_->CommitImagesField();
}

void TMainFormverasco::OvcTable1KeyUp(int key, Qt::KeyboardModifiers modifiers) {
    browser_->OvcTable1KeyUp(key, modifiers & Qt::AltModifier);
}

void TMainFormverasco::OvcTable1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint&,
                                          bool doubleClick) {
    drags_->OvcTable1MouseDown(button, doubleClick);
    if (button == Qt::LeftButton && doubleClick)
        browser_->previewActiveRow();
}

void TMainFormverasco::OvcTable1Enter() {
    showFocusBevel(*Panel6, true);
}

void TMainFormverasco::OvcTable1Exit() {
    showFocusBevel(*Panel6, false);
}

void TMainFormverasco::BitBtn1Click() {
    editing_->BitBtn1Click(ShowEditing::Origin::Button);
}

void TMainFormverasco::BitBtn3Click() {
    editing_->BitBtn3Click();
}

void TMainFormverasco::Clear1Click() {
    editing_->Clear1Click();
}

void TMainFormverasco::EditCut() {
    editing_->EditCut();
}

void TMainFormverasco::EditCopy() {
    editing_->EditCopy();
}

void TMainFormverasco::EditPaste() {
    editing_->EditPaste();
}

// The Edit menu's rules follow what the step left: its slides selected in the show grid.
void TMainFormverasco::Undo1Click() {
    editing_->EditUndo();
    EditMenuClick();
}

void TMainFormverasco::Redo1Click() {
    editing_->EditRedo();
    EditMenuClick();
}

void TMainFormverasco::SelectAll1Click() {
    editing_->SelectAll1Click();
}

void TMainFormverasco::EditMenuClick() {
    const EditMenuState s = editing_->EditMenuClick();
    applyMenuRules(*this, {{"EditCutItem", s.cut},
                           {"EditCopyItem", s.copy},
                           {"EditPasteItem", s.paste},
                           {"Clear1", s.clear},
                           {"ClearAll1", s.clearAll},
                           {"SelectAll1", s.selectAll},
                           {"SlideProperties1", s.properties},
                           {"InsertTitle1", show_.SlideCount < ShowDocument::MaxSlides},
                           {"Undo1", s.undo},
                           {"Redo1", s.redo}});
    applyMusicRules();
    // A text field's own typing has no name in the menu.
    const QUndoStack& history = show_.history();
    const bool field = s.fieldHasFocus;
    findChild<QAction*>(QStringLiteral("Undo1"))
        ->setText(field || !history.canUndo() ? tr("&Undo") : tr("&Undo %1").arg(history.undoText()));
    findChild<QAction*>(QStringLiteral("Redo1"))
        ->setText(field || !history.canRedo() ? tr("Re&do") : tr("Re&do %1").arg(history.redoText()));
}

void TMainFormverasco::View1Click() {
    const ViewMenuState s = editing_->View1Click();
    applyMenuRules(*this, {{"SingleSlide1", s.image},
                           {"Slideshow1", s.slideshow},
                           {"ResumeSlideshow1", s.slideshow && windows_->showFrm->canResume()}});
}

void TMainFormverasco::prepareShortcut(const QKeyEvent& key) {
    if (!editing_)
        return;
    const QKeySequence pressed(key.keyCombination());
    auto anyTakes = [&](std::initializer_list<const char*> items) {
        return std::any_of(items.begin(), items.end(), [&](const char* name) {
            return findChild<QAction*>(QLatin1String(name))->shortcut() == pressed;
        });
    };
    if (anyTakes({"EditCutItem", "EditCopyItem", "EditPasteItem", "Clear1", "SelectAll1", "Undo1", "Redo1"}))
        EditMenuClick();
    if (anyTakes({"FileSaveItem", "FileSaveAsItem", "FilePrintItem"}))
        FileMenuClick();
}

void TMainFormverasco::OvcTable2Enter() {
    showFocusBevel(*Panel7, true);
}

void TMainFormverasco::OvcTable2Exit() {
    showFocusBevel(*Panel7, false);
}

void TMainFormverasco::OvcTable2MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint& pos,
                                          bool doubleClick) {
    drags_->OvcTable2MouseDown(button, pos, doubleClick);
    if (button != Qt::RightButton || doubleClick)
        return;
    OvcTable2->setFocus(Qt::MouseFocusReason);
    const TOvcCell cell = OvcTable2->cellAt(pos);
    if (!cell.isValid())
        return;
    OvcTable2->setActiveCell(cell.row, cell.col);
    properties_->openFor(ShowGrid::indexAt(cell.row, cell.col, OvcTable2->ColumnCount()));
}

void TMainFormverasco::SlideProperties1Click() {
    properties_->openActive();
}

void TMainFormverasco::InsertTitle1Click() {
    const int at = editing_->InsertPosition();
    if (show_.SlideCount >= ShowDocument::MaxSlides) {
        QApplication::beep();
        return;
    }
    OvcTable2->setFocus(Qt::OtherFocusReason);
    properties_->insertTitle(at);
}
