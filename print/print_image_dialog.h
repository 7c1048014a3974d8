// SPDX-License-Identifier: MIT
#pragma once
// The print dialog of a single image: its thumbnail, its file name, "&Print" and "Cancel". Shown as
// the last step before the picture is printed.

#include "deferred_window.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class Tprint1Dlg : public DeferredWindow<QDialog> {
    Q_OBJECT
  public:
    enum Result { Print = 1, Cancel = 2 };

    explicit Tprint1Dlg(QWidget* parent = nullptr, ContentsTiming timing = ContentsTiming::Now);

    // Shows the thumbnail and the path, and asks; returns Print or Cancel.
    int confirm(const QImage& thumbnail, const QString& path);

  protected:
    void reject() override;

  private:
    void build() override;
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};
