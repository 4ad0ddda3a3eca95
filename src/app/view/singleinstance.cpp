#include "app/view/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <utility>

Q_LOGGING_CATEGORY(lcInstance, "voltisk.instance", QtWarningMsg)

namespace {

// The socket's address, or nothing when the path does not fit one.
std::optional<sockaddr_un> SocketAddress(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    sockaddr_un addr{};
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) >= sizeof addr.sun_path) {
        return std::nullopt;
    }
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return addr;
}

using FileId = std::pair<dev_t, ino_t>;

std::optional<FileId> IdOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        return std::nullopt;
    }
    return FileId{st.st_dev, st.st_ino};
}

QString UserFolderName() {
    return QStringLiteral("/voltisk-") + QString::number(::geteuid());
}

QString AbsoluteEnv(const char* name) {
    const QString value = qEnvironmentVariable(name);
    return value.startsWith(u'/') ? QDir::cleanPath(value) : QString();
}

} // namespace

TSingleInstance::TSingleInstance(const QString& folder)
    : folder_(folder.isEmpty() ? PrivateFolder() : folder) {}

TSingleInstance::~TSingleInstance() {
    Release();
}

bool TSingleInstance::UsablePrivateFolder(const QString& path, bool create) {
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.isEmpty() || !SocketAddress(path + QStringLiteral("/VOLTISK"))) {
        return false;
    }
    if (create) {
        ::mkdir(bytes.constData(), 0700);
    }
    struct stat st {};
    return ::lstat(bytes.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

QString TSingleInstance::PrivateFolder() {
    QString temp = AbsoluteEnv("TMPDIR");
    if (temp.isEmpty()) {
        temp = QStringLiteral("/tmp");
    }
    QString cache = AbsoluteEnv("XDG_CACHE_HOME");
    const QString home = AbsoluteEnv("HOME");
    if (cache.isEmpty() && !home.isEmpty()) {
        cache = QDir::cleanPath(home + QStringLiteral("/.cache"));
    }
    return PrivateFolderFrom(AbsoluteEnv("XDG_RUNTIME_DIR"), temp, cache);
}

QString TSingleInstance::PrivateFolderFrom(const QString& runtime, const QString& temp,
                                           const QString& cache) {
    if (!runtime.isEmpty() && UsablePrivateFolder(runtime, false)) {
        return runtime;
    }
    if (!temp.isEmpty()) {
        const QString inTemp = QDir::cleanPath(temp + UserFolderName());
        if (UsablePrivateFolder(inTemp, true)) {
            return inTemp;
        }
    }
    // Someone else holds that name in the shared folder: the user's own
    // cache folder cannot be taken that way.
    if (!cache.isEmpty() && QDir().mkpath(cache)) {
        const QString inCache = QDir::cleanPath(cache + UserFolderName());
        if (UsablePrivateFolder(inCache, true)) {
            return inCache;
        }
    }
    return QString();
}

QString TSingleInstance::LockPath() const {
    return folder_ + QStringLiteral("/Voltisk IS RUNNING.lock");
}

QString TSingleInstance::SocketPath() const {
    return folder_ + QStringLiteral("/VOLTISK");
}

TSingleInstance::Role TSingleInstance::Start(Request request) {
    if (folder_.isEmpty()) {
        qCWarning(lcInstance) << "No private folder for the lock - running as the first copy";
        return Role::First;
    }
    for (int round = 0; round < 3; ++round) {
        lock_ = std::make_unique<QLockFile>(LockPath());
        // Held as long as the process lives; a dead holder's lock is stale at once.
        lock_->setStaleLockTime(0);
        if (lock_->tryLock(0)) {
            if (!Listen()) {
                qCWarning(lcInstance) << "Cannot listen on" << SocketPath();
            }
            return Role::First;
        }
        if (lock_->error() != QLockFile::LockFailedError) {
            break;
        }
        const auto seen = IdOf(LockPath());
        switch (HandOver(request)) {
        case HandOverResult::Answered:
            lock_.reset();
            return Role::Second;
        case HandOverResult::NoAnswer:
            return Role::NotAnswering;
        case HandOverResult::NobodyListens:
            break;
        }
        qCWarning(lcInstance) << "The lock is held but no copy answers - taking it over";
        if (seen) {
            TakeOverStaleLock(*seen);
        }
    }
    qCWarning(lcInstance) << "Cannot take the lock" << LockPath() << "- running as the first copy";
    lock_.reset();
    return Role::First;
}

// Removes the lock file that was seen held without an answer, unless another
// starting copy has replaced it meanwhile. The guard keeps two copies that
// found the same stale lock from removing each other's new one.
bool TSingleInstance::TakeOverStaleLock(const std::pair<dev_t, ino_t>& seen) {
    QLockFile guard(LockPath() + QStringLiteral(".takeover"));
    guard.setStaleLockTime(5000);
    if (!guard.tryLock(0)) {
        return false;
    }
    return IdOf(LockPath()) == seen && QFile::remove(LockPath());
}

bool TSingleInstance::Listen() {
    const auto addr = SocketAddress(SocketPath());
    if (!addr) {
        return false;
    }
    // A socket left by a dead copy; only the lock holder gets here.
    ::unlink(addr->sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return false;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*addr), sizeof *addr) != 0 ||
        ::listen(fd, 16) != 0) {
        ::close(fd);
        return false;
    }
    listenFd_ = fd;
    return true;
}

