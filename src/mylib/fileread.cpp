#include "mylib/fileread.h"

#include <QFile>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

FileReadResult Failure(int error) {
    FileReadResult r;
    r.status = error == ENOENT || error == ENOTDIR ? FileReadResult::Status::Missing
                                                   : FileReadResult::Status::Failed;
    if (r.status == FileReadResult::Status::Failed) {
        r.reason = SystemReason(error);
    }
    return r;
}

// Closes the descriptor on every way out.
struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

} // namespace

FileReadResult ReadFileBounded(const QString& path, qint64 maxBytes) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty()) {
        return Failure(ENOENT);
    }
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a
    // writer; O_NOCTTY: a terminal at the path must not become ours.
    const Fd file{::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0) {
        return Failure(errno);
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) {
        return Failure(errno);
    }
    FileReadResult r;
    if (!S_ISREG(st.st_mode)) {
        r.status = FileReadResult::Status::Failed;
        r.reason =
            S_ISDIR(st.st_mode) ? SystemReason(EISDIR) : QStringLiteral("Not a regular file");
        return r;
    }
    if (st.st_size > maxBytes) {
        r.status = FileReadResult::Status::TooLarge;
        return r;
    }
    r.bytes.reserve(static_cast<qsizetype>(st.st_size));
    std::array<char, 65536> chunk{};
    for (;;) {
        const ssize_t got = ::read(file.fd, chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Failure(errno);
        }
        if (got == 0) {
            break;
        }
        // The size checked above may have grown while reading.
        if (r.bytes.size() + got > maxBytes) {
            r.bytes.clear();
            r.status = FileReadResult::Status::TooLarge;
            return r;
        }
        r.bytes.append(chunk.data(), static_cast<qsizetype>(got));
    }
    r.status = FileReadResult::Status::Ok;
    return r;
}
