// SPDX-License-Identifier: MIT
#include "show_motion.h"

#include "picture_place.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>

namespace ShowMotion {
namespace {

const QString MotionKey = QStringLiteral("motion");
const QString FromKey = QStringLiteral("from");
const QString ToKey = QStringLiteral("to");

// How far a gentle zoom or pan goes: the smaller frame is this share of the picture.
constexpr double Gentle = 0.8;

std::optional<Frame> frameOf(const QJsonValue& value) {
    const QJsonArray list = value.toArray();
    if (list.size() != 4)
        return std::nullopt;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        if (!list[i].isDouble())
            return std::nullopt;
        v[i] = list[i].toDouble();
    }
    return ShowRules::frameOf(v);
}

QJsonArray listOf(const Frame& frame) {
    return {frame.x, frame.y, frame.w, frame.h};
}

Frame centred(double share) {
    return {(1 - share) / 2, (1 - share) / 2, share, share};
}

bool near(const Frame& a, const Frame& b) {
    constexpr double eps = 1e-6;
    return std::abs(a.x - b.x) < eps && std::abs(a.y - b.y) < eps && std::abs(a.w - b.w) < eps &&
           std::abs(a.h - b.h) < eps;
}

} // namespace

std::optional<Motion> motion(const QJsonObject& slide) {
    const QJsonObject value = slide.value(MotionKey).toObject();
    const std::optional<Frame> from = frameOf(value.value(FromKey));
    const std::optional<Frame> to = frameOf(value.value(ToKey));
    if (!from || !to)
        return std::nullopt;
    return Motion{*from, *to};
}

QJsonObject withMotion(QJsonObject slide, const std::optional<Motion>& motion) {
    if (!motion)
        slide.remove(MotionKey);
    else
        slide.insert(MotionKey, QJsonObject{{FromKey, listOf(motion->from)}, {ToKey, listOf(motion->to)}});
    return slide;
}

QRectF sourceRect(const Frame& frame, QSizeF picture) {
    return {frame.x * picture.width(), frame.y * picture.height(), frame.w * picture.width(),
            frame.h * picture.height()};
}

QRectF fittedRect(QSizeF source, const QRectF& area) {
    const ShowRules::RectF fitted = ShowRules::fitPart(source.width(), source.height(),
                                                       {area.x(), area.y(), area.width(), area.height()});
    return {fitted.x, fitted.y, fitted.width, fitted.height};
}

std::optional<Motion> preset(Kind kind, QSizeF picture, int variant) {
    const bool turned = variant % 2 != 0;
    switch (kind) {
    case Kind::None:
    case Kind::Custom:
        return std::nullopt;
    case Kind::ZoomIn:
        return Motion{centred(1), centred(Gentle)};
    case Kind::ZoomOut:
        return Motion{centred(Gentle), centred(1)};
    case Kind::Pan:
        break;
    }
    const double side = (1 - Gentle) / 2;
    Frame start{0, side, Gentle, Gentle};
    Frame end{1 - Gentle, side, Gentle, Gentle};
    if (picture.height() > picture.width()) {
        start = {side, 0, Gentle, Gentle};
        end = {side, 1 - Gentle, Gentle, Gentle};
    }
    return turned ? Motion{end, start} : Motion{start, end};
}

Kind kindOf(const std::optional<Motion>& motion, QSizeF picture) {
    if (!motion)
        return Kind::None;
    for (Kind kind : {Kind::ZoomIn, Kind::ZoomOut, Kind::Pan})
        for (int variant : {0, 1})
            if (const auto made = preset(kind, picture, variant);
                made && near(made->from, motion->from) && near(made->to, motion->to))
                return kind;
    return Kind::Custom;
}

std::vector<Motion> gentleMotions(const std::vector<QSizeF>& pictures) {
    std::vector<Motion> motions;
    motions.reserve(pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const Kind kinds[] = {Kind::ZoomIn, Kind::Pan, Kind::ZoomOut, Kind::Pan};
        motions.push_back(*preset(kinds[i % 4], pictures[i], int(i / 2)));
    }
    return motions;
}

} // namespace ShowMotion
