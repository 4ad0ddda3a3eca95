#include "app/singleinstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>

Q_LOGGING_CATEGORY(lcInstance, "voltisk.instance", QtWarningMsg)

TSingleInstance::TSingleInstance(const QString& folder)
    : folder_(folder.isEmpty() ? DefaultFolder() : folder) {}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::DefaultFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists()) {
        return runtime;
    }
    return QDir::tempPath();
}

QString TSingleInstance::LockPath() const {
    return folder_ + QStringLiteral("/Voltisk IS RUNNING.lock");
}

QString TSingleInstance::SocketPath() const {
    return folder_ + QStringLiteral("/VOLTISK");
}

bool TSingleInstance::TryLock() {
    lock_ = std::make_unique<QLockFile>(LockPath());
    // Held as long as the process lives; a dead holder's lock is stale at once.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        return true;
    }
    if (lock_->error() == QLockFile::LockFailedError) {
        return false;
    }
    qCWarning(lcInstance) << "Cannot create the lock" << LockPath()
                          << "- running as the first copy";
    return true;
}

bool TSingleInstance::SendActivation() const {
    const QDeadlineTimer deadline(1000);
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(SocketPath());
        if (socket.waitForConnected(200)) {
            socket.write("A", 1);
            socket.flush();
            socket.waitForBytesWritten(200);
            socket.disconnectFromServer();
            return true;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(50);
    }
}

bool TSingleInstance::Listen(std::function<void()> onActivate) {
    QLocalServer::removeServer(SocketPath());
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(
        server_.get(), &QLocalServer::newConnection, server_.get(), [this, onActivate] {
            while (QLocalSocket* s = server_->nextPendingConnection()) {
                QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
                QObject::connect(s, &QLocalSocket::readyRead, s, [s, onActivate] {
                    s->readAll();
                    qCInfo(lcInstance) << "Activated by a second copy";
                    onActivate();
                });
            }
        });
    if (!server_->listen(SocketPath())) {
        qCWarning(lcInstance) << "Cannot listen on" << SocketPath() << server_->errorString();
        return false;
    }
    return true;
}
