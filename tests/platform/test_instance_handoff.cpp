// SPDX-License-Identifier: MIT
// The hand-off between a running instance and later starts, with the later starts played by a real
// second process (handoff_helper).

#include "instance_handoff.h"
#include "qt_application_environment.h"
#include "sanitizers.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

using testing::ElementsAre;

namespace {

testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QCoreApplication>);

constexpr int ProcessTimeoutMs = 30000;

QString uniqueKey(const char* test) {
    return QStringLiteral("verasco-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(test);
}

std::unique_ptr<QProcess> startHelper(const QString& key, int expected, const QStringList& paths) {
    auto process = std::make_unique<QProcess>();
    process->setProgram(QStringLiteral(HANDOFF_HELPER));
    process->setArguments(QStringList{key, QString::number(expected)} + paths);
    process->start();
    return process;
}

QStringList outputLines(QProcess& process) {
    return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Waits for the helper to end while this process's event loop keeps running, so that an instance
// living in this process can answer it.
QStringList finishWithEventLoop(QProcess& process) {
    if (process.state() != QProcess::NotRunning) {
        QSignalSpy finished(&process, &QProcess::finished);
        EXPECT_TRUE(finished.wait(ProcessTimeoutMs)) << "helper did not finish";
    }
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return outputLines(process);
}

// Each message on the socket: a 4-byte little-endian length, then the payload.
QByteArray frame(const QByteArray& payload) {
    QByteArray bytes;
    const auto n = static_cast<quint32>(payload.size());
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(static_cast<char>((n >> shift) & 0xFF));
    return bytes + payload;
}

// A socket address for the path (tests use short temporary paths).
sockaddr_un addressOf(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(),
                std::min(sizeof address.sun_path - 1, size_t(name.size())));
    return address;
}

struct FirstInstance {
    explicit FirstInstance(const QString& key)
        : handoff(key, nullptr), raises(&handoff, &InstanceHandoff::raiseRequested),
          paths(&handoff, &InstanceHandoff::pathReceived) {
        QObject::connect(&handoff, &InstanceHandoff::raiseRequested, [this] { events.append("raise"); });
        QObject::connect(&handoff, &InstanceHandoff::pathReceived,
                         [this](const QString& p) { events.append(p); });
    }
    QStringList receivedPaths() const {
        QStringList list;
        for (const QList<QVariant>& call : paths)
            list.append(call.at(0).toString());
        return list;
    }
    InstanceHandoff handoff;
    QSignalSpy raises;
    QSignalSpy paths;
    QStringList events; // raise requests and paths in the order they arrived
};

// A later start raises the first instance before its paths and again after them; without paths it
// only raises.
TEST(InstanceHandoff, SecondStartForwardsItsPathsInOrderAndExits) {
    const QString longPath =
        QStringLiteral("/tmp/") + QString(300, QLatin1Char('x')) + QStringLiteral(".jpg");
    const QStringList paths{QStringLiteral("/tmp/one.jpg"), QStringLiteral("/tmp/my pictures/Two.PNG"),
                            QString::fromUtf8("/tmp/\xC3\xA9t\xC3\xA9/three.bmp"), longPath};
    const std::pair<QStringList, QStringList> rows[] = {
        {paths, {"raise", paths[0], paths[1], paths[2], longPath, "raise"}},
        {{}, {"raise", "raise"}},
    };
    for (const auto& [arguments, events] : rows) {
        FirstInstance first(uniqueKey("forward"));
        ASSERT_TRUE(first.handoff.becomeFirstInstance());
        auto helper = startHelper(first.handoff.key(), 0, arguments);
        EXPECT_THAT(finishWithEventLoop(*helper), ElementsAre("FORWARDED"));
        EXPECT_EQ(helper->exitCode(), 0);
        EXPECT_EQ(first.events, events);
    }
}

TEST(InstanceHandoff, MalformedMessagesAreAnsweredAndIgnored) {
    FirstInstance first(uniqueKey("malformed"));
    ASSERT_TRUE(first.handoff.becomeFirstInstance());

    QLocalSocket client;
    client.connectToServer(first.handoff.socketPath());
    ASSERT_TRUE(client.waitForConnected(ProcessTimeoutMs));
    const QByteArray good = frame(encodeHandoffRecord(QStringLiteral("/tmp/good.png")));
    QByteArray shortRecord(100, '\0');
    shortRecord[0] = static_cast<char>(200); // length byte runs past the record
    client.write(frame(shortRecord));
    client.write(frame(QByteArray(257, 'a')));
    client.write(frame(QByteArray()));
    client.write(good.left(100)); // a record that arrives in two pieces
    client.flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.bytesAvailable() >= 3; }, ProcessTimeoutMs));
    client.write(good.mid(100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.bytesAvailable() >= 4; }, ProcessTimeoutMs));
    EXPECT_EQ(client.readAll(), QByteArray("\x00\x00\x01\x01", 4));
    EXPECT_EQ(first.raises.count(), 1);
    EXPECT_THAT(first.receivedPaths(), ElementsAre("/tmp/good.png"));

    // A length no hand-off ever has: the connection is dropped, and the instance still serves others.
    QLocalSocket rogue;
    rogue.connectToServer(first.handoff.socketPath());
    ASSERT_TRUE(rogue.waitForConnected(ProcessTimeoutMs));
    rogue.write(QByteArray("\xff\xff\xff\x7f", 4));
    rogue.flush();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return rogue.state() == QLocalSocket::UnconnectedState; }, ProcessTimeoutMs));
    auto helper = startHelper(first.handoff.key(), 0, {QStringLiteral("/tmp/after.png")});
    EXPECT_THAT(finishWithEventLoop(*helper), ElementsAre("FORWARDED"));
    EXPECT_THAT(first.receivedPaths(), ElementsAre("/tmp/good.png", "/tmp/after.png"));
}

