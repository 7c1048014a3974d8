// SPDX-License-Identifier: MIT
#pragma once
// The about box: product name, maker lines, and a line that opens the maker's web page.

#include "deferred_window.h"

#include <QDialog>

class QLabel;

class TAboutBox : public DeferredWindow<QDialog> {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* parent = nullptr, ContentsTiming timing = ContentsTiming::Now);

    static constexpr const char* MakerWebPage = "https://www.morvantimaging.example/";

  private:
    void build() override;
};
