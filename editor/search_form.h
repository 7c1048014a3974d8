// SPDX-License-Identifier: MIT
#pragma once
// The Find Image dialog: a search list of the listed folder images' names; typing the beginning of a
// name moves the folder grid to that image and shows it at the top. It stays open while the user types.

#include "deferred_window.h"

#include <QDialog>
#include <QStringList>

class ImageBrowser;
class TOvcSearchList;

class Tsrchform : public DeferredWindow<QDialog> {
    Q_OBJECT
  public:
    explicit Tsrchform(QWidget* parent = nullptr, ContentsTiming timing = ContentsTiming::Now);

    // The browser whose folder grid the dialog moves.
    void setBrowser(ImageBrowser* browser) { browser_ = browser; }
    // The list anew for a listing: each path's file name as it is on disk, in row order.
    void setNames(const QStringList& paths);
    // Shows the dialog modally at the main window's left edge + 120 and top edge + 128, with the folder
    // grid holding the focus in the main window.
    void Execute(QWidget& mainWindow);

  public slots:
    void OvcSearchList1Change();

  private:
    void build() override;
    void listNames();
    TOvcSearchList* OvcSearchList1 = nullptr;
    QStringList names_;
    ImageBrowser* browser_ = nullptr;
};
