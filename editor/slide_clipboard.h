// SPDX-License-Identifier: MIT
#pragma once
// The one-slide buffer of Cut, Copy and Paste: a slide record and its thumbnail. It lives only
// inside the program (it is not the system clipboard).

#include "slide_record.h"

#include <QImage>
#include <cstring>
#include <string>

struct SlideClipboard {
    TSlideRecord record{};
    QImage thumbnail;

    // It holds a slide once its image file name, trimmed, is not empty.
    bool holdsSlide() const {
        const std::string name = record.ImageFile.str();
        return name.find_first_not_of(' ') != std::string::npos;
    }
};
