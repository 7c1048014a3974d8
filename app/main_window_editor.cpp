// The main window's side of the show editor: the handlers of the image browser's controls, each
// handing the work to the editor's classes, and the wiring that connects the controls to them.

#include "main_window.h"

#include "app_windows.h"
#include "confirm_dialog.h"
#include "file_list_box.h"
#include "image_browser.h"
#include "ovc_table.h"
#include "preview_form.h"
#include "select_dialog.h"
#include "thumbnails.h"

#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void TMainFormverasco::createEditor() {
    Tconfirmfrm* confirm = windows_->confirmfrm;
    auto message = [confirm](const QString& caption, const QString& text) {
        confirm->message(caption, text);
    };
    browser_ = std::make_unique<ImageBrowser>(folder_, *FileListBox1, *thumbnails_, settings_.ImageDirectory,
                                              BrowserControls{*OvcTable1, *Edit1, *Label6, *Panel6, *this},
                                              *windows_->selectDlg, message);
    Tpreviewfrm* preview = windows_->previewfrm;
    browser_->setPreview([preview](const QString& path) { preview->OpenPreview(path); });
    OvcTable1->setCellBitmapSupplier(
        [this](int row, int col) { return browser_->OvcTable1GetCellData(row, col); });
    connect(BitBtn5, &QPushButton::clicked, this, &TMainFormverasco::Button1Click);
    connect(OvcTable1, &TOvcTable::keyUp, this, &TMainFormverasco::OvcTable1KeyUp);
    connect(OvcTable1, &TOvcTable::mouseDown, this, &TMainFormverasco::OvcTable1MouseDown);
    connect(OvcTable1, &TOvcTable::entered, this, &TMainFormverasco::OvcTable1Enter);
    connect(OvcTable1, &TOvcTable::exited, this, &TMainFormverasco::OvcTable1Exit);
    Edit1->installEventFilter(this);
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
    if (button == Qt::LeftButton && doubleClick)
        browser_->previewActiveRow();
}

void TMainFormverasco::OvcTable1Enter() {
    browser_->OvcTable1Enter();
}

void TMainFormverasco::OvcTable1Exit() {
    browser_->OvcTable1Exit();
}
