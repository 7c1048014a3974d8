// SPDX-License-Identifier: MIT
#include "headless_browser.h"

#include "share_test_support.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int AnswerMs = 60000;

// A pipe whose ends lie above the descriptors the browser is given them on (3 and 4), so that
// moving them there never clobbers one with the other.
bool highPipe(int ends[2]) {
    int raw[2];
    if (pipe(raw) != 0)
        return false;
    for (int i = 0; i < 2; ++i) {
        ends[i] = fcntl(raw[i], F_DUPFD_CLOEXEC, 10);
        close(raw[i]);
    }
    return ends[0] >= 0 && ends[1] >= 0;
}

} // namespace

HeadlessBrowser::HeadlessBrowser(const QStringList& switches) {
    const QString program = peerProgram("chromium");
    int in[2], out[2]; // the browser reads descriptor 3 and writes descriptor 4
    if (program.isEmpty() || !profile_.isValid() || !highPipe(in) || !highPipe(out))
        return;
    QStringList arguments = {"chromium",
                             "--headless",
                             "--disable-gpu",
                             "--disable-quic",
                             "--no-first-run",
                             "--disable-background-networking",
                             "--disable-component-update",
                             "--disable-sync",
                             "--mute-audio",
                             "--remote-debugging-pipe",
                             "--user-data-dir=" + profile_.path()};
    if (geteuid() == 0)
        arguments << "--no-sandbox";
    arguments << switches << "about:blank";
    std::vector<QByteArray> bytes;
    for (const QString& a : arguments)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Its own chatter about the machine goes nowhere. First: /dev/null may have been given descriptor
    // 3 or 4, which the pipes take next.
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    posix_spawn_file_actions_adddup2(&actions, devNull, 2);
    posix_spawn_file_actions_adddup2(&actions, in[0], 3);
    posix_spawn_file_actions_adddup2(&actions, out[1], 4);
    const QByteArray path = QFile::encodeName(program);
    if (posix_spawn(&pid_, path.constData(), &actions, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(devNull);
    close(in[0]);
    close(out[1]);
    toBrowser_ = in[1];
    fromBrowser_ = out[0];
}

HeadlessBrowser::~HeadlessBrowser() {
    if (toBrowser_ >= 0)
        close(toBrowser_);
    if (fromBrowser_ >= 0)
        close(fromBrowser_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

void HeadlessBrowser::note(const QJsonObject& message) {
    if (message[QLatin1String("method")].toString() == QLatin1String("Network.requestWillBeSent"))
        requests_
            << message[QLatin1String("params")][QLatin1String("request")][QLatin1String("url")].toString();
}

QJsonObject HeadlessBrowser::waitFor(const std::function<bool(const QJsonObject&)>& match) {
    QDeadlineTimer deadline(AnswerMs);
    for (;;) {
        for (qsizetype end; (end = received_.indexOf('\0')) >= 0;) {
            const QJsonObject message = QJsonDocument::fromJson(received_.left(end)).object();
            received_.remove(0, end + 1);
            note(message);
            if (match(message))
                return message;
        }
        pollfd ready{fromBrowser_, POLLIN, 0};
        if (deadline.hasExpired() || poll(&ready, 1, int(qMin<qint64>(deadline.remainingTime(), 1000))) < 0)
            return {};
        if (!(ready.revents & (POLLIN | POLLHUP)))
            continue;
        char buffer[65536];
        const ssize_t got = read(fromBrowser_, buffer, sizeof buffer);
        if (got <= 0)
            return {};
        received_.append(buffer, got);
    }
}

QJsonObject HeadlessBrowser::call(const QString& method, const QJsonObject& params, bool inTab) {
    if (!isRunning())
        return {};
    const int id = ++nextId_;
    QJsonObject message{{"id", id}, {"method", method}, {"params", params}};
    if (inTab)
        message[QLatin1String("sessionId")] = session_;
    const QByteArray bytes = QJsonDocument(message).toJson(QJsonDocument::Compact) + '\0';
    if (write(toBrowser_, bytes.constData(), size_t(bytes.size())) != bytes.size())
        return {};
    return waitFor([id](const QJsonObject& m) { return m[QLatin1String("id")].toInt() == id; })
        .value(QLatin1String("result"))
        .toObject();
}

bool HeadlessBrowser::open(const QString& url, QSize size, int ms) {
    const QString target =
        call("Target.createTarget", {{"url", "about:blank"}}, false)[QLatin1String("targetId")].toString();
    session_ = call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}},
                    false)[QLatin1String("sessionId")]
                   .toString();
    if (session_.isEmpty())
        return false;
    requests_.clear();
    call("Network.enable");
    call("Page.enable");
    call("Emulation.setDeviceMetricsOverride",
         {{"width", size.width()}, {"height", size.height()}, {"deviceScaleFactor", 1}, {"mobile", false}});
    call("Emulation.setVirtualTimePolicy", {{"policy", "pause"}});
    call("Page.navigate", {{"url", url}});
    return run(ms);
}

bool HeadlessBrowser::run(int ms) {
    call("Emulation.setVirtualTimePolicy", {{"policy", "pauseIfNetworkFetchesPending"}, {"budget", ms}});
    return !waitFor([](const QJsonObject& m) {
                return m[QLatin1String("method")].toString() ==
                       QLatin1String("Emulation.virtualTimeBudgetExpired");
            }).isEmpty();
}

QImage HeadlessBrowser::screenshot() {
    const QByteArray png = QByteArray::fromBase64(
        call("Page.captureScreenshot", {{"format", "png"}})[QLatin1String("data")].toString().toLatin1());
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

QJsonValue HeadlessBrowser::evaluate(const QString& expression) {
    return call("Runtime.evaluate",
                {{"expression", expression}, {"returnByValue", true}})[QLatin1String("result")]
        .toObject()
        .value(QLatin1String("value"));
}

void HeadlessBrowser::click(QPoint point) {
    for (const char* type : {"mousePressed", "mouseReleased"})
        call("Input.dispatchMouseEvent",
             {{"type", type}, {"x", point.x()}, {"y", point.y()}, {"button", "left"}, {"clickCount", 1}});
}
