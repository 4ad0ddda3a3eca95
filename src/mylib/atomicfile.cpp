#include "mylib/atomicfile.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kMaxLinks = 40;
constexpr int kRandomLetters = 12;

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

// The folder part of a path with its trailing "/", or empty for a bare name.
QByteArray FolderPart(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(slash + 1);
}

// The next number of a sequence seeded once per process from the system's
// entropy (splitmix64): a write per keystroke then costs no system call for
// its name. The exclusive create below keeps the name safe in any case.
quint64 NextRandom() {
    static quint64 state = [] {
        quint64 seed = 0;
        if (::getrandom(&seed, sizeof seed, 0) != static_cast<ssize_t>(sizeof seed)) {
            seed = static_cast<quint64>(::getpid()) * 0x9E3779B97F4A7C15ULL ^
                   static_cast<quint64>(::time(nullptr));
        }
        return seed;
    }();
    quint64 z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

QByteArray RandomLetters() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray out(kRandomLetters, Qt::Uninitialized);
    quint64 bits = NextRandom();
    for (int i = 0; i < kRandomLetters; ++i) {
        if (i == 6) {
            bits = NextRandom();
        }
        out[i] = kLetters[bits % (sizeof kLetters - 1)];
        bits /= sizeof kLetters - 1;
    }
    return out;
}

// The process's file-creation mask, read once (the program never changes it).
mode_t CreationMask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

// Creates a new temporary file beside `target`; never opens an existing name
// and never follows a link. Returns the descriptor (or -1 with errno set).
int CreateTemp(const QByteArray& target, int permissions, QByteArray& tempName) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = target.left(slash + 1);
    const QByteArray base = target.mid(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName =
            folder + '.' + base + ".~" + QByteArray::number(::getpid()) + '.' + RandomLetters();
        const int fd = ::open(tempName.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Rewrites the file itself, for a folder that takes no new files. Space is
// claimed first, so a full disk fails before anything is overwritten.
bool WriteInPlace(const QByteArray& target, const QByteArray& bytes) {
    const int fd =
        ::open(target.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok && bytes.size() > st.st_size) {
        const int claimed = ::posix_fallocate(fd, 0, bytes.size());
        ok = claimed == 0 || claimed == EOPNOTSUPP || claimed == EINVAL;
    }
    ok = ok && WriteAll(fd, bytes.constData(), bytes.size()) && ::ftruncate(fd, bytes.size()) == 0;
    return ::close(fd) == 0 && ok;
}

bool ProcessRuns(qint64 pid) {
    if (pid <= 0 || pid > 0x7FFFFFFF) {
        return false;
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

namespace {

// FinalLinkTarget, also giving the lstat of the target it ends at (`found`
// false when that failed, errno then set), so a caller need not ask again.
QByteArray FollowLinks(const QByteArray& path, struct stat& st, bool& found) {
    QByteArray current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        found = ::lstat(current.constData(), &st) == 0;
        if (!found || !S_ISLNK(st.st_mode)) {
            return current;
        }
        std::array<char, 4096> buffer{};
        const ssize_t n = ::readlink(current.constData(), buffer.data(), buffer.size());
        if (n <= 0 || n >= static_cast<ssize_t>(buffer.size())) {
            return path;
        }
        const QByteArray link(buffer.data(), n);
        current = link.startsWith('/') ? link : FolderPart(current) + link;
    }
    return {};
}

} // namespace

QString FinalLinkTarget(const QString& path) {
    struct stat st {};
    bool found = false;
    const QByteArray target = FollowLinks(QFile::encodeName(path), st, found);
    return target.isNull() ? path : QFile::decodeName(target);
}

bool ReplaceFileContents(const QString& path, const QByteArray& bytes, ReplaceMode mode) {
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty()) {
        return false;
    }
    struct stat st {};
    bool exists = false;
    const QByteArray target = FollowLinks(encoded, st, exists);
    if (target.isNull()) {
        return false; // a chain of links too long to follow
    }
    if (exists) {
        // A file without any write permission counts as read-only even for a
        // user (root) who could override that; a link left here is one that
        // cannot be read. The owner's write bit answers for the owner without
        // asking the system.
        const bool ownerMayWrite = st.st_uid == ::geteuid() && (st.st_mode & S_IWUSR) != 0;
        if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 ||
            (!ownerMayWrite && ::access(target.constData(), W_OK) != 0)) {
            return false;
        }
    } else if (errno != ENOENT) {
        return false;
    }
    // The old file's permissions, whatever the umask says: given at creation
    // when the umask leaves them whole, else set afterwards.
    const mode_t keep = st.st_mode & 07777;
    const bool givenAtCreation = exists && (keep & 07000) == 0 && (keep & CreationMask()) == 0;
    QByteArray temp;
    const int fd = CreateTemp(target, !exists ? 0666 : givenAtCreation ? keep : 0600, temp);
    if (fd < 0) {
        const bool folderLocked = errno == EACCES || errno == EPERM;
        return mode == ReplaceMode::InPlaceWhenFolderLocked && exists && folderLocked &&
               WriteInPlace(target, bytes);
    }
    bool ok = !exists || givenAtCreation || ::fchmod(fd, keep) == 0;
    ok = ok && WriteAll(fd, bytes.constData(), bytes.size());
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.constData(), target.constData()) != 0) {
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

namespace {

// The file name and writer pid in a temporary name: "." + name + ".~" + pid +
// "." + kRandomLetters letters or digits, as CreateTemp makes them. Earlier
// versions wrote name + ".~" + pid; that form counts only when `fileName`
// names the file, since anyone may end a name in ".~" and digits.
std::optional<std::pair<QString, qint64>> OwnTempName(const QString& name,
                                                      const QString& fileName) {
    auto isAlnum = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    };
    QString rest = name;
    const bool current = rest.startsWith(u'.') && rest.size() > kRandomLetters + 1 &&
                         rest.at(rest.size() - kRandomLetters - 1) == u'.' &&
                         std::all_of(rest.end() - kRandomLetters, rest.end(), isAlnum);
    if (current) {
        rest = rest.mid(1).chopped(kRandomLetters + 1);
    } else if (fileName.isEmpty()) {
        return std::nullopt;
    }
    const qsizetype mark = rest.lastIndexOf(QLatin1String(".~"));
    const QString pid = rest.mid(mark + 2);
    if (mark <= 0 || pid.isEmpty() || pid.size() > 10 ||
        !std::all_of(pid.begin(), pid.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        return std::nullopt;
    }
    return std::pair(rest.left(mark), pid.toLongLong());
}

} // namespace

int RemoveStaleTempFiles(const QString& folder, const QString& fileName) {
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    int removed = 0;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const auto own = OwnTempName(name, fileName);
        if (!own || (!fileName.isEmpty() && own->first != fileName) || ProcessRuns(own->second)) {
            continue;
        }
        const QByteArray full = QFile::encodeName(dir.filePath(name));
        struct stat st {};
        // Only plain files: whatever else carries such a name is not ours.
        if (::lstat(full.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::unlink(full.constData()) == 0) {
            ++removed;
        }
    }
    return removed;
}
