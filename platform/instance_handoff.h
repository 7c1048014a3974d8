#pragma once
// Keeps one running instance per user: a later start hands its command-line paths to the running one.
//
// The first instance holds a lock file and listens on a local socket reachable by its user only. A second
// start connects, asks for the window to be raised, then sends each path as one 256-byte record and
// waits for that record's answer before the next one, so the paths arrive in order and each one has
// been handled before the next is sent.

#include "handoff_record.h"

#include <QObject>
#include <QStringList>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

class InstanceHandoff : public QObject {
    Q_OBJECT
  public:
    explicit InstanceHandoff(QObject* parent = nullptr); // key "TMainFormverasco" + user name
    InstanceHandoff(const QString& key, QObject* parent);
    ~InstanceHandoff() override;

    // true: this process now listens and is the first instance; false: another instance runs.
    bool becomeFirstInstance();
    // Second instance: a raise request, then each path's record, waiting for each answer. false on failure.
    bool forwardToFirstInstance(const QStringList& arguments);

    QString key() const { return m_key; }
    QString socketPath() const { return m_socketPath; }
    QString lockPath() const { return m_lockPath; }

    // How long a second instance keeps trying to reach a first one that has not started listening yet.
    static constexpr int ConnectTimeoutMs = 10000;
    // How long it waits for the first instance to handle one record.
    static constexpr int AnswerTimeoutMs = 60000;

  signals:
    void raiseRequested(); // restore and bring the main window to the front
    void
    pathReceived(const QString& path); // emitted synchronously; the answer is sent after all slots returned

  private:
    void acceptConnections();
    void serveConnection(QLocalSocket* socket);
    char handleMessage(const QByteArray& payload);

    QString m_key;
    QString m_socketPath;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
