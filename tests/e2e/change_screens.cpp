// SPDX-License-Identifier: MIT
#include "change_screens.h"

#include "picture_place.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using ShowRules::TransitionKind;

const QRgb Quarters[2][4] = {{qRgb(220, 0, 0), qRgb(0, 190, 0), qRgb(0, 0, 220), qRgb(220, 220, 0)},
                             {qRgb(220, 0, 220), qRgb(0, 190, 190), qRgb(240, 128, 0), qRgb(120, 0, 200)}};

} // namespace

QImage quartered(int which) {
    QImage picture(Quartered, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y,
                             Quarters[which][(2 * y >= picture.height()) * 2 + (2 * x >= picture.width())]);
    return picture;
}

namespace {

QRectF rectOf(const ShowRules::Rect& r) {
    return QRectF(r.x, r.y, r.width, r.height);
}

// The colour of picture `which` placed at `place` at the point; none off the picture.
std::optional<QRgb> quarterAt(int which, QPointF at, const QRectF& place) {
    if (!place.contains(at))
        return std::nullopt;
    return Quarters[which][(at.y() >= place.center().y()) * 2 + (at.x() >= place.center().x())];
}

// What the look puts at a point of an area (in its own coordinates) changing from picture `older` to
// the other, both placed at `place`; none where the ground around a picture shows.
std::optional<QRgb> expectedAt(const ShowRules::TransitionLook& look, QPointF at, QSizeF area,
                               const QRectF& place, int older) {
    const std::optional<QRgb> old = quarterAt(older, at - QPointF(look.oldX, look.oldY), place);
    const ShowRules::Rect& c = look.newClip;
    const QPointF centre(area.width() / 2, area.height() / 2);
    const QPointF from = centre + (at - centre - QPointF(look.newX, look.newY)) / look.newScale;
    if (!QRectF(c.x, c.y, c.width, c.height).contains(at) || !QRectF(QPointF(), area).contains(from))
        return old;
    const std::optional<QRgb> now = quarterAt(1 - older, from, place);
    if (!now || (!old && look.newOpacity < 1))
        return std::nullopt;
    const double a = look.newOpacity;
    const auto mix = [a](int o, int n) { return int(std::lround(o * (1 - a) + n * a)); };
    return old ? qRgb(mix(qRed(*old), qRed(*now)), mix(qGreen(*old), qGreen(*now)),
                      mix(qBlue(*old), qBlue(*now)))
               : *now;
}

// A colour read as one of the quarters' (0 to 7), 8 for a grey (the ground, a screen without a
// picture), or -1 for one between the quarters' (a fade's colours).
int quarterOf(QRgb c) {
    if (std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)}) < 30)
        return 8;
    for (int i = 0; i < 8; ++i) {
        const QRgb q = Quarters[i / 4][i % 4];
        if (std::abs(qRed(c) - qRed(q)) + std::abs(qGreen(c) - qGreen(q)) + std::abs(qBlue(c) - qBlue(q)) <
            70)
            return i;
    }
    return -1;
}

// The points of a grid over an area of `size` and the quarter the look of `kind` at `progress` puts
// at each, passing over points whose expectation changes within 4 pixels.
ChangeLooks::Look lookAt(QSize size, TransitionKind kind, double progress, int older) {
    const ShowRules::TransitionLook look =
        ShowRules::transitionAt(kind, progress, size.width(), size.height());
    const QRectF place = rectOf(
        ShowRules::placePicture(Quartered.width(), Quartered.height(), {0, 0, size.width(), size.height()}));
    ChangeLooks::Look points;
    for (int gy = 1; gy < 24; ++gy)
        for (int gx = 1; gx < 32; ++gx) {
            const QPointF at(size.width() * gx / 32.0, size.height() * gy / 24.0);
            std::optional<int> expected;
            for (const QPointF d :
                 {QPointF(0, 0), QPointF(-4, 0), QPointF(4, 0), QPointF(0, -4), QPointF(0, 4)}) {
                const std::optional<QRgb> colour = expectedAt(look, at + d, size, place, older);
                const int quarter = colour ? quarterOf(*colour) : -2;
                if (quarter == -2 || (expected && *expected != quarter)) {
                    expected = -2;
                    break;
                }
                expected = quarter;
            }
            if (*expected != -2)
                points.push_back({at.toPoint(), *expected});
        }
    return points;
}

// The share of the look's points where the screen's area, its top left at `origin`, differs from it.
double mismatch(const QImage& screen, QPoint origin, const ChangeLooks::Look& look) {
    int differing = 0;
    for (const ChangeLooks::Point& point : look)
        differing += quarterOf(screen.pixel(origin + point.at)) != point.quarter;
    return look.empty() ? 1 : double(differing) / double(look.size());
}

} // namespace

ChangeLooks::ChangeLooks(QSize size, TransitionKind kind, int older)
    : cut_(kind == TransitionKind::Cut), start_(lookAt(size, kind, 0, older)),
      end_(lookAt(size, kind, 1, older)) {
    for (int percent = 25; !cut_ && percent <= 75; ++percent)
        middle_.push_back(lookAt(size, kind, percent / 100.0, older));
}

bool ChangeLooks::shownBy(const QImage& screen, const QRect& area) const {
    if (screen.isNull())
        return false;
    const QPoint origin = area.topLeft();
    if (cut_)
        return mismatch(screen, origin, end_) <= 0.08;
    if (mismatch(screen, origin, start_) <= 0.15 || mismatch(screen, origin, end_) <= 0.15)
        return false;
    return std::any_of(middle_.begin(), middle_.end(),
                       [&](const Look& look) { return mismatch(screen, origin, look) <= 0.08; });
}

bool showsChange(const QImage& screen, const QRect& area, TransitionKind kind, int older) {
    return ChangeLooks(area.size(), kind, older).shownBy(screen, area);
}
