// Every older schema version reaches the newest through the migration steps;
// a file from a newer program, or a step that fails, leaves the file as it was.

#include "history/historystore.h"
#include "storage/historyschema.h"

#include "history/historysamples.h"
#include "support/testenv.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

QString StoreFile() {
    return TestEnv::DataDir() + QStringLiteral("/history.sqlite");
}

// Runs `work` on a plain connection to the file, outside the store.
template <class F> void WithRawDatabase(const QString& file, F&& work) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(HistorySchema, StepsAreNumberedOneByOneFromOne) {
    const auto& steps = HistoryMigrations();
    ASSERT_FALSE(steps.empty());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].version, static_cast<int>(i) + 1);
        EXPECT_NE(steps[i].apply, nullptr);
    }
    EXPECT_EQ(HistorySchemaVersion(), static_cast<int>(steps.size()));
}

TEST(HistorySchema, EveryOlderVersionMigratesToTheNewest) {
    for (int from = 0; from < HistorySchemaVersion(); ++from) {
        SCOPED_TRACE(from);
        QFile::remove(StoreFile());
        WithRawDatabase(StoreFile(), [&](const QSqlDatabase& db) {
            MigrateHistory(db, from);
            EXPECT_EQ(ReadSchemaVersion(db), from);
        });
        THistoryStore store(StoreFile());
        ASSERT_EQ(store.Open(), HistoryFault::None);
        const HistoryPeriod p = SamplePeriod(QDate(2025, 5, 1), QDate(2025, 6, 1), from);
        store.Add(p);
        ExpectSamePeriod(store.Periods().at(0), p);
        store.Close();
        WithRawDatabase(StoreFile(), [&](const QSqlDatabase& db) {
            EXPECT_EQ(ReadSchemaVersion(db), HistorySchemaVersion());
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA journal_mode")));
            ASSERT_TRUE(q.next());
            EXPECT_EQ(q.value(0).toString(), QStringLiteral("wal"));
        });
    }
}

TEST(HistorySchema, OpeningAnUpToDateFileKeepsItsPeriods) {
    {
        THistoryStore store(StoreFile());
        store.Open();
        store.Add(SamplePeriod(QDate(2025, 5, 1), QDate(2025, 6, 1)));
    }
    THistoryStore again(StoreFile());
    again.Open();
    again.Open(); // twice on purpose: reopening runs no step again
    EXPECT_EQ(again.Periods().size(), 1u);
}

TEST(HistorySchema, AFileFromANewerProgramIsRefusedAndLeftAlone) {
    WithRawDatabase(StoreFile(), [](const QSqlDatabase& db) {
        QSqlQuery(db).exec(
            QStringLiteral("PRAGMA user_version = %1").arg(HistorySchemaVersion() + 1));
    });
    const QByteArray before = Bytes(StoreFile());
    THistoryStore store(StoreFile());
    try {
        store.Open();
        FAIL() << "a newer file was opened";
    } catch (const EHistoryError& e) {
        EXPECT_EQ(e.Fault(), HistoryFault::Newer);
        EXPECT_TRUE(e.Message().contains(QStringLiteral("newer version")));
    }
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(Bytes(StoreFile()), before);
}

TEST(HistorySchema, TheFileRefusesFiguresThatAreNotFiniteAndCarriesItsId) {
    HistoryPeriod p = SamplePeriod(QDate(2025, 5, 1), QDate(2025, 6, 1));
    {
        THistoryStore store(StoreFile());
        store.Open();
        store.Add(p);
        p.kwhGeneral = 1e308 * 10;
        EXPECT_THROW(store.Add(p), EVoltiskError);
    }
    WithRawDatabase(StoreFile(), [](const QSqlDatabase& db) {
        QSqlQuery q(db);
        for (const char* sql :
             {"UPDATE period SET net_cost = 9e999", "UPDATE period SET general_rate = -9e999",
              "CREATE TEMP TABLE t AS SELECT * FROM period; "
              "UPDATE t SET id = 9, date_from = '2000-01-01', income = 9e999; "
              "INSERT INTO period SELECT * FROM t"}) {
            for (const QString& one : QString::fromLatin1(sql).split(QLatin1String("; "))) {
                if (!q.exec(one)) {
                    EXPECT_TRUE(q.lastError().text().contains(QLatin1String("not finite"))) << sql;
                    break;
                }
                EXPECT_FALSE(one.startsWith(QLatin1String("INSERT INTO period")) ||
                             one.startsWith(QLatin1String("UPDATE period")))
                    << sql;
            }
        }
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*), max(net_cost) FROM period")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 1);
        EXPECT_LT(q.value(1).toDouble(), 1e15);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA application_id")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), kHistoryApplicationId);
    });
}

TEST(HistorySchema, AFailingStepLeavesTheFileAtItsVersion) {
    // A stray table in the way makes step 1 fail half-way.
    WithRawDatabase(StoreFile(), [](const QSqlDatabase& db) {
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE period (x)"));
    });
    THistoryStore store(StoreFile());
    EXPECT_THROW(store.Open(), EHistoryError);
    WithRawDatabase(StoreFile(), [](const QSqlDatabase& db) {
        EXPECT_EQ(ReadSchemaVersion(db), 0);
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT x FROM period")));
    });
}

} // namespace
