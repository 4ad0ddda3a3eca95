#pragma once
// One copy per user session. The first copy holds the lock file
// "Voltisk IS RUNNING.lock" and listens on the local socket "VOLTISK", both in
// the per-user runtime folder; a second copy finds the lock held, writes one
// byte to the socket and ends. A lock left by a killed copy is taken over.

#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

class TSingleInstance {
public:
    // `folder`: where the lock and the socket live; empty means the per-user
    // runtime folder (XDG_RUNTIME_DIR), else the temporary folder.
    explicit TSingleInstance(const QString& folder = QString());
    ~TSingleInstance();

    static QString DefaultFolder();
    QString LockPath() const;
    QString SocketPath() const;

    // True when this process is the first copy. A lock that cannot be created
    // for another reason than another copy holding it counts as first.
    bool TryLock();

    // The second copy's message: connects (retrying for up to a second while
    // the first copy is still starting), writes one byte, flushes, and
    // returns without waiting for an answer. False when nobody listened.
    bool SendActivation() const;

    // The first copy listens; `onActivate` runs on the UI thread for every
    // message. Removes a leftover socket first.
    bool Listen(std::function<void()> onActivate);

private:
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};
