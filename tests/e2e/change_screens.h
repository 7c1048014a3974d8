// SPDX-License-Identifier: MIT
#pragma once
// Screens read halfway through a change between two pictures of four coloured quarters each: what
// the show's rules put at each point of the area, and whether a screen shows that.

#include "show_transition.h"

#include <QImage>
#include <QRect>
#include <QSize>

// Picture 0 or 1, each quarter of its own colour.
inline const QSize Quartered(1600, 1200);
QImage quartered(int which);

// Whether the screen's `area` shows a change of `kind` from picture `older` to the other under way,
// neither picture alone, at the look of some moment of its middle half (a cut: the new picture at
// once). Both pictures are placed in the area by the show's rules.
bool showsChange(const QImage& screen, const QRect& area, ShowRules::TransitionKind kind, int older);
