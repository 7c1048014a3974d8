// SPDX-License-Identifier: MIT
#pragma once
// The page of a shared web page: the player page with the show's data put in, as the script of the
// page reads it (file names relative to the page's folder, times in milliseconds).

#include "shared_show.h"

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

namespace sharing {

// What the page needs to know of one slide beyond the show's own record.
struct PageSlide {
    QString picture; // relative to the page; empty when the slide shows none
    QSize stored;    // the picture's size as stored, for the viewer's fitting rule
    // Valid when the picture stands in for a file that is not there: it is then shown at its own
    // size in the middle of the area, which is filled with this colour around it.
    QColor backdrop;
    std::int64_t ms = 0;     // how long the slide stays, its hold included
    std::int64_t fadeMs = 0; // how long the change into it lasts
    ShowRules::TransitionKind transition = ShowRules::TransitionKind::Cut; // and its kind
    std::int64_t motionMs = 0; // its own time, over which its motion runs
    QString caption;           // the caption drawn once, relative to the page; empty for none
    QSize captionSize;         // its size as drawn
    QString fill;              // the blurred fill drawn once, relative to the page; empty for none
    QString sound;             // relative to the page; empty when the slide starts none
    bool endsSound = false;    // the slide has audio: an earlier sound ends when it comes on
};

// index.html for the show, titled `title`; `music` names the show's music files in the page's folder,
// in the order they play.
QByteArray webPageHtml(const QString& title, const SharedShow& show, const std::vector<PageSlide>& slides,
                       const std::vector<QString>& music = {});

} // namespace sharing
