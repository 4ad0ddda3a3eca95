// "Back up history…" and "Restore…": one self-contained file, checked before
// it takes the history's place, the present file kept beside it.
#include "storage/historyschema.h"
#include "history/historystore.h"
#include "historysamples.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

struct Backups {
    QString dir = TestEnv::DataDir() + QStringLiteral("/backups");
    THistoryStore store{dir + QStringLiteral("/history.sqlite")};
    Backups() {
        QDir().mkpath(dir);
        store.Open();
        store.Add(SamplePeriod(QDate(2026, 1, 1), QDate(2026, 2, 1), 1));
    }
    QString File(const char* name) const { return dir + u'/' + QLatin1String(name); }
};

// Runs `statements` on an SQLite file of its own.
void MakeDatabase(const QString& file, const QStringList& statements) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), file);
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        for (const QString& s : statements) {
            ASSERT_TRUE(QSqlQuery(db).exec(s)) << s.toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(file);
}

TEST(HistoryBackup, RestoreBringsBackTheBackupAndKeepsThePresentFile) {
    Backups b;
    b.store.BackUp(b.File("backup.sqlite"));
    EXPECT_FALSE(QFileInfo::exists(b.File("backup.sqlite-wal")));
    b.store.Add(SamplePeriod(QDate(2026, 2, 1), QDate(2026, 3, 1), 2)); // in the log only
    const QString kept = b.store.Restore(b.File("backup.sqlite"));
    EXPECT_EQ(b.store.Periods().size(), 1u);
    THistoryStore before(kept);
    before.Open();
    EXPECT_EQ(before.Periods().size(), 2u) << "the kept file holds what its log held";
}

TEST(HistoryBackup, OnlyAWholeHistoryFileOfThisProgramIsRestored) {
    const QString history = QStringLiteral("CREATE TABLE period (id INTEGER PRIMARY KEY)");
    const struct {
        const char* name;
        QStringList statements; // on a new file, or on a backup when it is restored
        bool restored;
    } cases[] = {
        {"junk", {}, false},
        {"other", {QStringLiteral("PRAGMA application_id = 1"), history}, false},
        {"no periods", {QStringLiteral("CREATE TABLE x (y)")}, false},
        {"newer",
         {QStringLiteral("PRAGMA user_version = %1").arg(HistorySchemaVersion() + 1)},
         false},
        {"older program", {QStringLiteral("PRAGMA application_id = 0")}, true},
        {"ours", {QStringLiteral("PRAGMA application_id = %1").arg(kHistoryApplicationId)}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Backups b;
        const QString file = b.File(c.name);
        if (c.statements.isEmpty()) {
            QFile junk(file);
            ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
            junk.write("junk");
        } else {
            if (c.restored || QByteArray(c.name) == "newer") {
                b.store.BackUp(file);
            }
            MakeDatabase(file, c.statements);
        }
        b.store.Add(SamplePeriod(QDate(2026, 2, 1), QDate(2026, 3, 1), 2));
        if (c.restored) {
            EXPECT_NO_THROW(b.store.Restore(file));
            EXPECT_EQ(b.store.Periods().size(), 1u);
        } else {
            EXPECT_THROW(b.store.Restore(file), EHistoryError);
            EXPECT_EQ(b.store.Periods().size(), 2u) << "the history stays as it was";
        }
        QDir(b.dir).removeRecursively();
    }
}

} // namespace
