// SPDX-License-Identifier: MIT
#pragma once
// The change into a slide, kept as "transition": {"kind": K, "ms": N} in the show's object of the
// extension block (the show's own) and in a slide's (the change into that slide, before the
// show's), read and written here; and a change drawn by the show's rules (show_transition.h) with a
// painter, as the viewer and the video draw it.

#include "show_transition.h"

#include <QJsonObject>
#include <QRect>

#include <optional>

class QImage;
class QPainter;
class QPixmap;

namespace SlideTransition {

using ShowRules::Transition;
using ShowRules::TransitionKind;

// The change an object holds; none without the key or without a kind. A length that is not a
// number is the default; the stored number stays in the object as it was read.
std::optional<Transition> transition(const QJsonObject& object);
// The object with this change (none takes the key out); its other keys, and those of the change's
// own object, stay.
QJsonObject withTransition(QJsonObject object, const std::optional<Transition>& transition);
// The change into a slide as stored: the slide's own, otherwise the show's.
std::optional<Transition> transitionInto(const QJsonObject& show, const QJsonObject& slide);

// Draws a change within `area` (both pictures cover it from its corner) at the look of the rules.
void paint(QPainter& painter, const QRect& area, const QImage& older, const QImage& newer,
           const ShowRules::TransitionLook& look);
void paint(QPainter& painter, const QRect& area, const QPixmap& older, const QPixmap& newer,
           const ShowRules::TransitionLook& look);

} // namespace SlideTransition