TEST(InstanceHandoff, RecordsArrivingWhileASlotRunsAreHandledAfterItInOrder) {
    FirstInstance first(uniqueKey("nested"));
    ASSERT_TRUE(first.handoff.becomeFirstInstance());
    QLocalSocket client; // sends the later records without waiting for the answers
    client.connectToServer(first.handoff.socketPath());
    ASSERT_TRUE(client.waitForConnected(ProcessTimeoutMs));
    const QByteArray rest = frame(encodeHandoffRecord(QStringLiteral("/tmp/2.png"))) +
                            frame(encodeHandoffRecord(QStringLiteral("/tmp/3.png")));
    int depth = 0;
    int deepest = 0;
    // Like the program's image loading, the slot keeps the event loop running while it works; the
    // records sent meanwhile reach the instance during that loop and must wait for the slot to end.
    QObject::connect(
        &first.handoff, &InstanceHandoff::pathReceived, &first.handoff, [&](const QString& path) {
            deepest = std::max(deepest, ++depth);
            if (path == QLatin1String("/tmp/1.png")) {
                client.write(rest);
                client.flush();
                const auto* serverSide = first.handoff.findChild<HandoffConnection*>();
                EXPECT_TRUE(
                    QTest::qWaitFor([&] { return serverSide && serverSide->pendingBytes() >= rest.size(); },
                                    ProcessTimeoutMs));
            }
            --depth;
        });

    client.write(frame(encodeHandoffRecord(QStringLiteral("/tmp/1.png"))));
    client.flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.bytesAvailable() >= 3; }, ProcessTimeoutMs));
    EXPECT_EQ(client.readAll(), QByteArray("\x01\x01\x01"));
    EXPECT_THAT(first.receivedPaths(), ElementsAre("/tmp/1.png", "/tmp/2.png", "/tmp/3.png"));
    EXPECT_EQ(deepest, 1);
}

