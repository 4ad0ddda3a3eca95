// A writer killed at random moments never leaves a damaged settings file: the
// file on disk is always one complete version of the series of writes.

#include "settings/inifile.h"

#include "support/files.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kKeys = 20;

// Version n of the file: key K<k> holds "v<i>" from the last write i <= n
// that went to it (write i goes to key i % kKeys), or "init". A long comment
// makes every rewrite big enough to be interrupted half-way.
QByteArray Version(qint64 n) {
    QByteArray text = "; written by the crash test\n";
    for (int i = 0; i < 3000; ++i) {
        text += "; padding line " + QByteArray::number(i) + ' ' + QByteArray(80, 'p') + '\n';
    }
    text += "[Settings]\n";
    for (int k = 0; k < kKeys; ++k) {
        qint64 last = n - ((n - k) % kKeys + kKeys) % kKeys;
        text += "K" + QByteArray::number(k) + '=' +
                (last >= 1 ? "v" + QByteArray::number(last) : QByteArray("init")) + '\n';
    }
    return text;
}

// The version the file claims to be: the highest write number in it.
qint64 Newest(const TIniFile& ini) {
    qint64 newest = 0;
    for (int k = 0; k < kKeys; ++k) {
        const QString v =
            ini.ReadString(QStringLiteral("Settings"), QStringLiteral("K%1").arg(k), QString());
        if (v.startsWith(u'v')) {
            newest = std::max(newest, v.mid(1).toLongLong());
        }
    }
    return newest;
}

// Runs in the forked child: writes `first`, `first + 1`, ... and reports
// each finished write through the pipe. Only TIniFile and QtCore, then _exit.
[[noreturn]] void Writer(const QString& path, qint64 first, int ackFd) {
    TIniFile ini(path);
    for (qint64 i = first; i < first + 100000; ++i) {
        try {
            ini.WriteString(QStringLiteral("Settings"), QStringLiteral("K%1").arg(i % kKeys),
                            QStringLiteral("v%1").arg(i));
        } catch (...) {
            _exit(3);
        }
        if (::write(ackFd, &i, sizeof i) != static_cast<ssize_t>(sizeof i)) {
            _exit(4);
        }
    }
    _exit(0);
}

// Reads one acknowledgement; false at the end of the pipe.
bool ReadAck(int fd, qint64& value) {
    std::size_t got = 0;
    auto* p = reinterpret_cast<char*>(&value);
    while (got < sizeof value) {
        const ssize_t r = ::read(fd, p + got, sizeof value - got);
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r <= 0) {
            return false;
        }
        got += static_cast<std::size_t>(r);
    }
    return true;
}

TEST(IniFileCrash, AKilledWriterLeavesACompleteEarlierOrLaterVersion) {
    const QString folder = TestEnv::ConfigDir() + QStringLiteral("/crash");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/settings.ini");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Version(0));
    }
    TIniFile ini(path);
    std::mt19937 random(20261208);
    qint64 version = 0;
    int landedAfterRename = 0;
    // How long one write takes here, to spread the kills over a whole write.
    double writeMicros = 5000;

    for (int round = 0; round < 100; ++round) {
        std::array<int, 2> pipeFds{};
        ASSERT_EQ(::pipe(pipeFds.data()), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            Writer(path, version + 1, pipeFds[1]);
        }
        ::close(pipeFds[1]);

        // Let a few writes finish, then kill at a random moment of the next ones.
        qint64 acked = version;
        const int waitFor = std::uniform_int_distribution<int>(2, 4)(random);
        auto lastAck = std::chrono::steady_clock::now();
        for (int i = 0; i < waitFor && ReadAck(pipeFds[0], acked); ++i) {
            const auto now = std::chrono::steady_clock::now();
            if (i > 0) {
                writeMicros = std::chrono::duration<double, std::micro>(now - lastAck).count();
            }
            lastAck = now;
        }
        const auto limit = static_cast<useconds_t>(std::min(writeMicros * 1.5, 200000.0));
        ::usleep(std::uniform_int_distribution<useconds_t>(0, limit)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;
        for (qint64 a = 0; ReadAck(pipeFds[0], a);) {
            acked = a;
        }
        ::close(pipeFds[0]);

        // Every acknowledged write is in the file; at most the one being
        // acknowledged when the signal came is there beyond them.
        const qint64 found = Newest(ini);
        ASSERT_GE(found, acked) << "round " << round;
        ASSERT_LE(found, acked + 1) << "round " << round;
        ASSERT_TRUE(ReadBytes(path) == Version(found)) << "round " << round << ": damaged file";
        landedAfterRename += found == acked + 1 ? 1 : 0;
        version = found;

        // A killed writer may leave its temporary file behind; it never
        // replaces the settings file, so it is only clutter.
        for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
            if (name != QStringLiteral("settings.ini")) {
                QFile::remove(folder + u'/' + name);
            }
        }
    }
    EXPECT_GT(version, 100) << "the writers made progress";
    // Kills that came after the rename of a write but before its report.
    RecordProperty("killed_after_rename", landedAfterRename);
}

} // namespace
