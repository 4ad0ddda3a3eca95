// The plan store: what it keeps, what it refuses, and that a refused change
// leaves the table as it was.
#include "history/historystore.h"
#include "mylib/errors.h"
#include "plans/planstore.h"
#include "plans/tariffplanstore.h"
#include "storage/planschema.h"
#include "support/peakplan.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include <limits>

namespace {

PlanRates Rates(double gDaily, double gRate, double tax = 0, bool onIncome = false) {
    PlanRates r;
    r.generalDailyCharge = gDaily;
    r.generalRate = gRate;
    r.hwDailyCharge = 0.15;
    r.hwRate = 0.12;
    r.feedIn = 0.05;
    r.taxPercent = tax;
    r.taxOnIncome = onIncome;
    return r;
}

class PlanStoreTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(dir.filePath(QStringLiteral("history.sqlite")));
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(db.transaction());
        MigrateToVersion2(db);
        ASSERT_TRUE(db.commit());
    }
    void TearDown() override {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection);
    }
    int Rows() {
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM plans")));
        EXPECT_TRUE(q.next());
        return q.value(0).toInt();
    }

    QTemporaryDir dir;
    const QString connection = QUuid::createUuid().toString();
    QSqlDatabase db;
};

} // namespace

TEST_F(PlanStoreTest, KeepsEveryFieldInTheOrderAdded) {
    PlanStore store(db);
    const qint64 a = store.Add(QStringLiteral("  Saver \u00e9 "), Rates(1.1, 0.22, 10, true));
    const qint64 b = store.Add(QStringLiteral("Flexi"), Rates(0.9, 0.31));
    // A second store on the same file sees what the first wrote.
    const QList<StoredPlan> plans = PlanStore(db).Plans();
    ASSERT_EQ(plans.size(), 2);
    EXPECT_EQ(plans[0].id, a);
    EXPECT_EQ(plans[0].name, QStringLiteral("Saver \u00e9"));
    EXPECT_EQ(plans[0].rates.generalDailyCharge, 1.1);
    EXPECT_EQ(plans[0].rates.generalRate, 0.22);
    EXPECT_EQ(plans[0].rates.hwDailyCharge, 0.15);
    EXPECT_EQ(plans[0].rates.hwRate, 0.12);
    EXPECT_EQ(plans[0].rates.feedIn, 0.05);
    EXPECT_EQ(plans[0].rates.taxPercent, 10);
    EXPECT_TRUE(plans[0].rates.taxOnIncome);
    EXPECT_EQ(plans[1].id, b);
    EXPECT_FALSE(plans[1].rates.taxOnIncome);
    EXPECT_EQ(store.Names(), (QStringList{QStringLiteral("Saver \u00e9"), "Flexi"}));
}

TEST_F(PlanStoreTest, EditDuplicateAndRemove) {
    PlanStore store(db);
    const qint64 a = store.Add("Saver", Rates(1.1, 0.22));
    store.Edit(a, "Saver plus", Rates(1.2, 0.2, 15));
    EXPECT_EQ(store.Plans()[0].name, "Saver plus");
    EXPECT_EQ(store.Plans()[0].rates.taxPercent, 15);
    // Keeping its own name, in another letter case, is no clash.
    store.Edit(a, "SAVER PLUS", Rates(1.2, 0.2, 15));
    EXPECT_EQ(store.Plans()[0].name, "SAVER PLUS");

    const qint64 c1 = store.Duplicate(a);
    const qint64 c2 = store.Duplicate(a);
    const QList<StoredPlan> plans = store.Plans();
    ASSERT_EQ(plans.size(), 3);
    EXPECT_EQ(plans[1].id, c1);
    EXPECT_EQ(plans[1].name, "SAVER PLUS (copy)");
    EXPECT_EQ(plans[2].id, c2);
    EXPECT_EQ(plans[2].name, "SAVER PLUS (copy 2)");
    EXPECT_EQ(plans[2].rates.generalDailyCharge, 1.2);
    EXPECT_EQ(plans[2].rates.taxPercent, 15);

    store.Remove(c1);
    EXPECT_EQ(store.Names(), (QStringList{"SAVER PLUS", "SAVER PLUS (copy 2)"}));
    EXPECT_THROW(store.Remove(c1), EVoltiskError);
    EXPECT_THROW(store.Edit(c1, "Back", Rates(1, 1)), EVoltiskError);
    EXPECT_THROW(store.Duplicate(c1), EVoltiskError);
}

