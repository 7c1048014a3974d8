// SPDX-License-Identifier: MIT
#pragma once
// The progress of a show print: "Printing page n of m" with a Cancel button, shown from the first
// page on. While it is shown the windows keep repainting and the button can be pressed, even though
// the main window is disabled.

#include <QPointer>

class QProgressDialog;
class QWidget;

namespace print {

class PrintProgress {
  public:
    PrintProgress(QWidget* parent, int pages);
    ~PrintProgress();
    PrintProgress(const PrintProgress&) = delete;
    PrintProgress& operator=(const PrintProgress&) = delete;

    // Shows that page `page` (from 0) is being printed; false once Cancel has been pressed.
    bool startPage(int page);
    // Lets the windows repaint and take the Cancel button between two pictures.
    void keepAlive();

  private:
    QPointer<QProgressDialog> dialog_;
    int pages_;
};

} // namespace print
