// A damaged, unreadable, read-only or locked history is reported with its
// fault, and nothing ever deletes or overwrites the user's file.

#include "storage/historysql.h"
#include "history/historystore.h"

#include "historysamples.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString Folder() {
    return TestEnv::DataDir() + QStringLiteral("/faults");
}
QString StoreFile() {
    return Folder() + QStringLiteral("/history.sqlite");
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A history of three periods, closed (its journal folded into the file).
void MakeHistory() {
    THistoryStore store(StoreFile());
    store.Open();
    for (int i = 0; i < 3; ++i) {
        store.Add(SamplePeriod(QDate(2025, 1 + i, 1), QDate(2025, 2 + i, 1), i));
    }
}

HistoryFault FaultOfOpen(THistoryStore& store) {
    try {
        return store.Open();
    } catch (const EHistoryError& e) {
        EXPECT_FALSE(e.Message().isEmpty());
        return e.Fault();
    }
}

// Runs `check` in a forked child under an unprivileged user id (the tests run
// as root, whom file modes do not stop); returns the child's exit code, 0 when
// every check held, 100 + n at the first failed check n.
int AsUnprivilegedUser(const std::function<int()>& check, int folderMode = 0777) {
    // The child must be able to reach the folder.
    for (QString dir = Folder(); dir.size() > 1; dir = QFileInfo(dir).absolutePath()) {
        ::chmod(QFile::encodeName(dir).constData(), 0755);
        if (dir == QDir::tempPath()) {
            break;
        }
    }
    ::chmod(QFile::encodeName(Folder()).constData(), folderMode);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            _exit(99);
        }
        _exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(HistoryFaults, AFileThatIsNoDatabaseIsDamagedAndKept) {
    const QByteArray junk = QByteArray("This is not a database.\n").repeated(200);
    WriteBytes(StoreFile(), junk);
    THistoryStore store(StoreFile());
    EXPECT_EQ(FaultOfOpen(store), HistoryFault::Damaged);
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(Bytes(StoreFile()), junk);
}

TEST(HistoryFaults, ACutOffFileIsDamagedWhenOpenedOrRead) {
    MakeHistory();
    const QByteArray whole = Bytes(StoreFile());
    ASSERT_GT(whole.size(), 8192);
    // Keep the header page, overwrite the pages of the table with garbage.
    QByteArray broken = whole.left(4096) + QByteArray(whole.size() - 4096, '\xA5');
    WriteBytes(StoreFile(), broken);
    THistoryStore store(StoreFile());
    HistoryFault fault = FaultOfOpen(store);
    if (fault == HistoryFault::None) {
        try {
            store.Periods();
        } catch (const EHistoryError& e) {
            fault = e.Fault();
        }
    }
    EXPECT_EQ(fault, HistoryFault::Damaged);
    store.Close();
    EXPECT_EQ(Bytes(StoreFile()), broken);
}

TEST(HistoryFaults, StartingANewHistoryKeepsTheOldFileBesideIt) {
    const QByteArray junk("definitely not SQLite");
    WriteBytes(StoreFile(), junk);
    WriteBytes(StoreFile() + QStringLiteral("-wal"), "old journal");
    THistoryStore store(StoreFile());
    EXPECT_EQ(FaultOfOpen(store), HistoryFault::Damaged);
    const QString kept = store.StartNewHistory();
    ASSERT_FALSE(kept.isEmpty());
    EXPECT_NE(kept, StoreFile());
    EXPECT_EQ(QFileInfo(kept).absolutePath(), Folder());
    EXPECT_TRUE(QFileInfo(kept).fileName().startsWith(QStringLiteral("history-")));
    EXPECT_EQ(Bytes(kept), junk);
    EXPECT_EQ(Bytes(kept + QStringLiteral("-wal")), QByteArray("old journal"));
    EXPECT_TRUE(store.IsOpen());
    EXPECT_TRUE(store.Periods().empty());
    store.Add(SamplePeriod(QDate(2025, 1, 1), QDate(2025, 2, 1)));

    // A second new start in the same second finds another free name.
    const QString second = store.StartNewHistory();
    EXPECT_NE(second, kept);
    EXPECT_EQ(Bytes(kept), junk);
    THistoryStore old(second);
    old.Open();
    EXPECT_EQ(old.Periods().size(), 1u);
}

TEST(HistoryFaults, AFolderInPlaceOfTheFileIsUnreadable) {
    ASSERT_TRUE(QDir().mkpath(StoreFile()));
    THistoryStore store(StoreFile());
    EXPECT_EQ(FaultOfOpen(store), HistoryFault::Unreadable);
    EXPECT_TRUE(QFileInfo(StoreFile()).isDir());
}

TEST(HistoryFaults, AReadOnlyFileIsShownButNeverChanged) {
    MakeHistory();
    ASSERT_EQ(::chmod(QFile::encodeName(StoreFile()).constData(), 0444), 0);
    const QByteArray before = Bytes(StoreFile());
    const int code = AsUnprivilegedUser([] {
        THistoryStore store(StoreFile(), 0);
        if (FaultOfOpen(store) != HistoryFault::ReadOnly) {
            return 101;
        }
        if (store.Periods().size() != 3) {
            return 102;
        }
        try {
            store.Add(SamplePeriod(QDate(2026, 1, 1), QDate(2026, 2, 1)));
            return 103;
        } catch (const EHistoryError& e) {
            if (e.Fault() != HistoryFault::ReadOnly) {
                return 104;
            }
        }
        return 0;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Bytes(StoreFile()), before);
}

TEST(HistoryFaults, AFileWithoutWritePermissionIsNeverChangedEvenByRoot) {
    MakeHistory();
    ASSERT_EQ(::chmod(QFile::encodeName(StoreFile()).constData(), 0444), 0);
    const QByteArray before = Bytes(StoreFile());
    THistoryStore store(StoreFile(), 0);
    EXPECT_EQ(FaultOfOpen(store), HistoryFault::ReadOnly);
    EXPECT_EQ(store.Periods().size(), 3u);
    EXPECT_THROW(store.Add(SamplePeriod(QDate(2026, 1, 1), QDate(2026, 2, 1))), EHistoryError);
    store.Close();
    EXPECT_EQ(Bytes(StoreFile()), before);
    ::chmod(QFile::encodeName(StoreFile()).constData(), 0600);
}

TEST(HistoryFaults, AReadOnlyFolderShowsTheStoredPeriods) {
    MakeHistory();
    // The file may be written by the user, the folder takes no new files.
    ASSERT_EQ(::chmod(QFile::encodeName(StoreFile()).constData(), 0666), 0);
    const int code = AsUnprivilegedUser(
        [] {
            THistoryStore store(StoreFile(), 0);
            if (FaultOfOpen(store) != HistoryFault::ReadOnly) {
                return 101;
            }
            try {
                return store.Periods().size() == 3 ? 0 : 102;
            } catch (const EHistoryError&) {
                return 103; // never let the child run on as a test process
            }
        },
        0755);
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(QFileInfo::exists(StoreFile() + QStringLiteral("-wal")));
}

TEST(HistoryFaults, AFullDiskSaysSo) {
    const QSqlError full(QStringLiteral("disk I/O"), QStringLiteral("database or disk is full"),
                         QSqlError::StatementError, QStringLiteral("13"));
    EXPECT_EQ(FaultOf(full), HistoryFault::DiskFull);
    EXPECT_TRUE(HistoryFaultText(HistoryFault::DiskFull, StoreFile())
                    .contains(QStringLiteral("the disk is full")));
}

TEST(HistoryFaults, AFileTheUserMayNotReadIsUnreadable) {
    MakeHistory();
    ASSERT_EQ(::chmod(QFile::encodeName(StoreFile()).constData(), 0600), 0);
    const int code = AsUnprivilegedUser([] {
        THistoryStore store(StoreFile(), 0);
        return FaultOfOpen(store) == HistoryFault::Unreadable ? 0 : 101;
    });
    EXPECT_EQ(code, 0);
}

TEST(HistoryFaults, AFileLockedByAnotherWriterIsReportedAndUsableAfterwards) {
    MakeHistory();
    THistoryStore store(StoreFile(), 0);
    store.Open();
    {
        QSqlDatabase other =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(StoreFile());
        ASSERT_TRUE(other.open());
        QSqlQuery q(other);
        ASSERT_TRUE(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        try {
            store.Add(SamplePeriod(QDate(2026, 1, 1), QDate(2026, 2, 1)));
            ADD_FAILURE() << "a locked file took a period";
        } catch (const EHistoryError& e) {
            EXPECT_EQ(e.Fault(), HistoryFault::Locked);
            EXPECT_TRUE(e.Message().contains(QStringLiteral("in use by another program")));
        }
        // Reading goes on while the other program writes.
        EXPECT_EQ(store.Periods().size(), 3u);
        ASSERT_TRUE(q.exec(QStringLiteral("ROLLBACK")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    store.Add(SamplePeriod(QDate(2026, 1, 1), QDate(2026, 2, 1)));
    EXPECT_EQ(store.Periods().size(), 4u);
}

} // namespace