TEST(InstanceHandoff, RecordsSentAllAtOnceLetTheEventLoopRunBetweenThem) {
    FirstInstance first(uniqueKey("burst"));
    ASSERT_TRUE(first.handoff.becomeFirstInstance());
    QLocalSocket client;
    client.connectToServer(first.handoff.socketPath());
    ASSERT_TRUE(client.waitForConnected(ProcessTimeoutMs));
    constexpr int Records = 100;
    QByteArray burst;
    for (int i = 0; i < Records; ++i)
        burst += frame(encodeHandoffRecord(QStringLiteral("/tmp/%1.png").arg(i)));
    // What the window would do between two records (repaint, take a click) is queued at the first.
    int handledBeforeTheWindowRan = -1;
    QObject::connect(&first.handoff, &InstanceHandoff::pathReceived, &first.handoff, [&] {
        if (first.paths.count() == 1)
            QTimer::singleShot(0, &first.handoff,
                               [&] { handledBeforeTheWindowRan = int(first.paths.count()); });
    });
    client.write(burst);
    client.flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.bytesAvailable() >= Records; }, ProcessTimeoutMs));
    EXPECT_EQ(client.readAll(), QByteArray(Records, '\x01'));
    EXPECT_EQ(first.receivedPaths().size(), Records);
    EXPECT_EQ(first.receivedPaths().back(), QStringLiteral("/tmp/99.png"));
    EXPECT_GE(handledBeforeTheWindowRan, 1);
    EXPECT_LT(handledBeforeTheWindowRan, Records);
}

// Connections from a process of the same user, made but never used: each only keeps a place.
std::vector<int> idleClients(const QString& socketPath, int count) {
    const sockaddr_un address = addressOf(socketPath);
    std::vector<int> clients;
    for (int i = 0; i < count; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        // The listen queue is short: wait for the instance to take the connections made before.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0; },
            ProcessTimeoutMs));
        clients.push_back(fd);
    }
    return clients;
}

int servedConnections(const InstanceHandoff& handoff) {
    return int(handoff.findChildren<HandoffConnection*>().size());
}

// Connections of a process of this user that hold places: each made and never used, or sending a
// raise request every 200 ms for as long as it lives.
struct SlowClients {
    SlowClients(const QString& socketPath, int count, bool raiseOften) : fds(idleClients(socketPath, count)) {
        QObject::connect(&tick, &QTimer::timeout, [this] {
            for (int fd : fds)
                ::send(fd, "\0\0\0\0", 4, MSG_NOSIGNAL);
        });
        if (raiseOften)
            tick.start(200);
    }
    ~SlowClients() {
        for (int fd : fds)
            ::close(fd);
    }
    std::vector<int> fds;
    QTimer tick;
};

