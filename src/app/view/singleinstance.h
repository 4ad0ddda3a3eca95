#pragma once
// One copy per user session. The first copy holds the lock file
// "Voltisk IS RUNNING.lock" and listens on the Unix-domain socket "VOLTISK",
// both in a private per-user folder (owned by the user, mode 0700); a second
// copy finds the lock held, writes its one-byte request to the socket and
// waits (at most 2 s) for the running copy's one-byte answer, which its event
// loop gives once it has acted on the request. The first copy listens right
// after taking the lock, before anything else is built, so a second copy can
// connect however slowly the first one starts. A lock whose holder is dead is
// taken over at once; a lock that is held while nobody accepts on the socket
// within a second (an empty lock left by a crash) is stale and taken over too.
// A copy that accepts but never answers (stopped, hung) is reported by the
// second start, which then ends: a start never ends in silence.

#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>
#include <sys/types.h>
#include <utility>

class QObject;

class TSingleInstance {
public:
    // Second: the running copy answered. NotAnswering: it holds the lock and
    // accepted the request but gave no answer in time.
    enum class Role { First, Second, NotAnswering };
    // What a second copy asks the running one: to come to the front, or also
    // to show the "Quick usage calculator" page.
    enum class Request : char { Activate = 'A', ShowUsageCalculator = 'U' };
    enum class HandOverResult { Answered, NobodyListens, NoAnswer };
    static constexpr int AnswerWaitMs = 2000;

    // `folder`: where the lock and the socket live; empty means PrivateFolder().
    explicit TSingleInstance(const QString& folder = QString());
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // PrivateFolderFrom($XDG_RUNTIME_DIR, $TMPDIR or /tmp, $XDG_CACHE_HOME or
    // $HOME/.cache), relative values ignored.
    static QString PrivateFolder();
    // The first usable private folder: `runtime`, then `temp`/voltisk-<uid>,
    // then `cache`/voltisk-<uid> (the last two created when missing). A name
    // in the shared temporary folder that someone else holds is passed over.
    // Empty when none is private.
    static QString PrivateFolderFrom(const QString& runtime, const QString& temp,
                                     const QString& cache);
    // True when `path` is a folder, not a link, owned by this user, that no
    // one else may enter or change, and short enough for a socket inside.
    // `create`: make it (mode 0700) first when it is missing.
    static bool UsablePrivateFolder(const QString& path, bool create);

    const QString& Folder() const { return folder_; }
    QString LockPath() const;
    QString SocketPath() const;

    // Takes the lock and listens (First), or hands `request` over to the
    // running copy (Second, NotAnswering). Without a private folder or a lock
    // it runs as the first copy.
    Role Start(Request request = Request::Activate);
    // The process id written in the lock, 0 when unknown.
    qint64 HolderPid() const;
    // The second copy's message: connects, retrying for up to `connectWaitMs`
    // while the first copy is still starting, writes the request and waits up
    // to `answerWaitMs` for the one-byte answer.
    HandOverResult HandOver(Request request, int connectWaitMs = 1000,
                            int answerWaitMs = AnswerWaitMs) const;
    // True when an activation was answered.
    bool SendActivation(int waitMs = 1000) const;
    // Once the application object exists: `onActivate` runs on the UI thread
    // for every message, also those that came before this call; the sender
    // is answered after it returns.
    void OnActivation(std::function<void(Request)> onActivate);
    void OnActivation(std::function<void()> onActivate);
    // Stops listening, removes the socket and releases the lock.
    void Release();
    // The same with plain system calls only, for a process that ends without
    // unwinding (exit() from inside the event loop).
    void ReleaseAtExit();

private:
    bool Listen();
    bool TakeOverStaleLock(const std::pair<dev_t, ino_t>& seen);
    void Accept();

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    int listenFd_ = -1;
    std::unique_ptr<QObject> notifiers_;
    std::function<void(Request)> onActivate_;
};
