// SPDX-License-Identifier: MIT
#include "appearance.h"

#include "deferred_icon_style.h"
#include "desktop_settings.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>

namespace {

struct PlatformLook {
    QString styleName;
    QPalette palette;
};

// The style and palette the platform gave the program, taken before the first change.
const PlatformLook& platformLook() {
    static const PlatformLook look = [] {
        QStyle* style = QApplication::style();
        if (auto* proxy = qobject_cast<QProxyStyle*>(style))
            style = proxy->baseStyle();
        return PlatformLook{style->name(), QApplication::palette()};
    }();
    return look;
}

enum class Look { Platform, Light, Dark };

Look lookFor(const QString& appearance) {
    if (appearance == QLatin1String("Dark"))
        return Look::Dark;
    if (appearance == QLatin1String("Light"))
        return Look::Light;
    switch (desktopColorScheme()) {
    case ColorScheme::Dark:
        return Look::Dark;
    case ColorScheme::Light:
        return Look::Light;
    case ColorScheme::None:
        break;
    }
    return Look::Platform;
}

const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString PortalSettings = QStringLiteral("org.freedesktop.portal.Settings");

// The appearance the program was last given; "System" follows the desktop while the program runs.
QString& chosenAppearance() {
    static QString chosen;
    return chosen;
}

// Takes the portal's word that the desktop's colour scheme changed and looks again, when the
// program follows the desktop.
class SchemeWatcher : public QObject {
    Q_OBJECT
  public:
    static void start() {
        static SchemeWatcher* watcher = nullptr;
        if (watcher)
            return;
        watcher = new SchemeWatcher(qApp);
        QDBusConnection::sessionBus().connect(QString(), PortalPath, PortalSettings,
                                              QStringLiteral("SettingChanged"), watcher,
                                              SLOT(settingChanged(QDBusMessage)));
    }

  private:
    using QObject::QObject;

  private slots:
    void settingChanged(const QDBusMessage& message) {
        const QList<QVariant> arguments = message.arguments();
        if (arguments.size() >= 2 && arguments[0].toString() == QLatin1String("org.freedesktop.appearance") &&
            arguments[1].toString() == QLatin1String("color-scheme"))
            applyAppearance(chosenAppearance());
    }
};

} // namespace

ColorScheme desktopColorScheme() {
    switch (portalSetting(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"))
                .toUInt()) {
    case 1:
        return ColorScheme::Dark;
    case 2:
        return ColorScheme::Light;
    default:
        return ColorScheme::None;
    }
}

QPalette darkPalette() {
    const QColor window(53, 53, 53);
    const QColor base(36, 36, 36);
    const QColor text(230, 230, 230);
    const QColor disabled(127, 127, 127);
    const QColor highlight(42, 130, 218);
    QPalette p(text, window, window.lighter(150), window.darker(200), window.darker(150), text, text, base,
               window);
    p.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, highlight.lighter(130));
    p.setColor(QPalette::LinkVisited, highlight.lighter(110));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    p.setColor(QPalette::Disabled, QPalette::Highlight, window.lighter(130));
    return p;
}

QPalette lightPalette() {
    QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    const QPalette palette = fusion ? fusion->standardPalette() : QPalette(Qt::white);
    delete fusion;
    return palette;
}

void applyAppearance(const QString& appearance) {
    static Look current = Look::Platform;
    const PlatformLook& platform = platformLook();
    chosenAppearance() = appearance;
    SchemeWatcher::start();
    const Look look = lookFor(appearance);
    if (look == current)
        return;
    current = look;
    if (look == Look::Platform) {
        QApplication::setStyle(new DeferredIconStyle(platform.styleName));
        QApplication::setPalette(platform.palette);
        return;
    }
    QApplication::setStyle(new DeferredIconStyle(QStringLiteral("Fusion")));
    QApplication::setPalette(look == Look::Dark ? darkPalette() : lightPalette());
}

#include "appearance.moc"