// However the places are held, a later start hands over once the holders are dropped, or, with no
// instance taking it, says so and ends with an error; it never waits without end.
TEST(InstanceHandoff, ConnectionsAreCappedAndSlowOnesDoNotBlockALaterStart) {
    const struct {
        const char* name;
        bool raiseOften;
        int clients;
        bool served; // whether the instance's event loop runs while the later start waits
    } rows[] = {
        {"connections that bring nothing", false, InstanceHandoff::MaxConnections + 8, true},
        {"connections that raise often", true, InstanceHandoff::MaxConnections + 8, true},
        {"an instance that takes no connection", false, 0, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FirstInstance first(uniqueKey("crowd"));
        first.handoff.setConnectionTimeoutMs(1000);
        ASSERT_TRUE(first.handoff.becomeFirstInstance());
        SlowClients clients(first.handoff.socketPath(), row.clients, row.raiseOften);
        QTest::qWait(50);
        EXPECT_EQ(servedConnections(first.handoff), std::min(row.clients, InstanceHandoff::MaxConnections));
        auto helper = startHelper(first.handoff.key(), 0, {QStringLiteral("/tmp/after.png")});
        if (!row.served) {
            ASSERT_TRUE(helper->waitForFinished(ProcessTimeoutMs)) << "the later start hangs";
            EXPECT_THAT(outputLines(*helper), ElementsAre("FAILED"));
            EXPECT_EQ(helper->exitCode(), 2);
            EXPECT_TRUE(helper->readAllStandardError().contains("did not take this start"));
            continue;
        }
        EXPECT_THAT(finishWithEventLoop(*helper), ElementsAre("FORWARDED"));
        EXPECT_THAT(first.receivedPaths(), ElementsAre("/tmp/after.png"));
        // Those that hold places are dropped, also those left waiting in the queue.
        EXPECT_TRUE(QTest::qWaitFor([&] { return servedConnections(first.handoff) == 0; }, ProcessTimeoutMs));
    }
}

// A process that connects and sends `bytes` of records without waiting for an answer, as fast as
// the instance takes them; it ends with 0 when all are sent, with 3 when the instance dropped it.
pid_t floodingClient(const QString& socketPath, qsizetype bytes) {
    const sockaddr_un address = addressOf(socketPath);
    QByteArray records;
    while (records.size() < 64 * 1024)
        records += frame(encodeHandoffRecord(QStringLiteral("/tmp/flood.png")));
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        ::_exit(2);
    for (qsizetype sent = 0; sent < bytes;) {
        const ssize_t n =
            ::send(fd, records.constData(), size_t(std::min(records.size(), bytes - sent)), MSG_NOSIGNAL);
        if (n <= 0)
            ::_exit(3);
        sent += n;
    }
    ::_exit(0);
}

// Runs the event loop without pause until the condition holds or the time is out; whether it holds.
bool turnUntil(const std::function<bool()>& condition, int timeoutMs) {
    bool met = false;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if ((met = condition()))
            loop.quit();
    });
    look.start(0);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return met;
}

// However much later starts send without waiting for the answers, the instance keeps no more of it
// than may wait, for each connection and for all; it drops a connection that brings more, and goes
// on serving real later starts.
TEST(InstanceHandoff, WhatWaitsToBeHandledIsBoundedPerConnectionAndInAll) {
    const struct {
        const char* name;
        int clients;
        qsizetype bytesEach;
        int leastDropped;
    } rows[] = {
        {"one client sending 256 MB", 1, 256 * 1024 * 1024, 1},
        {"eight clients each sending less than a connection may", 8,
         InstanceHandoff::MaxPendingPerConnection - 64 * 1024, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FirstInstance first(uniqueKey("flood"));
        ASSERT_TRUE(first.handoff.becomeFirstInstance());
        qsizetype mostPerConnection = 0, mostInAll = 0;
        QTimer watch; // looks at what waits each time the event loop turns
        QObject::connect(&watch, &QTimer::timeout, [&] {
            qsizetype all = 0;
            for (const HandoffConnection* c : first.handoff.findChildren<HandoffConnection*>()) {
                mostPerConnection = std::max(mostPerConnection, c->pendingBytes());
                all += c->pendingBytes();
            }
            mostInAll = std::max(mostInAll, all);
        });
        watch.start(0);
        std::vector<pid_t> clients;
        for (int i = 0; i < row.clients; ++i)
            clients.push_back(floodingClient(first.handoff.socketPath(), row.bytesEach));
        int dropped = 0;
        for (pid_t client : clients) {
            int status = -1;
            EXPECT_TRUE(
                turnUntil([&] { return ::waitpid(client, &status, WNOHANG) == client; }, ProcessTimeoutMs));
            EXPECT_TRUE(WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 3))
                << status;
            dropped += WIFEXITED(status) && WEXITSTATUS(status) == 3;
        }
        EXPECT_TRUE(turnUntil([&] { return servedConnections(first.handoff) == 0; }, ProcessTimeoutMs));
        watch.stop();
        EXPECT_GE(dropped, row.leastDropped);
        EXPECT_LE(mostPerConnection, InstanceHandoff::MaxPendingPerConnection);
        EXPECT_LE(mostInAll, InstanceHandoff::MaxPendingBytes);
        const qsizetype handled = first.paths.count();
        auto helper = startHelper(first.handoff.key(), 0, {QStringLiteral("/tmp/after.png")});
        EXPECT_THAT(finishWithEventLoop(*helper), ElementsAre("FORWARDED"));
        EXPECT_EQ(first.paths.count(), handled + 1);
    }
}

