// SPDX-License-Identifier: MIT
#include "show_editing.h"

#include "folder_images.h"
#include "image_browser.h"
#include "ovc_table.h"
#include "show_document.h"
#include "show_grid.h"
#include "show_grid_view.h"
#include "show_selection.h"
#include "stored_path.h"
#include "wait_cursor.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>
#include <algorithm>
#include <numeric>
#include <utility>

ShowEditing::ShowEditing(ShowDocument& show, ShowGridView& view, ImageBrowser& browser,
                         EditingControls controls, Switches switches, TellUser message)
    : show_(show), view_(view), browser_(browser), controls_(controls), switches_(std::move(switches)),
      message_(std::move(message)) {
    enableAddButtons();
    QObject::connect(&show_, &ShowDocument::changed, &controls_.BitBtn1, [this] { enableAddButtons(); });
}

QLineEdit* ShowEditing::focusedField() const {
    QWidget* focus = controls_.window.focusWidget();
    if (focus == &controls_.Edit1 || focus == &controls_.Edit2)
        return static_cast<QLineEdit*>(focus);
    return nullptr;
}

bool ShowEditing::showGridHasFocus() const {
    return controls_.window.focusWidget() == &view_.grid();
}

int ShowEditing::InsertPosition() {
    const int p = view_.activeIndex();
    if (p <= show_.SlideCount)
        return p;
    view_.grid().setActiveCell(ShowGrid::rowOf(show_.SlideCount, view_.grid().ColumnCount()),
                               ShowGrid::columnOf(show_.SlideCount, view_.grid().ColumnCount()));
    return show_.SlideCount;
}

void ShowEditing::showFullMessage() {
    message_(QCoreApplication::translate("ShowEditing", "Information"),
             QCoreApplication::translate("ShowEditing", "Maximum number of images is %1!")
                 .arg(ShowDocument::MaxSlides),
             {});
}

void ShowEditing::insertFolderRows(const QList<int>& rows, int p, Origin origin) {
    const FolderImages& folder = browser_.folder();
    const int room = ShowDocument::MaxSlides - show_.SlideCount;
    const NewSlideSwitches newSwitches = switches_();
    QList<ShowSlide> slides;
    bool full = false;
    // From the last row up, so that a full show leaves out the first ones.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        if (slides.size() >= room) {
            full = true;
            break;
        }
        const QString& path = folder.FolderImagePaths[*row];
        // A file gone since the folder was listed, or a path too long to be stored, makes no slide;
        // the latter is named afterwards.
        if (!QFileInfo(path).isFile())
            continue;
        // A row not drawn yet gives its placeholder, whose picture the show grid decodes in view.
        ShowSlide slide{show_.freshRecord(), browser_.slideThumbnail(*row)};
        if (!StoredPath::assign(slide.record.ImageFile, path)) {
            tooLong_ = path;
            continue;
        }
        slide.record.HoldForAudio = newSwitches.holdForAudio ? 1 : 0;
        slide.record.ShowText = newSwitches.showText ? 1 : 0;
        slides.append(std::move(slide));
    }
    std::reverse(slides.begin(), slides.end());
    const ShowDocument::Step step(show_, origin == Origin::Button
                                             ? QCoreApplication::translate("ShowEditing", "Add Images")
                                             : QCoreApplication::translate("ShowEditing", "Drag Images"));
    if (show_.insert(p, std::move(slides)) > 0 && origin == Origin::FolderDrag)
        view_.grid().setFocus();
    if (full)
        showFullMessage();
}

void ShowEditing::BitBtn1Click(Origin origin) {
    TOvcTable& folderGrid = browser_.grid();
    if (browser_.folder().count() == 0)
        return;
    const WaitCursor hourglass;
    const int topRow = view_.grid().TopRow();
    const int p = InsertPosition();
    const QList<int> rows =
        folderGrid.hasSelection() ? folderGrid.selectedRows() : QList<int>{folderGrid.ActiveRow()};
    insertFolderRows(rows, p, origin);
    if (origin == Origin::Button)
        folderGrid.setFocus();
    keepInView(topRow);
}

void ShowEditing::BitBtn3Click() {
    const int count = browser_.folder().count();
    if (count == 0)
        return;
    const WaitCursor hourglass;
    const int p = InsertPosition();
    QList<int> rows;
    for (int row = 0; row < count; ++row)
        rows.append(row);
    insertFolderRows(rows, p, Origin::Button);
    browser_.grid().setFocus();
    // The last rows are shown: four at the window's start size, as many as fit in a taller grid.
    const int gridRows = ShowGrid::rowsFor(show_.SlideCount, view_.grid().ColumnCount());
    keepInView(std::max(0, gridRows - std::max(1, view_.grid().fullyVisibleRows())));
}

