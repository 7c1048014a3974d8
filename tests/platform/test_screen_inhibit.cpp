// SPDX-License-Identifier: MIT
// The screen inhibit on a session bus of the test's own, where fakes of the screen saver and the
// portal take the calls: each asked, in that order, and given back on release.
#include "condition_wait.h"
#include "qt_application_environment.h"
#include "screen_inhibit.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>
#include <gtest/gtest.h>

#include <utility>

namespace {

testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QCoreApplication>);

// What the fakes were asked, in order.
QStringList calls;

// The screen saver, the portal and the portal's request for its inhibit, each on its path.
class Fakes : public QObject {
    Q_OBJECT
  public slots:
    uint Inhibit(const QString&, const QString& reason) {
        calls << QStringLiteral("Inhibit ") + reason;
        return 42;
    }
    void UnInhibit(uint cookie) { calls << QStringLiteral("UnInhibit %1").arg(cookie); }
    QDBusObjectPath Inhibit(const QString&, uint flags, const QVariantMap& options) {
        calls << QStringLiteral("Portal %1 ").arg(flags) + options.value(QStringLiteral("reason")).toString();
        return QDBusObjectPath(QStringLiteral("/org/freedesktop/portal/desktop/request/1/t"));
    }
    void Close() { calls << QStringLiteral("Close"); }
};

// A bus that starts no services of the machine: only the fakes answer.
const char* const BusConfig = R"(<busconfig><type>session</type><listen>unix:tmpdir=%1</listen>
<policy context="default"><allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/></policy>
</busconfig>)";

TEST(ScreenInhibit, AsksTheScreenSaverOrElseThePortalAndGivesItBack) {
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("bus.conf")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QString::fromLatin1(BusConfig).arg(dir.path()).toUtf8());
    config.close();
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                  QStringLiteral("--print-address")});
    if (!daemon.waitForStarted() || !daemon.waitForReadyRead(ConditionWaitMs))
        GTEST_SKIP() << "dbus-daemon (dbus-daemon) is needed for a session bus of the test's own";
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    QDBusConnection fakes = QDBusConnection::connectToBus(address, QStringLiteral("fakes"));
    ASSERT_TRUE(fakes.isConnected());
    Fakes fakeObjects;
    for (const auto& [path, interface] :
         {std::pair{"/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver"},
          std::pair{"/org/freedesktop/portal/desktop", "org.freedesktop.portal.Inhibit"},
          std::pair{"/org/freedesktop/portal/desktop/request/1/t", "org.freedesktop.portal.Request"}})
        ASSERT_TRUE(fakes.registerObject(QLatin1String(path), QLatin1String(interface), &fakeObjects,
                                         QDBusConnection::ExportAllSlots));

    const struct {
        const char* service; // the one the bus has, if any
        QStringList expected;
    } rows[] = {{"org.freedesktop.ScreenSaver", {"Inhibit show", "UnInhibit 42"}},
                {"org.freedesktop.portal.Desktop", {"Portal 8 show", "Close"}},
                {"", {}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.service);
        const QString service = QLatin1String(row.service);
        ASSERT_TRUE(service.isEmpty() || fakes.registerService(service));
        calls.clear();
        const auto seen = [&](qsizetype count) {
            return QTest::qWaitFor([&] { return calls.size() >= count; }, ConditionWaitMs);
        };
        {
            ScreenInhibit inhibit(QStringLiteral("show"));
            inhibit.hold();
            inhibit.hold();
            EXPECT_TRUE(seen(qMin<qsizetype>(1, row.expected.size())));
            inhibit.release();
            EXPECT_TRUE(seen(row.expected.size()));
            EXPECT_EQ(calls, row.expected);
            // Held and gone before the answer: given back when it comes.
            calls.clear();
            inhibit.hold();
        }
        EXPECT_TRUE(seen(row.expected.size()));
        EXPECT_EQ(calls, row.expected);
        if (!service.isEmpty())
            fakes.unregisterService(service);
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("fakes"));
    daemon.kill();
    daemon.waitForFinished();
}

} // namespace

#include "test_screen_inhibit.moc"
