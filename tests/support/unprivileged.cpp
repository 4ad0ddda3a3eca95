#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += n;
    }
    return true;
}

QByteArray ReadToEnd(int fd) {
    QByteArray out;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return out;
        }
        out.append(buffer, n);
    }
}

} // namespace

QByteArray Unprivileged::Run(const std::function<QByteArray()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return "child: no pipe";
    }
    const pid_t child = ::fork();
    if (child < 0) {
        return "child: no fork";
    }
    if (child == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(Gid) != 0 || ::setuid(Uid) != 0)) {
            WriteAll(fds[1], "child: could not drop privileges");
            ::_exit(1);
        }
        const QByteArray result = body();
        ::_exit(WriteAll(fds[1], result) ? 0 : 1);
    }
    ::close(fds[1]);
    QByteArray result = ReadToEnd(fds[0]);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "child: ended with status " + QByteArray::number(status) + ": " + result;
    }
    return result;
}

void Unprivileged::Give(const QString& path) {
    if (::geteuid() == 0) {
        [[maybe_unused]] const int ignored =
            ::lchown(QFile::encodeName(path).constData(), Uid, Gid);
    }
}

Unprivileged::Dir::Dir() {
    Give(dir_.path());
}

QString Unprivileged::Dir::Sub(const QString& name) const {
    const QString sub = dir_.path() + u'/' + name;
    QDir().mkpath(sub);
    Give(sub);
    return sub;
}
