#include "instance_handoff.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// Wire format on the socket: every message is a 4-byte little-endian payload length followed by the
// payload. An empty payload asks for the window to be raised; a 256-byte payload is a hand-off record.
// Each message is answered with one byte: 1 when it was handled, 0 when it was ignored.
namespace {

constexpr quint32 MaxMessageBytes = 64 * 1024; // anything longer is not ours: the connection is dropped
constexpr char Handled = 1;
constexpr char Ignored = 0;
const char* const BusyProperty = "verascoHandoffBusy";

QString currentUserName() {
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USERNAME");
#ifdef Q_OS_UNIX
    if (name.isEmpty())
        name = QString::number(::getuid());
#endif
    return name;
}

// Keeps a key usable as a file name and a pipe name.
QString sanitisedKey(const QString& key) {
    QString safe = key;
    safe.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return safe;
}

bool isPrivateDirectory(const QString& path) {
    QDir().mkpath(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QFileInfo info(path);
    if (!info.isDir() || !info.isWritable())
        return false;
#ifdef Q_OS_UNIX
    if (info.ownerId() != ::getuid())
        return false;
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                        QFile::WriteOther | QFile::ExeOther;
    if (info.permissions() & others)
        return false;
#endif
    return true;
}

// A folder that only this user can enter, for the socket and the lock file.
QString privateDirectory() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!base.isEmpty()) {
        const QString dir = base + QStringLiteral("/verasco");
        if (isPrivateDirectory(dir))
            return dir;
    }
    const QString fallback = QDir::tempPath() + QStringLiteral("/verasco-") + sanitisedKey(currentUserName());
    if (isPrivateDirectory(fallback))
        return fallback;
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

bool sendAndAwaitAnswer(QLocalSocket& socket, const QByteArray& payload) {
    socket.write(messageFrame(payload));
    QDeadlineTimer deadline(InstanceHandoff::AnswerTimeoutMs);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    char answer = Ignored;
    return socket.getChar(&answer) && answer == Handled;
}

} // namespace

InstanceHandoff::InstanceHandoff(QObject* parent)
    : InstanceHandoff(QStringLiteral("TMainFormverasco-") + currentUserName(), parent) {}

InstanceHandoff::InstanceHandoff(const QString& key, QObject* parent) : QObject(parent), m_key(key) {
    const QString name = sanitisedKey(key);
#ifdef Q_OS_WIN
    // Named pipes live in their own namespace; UserAccessOption restricts the pipe to this user.
    m_socketPath = name;
    m_lockPath = QDir::tempPath() + QLatin1Char('/') + name + QStringLiteral(".lock");
#else
    const QString dir = privateDirectory();
    const QString base =
        dir.isEmpty() ? QDir::tempPath() + QLatin1Char('/') + name : dir + QLatin1Char('/') + name;
    m_socketPath = base + QStringLiteral(".socket");
    m_lockPath = base + QStringLiteral(".lock");
#endif
}

InstanceHandoff::~InstanceHandoff() {
    if (m_server)
        m_server->close();
}

bool InstanceHandoff::becomeFirstInstance() {
    if (m_server && m_server->isListening())
        return true;
    // The lock decides between instances that start at the same moment; a lock left by a process that
    // no longer runs is taken over by QLockFile, so a crash does not block later starts.
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError)
            return false;
        // The lock cannot be made at all: ask the socket whether someone already listens.
        QLocalSocket probe;
        probe.connectToServer(m_socketPath);
        if (probe.waitForConnected(1000))
            return false;
        qWarning("Verasco: cannot create the instance lock %s", qPrintable(m_lockPath));
    }
    QLocalServer::removeServer(m_socketPath); // a socket left behind by a crashed instance
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceHandoff::acceptConnections);
    if (!m_server->listen(m_socketPath))
        qWarning("Verasco: cannot listen for later starts on %s: %s", qPrintable(m_socketPath),
                 qPrintable(m_server->errorString()));
    // Holding the lock makes this the first instance even if no later start can reach it.
    return true;
}

bool InstanceHandoff::forwardToFirstInstance(const QStringList& arguments) {
    QLocalSocket socket;
    QDeadlineTimer deadline(ConnectTimeoutMs);
    // The first instance may hold the lock but not listen yet: keep trying for a bounded time.
    for (;;) {
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        socket.abort();
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    if (!sendAndAwaitAnswer(socket, QByteArray()))
        return false;
    for (const QString& argument : arguments) {
        if (!sendAndAwaitAnswer(socket, encodeHandoffRecord(argument)))
            return false;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
    return true;
}

void InstanceHandoff::acceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serveConnection(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            if (socket->property(BusyProperty).toBool())
                return; // serveConnection finishes and disposes of it
            serveConnection(socket);
        });
        if (socket->bytesAvailable() > 0)
            serveConnection(socket);
    }
}

// Handles every complete message the socket holds, in order. A slot connected to pathReceived may run a
// nested event loop; the busy mark keeps a second call from overtaking the message in hand.
void InstanceHandoff::serveConnection(QLocalSocket* socket) {
    if (socket->property(BusyProperty).toBool())
        return;
    QPointer<QLocalSocket> guard(socket);
    guard->setProperty(BusyProperty, true);
    while (guard && guard->bytesAvailable() >= 4) {
        const quint32 length = frameLength(guard->peek(4));
        if (length > MaxMessageBytes) {
            guard->abort();
            guard->readAll();
            break;
        }
        if (guard->bytesAvailable() < qint64(4 + length))
            break;
        guard->read(4);
        const QByteArray payload = guard->read(length);
        const char answer = handleMessage(payload);
        if (guard && guard->state() == QLocalSocket::ConnectedState) {
            guard->write(&answer, 1);
            guard->flush();
        }
    }
    if (!guard)
        return;
    guard->setProperty(BusyProperty, false);
    if (guard->state() == QLocalSocket::UnconnectedState)
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