void ShowEditing::keepInView(int topRow) {
    view_.grid().setTopRow(topRow);
    if (!tooLong_.isEmpty())
        view_.showPathTooLong(std::exchange(tooLong_, QString()));
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
    const int topRow = view_.grid().TopRow();
    const std::vector<int> chosen = view_.selection().slides();
    if (chosen.empty())
        return;
    const WaitCursor hourglass;
    const ShowDocument::Step step(show_, chosen.size() > 1
                                             ? QCoreApplication::translate("ShowEditing", "Delete Slides")
                                             : QCoreApplication::translate("ShowEditing", "Delete Slide"));
    show_.removeEach(chosen);
    keepInView(topRow);
}

void ShowEditing::copyToClipboard(const std::vector<int>& chosen) {
    clipboard_.slides.clear();
    for (int index : chosen)
        clipboard_.slides.append(show_.at(index));
}

void ShowEditing::EditCut() {
    if (QLineEdit* field = focusedField()) {
        field->cut();
        return;
    }
    if (!showGridHasFocus() || show_.SlideCount == 0)
        return;
    InsertPosition();
    const std::vector<int> chosen = view_.selection().slides();
    if (chosen.empty())
        return;
    copyToClipboard(chosen);
    const ShowDocument::Step step(show_, QCoreApplication::translate("ShowEditing", "Cut"));
    Clear1Click();
}

void ShowEditing::EditCopy() {
    if (QLineEdit* field = focusedField()) {
        field->copy();
        return;
    }
    if (!showGridHasFocus() || show_.SlideCount == 0)
        return;
    InsertPosition();
    if (const std::vector<int> chosen = view_.selection().slides(); !chosen.empty())
        copyToClipboard(chosen);
}

// The slides cut or copied go in before the active slide, as many as the show has room for; several
// pasted stay selected.
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
    const int topRow = view_.grid().TopRow();
    const ShowDocument::Step step(show_, QCoreApplication::translate("ShowEditing", "Paste"));
    const int pasted = show_.insert(p, clipboard_.slides);
    view_.selection().clear();
    if (pasted > 1) {
        std::vector<int> added(std::size_t(pasted), 0);
        std::iota(added.begin(), added.end(), p);
        view_.selection().select(added);
    }
    keepInView(topRow);
    if (pasted < clipboard_.slides.size())
        showFullMessage();
}

int ShowEditing::dragSlides(int source, int target) {
    ShowSelection& selection = view_.selection();
    if (!selection.several() || !selection.isSelected(source)) {
        show_.move(source, target);
        return target;
    }
    // Dropped on one of the slides dragged: nothing moves.
    if (selection.isSelected(target))
        return source;
    const std::vector<int> chosen = selection.slides();
    const int first = show_.moveEach(chosen, target > source ? target + 1 : target);
    // Taken out and put in again, the slides stay selected at their new place.
    std::vector<int> moved(chosen.size(), 0);
    std::iota(moved.begin(), moved.end(), first);
    selection.select(moved);
    return first + int(std::find(chosen.begin(), chosen.end(), source) - chosen.begin());
}

void ShowEditing::EditUndo() {
    if (QLineEdit* field = focusedField())
        field->undo();
    else
        show_.undo();
}

void ShowEditing::EditRedo() {
    if (QLineEdit* field = focusedField())
        field->redo();
    else
        show_.redo();
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
    } else if (showGridHasFocus()) {
        view_.selection().selectAll();
    }
}

EditMenuState ShowEditing::EditMenuClick() const {
    EditMenuState state;
    QWidget* focus = controls_.window.focusWidget();
    state.undo = show_.history().canUndo();
    state.redo = show_.history().canRedo();
    if (const QLineEdit* field = focusedField()) {
        state.fieldHasFocus = true;
        state.undo = field->isUndoAvailable();
        state.redo = field->isRedoAvailable();
        state.cut = !field->text().isEmpty();
        state.copy = state.clear = state.selectAll = true;
        state.paste = !QApplication::clipboard()->text().isEmpty();
    } else if (focus == &browser_.grid()) {
        state.selectAll = browser_.folder().count() > 0;
    } else if (focus == &view_.grid()) {
        const bool onSlide = !view_.selection().slides().empty();
        state.cut = state.copy = state.clear = state.properties = onSlide;
        state.clearAll = state.selectAll = show_.SlideCount > 0;
        state.paste = clipboard_.holdsSlide();
    }
    return state;
}

ViewMenuState ShowEditing::View1Click() const {
    QWidget* focus = controls_.window.focusWidget();
    ViewMenuState state;
    state.image = (focus == &browser_.grid() && browser_.folder().count() > 0) ||
                  (focus == &view_.grid() && view_.activeIndex() < show_.SlideCount);
    state.slideshow = show_.SlideCount > 0;
    return state;
}
