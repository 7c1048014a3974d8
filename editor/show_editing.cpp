#include "show_editing.h"

#include "folder_images.h"
#include "image_browser.h"
#include "ovc_table.h"
#include "show_document.h"
#include "show_slides.h"
#include "stored_path.h"
#include "wait_cursor.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <utility>

ShowEditing::ShowEditing(ShowDocument& show, ShowSlides& slides, ImageBrowser& browser,
                         EditingControls controls, Switches switches, Message message)
    : show_(show), slides_(slides), browser_(browser), controls_(controls), switches_(std::move(switches)),
      message_(std::move(message)) {}

QLineEdit* ShowEditing::focusedField() const {
    QWidget* focus = controls_.window.focusWidget();
    if (focus == &controls_.Edit1 || focus == &controls_.Edit2)
        return static_cast<QLineEdit*>(focus);
    return nullptr;
}

bool ShowEditing::showGridHasFocus() const {
    return controls_.window.focusWidget() == &slides_.grid();
}

int ShowEditing::activeIndex() const {
    const TOvcTable& grid = slides_.grid();
    return grid.ActiveRow() * 5 + grid.ActiveCol();
}

int ShowEditing::InsertPosition() {
    const int p = activeIndex();
    if (p <= show_.SlideCount)
        return p;
    slides_.grid().setActiveCell(show_.SlideCount / 5, show_.SlideCount % 5);
    return show_.SlideCount;
}

void ShowEditing::openGap(int p) {
    for (int i = show_.SlideCount; i > p; --i) {
        show_.slide(i) = show_.slide(i - 1);
        show_.thumbnail(i) = show_.thumbnail(i - 1);
    }
}

void ShowEditing::closeGap(int p) {
    for (int i = p; i + 1 < show_.SlideCount; ++i) {
        show_.slide(i) = show_.slide(i + 1);
        show_.thumbnail(i) = show_.thumbnail(i + 1);
    }
}

void ShowEditing::showFullMessage() {
    message_(QStringLiteral("Information"),
             QStringLiteral("Maximum number of images is ") + QString::number(ShowDocument::MaxSlides) + '!');
}

bool ShowEditing::insertFolderRows(const QList<int>& rows, int p, Origin origin) {
    const FolderImages& folder = browser_.folder();
    // Only as many thumbnails as the show has room for are decoded ahead.
    const FolderThumbnailPrefetch prefetch(
        browser_, rows.first(std::min<qsizetype>(rows.size(), ShowDocument::MaxSlides - show_.SlideCount)));
    for (const int row : rows) {
        if (show_.SlideCount >= ShowDocument::MaxSlides) {
            showFullMessage();
            return false;
        }
        const QString& path = folder.FolderImagePaths[row];
        // A file gone since the folder was listed, or a path too long to be stored, makes no slide;
        // the latter is named afterwards.
        if (!QFileInfo(path).isFile())
            continue;
        if (!StoredPath::fits(path)) {
            tooLong_ = path;
            continue;
        }
        openGap(p);
        show_.resetSlot(p);
        TSlideRecord& record = show_.slide(p);
        StoredPath::assign(record.ImageFile, path);
        const NewSlideSwitches newSwitches = switches_();
        record.HoldForAudio = newSwitches.holdForAudio ? 1 : 0;
        record.ShowText = newSwitches.showText ? 1 : 0;
        show_.thumbnail(p) = browser_.folderThumbnail(row);
        ++show_.SlideCount;
        show_.ShowModified = true;
        if (origin == Origin::FolderDrag)
            slides_.grid().setFocus();
    }
    return true;
}

void ShowEditing::BitBtn1Click(Origin origin) {
    TOvcTable& folderGrid = browser_.grid();
    if (browser_.folder().count() == 0)
        return;
    const WaitCursor hourglass;
    const int topRow = slides_.grid().TopRow();
    controls_.BitBtn1.setEnabled(false);
    const int p = InsertPosition();
    QList<int> rows =
        folderGrid.hasSelection() ? folderGrid.selectedRows() : QList<int>{folderGrid.ActiveRow()};
    // Each row goes in before the one added last, so from the last row up they stand in folder order.
    std::reverse(rows.begin(), rows.end());
    insertFolderRows(rows, p, origin);
    if (origin == Origin::Button)
        folderGrid.setFocus();
    showNewCount(topRow);
}

void ShowEditing::BitBtn3Click() {
    const int count = browser_.folder().count();
    if (count == 0)
        return;
    const WaitCursor hourglass;
    controls_.BitBtn3.setEnabled(false);
    const int p = InsertPosition();
    QList<int> rows;
    for (int row = count - 1; row >= 0; --row)
        rows.append(row);
    insertFolderRows(rows, p, Origin::Button);
    browser_.grid().setFocus();
    // The last four rows are shown.
    const int gridRows = show_.gridRowCount();
    showNewCount(gridRows < 5 ? 0 : gridRows - 4);
}

