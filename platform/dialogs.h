// SPDX-License-Identifier: MIT
#pragma once
// Every common dialog the program opens is reached through these replaceable functions, so that a test
// can give the answer a person would have given. The defaults open Qt's dialogs.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;

struct DialogSeams {
    std::function<QString(QWidget*, const QString& caption, const QString& dir, const QString& filter)>
        getOpenFileName;
    std::function<QStringList(QWidget*, const QString& caption, const QString& dir, const QString& filter)>
        getOpenFileNames;
    std::function<QString(QWidget*, const QString& caption, const QString& dir, const QString& filter)>
        getSaveFileName;
    // As getSaveFileName, for a choice of file types: `selectedFilter` names the filter shown first,
    // and then the one chosen.
    std::function<QString(QWidget*, const QString& caption, const QString& dir, const QString& filter,
                          QString* selectedFilter)>
        getSaveFileNameAndFilter;
    // A folder that is there, or the name of a new one in a folder that is there (for the caller to
    // make).
    std::function<QString(QWidget*, const QString& caption, const QString& dir)> getFolder;
    std::function<bool(QFont& font, QColor& color, QWidget*)> chooseFont; // font with colour and effects
    // The printer setup dialog: the printer (or a PDF file) and its page; false when cancelled.
    std::function<bool(QPrinter*, QWidget*)> printSetup;
    // The program's own dialogs that stand in for a common one (the image folder dialog) run
    // through this. The default is the dialog's exec(); a test shows the dialog, answers through
    // its controls as a person would, and returns its result.
    std::function<int(QDialog*)> runModal;
};

// The seams in use; a test assigns its own answers, resetDialogSeams() brings back Qt's dialogs.
DialogSeams& dialogSeams();
void resetDialogSeams();
