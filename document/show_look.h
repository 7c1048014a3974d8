// SPDX-License-Identifier: MIT
#pragma once
// How a slide looks around its picture and caption (the show's rules in frame_look.h), kept as
// "fill", "fillColour" and "captionPlace" in the show's object of the extension block (its default)
// and in a slide's object (that slide's own). Other keys of either object stay as they are.

#include "frame_look.h"

#include <QColor>
#include <QJsonObject>

#include <optional>

namespace ShowLook {

using ShowRules::CaptionPlace;
using ShowRules::Fill;
using ShowRules::Look;

// The slide's look, its own values before the show's.
Look lookOf(const QJsonObject& show, const QJsonObject& slide);

// What one level (the show's object or a slide's) holds itself; nothing where it holds no valid value.
struct Own {
    std::optional<Fill> fill;
    QColor fillColour; // valid with a fill of one colour
    std::optional<CaptionPlace> captionPlace;
    bool operator==(const Own&) const = default;
};
Own ownOf(const QJsonObject& level);
// The level with these values; a value left empty takes its key out.
QJsonObject withOwn(QJsonObject level, const Own& own);

QColor colourOf(std::uint32_t rgb);

} // namespace ShowLook