void ShowEditing::showNewCount(int topRow) {
    TOvcTable& grid = slides_.grid();
    grid.setAllowRedraw(false);
    slides_.UpdateShowGrid();
    grid.setTopRow(topRow);
    grid.setAllowRedraw(true);
    grid.InvalidateTable();
    slides_.showImagesCount();
    if (!tooLong_.isEmpty())
        slides_.showPathTooLong(std::exchange(tooLong_, QString()));
    enableAddButtons();
}

void ShowEditing::enableAddButtons() {
    const bool room = show_.SlideCount < ShowDocument::MaxSlides;
    controls_.BitBtn1.setEnabled(room);
    controls_.BitBtn3.setEnabled(room);
}

void ShowEditing::Clear1Click() {
    if (QLineEdit* field = focusedField()) {
        field->del(); // the selected text, or the character after the caret
        return;
    }
    if (!showGridHasFocus())
        return;
    const int topRow = slides_.grid().TopRow();
    const int p = activeIndex();
    if (show_.SlideCount > 0 && p >= show_.SlideCount)
        return;
    if (p < show_.SlideCount) {
        const WaitCursor hourglass;
        closeGap(p);
        --show_.SlideCount;
        show_.ShowModified = true;
    }
    showNewCount(topRow);
}

void ShowEditing::copyToClipboard(int p) {
    clipboard_.record = show_.slide(p);
    clipboard_.thumbnail = show_.thumbnail(p);
}

void ShowEditing::EditCut() {
    if (QLineEdit* field = focusedField()) {
        field->cut();
        return;
    }
    if (!showGridHasFocus() || show_.SlideCount == 0)
        return;
    const int p = InsertPosition();
    if (p >= show_.SlideCount)
        return;
    copyToClipboard(p);
    Clear1Click();
}

void ShowEditing::EditCopy() {
    if (QLineEdit* field = focusedField()) {
        field->copy();
        return;
    }
    if (!showGridHasFocus() || show_.SlideCount == 0)
        return;
    const int p = InsertPosition();
    if (p < show_.SlideCount)
        copyToClipboard(p);
}

void ShowEditing::EditPaste() {
    if (QLineEdit* field = focusedField()) {
        field->paste();
        return;
    }
    if (!showGridHasFocus())
        return;
    const int p = InsertPosition();
    if (show_.SlideCount >= ShowDocument::MaxSlides) {
        showFullMessage();
        return;
    }
    // An empty clipboard has nothing to give: a beep, and the show stays as it was.
    if (!clipboard_.holdsSlide()) {
        QApplication::beep();
        return;
    }
    const WaitCursor hourglass;
    const int topRow = slides_.grid().TopRow();
    openGap(p);
    show_.slide(p) = clipboard_.record;
    show_.thumbnail(p) = clipboard_.thumbnail;
    ++show_.SlideCount;
    show_.ShowModified = true;
    showNewCount(topRow);
}

void ShowEditing::SelectAll1Click() {
    if (QLineEdit* field = focusedField()) {
        field->selectAll();
        return;
    }
    TOvcTable& folderGrid = browser_.grid();
    if (controls_.window.focusWidget() == &folderGrid) {
        folderGrid.selectAll();
        folderGrid.InvalidateTable();
    }
}

EditMenuState ShowEditing::EditMenuClick() const {
    EditMenuState state;
    QWidget* focus = controls_.window.focusWidget();
    if (const QLineEdit* field = focusedField()) {
        state.cut = !field->text().isEmpty();
        state.copy = state.clear = state.selectAll = true;
        state.paste = !QApplication::clipboard()->text().isEmpty();
    } else if (focus == &browser_.grid()) {
        state.selectAll = browser_.folder().count() > 0;
    } else if (focus == &slides_.grid()) {
        const bool onSlide = show_.SlideCount > 0 && activeIndex() < show_.SlideCount;
        state.cut = state.copy = state.clear = state.properties = onSlide;
        state.clearAll = show_.SlideCount > 0;
        state.paste = clipboard_.holdsSlide();
    }
    return state;
}

ViewMenuState ShowEditing::View1Click() const {
    QWidget* focus = controls_.window.focusWidget();
    ViewMenuState state;
    state.image = (focus == &browser_.grid() && browser_.folder().count() > 0) ||
                  (focus == &slides_.grid() && show_.SlideCount > 0 && activeIndex() < show_.SlideCount);
    state.slideshow = show_.SlideCount > 0;
    return state;
}