TEST_F(PlanStoreTest, RefusesWhatThePageRefusesAndKeepsTheTable) {
    PlanStore store(db);
    const qint64 a = store.Add("Saver", Rates(1.1, 0.22));
    store.Add("Flexi", Rates(1.1, 0.22));
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto message = [&](auto&& f) {
        try {
            f();
        } catch (const EVoltiskError& e) {
            return e.Message();
        }
        return QStringLiteral("(nothing thrown)");
    };
    EXPECT_EQ(message([&] { store.Add("", Rates(1, 1)); }), "Enter a name for the plan.");
    EXPECT_EQ(message([&] { store.Add(" saver ", Rates(1, 1)); }),
              "A plan named \"Saver\" already exists.");
    EXPECT_EQ(message([&] { store.Add("As Typed", Rates(1, 1)); }),
              "\"As typed\" is the tariff on the readings page; choose another name.");
    EXPECT_EQ(message([&] { store.Add("New", Rates(-0.5, 1)); }),
              "A charge or rate must be a number of 0 or more");
    EXPECT_EQ(message([&] { store.Add("New", Rates(1, inf)); }),
              "A charge or rate must be a number of 0 or more");
    EXPECT_EQ(message([&] { store.Add("New", Rates(1, nan)); }),
              "A charge or rate must be a number of 0 or more");
    EXPECT_EQ(message([&] { store.Add("New", Rates(1, 1, 100.5)); }),
              "The tax must be from 0 to 100 percent");
    EXPECT_EQ(message([&] { store.Add("New", Rates(1, 1, nan)); }),
              "The tax must be from 0 to 100 percent");
    EXPECT_EQ(message([&] { store.Edit(a, "flexi", Rates(1, 1)); }),
              "A plan named \"Flexi\" already exists.");
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(store.Plans()[0].name, "Saver");
    EXPECT_EQ(store.Plans()[0].rates.generalDailyCharge, 1.1);
}

TEST_F(PlanStoreTest, TheFileItselfRefusesInvalidRows) {
    // Whoever writes the file, the table keeps out a negative rate, a tax
    // beyond 100 and a second "saver".
    QSqlQuery q(db);
    EXPECT_TRUE(q.exec("INSERT INTO plans (name, general_daily_charge, general_rate,"
                       " hw_daily_charge, hw_rate, feed_in, tax_percent)"
                       " VALUES ('Saver', 1, 1, 0, 0, 0, 10)"));
    EXPECT_FALSE(q.exec("INSERT INTO plans (name, general_daily_charge, general_rate,"
                        " hw_daily_charge, hw_rate, feed_in, tax_percent)"
                        " VALUES ('saver', 1, 1, 0, 0, 0, 10)"));
    EXPECT_FALSE(q.exec("INSERT INTO plans (name, general_daily_charge, general_rate,"
                        " hw_daily_charge, hw_rate, feed_in, tax_percent)"
                        " VALUES ('Other', -1, 1, 0, 0, 0, 10)"));
    EXPECT_FALSE(q.exec("INSERT INTO plans (name, general_daily_charge, general_rate,"
                        " hw_daily_charge, hw_rate, feed_in, tax_percent)"
                        " VALUES ('Other', 1, 1, 0, 0, 0, 101)"));
    EXPECT_FALSE(q.exec("INSERT INTO plans (name, general_daily_charge, general_rate,"
                        " hw_daily_charge, hw_rate, feed_in, tax_percent)"
                        " VALUES ('  ', 1, 1, 0, 0, 0, 1)"));
    EXPECT_EQ(Rows(), 1);
}

TEST_F(PlanStoreTest, EveryChangeKeepsTheFlatPlansCopyAmongTheTariffPlans) {
    THistoryStore history(dir.filePath(QStringLiteral("newest.sqlite")));
    history.Open();
    PlanStore store(history.Database());
    TariffPlanStore tariffs(history.Database());
    auto copies = [&] {
        QStringList out;
        for (const StoredTariffPlan& p : tariffs.Plans()) {
            out << QStringLiteral("%1 %2")
                       .arg(p.plan.name)
                       .arg(p.plan.seasons.value(0).usage.single.steps.value(0).price);
        }
        return out;
    };
    const qint64 id = store.Add("Saver", Rates(1, 0.25));
    EXPECT_EQ(copies(), QStringList({"Saver 0.25"}));
    store.Edit(id, "Saver 2", Rates(1, 0.3));
    EXPECT_EQ(copies(), QStringList({"Saver 2 0.3"}));
    tariffs.Add(PeakPlan());
    EXPECT_THROW(store.Add(" time OF use", Rates(1, 1)), EVoltiskError);
    EXPECT_THROW(tariffs.Add(FlatTariffPlan("SAVER 2", 1, 1, 0, 0, 0, 0, false)), EVoltiskError);
    store.Remove(id);
    EXPECT_EQ(copies(), QStringList({"Time of use 0"}));
}
