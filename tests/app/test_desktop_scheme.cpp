// SPDX-License-Identifier: MIT
// The appearance "System" follows the desktop's colour scheme while the program runs. The desktop's
// side is played on a session bus of the test's own: its settings portal answers the scheme and
// announces a change as a desktop does.

#include "appearance.h"
#include "qt_application_environment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <atomic>

namespace {

constexpr int ConditionWaitMs = 60000;
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString PortalSettings = QStringLiteral("org.freedesktop.portal.Settings");

// A session bus for this test program alone, started before the application so that the program's
// session bus is this one.
class PrivateBus : public testing::Environment {
  public:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            return;
        daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                      QStringLiteral("--print-address=1")});
        if (daemon_.waitForReadyRead(ConditionWaitMs))
            address = QString::fromUtf8(daemon_.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    }
    void TearDown() override {
        daemon_.kill();
        daemon_.waitForFinished();
    }
    QString address;

  private:
    QProcess daemon_;
};

PrivateBus* const bus = static_cast<PrivateBus*>(testing::AddGlobalTestEnvironment(new PrivateBus));
testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

// The desktop's settings portal: "color-scheme" is 1 for dark, 2 for light. It answers on a thread of
// its own, as a desktop's portal answers from its own process while the program waits.
class Portal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
  public:
    explicit Portal(QDBusConnection connection) : connection_(connection) {}
    std::atomic<uint> scheme = 2;

    void change(uint to) {
        scheme = to;
        QDBusMessage changed =
            QDBusMessage::createSignal(PortalPath, PortalSettings, QStringLiteral("SettingChanged"));
        changed << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme")
                << QVariant::fromValue(QDBusVariant(scheme.load()));
        connection_.send(changed);
    }

  public slots:
    QDBusVariant Read(const QString& group, const QString& key) {
        if (group == QLatin1String("org.freedesktop.appearance") && key == QLatin1String("color-scheme"))
            return QDBusVariant(QVariant::fromValue(QDBusVariant(scheme.load())));
        return QDBusVariant(0u);
    }

  private:
    QDBusConnection connection_;
};

QColor base() {
    return QApplication::palette().color(QPalette::Base);
}

TEST(DesktopScheme, SystemFollowsTheDesktopsChangeAndTheOtherChoicesStayAsChosen) {
    if (bus->address.isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed (scripts/deps installs dbus)";
    QDBusConnection desktop = QDBusConnection::connectToBus(bus->address, QStringLiteral("desktop"));
    ASSERT_TRUE(desktop.isConnected());
    Portal portal(desktop);
    QThread answering;
    portal.moveToThread(&answering);
    answering.start();
    const auto stop = qScopeGuard([&] {
        answering.quit();
        answering.wait();
    });
    ASSERT_TRUE(desktop.registerObject(PortalPath, &portal, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(desktop.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));

    applyAppearance(QStringLiteral("System"));
    EXPECT_EQ(base(), lightPalette().color(QPalette::Base)) << "the desktop is light at start";

    portal.change(1);
    ASSERT_TRUE(
        QTest::qWaitFor([] { return base() == darkPalette().color(QPalette::Base); }, ConditionWaitMs))
        << "the desktop turned dark";
    portal.change(2);
    ASSERT_TRUE(
        QTest::qWaitFor([] { return base() == lightPalette().color(QPalette::Base); }, ConditionWaitMs))
        << "the desktop turned light again";

    applyAppearance(QStringLiteral("Dark"));
    portal.change(2);
    // The change is seen once the portal's next answer is the one read: a round trip on the bus.
    portal.change(1);
    portal.change(2);
    QDBusMessage ping = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.portal.Desktop"),
                                                       PortalPath, PortalSettings, QStringLiteral("Read"));
    ping << QStringLiteral("none") << QStringLiteral("none");
    QDBusConnection::sessionBus().call(ping, QDBus::Block, ConditionWaitMs);
    QCoreApplication::processEvents();
    EXPECT_EQ(base(), darkPalette().color(QPalette::Base)) << "Dark stays dark whatever the desktop does";
}

} // namespace

#include "test_desktop_scheme.moc"
