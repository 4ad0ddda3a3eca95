// A writer killed at random moments, during an add or an import, never loses
// a period that was already stored and never leaves half a change behind.

#include "history/historystore.h"

#include "historysamples.h"
#include "support/testenv.h"

#include <QSqlQuery>
#include <array>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

HistoryPeriod Numbered(qint64 i) {
    const QDate from = QDate(2000, 1, 1).addDays(i);
    return SamplePeriod(from, from.addDays(30), static_cast<int>(i % 1000));
}

// In the forked child: stores periods first, first + 1, ... alternately one by
// one and as imports of three, and reports the last stored number after each
// commit.
[[noreturn]] void Writer(const QString& file, qint64 first, int ackFd) {
    THistoryStore store(file);
    try {
        store.Open();
        for (qint64 i = first; i < first + 100000;) {
            if (i % 2 == 0) {
                store.Add(Numbered(i));
                i += 1;
            } else {
                store.Import({Numbered(i), Numbered(i + 1), Numbered(i + 2)});
                i += 3;
            }
            const qint64 last = i - 1;
            if (::write(ackFd, &last, sizeof last) != static_cast<ssize_t>(sizeof last)) {
                _exit(4);
            }
        }
    } catch (...) {
        _exit(3);
    }
    _exit(0);
}

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

QString IntegrityCheck(const QString& file) {
    QString result;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("chk"));
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next()) {
                result = q.value(0).toString();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("chk"));
    return result;
}

TEST(HistoryStoreCrash, AKilledWriterNeverLosesAStoredPeriod) {
    const QString file = TestEnv::DataDir() + QStringLiteral("/crash/history.sqlite");
    std::mt19937 random(20261208);
    qint64 stored = -1; // the highest number known to be in the file

    for (int round = 0; round < 40; ++round) {
        std::array<int, 2> fds{};
        ASSERT_EQ(::pipe(fds.data()), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            Writer(file, stored + 1, fds[1]);
        }
        ::close(fds[1]);
        // Wait for a few commits, then kill somewhere in the next ones.
        qint64 acked = stored;
        const int waitFor = std::uniform_int_distribution<int>(1, 3)(random);
        for (int i = 0; i < waitFor && ReadAck(fds[0], acked); ++i) {
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 20000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;
        for (qint64 a = 0; ReadAck(fds[0], a);) {
            acked = a;
        }
        ::close(fds[0]);

        ASSERT_EQ(IntegrityCheck(file), QStringLiteral("ok")) << "round " << round;
        THistoryStore store(file);
        ASSERT_EQ(store.Open(), HistoryFault::None);
        const std::vector<HistoryPeriod> all = store.Periods();
        // Newest first, so the numbers run down without a gap from the newest
        // to 0: no commit was lost, and no import was stored in part.
        const auto found = static_cast<qint64>(all.size()) - 1;
        ASSERT_GE(found, acked) << "round " << round << ": a stored period was lost";
        for (std::size_t k = 0; k < all.size(); ++k) {
            const qint64 n = found - static_cast<qint64>(k);
            ASSERT_EQ(all[k].from, Numbered(n).from) << "round " << round;
            ASSERT_EQ(all[k].typed.generalAfter, Numbered(n).typed.generalAfter);
        }
        // A commit that landed before its report is whole: one add or three.
        ASSERT_TRUE(found == acked || found == acked + 1 || found == acked + 3)
            << "round " << round << ": " << found << " after " << acked;
        stored = found;
    }
    EXPECT_GT(stored, 40) << "the writers made progress";
}

} // namespace
