// SPDX-License-Identifier: MIT
#include "show_look.h"

namespace ShowLook {
namespace {

const QString FillKey = QStringLiteral("fill");
const QString ColourKey = QStringLiteral("fillColour");
const QString PlaceKey = QStringLiteral("captionPlace");

// The level's words, kept alive while they are read.
struct Words {
    QByteArray fill, fillColour, captionPlace;
    explicit Words(const QJsonObject& level)
        : fill(level.value(FillKey).toString().toUtf8()),
          fillColour(level.value(ColourKey).toString().toUtf8()),
          captionPlace(level.value(PlaceKey).toString().toUtf8()) {}
    ShowRules::LookWords view() const {
        return {std::string_view(fill.data(), std::size_t(fill.size())),
                std::string_view(fillColour.data(), std::size_t(fillColour.size())),
                std::string_view(captionPlace.data(), std::size_t(captionPlace.size()))};
    }
};

} // namespace

QColor colourOf(std::uint32_t rgb) {
    return QColor(QRgb(0xFF000000u | rgb));
}

Look lookOf(const QJsonObject& show, const QJsonObject& slide) {
    return ShowRules::lookOf(Words(show).view(), Words(slide).view());
}

Own ownOf(const QJsonObject& level) {
    const Words words(level);
    Own own;
    own.fill = ShowRules::fillNamed(words.view().fill);
    if (own.fill == Fill::Colour)
        own.fillColour = colourOf(ShowRules::colourNamed(words.view().fillColour).value_or(0));
    own.captionPlace = ShowRules::captionPlaceNamed(words.view().captionPlace);
    return own;
}

QJsonObject withOwn(QJsonObject level, const Own& own) {
    level.remove(FillKey);
    level.remove(ColourKey);
    level.remove(PlaceKey);
    if (own.fill)
        level.insert(FillKey, QString::fromLatin1(ShowRules::fillName(*own.fill)));
    if (own.fill == Fill::Colour)
        level.insert(ColourKey, own.fillColour.name(QColor::HexRgb));
    if (own.captionPlace)
        level.insert(PlaceKey, QString::fromLatin1(ShowRules::captionPlaceName(*own.captionPlace)));
    return level;
}

} // namespace ShowLook
