// SPDX-License-Identifier: MIT
#pragma once
// The desktop's own settings, as the freedesktop settings portal (org.freedesktop.portal.Settings on
// the session bus) tells them; nothing without a bus or a portal.

#include <QString>
#include <QVariant>

// The value of `key` in the portal's `group` (unwrapped); invalid when the portal does not say.
QVariant portalSetting(const QString& group, const QString& key);

// Whether the desktop asks programs to reduce motion: its appearance's "reduced-motion", or GNOME's
// "enable-animations" switched off; false when it says neither.
bool desktopReducesMotion();
