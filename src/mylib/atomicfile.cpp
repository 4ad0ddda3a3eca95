#include "mylib/atomicfile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

// Plain system calls: this runs on every keystroke, and each call the
// toolkit's file classes add (random names, permission look-ups) shows there.
bool ReplaceFileContents(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(path);
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(target.constData(), &st) == 0) {
        // A file without any write permission counts as read-only even for a
        // user (root) who could override that.
        if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 ||
            ::access(target.constData(), W_OK) != 0) {
            return false;
        }
        mode = st.st_mode & 07777;
    }
    // One temporary name per process: only one copy of the program runs, and
    // a leftover from a killed run is simply overwritten.
    const QByteArray temp = target + ".~" + QByteArray::number(::getpid());
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, bytes.constData(), bytes.size());
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.constData(), target.constData()) != 0) {
        ::unlink(temp.constData());
        return false;
    }
    return true;
}