qint64 TSingleInstance::HolderPid() const {
    qint64 pid = 0;
    QString host;
    QString app;
    QLockFile probe(LockPath());
    return probe.getLockInfo(&pid, &host, &app) ? pid : 0;
}

namespace {

// Waits up to `ms` for one byte on `fd`: the running copy's answer.
bool AnswerArrives(int fd, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(std::max<long long>(left, 0)));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        char answer = 0;
        return ::recv(fd, &answer, 1, 0) == 1;
    }
}

} // namespace

TSingleInstance::HandOverResult TSingleInstance::HandOver(Request request, int connectWaitMs,
                                                          int answerWaitMs) const {
    const auto addr = SocketAddress(SocketPath());
    if (!addr) {
        return HandOverResult::NobodyListens;
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(connectWaitMs);
    for (;;) {
        // Non-blocking, so a copy that accepts nothing cannot hold this one.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd >= 0) {
            bool sent = false;
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&*addr), sizeof *addr) == 0) {
                const char byte = static_cast<char>(request);
                sent = ::send(fd, &byte, 1, MSG_NOSIGNAL) == 1;
            }
            // A stopped copy's listen queue still takes the request: only
            // the answer shows that the copy is alive.
            const bool answered = sent && AnswerArrives(fd, answerWaitMs);
            ::close(fd);
            if (sent) {
                return answered ? HandOverResult::Answered : HandOverResult::NoAnswer;
            }
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return HandOverResult::NobodyListens;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool TSingleInstance::SendActivation(int waitMs) const {
    return HandOver(Request::Activate, waitMs) == HandOverResult::Answered;
}

void TSingleInstance::OnActivation(std::function<void()> onActivate) {
    OnActivation([f = std::move(onActivate)](Request) { f(); });
}

void TSingleInstance::OnActivation(std::function<void(Request)> onActivate) {
    onActivate_ = std::move(onActivate);
    if (listenFd_ < 0) {
        return;
    }
    notifiers_ = std::make_unique<QObject>();
    auto* n = new QSocketNotifier(listenFd_, QSocketNotifier::Read, notifiers_.get());
    QObject::connect(n, &QSocketNotifier::activated, n, [this] { Accept(); });
    // Connections made before the notifier existed wait in the backlog.
    Accept();
}

void TSingleInstance::Accept() {
    for (;;) {
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        auto* n = new QSocketNotifier(client, QSocketNotifier::Read, notifiers_.get());
        QObject::connect(n, &QSocketNotifier::activated, n, [this, n, client] {
            char buffer[16];
            const ssize_t got = ::read(client, buffer, sizeof buffer);
            if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
                return;
            }
            n->setEnabled(false);
            n->deleteLater();
            if (got > 0) {
                const auto request = buffer[got - 1] == char(Request::ShowUsageCalculator)
                                         ? Request::ShowUsageCalculator
                                         : Request::Activate;
                if (onActivate_) {
                    onActivate_(request);
                }
                qCInfo(lcInstance) << "Activated by a second copy";
                const char answer = 'K';
                [[maybe_unused]] const ssize_t written = ::send(client, &answer, 1, MSG_NOSIGNAL);
            }
            ::close(client);
        });
    }
}

void TSingleInstance::Release() {
    notifiers_.reset();
    ReleaseAtExit();
}

void TSingleInstance::ReleaseAtExit() {
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        if (const auto addr = SocketAddress(SocketPath())) {
            ::unlink(addr->sun_path);
        }
    }
    if (lock_) {
        lock_->unlock();
    }
}
