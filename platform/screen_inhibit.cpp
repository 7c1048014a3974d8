// SPDX-License-Identifier: MIT
#include "screen_inhibit.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include <functional>

struct ScreenInhibit::State {
    QString reason;
    bool wanted = false;
    bool asking = false;
    uint cookie = 0; // the screen saver's inhibit, when it gave one
    QString request; // the portal's inhibit, when it gave one
};

namespace {

using State = ScreenInhibit::State;

const QString ScreenSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString ScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString Portal = QStringLiteral("org.freedesktop.portal.Desktop");
constexpr uint PortalIdle = 8; // the portal's flag: the session is not to go idle

// Sends `call` and gives its answer to `done` when it comes.
void callThen(const QDBusMessage& call, const std::function<void(const QDBusPendingCall&)>& done) {
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [watcher, done] {
        done(*watcher);
        watcher->deleteLater();
    });
}

void giveBack(State& state) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (state.cookie != 0) {
        QDBusMessage call = QDBusMessage::createMethodCall(ScreenSaver, ScreenSaverPath, ScreenSaver,
                                                           QStringLiteral("UnInhibit"));
        call << state.cookie;
        bus.send(call);
        state.cookie = 0;
    }
    if (!state.request.isEmpty()) {
        bus.send(QDBusMessage::createMethodCall(Portal, state.request,
                                                QStringLiteral("org.freedesktop.portal.Request"),
                                                QStringLiteral("Close")));
        state.request.clear();
    }
}

void askPortal(const std::shared_ptr<State>& state) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        Portal, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
    call << QString() << PortalIdle << QVariantMap{{QStringLiteral("reason"), state->reason}};
    callThen(call, [state](const QDBusPendingCall& answer) {
        const QDBusPendingReply<QDBusObjectPath> reply = answer;
        state->asking = false;
        if (reply.isError())
            return;
        state->request = reply.value().path();
        if (!state->wanted)
            giveBack(*state);
    });
}

void askScreenSaver(const std::shared_ptr<State>& state) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(ScreenSaver, ScreenSaverPath, ScreenSaver, QStringLiteral("Inhibit"));
    call << QCoreApplication::applicationName() << state->reason;
    callThen(call, [state](const QDBusPendingCall& answer) {
        const QDBusPendingReply<uint> reply = answer;
        if (reply.isError()) {
            askPortal(state);
            return;
        }
        state->asking = false;
        state->cookie = reply.value();
        if (!state->wanted)
            giveBack(*state);
    });
}

} // namespace

ScreenInhibit::ScreenInhibit(const QString& reason) : state_(std::make_shared<State>()) {
    state_->reason = reason;
}

ScreenInhibit::~ScreenInhibit() {
    release();
}

void ScreenInhibit::hold() {
    state_->wanted = true;
    if (state_->asking || state_->cookie != 0 || !state_->request.isEmpty() ||
        !QDBusConnection::sessionBus().isConnected())
        return;
    state_->asking = true;
    askScreenSaver(state_);
}

void ScreenInhibit::release() {
    state_->wanted = false;
    if (!state_->asking)
        giveBack(*state_);
}
