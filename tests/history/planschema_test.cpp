// The plans table arrives as schema version 2 on a history of version 1,
// which keeps every stored period.
#include "history/historyschema.h"
#include "history/historystore.h"
#include "history/planschema.h"
#include "history/planstore.h"

#include "historysamples.h"
#include "support/testenv.h"

#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

QString File(const char* name) {
    return TestEnv::DataDir() + QLatin1Char('/') + QLatin1String(name);
}

template <class F> void WithRawDatabase(const QString& file, F&& work) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plans-raw"));
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plans-raw"));
}

// A history file at version 1 holding `periods`: made by step 1 alone, its
// rows copied from a file the store wrote (step 2 leaves the periods table
// as step 1 made it).
void MakeVersion1(const std::vector<HistoryPeriod>& periods) {
    {
        THistoryStore donor(File("donor.sqlite"));
        ASSERT_EQ(donor.Open(), HistoryFault::None);
        for (const HistoryPeriod& p : periods) {
            donor.Add(p);
        }
    }
    WithRawDatabase(File("history.sqlite"), [&](const QSqlDatabase& db) {
        MigrateHistory(db, 1);
        QSqlQuery q(db);
        ASSERT_TRUE(
            q.exec(QStringLiteral("ATTACH DATABASE '%1' AS donor").arg(File("donor.sqlite"))));
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO period SELECT * FROM donor.period")));
        ASSERT_TRUE(q.exec(QStringLiteral("DETACH DATABASE donor")));
        EXPECT_EQ(ReadSchemaVersion(db), 1);
    });
}

const std::vector<HistoryPeriod> kPeriods{
    SamplePeriod(QDate(2025, 5, 1), QDate(2025, 6, 1), 1),
    SamplePeriod(QDate(2025, 6, 1), QDate(2025, 7, 3), 2, false),
};

} // namespace

TEST(PlanSchema, Version1GainsPlansAndKeepsItsPeriods) {
    MakeVersion1(kPeriods);
    THistoryStore store(File("history.sqlite"));
    ASSERT_EQ(store.Open(), HistoryFault::None);
    const std::vector<HistoryPeriod> kept = store.Periods();
    ASSERT_EQ(kept.size(), 2u);
    ExpectSamePeriod(kept[0], kPeriods[1]);
    ExpectSamePeriod(kept[1], kPeriods[0]);
    EXPECT_EQ(ReadSchemaVersion(store.Database()), HistorySchemaVersion());

    PlanStore plans(store.Database());
    EXPECT_TRUE(plans.Plans().isEmpty());
    PlanRates r;
    r.generalRate = 0.2;
    r.taxPercent = 10;
    plans.Add(QStringLiteral("Saver"), r);
    store.Close();

    THistoryStore again(File("history.sqlite"));
    ASSERT_EQ(again.Open(), HistoryFault::None);
    EXPECT_EQ(PlanStore(again.Database()).Names(), QStringList{QStringLiteral("Saver")});
    EXPECT_EQ(again.Periods().size(), 2u);
}

TEST(PlanSchema, AFailingStepLeavesVersion1AsItWas) {
    // Something else already made a table of that name: the step fails, its
    // transaction is rolled back and the periods stay at version 1.
    MakeVersion1(kPeriods);
    WithRawDatabase(File("history.sqlite"), [](const QSqlDatabase& db) {
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE INDEX plans_name ON period (note)")));
    });
    {
        THistoryStore store(File("history.sqlite"));
        EXPECT_THROW(store.Open(), EHistoryError);
        EXPECT_FALSE(store.IsOpen());
    }
    WithRawDatabase(File("history.sqlite"), [](const QSqlDatabase& db) {
        EXPECT_EQ(ReadSchemaVersion(db), 1);
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM period")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 2);
        EXPECT_FALSE(q.exec(QStringLiteral("SELECT count(*) FROM plans")))
            << "the half-made table was rolled back";
    });
}
