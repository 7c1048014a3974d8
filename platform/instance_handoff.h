// SPDX-License-Identifier: MIT
#pragma once
// Keeps one running instance per user: a later start hands its command-line paths to the running one.
//
// The first instance holds a lock on a file and listens on a local (Unix domain) socket in a folder that
// only its user can enter (created 0700 and checked); it also refuses connections from processes of
// other users, and a second start talks only to an instance of its own user. A second start connects,
// asks for the window to be raised, then sends each path as one 256-byte record and waits for that
// record's answer before the next one, so the paths arrive in order and each one has been handled
// before the next is sent; then it asks for the raise again. The first instance handles one message
// at a time and lets its window run between two, however many arrive at once.
//
// The socket is served with plain system calls and a QSocketNotifier rather than Qt's network module,
// which would pull a stack of network and authentication libraries into every start of the program.

#include "handoff_record.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QStringList>

class QSocketNotifier;
class QTimer;

// One later start's connection, served by the first instance.
class HandoffConnection : public QObject {
    Q_OBJECT
  public:
    HandoffConnection(int fd, QObject* parent);
    ~HandoffConnection() override;

    qsizetype pendingBytes() const { return m_pending.size(); } // received, not yet handled

  private:
    friend class InstanceHandoff;
    void close(); // drops the connection
    bool hasCompleteMessage() const;

    int m_fd;
    QSocketNotifier* m_notifier;
    QTimer* m_check;           // fires at the deadline
    QDeadlineTimer m_deadline; // by when the connection must have brought all it has to say
    QByteArray m_pending;
    bool m_peerClosed = false;
    bool m_busy = false;
};

class InstanceHandoff : public QObject {
    Q_OBJECT
  public:
    explicit InstanceHandoff(QObject* parent = nullptr); // key "TMainFormverasco" + user name
    InstanceHandoff(const QString& key, QObject* parent);
    ~InstanceHandoff() override;

    // true: this process is the first instance; false: another instance runs. A first instance that
    // cannot listen (or finds no private folder) says so on standard error and does not keep the
    // lock, so that later starts run on their own instead of waiting for it.
    bool becomeFirstInstance();
    // Second instance: a raise request, each path's record, and a raise request again, waiting for
    // each answer; only to an instance of this user. false on failure, which it reports on standard
    // error (with the paths not handed over).
    bool forwardToFirstInstance(const QStringList& arguments);

    QString key() const { return m_key; }
    QString socketPath() const { return m_socketPath; }
    QString lockPath() const { return m_lockPath; }

    // How long a second instance tries to reach the first one and have its raise request answered:
    // longer than the first takes to drop connections that hold its places, so that a start waiting
    // behind them still comes through.
    static constexpr int HandoverTimeoutMs = 10000;
    // How long it then waits for the first instance to handle one record (which may ask the user).
    static constexpr int AnswerTimeoutMs = 60000;

    // The first instance serves at most this many connections at once; further later starts wait in
    // the listen queue until one ends, so that no process can take all its file descriptors.
    static constexpr int MaxConnections = 64;
    // A connection has this long (5 s, unless set otherwise) to bring all its messages, plus the
    // time they took to handle and MessageAllowanceMs for each; what trickles in buys it no more.
    // Then, unless a message of it is in hand or waits to be handled, it is dropped. A later start
    // sends each message at once, right after the answer to the one before.
    void setConnectionTimeoutMs(int ms) { m_connectionTimeoutMs = ms; }
    static constexpr int MessageAllowanceMs = 100;
    // How long accepting pauses when the process has no file descriptor left, rather than retrying
    // at once for ever.
    static constexpr int AcceptBackoffMs = 1000;
    // Messages received and not yet handled are kept up to these sizes, for one connection and for
    // all together (a later start sends one record at a time; a few thousand may come at once). A
    // connection that brings more is dropped.
    static constexpr qsizetype MaxPendingPerConnection = 1024 * 1024;
    static constexpr qsizetype MaxPendingBytes = 4 * 1024 * 1024;

  signals:
    void raiseRequested(); // restore and bring the main window to the front
    void
    pathReceived(const QString& path); // emitted synchronously; the answer is sent after all slots returned

  private:
    void acceptConnections();
    void addConnection(int fd);
    void connectionEnded();
    void backOff();
    void dropIfSlow(HandoffConnection* connection);
    void receive(HandoffConnection* connection);
    qsizetype pendingBytes() const;
    void serve(HandoffConnection* connection);
    char handleMessage(const QByteArray& payload);
    bool takeLock();
    bool listenForLaterStarts();
    void stopListening();

    QString m_key;
    QString m_socketPath;
    QString m_lockPath;
    int m_lockFd = -1;
    int m_listenFd = -1;
    QSocketNotifier* m_listenNotifier = nullptr;
    int m_connections = 0;
    int m_connectionTimeoutMs = 5000;
    bool m_backingOff = false;
};