// How many times the event loop turned while it ran for `ms`: one kept busy by a socket that is
// ready again at once turns thousands of times, an idle one a few.
int eventLoopTurns(int ms) {
    int turns = 0;
    QEventLoop loop;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                     [&] { ++turns; });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return turns;
}

TEST(InstanceHandoff, WithoutAFreeFileDescriptorAcceptingPausesAndThenResumes) {
#ifdef VERASCO_TEST_SANITIZED
    GTEST_SKIP() << "the sanitizers need file descriptors of their own to check the program";
#endif
    FirstInstance first(uniqueKey("nofiles"));
    ASSERT_TRUE(first.handoff.becomeFirstInstance());
    // The client's socket takes the last descriptor the process may have: the instance has none
    // left to accept it with.
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    rlimit old{};
    ::getrlimit(RLIMIT_NOFILE, &old);
    rlimit tight = old;
    tight.rlim_cur = rlim_t(lowestFree) + 1;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    QLocalSocket client;
    client.connectToServer(first.handoff.socketPath());
    const bool connected = client.waitForConnected(ProcessTimeoutMs);
    const int turns = eventLoopTurns(300);
    ::setrlimit(RLIMIT_NOFILE, &old);
    ASSERT_TRUE(connected);
    EXPECT_LT(turns, 100) << "accepting was tried again at once, over and over";
    client.write(frame(QByteArray()));
    client.flush();
    EXPECT_TRUE(QTest::qWaitFor([&] { return client.bytesAvailable() >= 1; }, ProcessTimeoutMs));
    EXPECT_EQ(first.raises.count(), 1);
}

TEST(InstanceHandoff, TwoSimultaneousStartsEndWithExactlyOneFirstInstance) {
    const QString key = uniqueKey("race");
    for (int round = 0; round < 3; ++round) {
        const QString roundKey = key + QString::number(round);
        auto a = startHelper(roundKey, 2, {QStringLiteral("/tmp/a1.jpg"), QStringLiteral("/tmp/a2.jpg")});
        auto b = startHelper(roundKey, 2, {QStringLiteral("/tmp/b1.jpg"), QStringLiteral("/tmp/b2.jpg")});
        ASSERT_TRUE(a->waitForFinished(ProcessTimeoutMs));
        ASSERT_TRUE(b->waitForFinished(ProcessTimeoutMs));
        const QStringList outA = outputLines(*a);
        const QStringList outB = outputLines(*b);
        ASSERT_NE(outA.contains("FIRST"), outB.contains("FIRST")) << "round " << round;
        const bool aWon = outA.contains("FIRST");
        const QStringList& winner = aWon ? outA : outB;
        const QStringList& loser = aWon ? outB : outA;
        const QString other = aWon ? QStringLiteral("b") : QStringLiteral("a");
        EXPECT_THAT(loser, ElementsAre("FORWARDED"));
        EXPECT_EQ(winner.filter("PATH "),
                  QStringList({"PATH /tmp/" + other + "1.jpg", "PATH /tmp/" + other + "2.jpg"}));
        EXPECT_EQ(winner.filter("OWN ").size(), 2);
        EXPECT_EQ(winner.count("RAISE"), 2);
        EXPECT_EQ(a->exitCode(), 0);
        EXPECT_EQ(b->exitCode(), 0);
    }
}

