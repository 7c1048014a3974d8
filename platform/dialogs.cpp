// SPDX-License-Identifier: MIT
#include "dialogs.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrintDialog>

namespace {

// Qt's font dialog offers the effects (underline, strike-out) but no colour; the colour is asked next.
bool chooseFontWithColor(QFont& font, QColor& color, QWidget* parent) {
    bool accepted = false;
    const QFont chosen =
        QFontDialog::getFont(&accepted, font, parent, QCoreApplication::translate("DialogSeams", "Font"));
    if (!accepted)
        return false;
    font = chosen;
    const QColor chosenColor =
        QColorDialog::getColor(color, parent, QCoreApplication::translate("DialogSeams", "Font Colour"));
    if (chosenColor.isValid())
        color = chosenColor;
    return true;
}

DialogSeams qtDialogs() {
    DialogSeams seams;
    seams.getOpenFileName = [](QWidget* parent, const QString& caption, const QString& dir,
                               const QString& filter) {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    };
    seams.getOpenFileNames = [](QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter) {
        return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
    };
    seams.getSaveFileName = [](QWidget* parent, const QString& caption, const QString& dir,
                               const QString& filter) {
        // The program asks its own question before it replaces a file.
        return QFileDialog::getSaveFileName(parent, caption, dir, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    seams.getSaveFileNameAndFilter = [](QWidget* parent, const QString& caption, const QString& dir,
                                        const QString& filter, QString* selectedFilter) {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter,
                                            QFileDialog::DontConfirmOverwrite);
    };
    seams.getExistingDirectory = [](QWidget* parent, const QString& caption, const QString& dir) {
        return QFileDialog::getExistingDirectory(parent, caption, dir);
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
