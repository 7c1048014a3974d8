// SPDX-License-Identifier: MIT
// A separate program standing in for a later (or a competing) start of Verasco in the hand-off tests.
//
// handoff_helper KEY EXPECTED [PATH...]
// If no instance runs under KEY it becomes the first one: it prints "FIRST", then "OWN <path>" for its
// own paths, "RAISE" for each raise request and "PATH <path>" for each path handed to it, and exits
// at the raise request that follows EXPECTED paths (EXPECTED -1: runs until killed). Otherwise it hands its
// paths over, prints "FORWARDED" and exits with 0, or prints "FAILED" and exits with 2.

#include "instance_handoff.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

namespace {

void say(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 64;
    const QString key = args[1];
    const int expected = args[2].toInt();
    const QStringList paths = args.mid(3);

    InstanceHandoff handoff(key, nullptr);
    if (!handoff.becomeFirstInstance()) {
        const bool ok = handoff.forwardToFirstInstance(paths);
        say(ok ? QStringLiteral("FORWARDED") : QStringLiteral("FAILED"));
        return ok ? 0 : 2;
    }
    say(QStringLiteral("FIRST"));
    for (const QString& path : paths)
        say(QStringLiteral("OWN ") + path);
    int received = 0;
    QObject::connect(&handoff, &InstanceHandoff::raiseRequested, &app, [&] {
        say(QStringLiteral("RAISE"));
        if (received == expected)
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    QObject::connect(&handoff, &InstanceHandoff::pathReceived, &app, [&](const QString& path) {
        say(QStringLiteral("PATH ") + path);
        ++received;
    });
    if (expected == 0)
        return 0;
    // Never outlive a test that has gone wrong.
    QTimer::singleShot(60000, &app, [] { QCoreApplication::exit(3); });
    return app.exec();
}
