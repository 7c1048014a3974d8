// SPDX-License-Identifier: MIT
#pragma once
// What the two print dialogs share: their controls are named as in the window design, and each ends
// in a row with "&Print" (result 1) and "Cancel" (result 2) under its contents.

#include <QDialog>
#include <QLatin1String>

class QLayout;
class QPushButton;

namespace print {

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// Lays the dialog out: `contents` above the two buttons at the right, and `extra`, if given, at the
// left; the dialog keeps that size. The two buttons close the dialog with results 1 and 2.
void layOutPrintDialog(QDialog* dialog, QLayout* contents, QPushButton* print, QPushButton* cancel,
                       QPushButton* extra = nullptr);

} // namespace print
