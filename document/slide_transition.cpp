// SPDX-License-Identifier: MIT
#include "slide_transition.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace SlideTransition {
namespace {

const QString TransitionKey = QStringLiteral("transition");
const QString KindKey = QStringLiteral("kind");
const QString MsKey = QStringLiteral("ms");

void drawAt(QPainter& painter, QPointF at, const QImage& picture) {
    painter.drawImage(at, picture);
}

void drawAt(QPainter& painter, QPointF at, const QPixmap& picture) {
    painter.drawPixmap(at, picture);
}

template <typename Picture>
void paintPictures(QPainter& painter, const QRect& area, const Picture& older, const Picture& newer,
                   const ShowRules::TransitionLook& look) {
    painter.save();
    painter.setClipRect(area);
    drawAt(painter, area.topLeft() + QPoint(look.oldX, look.oldY), older);
    const ShowRules::Rect& clip = look.newClip;
    painter.setClipRect(QRect(area.x() + clip.x, area.y() + clip.y, clip.width, clip.height),
                        Qt::IntersectClip);
    painter.setOpacity(look.newOpacity);
    const QPointF centre = QRectF(area).center();
    painter.translate(centre + QPointF(look.newX, look.newY));
    painter.scale(look.newScale, look.newScale);
    painter.translate(-centre);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, look.newScale != 1);
    drawAt(painter, area.topLeft(), newer);
    painter.restore();
}

} // namespace

std::optional<Transition> transition(const QJsonObject& object) {
    const QJsonObject value = object.value(TransitionKey).toObject();
    const QJsonValue kind = value.value(KindKey);
    if (!kind.isString())
        return std::nullopt;
    Transition stored;
    stored.kind = ShowRules::transitionKindOf(kind.toString().toStdString());
    if (const QJsonValue ms = value.value(MsKey); ms.isDouble())
        stored.ms = std::int64_t(std::clamp(ms.toDouble(), 0.0, double(ShowRules::MaxTransitionMs)));
    return stored;
}

QJsonObject withTransition(QJsonObject object, const std::optional<Transition>& transition) {
    if (!transition) {
        object.remove(TransitionKey);
        return object;
    }
    QJsonObject value = object.value(TransitionKey).toObject();
    value.insert(KindKey, QString::fromUtf8(ShowRules::transitionName(transition->kind)));
    value.insert(MsKey, double(transition->ms));
    object.insert(TransitionKey, value);
    return object;
}

std::optional<Transition> transitionInto(const QJsonObject& show, const QJsonObject& slide) {
    const std::optional<Transition> own = transition(slide);
    return own ? own : transition(show);
}

void paint(QPainter& painter, const QRect& area, const QImage& older, const QImage& newer,
           const ShowRules::TransitionLook& look) {
    paintPictures(painter, area, older, newer, look);
}

void paint(QPainter& painter, const QRect& area, const QPixmap& older, const QPixmap& newer,
           const ShowRules::TransitionLook& look) {
    paintPictures(painter, area, older, newer, look);
}

} // namespace SlideTransition
