// SPDX-License-Identifier: MIT
#include "dialogs.h"

#include "qt_dialog_names.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPrintDialog>

namespace {

// Qt's font dialog offers the effects (underline, strike-out) but no colour; the colour is asked next.
bool chooseFontWithColor(QFont& font, QColor& color, QWidget* parent) {
    QFontDialog fonts(font, parent);
    fonts.setWindowTitle(QCoreApplication::translate("DialogSeams", "Font"));
    nameFontDialogParts(fonts);
    if (fonts.exec() != QDialog::Accepted)
        return false;
    font = fonts.selectedFont();
    const QColor chosenColor =
        QColorDialog::getColor(color, parent, QCoreApplication::translate("DialogSeams", "Font Colour"));
    if (chosenColor.isValid())
        color = chosenColor;
    return true;
}

// Qt's file dialog, which takes as a folder also the name of a new one in a folder that is there
// (whoever asked for the folder makes it), where Qt's own would say that it is not found.
class FileDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;
    void accept() override {
        const QFileInfo chosen(selectedFiles().value(0));
        if (fileMode() == Directory && !chosen.fileName().isEmpty() && !chosen.exists() &&
            !chosen.isSymLink() && chosen.dir().exists())
            QDialog::accept();
        else
            QFileDialog::accept();
    }
};

// The file dialog, as Qt's static functions open it, with names for all its parts: an existing
// file or files to open, a name to save under (AnyFile; the program asks before it replaces a
// file) or a folder. Empty when cancelled.
QStringList chooseFiles(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                        QFileDialog::FileMode mode, QString* selectedFilter = nullptr) {
    FileDialog dialog(parent, caption, dir, filter);
    dialog.setFileMode(mode);
    if (mode == QFileDialog::AnyFile) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (mode == QFileDialog::Directory)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    if (selectedFilter && !selectedFilter->isEmpty())
        dialog.selectNameFilter(*selectedFilter);
    nameFileDialogParts(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles();
}

DialogSeams qtDialogs() {
    DialogSeams seams;
    seams.getOpenFileName = [](QWidget* parent, const QString& caption, const QString& dir,
                               const QString& filter) {
        return chooseFiles(parent, caption, dir, filter, QFileDialog::ExistingFile).value(0);
    };
    seams.getOpenFileNames = [](QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter) {
        return chooseFiles(parent, caption, dir, filter, QFileDialog::ExistingFiles);
    };
    // The program asks its own question before it replaces a file.
    seams.getSaveFileName = [](QWidget* parent, const QString& caption, const QString& dir,
                               const QString& filter) {
        return chooseFiles(parent, caption, dir, filter, QFileDialog::AnyFile).value(0);
    };
    seams.getSaveFileNameAndFilter = [](QWidget* parent, const QString& caption, const QString& dir,
                                        const QString& filter, QString* selectedFilter) {
        return chooseFiles(parent, caption, dir, filter, QFileDialog::AnyFile, selectedFilter).value(0);
    };
    seams.getFolder = [](QWidget* parent, const QString& caption, const QString& dir) {
        return chooseFiles(parent, caption, dir, QString(), QFileDialog::Directory).value(0);
    };
    seams.chooseFont = chooseFontWithColor;
    seams.printSetup = [](QPrinter* printer, QWidget* parent) {
        // Qt's print dialog chooses the printer and its page, and offers printing to a PDF file for
        // those without a printer. The program always prints every page, in its own order.
        QPrintDialog dialog(printer, parent);
        dialog.setWindowTitle(QCoreApplication::translate("DialogSeams", "Print Setup"));
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        return dialog.exec() == QDialog::Accepted;
    };
    seams.runModal = [](QDialog* dialog) { return dialog->exec(); };
    return seams;
}

} // namespace

DialogSeams& dialogSeams() {
    static DialogSeams seams = qtDialogs();
    return seams;
}

void resetDialogSeams() {
    dialogSeams() = qtDialogs();
}
