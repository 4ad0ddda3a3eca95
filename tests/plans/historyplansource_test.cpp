// The compare-plans page's view of the history file: stored periods as the
// plan calculation sees them, and plans kept beside them.
#include "history/historysummary.h"
#include "plans/historyplansource.h"
#include "plans/plancompare.h"
#include "support/testenv.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

HistoryPeriod Period(QDate from, QDate to, bool solar, bool hotWater, const char* rate) {
    PeriodInputs in;
    in.solar = solar;
    in.showHotWater = hotWater;
    in.generalDailyCharge = "1.0731";
    in.generalRate = QString::fromLatin1(rate);
    in.hwDailyCharge = "0.2";
    in.hwRate = "0.1577";
    in.feedIn = "0.08";
    in.generalBefore = "1000.3";
    in.generalAfter = "1412.7";
    in.hotWaterBefore = "500";
    in.hotWaterAfter = "561.1";
    in.exportBefore = "12";
    in.exportAfter = "345.6";
    in.importGeneralBefore = "7";
    in.importGeneralAfter = "388.8";
    in.importHwBefore = "1";
    in.importHwAfter = "43";
    return MakeHistoryPeriod(from, to, in, QLocale("en_US"), 2,
                             QDateTime(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC));
}

QString StoreFile() {
    return TestEnv::DataDir() + QStringLiteral("/history.sqlite");
}

} // namespace

TEST(StoredUse, TheStoredTariffAsAPlanGivesTheStoredFigures) {
    for (bool solar : {false, true}) {
        for (bool hw : {false, true}) {
            SCOPED_TRACE(testing::Message() << "solar " << solar << " hot water " << hw);
            const HistoryPeriod p =
                Period(QDate(2026, 1, 3), QDate(2026, 2, 4), solar, hw, "0.283");
            const StoredUse s = StoredUseOf(p);
            EXPECT_EQ(s.from, p.from);
            EXPECT_EQ(s.to, p.to);
            EXPECT_EQ(s.paid, p.net);
            const PlanFigures f = ComputePlan(p.days, s.use, RatesOf(s.use));
            EXPECT_EQ(f.period.fixed, p.fixed);
            EXPECT_EQ(f.period.variable, p.variable);
            EXPECT_EQ(f.period.income, p.income);
            EXPECT_EQ(f.net, p.net);
        }
    }
}

TEST(HistoryPlanSource, OpensTheStoreOnlyWhenAskedAndKeepsPlansBesidePeriods) {
    THistoryStore store(StoreFile());
    int opens = 0;
    THistoryPlanSource source([&]() -> THistoryStore& {
        ++opens;
        if (!store.IsOpen()) {
            store.Open();
        }
        return store;
    });
    EXPECT_EQ(opens, 0);
    EXPECT_FALSE(store.IsOpen());
    EXPECT_TRUE(source.Periods().isEmpty());
    EXPECT_EQ(opens, 1);

    store.Add(Period(QDate(2026, 1, 3), QDate(2026, 2, 4), true, false, "0.283"));
    store.Add(Period(QDate(2026, 2, 4), QDate(2026, 3, 4), false, true, "0.3"));
    const QList<StoredUse> uses = source.Periods();
    ASSERT_EQ(uses.size(), 2);
    EXPECT_EQ(uses[0].from, QDate(2026, 2, 4)); // newest first
    EXPECT_FALSE(uses[0].use.solar);
    EXPECT_TRUE(uses[1].use.solar);

    PlanRates r;
    r.generalRate = 0.25;
    source.Plans().Add("Saver", r);
    // Closing and reopening the history (as after a fault) keeps the plans.
    store.Close();
    store.Open();
    EXPECT_EQ(source.Plans().Names(), QStringList{"Saver"});
    // A new history starts without plans; the old file keeps them.
    store.StartNewHistory();
    EXPECT_TRUE(source.Plans().Plans().isEmpty());
    EXPECT_TRUE(source.Periods().isEmpty());
}

TEST(HistoryPlanSource, TheYearIsTheHistoryPagesYear) {
    // Monthly periods over 14 months; the year's paid total must be the
    // History page's figure for the same stored periods.
    std::vector<HistoryPeriod> periods;
    QList<StoredUse> uses;
    QDate from(2025, 10, 17);
    for (int i = 0; i < 14; ++i) {
        const QDate to = from.addMonths(1);
        periods.push_back(Period(from, to, i % 2 == 0, i % 3 == 0, i % 2 ? "0.283" : "0.31"));
        uses.append(StoredUseOf(periods.back()));
        from = to;
    }
    const HistorySummary summary = SummarizeLastYear(periods);
    const YearTotals y = YearOfPlans(uses, {}, LatestDate(uses));
    EXPECT_EQ(y.days, summary.days);
    EXPECT_DOUBLE_EQ(y.paid, summary.paid);
}