TEST(InstanceHandoff, LeftoversOfACrashedInstanceDoNotBlockTheNextStart) {
    const QString key = uniqueKey("stale");
    auto crashed = startHelper(key, -1, {});
    ASSERT_TRUE(crashed->waitForReadyRead(ProcessTimeoutMs));
    ASSERT_THAT(outputLines(*crashed), ElementsAre("FIRST"));
    crashed->kill();
    ASSERT_TRUE(crashed->waitForFinished(ProcessTimeoutMs));

    FirstInstance next(key);
    ASSERT_TRUE(QFileInfo::exists(next.handoff.socketPath()));
    ASSERT_TRUE(QFileInfo::exists(next.handoff.lockPath()));
    ASSERT_TRUE(next.handoff.becomeFirstInstance());
    auto later = startHelper(key, 0, {QStringLiteral("/tmp/next.png")});
    EXPECT_THAT(finishWithEventLoop(*later), ElementsAre("FORWARDED"));
    EXPECT_THAT(next.receivedPaths(), ElementsAre("/tmp/next.png"));
}

// Sets (or, given an empty value, removes) environment variables for the life of the object.
class ScopedEnvironment {
  public:
    void set(const char* name, const QString& value) {
        saved_.emplace_back(name, qEnvironmentVariableIsSet(name), qgetenv(name));
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, QFile::encodeName(value));
    }
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (std::get<1>(*it))
                qputenv(std::get<0>(*it), std::get<2>(*it));
            else
                qunsetenv(std::get<0>(*it));
        }
    }

  private:
    std::vector<std::tuple<const char*, bool, QByteArray>> saved_;
};

TEST(InstanceHandoff, MeetsInAFolderOfThisUserAloneNeverInTheSharedTemporaryFolder) {
    QTemporaryDir home, runtime, elsewhere;
    const QString cached = home.filePath(".cache/verasco");
    struct Row {
        const char* name;
        QString runtimeFolder;
        std::function<void()> prepare;
        QString meetingFolder;
    };
    const QString own = runtime.filePath("verasco");
    const Row rows[] = {
        {"no runtime folder", QString(), [] {}, cached},
        {"runtime folder", runtime.path(), [] {}, own},
        {"open to others", runtime.path(),
         [&] {
             QDir().mkdir(own);
             QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
         },
         cached},
        {"a symbolic link", runtime.path(), [&] { QFile::link(elsewhere.path(), own); }, cached},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QDir(own).removeRecursively();
        QFile::remove(own);
        row.prepare();
        ScopedEnvironment environment;
        environment.set("XDG_RUNTIME_DIR", row.runtimeFolder);
        environment.set("XDG_CACHE_HOME", QString());
        environment.set("HOME", home.path());

        InstanceHandoff handoff(uniqueKey("folder"), nullptr);

        const QFileInfo folder(QFileInfo(handoff.socketPath()).path());
        EXPECT_EQ(folder.filePath(), row.meetingFolder);
        EXPECT_TRUE(folder.isDir() && !folder.isSymLink());
        EXPECT_EQ(folder.ownerId(), ::getuid());
        EXPECT_EQ(folder.permissions() & 0x0077, QFile::Permissions()) << "no rights for group or others";
        EXPECT_FALSE(handoff.socketPath().startsWith(QDir::tempPath() + "/runtime-"));
    }
}

TEST(InstanceHandoff, AFirstInstanceThatCannotListenLetsLaterStartsRunOnTheirOwn) {
    const QString key = uniqueKey("deaf");
    // A folder where the socket should be: nothing can listen there.
    ASSERT_TRUE(QDir().mkpath(InstanceHandoff(key, nullptr).socketPath()));
    auto first = startHelper(key, -1, {});
    ASSERT_TRUE(first->waitForReadyRead(ProcessTimeoutMs));
    ASSERT_THAT(outputLines(*first), ElementsAre("FIRST"));

    auto later = startHelper(key, 0, {QStringLiteral("/tmp/later.png")});
    ASSERT_TRUE(later->waitForFinished(ProcessTimeoutMs));
    EXPECT_THAT(outputLines(*later), ElementsAre("FIRST", "OWN /tmp/later.png"));

    first->kill();
    first->waitForFinished(ProcessTimeoutMs);
    EXPECT_TRUE(first->readAllStandardError().contains("cannot listen for later starts"));
    QDir().rmdir(InstanceHandoff(key, nullptr).socketPath());
}

constexpr uid_t NobodyId = 65534;

