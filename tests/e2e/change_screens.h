// SPDX-License-Identifier: MIT
#pragma once
// Screens read halfway through a change between two pictures of four coloured quarters each: what
// the show's rules put at each point of the area, and whether a screen shows that.

#include "show_transition.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <vector>

// Picture 0 or 1, each quarter of its own colour.
inline const QSize Quartered(1600, 1200);
QImage quartered(int which);

// What a change of `kind` from picture `older` to the other puts on an area of `size`, both pictures
// placed by the show's rules: at its start, at its end and at each moment of its middle half, worked
// out once to read many screens by.
class ChangeLooks {
  public:
    struct Point {
        QPoint at;
        int quarter = 0; // one of the quarters' colours (0 to 7), or 8 for the grey ground
    };
    using Look = std::vector<Point>;

    ChangeLooks(QSize size, ShowRules::TransitionKind kind, int older);
    // Whether the screen's `area` shows the change under way, neither picture alone, at the look of
    // some moment of its middle half (a cut: the new picture at once).
    bool shownBy(const QImage& screen, const QRect& area) const;

  private:
    bool cut_;
    Look start_, end_;
    std::vector<Look> middle_;
};

// The same for one screen.
bool showsChange(const QImage& screen, const QRect& area, ShowRules::TransitionKind kind, int older);
