// SPDX-License-Identifier: MIT
#include "instance_handoff.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Wire format on the socket: every message is a 4-byte little-endian payload length followed by the
// payload. An empty payload asks for the window to be raised; a 256-byte payload is a hand-off record.
// Each message is answered with one byte: 1 when it was handled, 0 when it was ignored.
namespace {

constexpr quint32 MaxMessageBytes = 64 * 1024; // anything longer is not ours: the connection is dropped
constexpr char Handled = 1;
constexpr char Ignored = 0;

QString currentUserName() {
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USERNAME");
    if (name.isEmpty())
        name = QString::number(::getuid());
    return name;
}

// Keeps a key usable as a file name and a pipe name.
QString sanitisedKey(const QString& key) {
    QString safe = key;
    safe.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return safe;
}

void report(const QString& text) {
    std::fputs(qPrintable(QStringLiteral("verasco: ") + text + QLatin1Char('\n')), stderr);
}

// A folder made 0700 if it is missing, and used only when it is a real folder of this user that no
// one else may enter (a folder left with wider rights may hold what others put there).
bool isPrivateDirectory(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return false;
    struct stat info {};
    return ::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// The folder for the socket and the lock file: "verasco" in the user's runtime folder, or else in
// the user's cache folder. Never one in a folder all users share, such as /tmp, where another user
// could take the names first. Empty when there is none.
QString privateDirectory() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    for (const QString& base : {qEnvironmentVariable("XDG_RUNTIME_DIR"), cache}) {
        if (base.isEmpty() || !QDir::isAbsolutePath(base))
            continue;
        if (base == cache)
            QDir().mkpath(base);
        const QString dir = base + QStringLiteral("/verasco");
        if (isPrivateDirectory(dir))
            return dir;
        report(QStringLiteral("%1 is not a folder of this user alone; it is not used").arg(dir));
    }
    return QString();
}

QByteArray messageFrame(const QByteArray& payload) {
    const auto n = static_cast<quint32>(payload.size());
    QByteArray frame;
    frame.reserve(4 + payload.size());
    for (int shift = 0; shift < 32; shift += 8)
        frame.append(static_cast<char>((n >> shift) & 0xFF));
    frame.append(payload);
    return frame;
}

quint32 frameLength(const QByteArray& header) {
    quint32 n = 0;
    for (int i = 3; i >= 0; --i)
        n = (n << 8) | static_cast<unsigned char>(header[i]);
    return n;
}

// The socket address of a path; false when the path does not fit into one.
bool socketAddress(const QString& path, sockaddr_un& address) {
    const QByteArray name = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return true;
}

// A socket connected to the instance listening at path, or -1. The connection is made without
// waiting, so that a full listen queue fails at once instead of blocking the start.
int connectTo(const QString& path) {
    sockaddr_un address;
    if (!socketAddress(path, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    int result;
    do
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    while (result < 0 && errno == EINTR);
    if (result < 0 || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Only processes of this instance's own user may hand paths over.
bool peerIsThisUser(int fd) {
#ifdef SO_PEERCRED
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == ::getuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(fd, &uid, &gid) == 0 && uid == ::getuid();
#endif
}

bool sendAll(int fd, const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

bool sendAndAwaitAnswer(int fd, const QByteArray& payload, const QDeadlineTimer& deadline) {
    if (!sendAll(fd, messageFrame(payload)))
        return false;
    for (;;) {
        pollfd readable{fd, POLLIN, 0};
        const int ready = ::poll(&readable, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        char answer = Ignored;
        const ssize_t n = ::recv(fd, &answer, 1, 0);
        if (n < 0 && errno == EINTR)
            continue;
        return n == 1 && answer == Handled;
    }
}

} // namespace

HandoffConnection::HandoffConnection(int fd, QObject* parent)
    : QObject(parent), m_fd(fd), m_notifier(new QSocketNotifier(fd, QSocketNotifier::Read, this)),
      m_check(new QTimer(this)) {
    m_check->setSingleShot(true);
}

HandoffConnection::~HandoffConnection() {
    close();
}

void HandoffConnection::close() {
    m_notifier->setEnabled(false);
    m_check->stop();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_peerClosed = true;
}

bool HandoffConnection::hasCompleteMessage() const {
    return m_pending.size() >= 4 && m_pending.size() >= qsizetype(4 + frameLength(m_pending.left(4)));
}

InstanceHandoff::InstanceHandoff(QObject* parent)
    : InstanceHandoff(QStringLiteral("TMainFormverasco-") + currentUserName(), parent) {}

InstanceHandoff::InstanceHandoff(const QString& key, QObject* parent) : QObject(parent), m_key(key) {
    const QString name = sanitisedKey(key);
    const QString dir = privateDirectory();
    if (dir.isEmpty())
        return; // no hand-off: this start runs on its own
    const QString base = dir + QLatin1Char('/') + name;
    m_socketPath = base + QStringLiteral(".socket");
    m_lockPath = base + QStringLiteral(".lock");
}

InstanceHandoff::~InstanceHandoff() {
    stopListening();
    if (m_lockFd >= 0)
        ::close(m_lockFd); // releases the lock; the file stays for the next start
}

void InstanceHandoff::stopListening() {
    if (m_listenFd < 0)
        return;
    delete m_listenNotifier;
    m_listenNotifier = nullptr;
    ::close(m_listenFd);
    m_listenFd = -1;
    QFile::remove(m_socketPath);
}

bool InstanceHandoff::becomeFirstInstance() {
    if (m_listenFd >= 0 || m_lockFd >= 0)
        return true;
    if (m_socketPath.isEmpty()) {
        report(QStringLiteral("no private folder to meet later starts in: this one runs on its own"));
        return true;
    }
    if (!takeLock())
        return false;
    if (!listenForLaterStarts()) {
        // No later start could reach this one: rather than keep them waiting for it, they run on
        // their own as well.
        report(QStringLiteral("later starts will run on their own"));
        if (m_lockFd >= 0)
            ::close(m_lockFd);
        m_lockFd = -1;
    }
    return true;
}

bool InstanceHandoff::takeLock() {
    // The lock decides between instances that start at the same moment. The system releases it when
    // its process ends in any way, so a crash never blocks later starts.
    const QByteArray lockName = QFile::encodeName(m_lockPath);
    m_lockFd = ::open(lockName.constData(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (m_lockFd >= 0 && ::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
        return false;
    }
    if (m_lockFd < 0) {
        // The lock cannot be made at all: ask the socket whether someone already listens.
        const int probe = connectTo(m_socketPath);
        if (probe >= 0) {
            ::close(probe);
            return false;
        }
        report(QStringLiteral("cannot create the instance lock %1: %2")
                   .arg(m_lockPath, QString::fromLocal8Bit(std::strerror(errno))));
    }
    return true;
}

bool InstanceHandoff::listenForLaterStarts() {
    sockaddr_un address;
    if (!socketAddress(m_socketPath, address)) {
        report(QStringLiteral("the path %1 is too long for a local socket").arg(m_socketPath));
        return false;
    }
    const QByteArray name = QFile::encodeName(m_socketPath);
    ::unlink(name.constData()); // a socket left behind by a crashed instance
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(name.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 16) != 0) {
        report(QStringLiteral("cannot listen for later starts on %1: %2")
                   .arg(m_socketPath, QString::fromLocal8Bit(std::strerror(errno))));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_listenFd = fd;
    m_listenNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_listenNotifier, &QSocketNotifier::activated, this, &InstanceHandoff::acceptConnections);
    return true;
}

bool InstanceHandoff::forwardToFirstInstance(const QStringList& arguments) {
    if (m_socketPath.isEmpty())
        return false;
    // The first instance may hold the lock but not listen yet, or have every place taken: keep
    // trying for a bounded time.
    const QDeadlineTimer handover(HandoverTimeoutMs);
    int fd;
    while ((fd = connectTo(m_socketPath)) < 0 && !handover.hasExpired())
        QThread::msleep(20);
    // The paths go only to an instance of this user.
    if (fd >= 0 && !peerIsThisUser(fd)) {
        ::close(fd);
        report(QStringLiteral("the instance listening on %1 belongs to another user").arg(m_socketPath));
        return false;
    }
    // Raised before the records and again after them, so the window is in front when all arrived.
    bool ok = fd >= 0 && sendAndAwaitAnswer(fd, QByteArray(), handover);
    if (!ok)
        report(QStringLiteral("the running instance did not take this start within %1 s")
                   .arg(HandoverTimeoutMs / 1000));
    qsizetype handed = 0;
    while (ok && handed < arguments.size()) {
        ok = sendAndAwaitAnswer(fd, encodeHandoffRecord(arguments[handed]), QDeadlineTimer(AnswerTimeoutMs));
        if (ok)
            ++handed;
    }
    ok = ok && sendAndAwaitAnswer(fd, QByteArray(), QDeadlineTimer(AnswerTimeoutMs));
    if (fd >= 0)
        ::close(fd);
    if (handed < arguments.size())
        report(QStringLiteral("these files were not handed over: ") +
               arguments.mid(handed).join(QLatin1Char(' ')));
    return ok;
}

void InstanceHandoff::acceptConnections() {
    while (m_connections < MaxConnections) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                backOff();
            return; // nothing more waiting, or no room for it now
        }
        if (!peerIsThisUser(fd)) {
            ::close(fd);
            continue;
        }
        addConnection(fd);
    }
    m_listenNotifier->setEnabled(false); // until a connection ends
}

void InstanceHandoff::addConnection(int fd) {
    auto* connection = new HandoffConnection(fd, this);
    ++m_connections;
    connect(connection, &QObject::destroyed, this, &InstanceHandoff::connectionEnded);
    connect(connection->m_notifier, &QSocketNotifier::activated, connection,
            [this, connection] { receive(connection); });
    connect(connection->m_check, &QTimer::timeout, connection,
            [this, connection] { dropIfSlow(connection); });
    connection->m_deadline = QDeadlineTimer(m_connectionTimeoutMs);
    connection->m_check->start(m_connectionTimeoutMs);
}

void InstanceHandoff::connectionEnded() {
    --m_connections;
    if (m_listenNotifier && !m_backingOff)
        m_listenNotifier->setEnabled(true);
}

// The process has no descriptor (or memory) for another connection: the waiting ones stay queued
// and accepting resumes a little later, instead of failing again and again at once.
void InstanceHandoff::backOff() {
    m_backingOff = true;
    m_listenNotifier->setEnabled(false);
    QTimer::singleShot(AcceptBackoffMs, this, [this] {
        m_backingOff = false;
        if (m_listenNotifier)
            m_listenNotifier->setEnabled(m_connections < MaxConnections);
    });
}

// A connection that keeps a place past its deadline loses it; one whose message is in hand, or
// waits to be, keeps it until that is answered (serving it starts the check again).
void InstanceHandoff::dropIfSlow(HandoffConnection* connection) {
    QPointer<HandoffConnection> guard(connection);
    if (connection->m_fd >= 0 && !connection->m_peerClosed)
        receive(connection); // what arrived while the window was busy counts
    if (!guard || guard->m_fd < 0 || guard->m_busy || guard->hasCompleteMessage())
        return;
    if (!guard->m_deadline.hasExpired()) {
        guard->m_check->start(int(guard->m_deadline.remainingTime()));
        return;
    }
    guard->close();
    guard->deleteLater();
}

qsizetype InstanceHandoff::pendingBytes() const {
    qsizetype total = 0;
    for (const HandoffConnection* connection : findChildren<HandoffConnection*>(Qt::FindDirectChildrenOnly))
        total += connection->pendingBytes();
    return total;
}

// Takes in what the connection has received; at its end the notifier is switched off. A connection
// that brings more than may wait is dropped with what it brought.
void InstanceHandoff::receive(HandoffConnection* connection) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::recv(connection->m_fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            connection->m_pending.append(buffer, n);
            if (connection->pendingBytes() <= MaxPendingPerConnection && pendingBytes() <= MaxPendingBytes)
                continue;
            connection->close();
            connection->m_pending.clear();
            break;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0) { // the later start has sent all it will; its answers still go out
            connection->m_notifier->setEnabled(false);
            connection->m_peerClosed = true;
        } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
            connection->close();
        }
        break;
    }
    serve(connection);
}

// Handles the oldest complete message of the connection, then lets the event loop run (the window
// repaints, takes input) before the next one, so that many messages sent at once never freeze it. A
// slot connected to pathReceived may run a nested event loop; the busy mark keeps a second call from
// overtaking the message in hand.
void InstanceHandoff::serve(HandoffConnection* connection) {
    if (connection->m_busy)
        return;
    if (connection->m_pending.size() >= 4 && frameLength(connection->m_pending.left(4)) > MaxMessageBytes) {
        connection->close();
        connection->m_pending.clear();
    }
    QPointer<HandoffConnection> guard(connection);
    if (connection->hasCompleteMessage()) {
        connection->m_busy = true;
        const quint32 length = frameLength(connection->m_pending.left(4));
        const QByteArray payload = connection->m_pending.mid(4, length);
        connection->m_pending.remove(0, 4 + length);
        QElapsedTimer handling;
        handling.start();
        const char answer = handleMessage(payload);
        if (!guard)
            return;
        if (guard->m_fd >= 0)
            sendAll(guard->m_fd, QByteArray(1, answer));
        guard->m_busy = false;
        guard->m_deadline += handling.elapsed() + MessageAllowanceMs;
        if (guard->m_fd >= 0)
            guard->m_check->start(int(guard->m_deadline.remainingTime()));
        if (guard->hasCompleteMessage()) {
            QTimer::singleShot(0, guard, [this, connection] { serve(connection); });
            return;
        }
    }
    if (guard->m_peerClosed)
        guard->deleteLater();
}

char InstanceHandoff::handleMessage(const QByteArray& payload) {
    if (payload.isEmpty()) {
        emit raiseRequested();
        return Handled;
    }
    const std::optional<QString> path = decodeHandoffRecord(payload);
    if (!path)
        return Ignored;
    emit pathReceived(*path);
    return Handled;
}