// A process of its own that runs `before`, becomes the user "nobody", runs `work` and exits with
// its result.
pid_t forkAsNobody(const std::function<void()>& before, const std::function<int()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(30); // never outlive the test
        before();
        if (::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0)
            ::_exit(100);
        ::_exit(work());
    }
    return child;
}

// The child's exit code (-1 when it did not end normally), this process's events served meanwhile.
int exitCodeOf(pid_t child) {
    int status = 0;
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, ProcessTimeoutMs));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Answers every message on one connection as handled, as an instance would; the number of messages.
int serveOneConnection(int listener) {
    const int fd = ::accept(listener, nullptr, nullptr);
    int messages = 0;
    unsigned char header[4];
    while (::recv(fd, header, 4, MSG_WAITALL) == 4) {
        char payload[256];
        const size_t length = size_t(header[1]) << 8 | header[0];
        if (length > sizeof payload ||
            (length && ::recv(fd, payload, length, MSG_WAITALL) != ssize_t(length)))
            break;
        ++messages;
        ::send(fd, "\1", 1, MSG_NOSIGNAL);
    }
    return messages;
}

TEST(InstanceHandoff, OnlyProcessesOfTheSameUserTalkToEachOther) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "runs only as root, which can act as a second user";
    QTemporaryDir runtime;
    ScopedEnvironment environment;
    environment.set("XDG_RUNTIME_DIR", runtime.path());

    // Another user who reaches this user's instance (its folder and socket opened to everyone) is
    // served nothing: the connection ends without an answer.
    FirstInstance first(uniqueKey("stranger"));
    ASSERT_TRUE(first.handoff.becomeFirstInstance());
    const QFile::Permissions passable =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther;
    QFile::setPermissions(runtime.path(), passable);
    QFile::setPermissions(QFileInfo(first.handoff.socketPath()).path(), passable);
    QFile::setPermissions(first.handoff.socketPath(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther);
    const sockaddr_un instance = addressOf(first.handoff.socketPath());
    const pid_t stranger = forkAsNobody(
        [] {},
        [&] {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&instance), sizeof instance) != 0)
                return 2;
            const char raise[4] = {0, 0, 0, 0};
            char answer = 0;
            return ::send(fd, raise, sizeof raise, MSG_NOSIGNAL) == 4 && ::recv(fd, &answer, 1, 0) == 1 ? 1
                                                                                                        : 0;
        });
    EXPECT_EQ(exitCodeOf(stranger), 0) << "1: answered, 2: could not connect";
    EXPECT_EQ(first.raises.count(), 0);

    const QFile::Permissions own = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QFile::setPermissions(QFileInfo(first.handoff.socketPath()).path(), own);
    QFile::setPermissions(runtime.path(), own);

    // Another user listens where this user's instance would: a later start hands it nothing.
    InstanceHandoff later(uniqueKey("impostor"), nullptr);
    ASSERT_TRUE(later.socketPath().startsWith(runtime.path()));
    const sockaddr_un impostor = addressOf(later.socketPath());
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const pid_t listening = forkAsNobody(
        [&] { // the name is taken while the process may still write into the folder
            if (::bind(listener, reinterpret_cast<const sockaddr*>(&impostor), sizeof impostor) != 0)
                ::_exit(101);
        },
        [&] { return ::listen(listener, 1) == 0 ? serveOneConnection(listener) : 102; });
    ::close(listener);
    EXPECT_FALSE(later.forwardToFirstInstance({QStringLiteral("/tmp/private.png")}));
    EXPECT_EQ(exitCodeOf(listening), 0) << "messages the other user received";
}

TEST(InstanceHandoff, SecondObjectInTheSameRunIsNotFirst) {
    FirstInstance first(uniqueKey("same"));
    ASSERT_TRUE(first.handoff.becomeFirstInstance());
    InstanceHandoff again(first.handoff.key(), nullptr);
    EXPECT_FALSE(again.becomeFirstInstance());
}

} // namespace
