// SPDX-License-Identifier: MIT
#pragma once
// The buffer of Cut, Copy and Paste: the slides last cut or copied, whole (record, thumbnail and data)
// and in show order. It lives only inside the program (it is not the system clipboard).

#include "show_document.h"

#include <QList>

struct SlideClipboard {
    QList<ShowSlide> slides;

    bool holdsSlide() const { return !slides.isEmpty(); }
};
