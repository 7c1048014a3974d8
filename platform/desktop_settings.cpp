// SPDX-License-Identifier: MIT
#include "desktop_settings.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

QVariant portalSetting(const QString& group, const QString& key) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return {};
    QDBusMessage read = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("Read"));
    read << group << key;
    const QDBusReply<QVariant> reply = bus.call(read, QDBus::Block, 2000);
    if (!reply.isValid())
        return {};
    // The value comes wrapped in a variant, once more by older portals.
    QVariant value = reply.value();
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

bool desktopReducesMotion() {
    const QVariant reduced =
        portalSetting(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("reduced-motion"));
    if (reduced.isValid())
        return reduced.toUInt() == 1;
    const QVariant animations =
        portalSetting(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("enable-animations"));
    return animations.isValid() && !animations.toBool();
}
