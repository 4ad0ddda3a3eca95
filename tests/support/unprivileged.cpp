#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Adds search permission for others to every folder above `path`, so that the
// unprivileged user can reach it (temporary folders are private to root).
void MakePassable(const QString& path) {
    QString folder = QFileInfo(path).absolutePath();
    while (!folder.isEmpty() && folder != QLatin1String("/")) {
        const QByteArray name = QFile::encodeName(folder);
        struct stat st {};
        if (::stat(name.constData(), &st) == 0 && (st.st_mode & S_IXOTH) == 0) {
            ::chmod(name.constData(), (st.st_mode & 07777) | S_IXOTH);
        }
        folder = QFileInfo(folder).absolutePath();
    }
}

} // namespace

int RunUnprivileged(const QStringList& paths, const std::function<int()>& body) {
    const bool root = ::geteuid() == 0;
    if (root) {
        for (const QString& p : paths) {
            MakePassable(p);
            if (::chown(QFile::encodeName(p).constData(), kUnprivilegedId, kUnprivilegedId) != 0) {
                return -1;
            }
        }
    }
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedId) != 0 ||
                     ::setuid(kUnprivilegedId) != 0 || ::geteuid() == 0)) {
            ::_exit(126);
        }
        ::_exit(body() & 0x7f);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 126) {
        return -1;
    }
    return WEXITSTATUS(status);
}
