// SPDX-License-Identifier: MIT
#pragma once
// The window that shows one image at its own size.

#include <QDialog>

class Tpicfrm : public QDialog {
    Q_OBJECT
  public:
    explicit Tpicfrm(QWidget* parent = nullptr);
};
