// Ranking tariff plans on a bill period's kWh and on meter intervals, and the
// breakdown of one plan; every figure worked by hand.
#include "plans/tariffranking.h"
#include "support/peakplan.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

// The first 10 kWh a day at 0.20, the rest at 0.30; $1.00 a day; 10 % tax.
TariffPlan Stepped() {
    TariffPlan p;
    p.name = QStringLiteral("Stepped");
    TariffSeason all;
    all.dailySupply = 1.00;
    all.usage.single = {{RateStep{0.20, 10}, RateStep{0.30, {}}}, StepPeriod::Day};
    p.seasons = {all};
    p.taxPercent = 10;
    return p;
}

// A flat plan in AEST (its own zone is the system's): $1.00 a day, 0.25 a
// kWh, 0.07 feed-in, no tax.
TariffPlan Flat() {
    TariffPlan p = FlatTariffPlan(QStringLiteral("Flat"), 1.00, 0.25, 0, 0, 0.07, 0, false);
    p.zone = TariffZone::Aest;
    return p;
}

QStringList Names(const QList<RankedPlan>& ranked) {
    QStringList names;
    for (const RankedPlan& r : ranked) {
        names << r.name;
    }
    return names;
}

TEST(TariffRanking, PeriodKwhPricesSingleAndSteppedPlansAndLeavesTimeOfUseToMeterData) {
    // The published flat plan: $0.3009 a kWh and $1.3684 a day, GST included.
    TariffPlan published =
        FlatTariffPlan(QStringLiteral("Published"), 1.3684, 0.3009, 0, 0, 0, 0, false);
    const struct {
        QDate from, to;
        double kwh;
        QStringList order;
        double published, stepped;
    } cases[] = {
        // 365 days, 10,000 kWh: 365 × 1.3684 + 10,000 × 0.3009 = 3,508.466.
        // Stepped: 3,650 kWh at 0.20 + 6,350 at 0.30 + 365 supply = 3,000, + 10 % = 3,300.
        {QDate(2023, 1, 1),
         QDate(2023, 12, 31),
         10000,
         {"Stepped", "Published", "Time of use"},
         3508.466,
         3300},
        // 10 days, 150 kWh (15 a day): published 13.684 + 45.135 = 58.819; stepped
        // (10 × 0.20 + 5 × 0.30 + 1.00) × 10 = 45, + 10 % = 49.50.
        {QDate(2024, 3, 1),
         QDate(2024, 3, 10),
         150,
         {"Stepped", "Published", "Time of use"},
         58.819,
         49.5},
        // 2 days, 200 kWh (100 a day): published 2.7368 + 60.18 = 62.9168; stepped
        // (2 + 90 × 0.30 + 1.00) × 2 = 60, + 10 % = 66.
        {QDate(2024, 3, 1),
         QDate(2024, 3, 2),
         200,
         {"Published", "Stepped", "Time of use"},
         62.9168,
         66},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from.daysTo(c.to) + 1);
        const QList<RankedPlan> r =
            RankOnPeriodKwh({PeakPlan(), Stepped(), published}, c.from, c.to, c.kwh, 0, 0, false);
        ASSERT_EQ(Names(r), c.order);
        auto total = [&](const char* name) { return r[c.order.indexOf(name)].price.total; };
        EXPECT_NEAR(total("Published"), c.published, 1e-9);
        EXPECT_NEAR(total("Stepped"), c.stepped, 1e-9);
        EXPECT_TRUE(r.back().price.needsMeterData);
        EXPECT_EQ(PriceNote(r.back().price), "needs meter data");
    }
}

TEST(TariffRanking, IntervalsRankEveryPlanExactlyOnTheChosenDaysAndTheYear) {
    // Each of two AEST days: 3 kWh at 02:00 (off-peak), 1 kWh at 16:00 (peak),
    // 1 kWh exported at 12:00.
    auto series = std::make_shared<IntervalSeries>();
    for (int day : {1, 2}) {
        auto at = [&](int hour) {
            return QDateTime(QDate(2024, 1, day), QTime(hour, 0), QTimeZone(36000))
                .toSecsSinceEpoch();
        };
        series->add(at(2), 30, 3, IntervalRole::General);
        series->add(at(16), 30, 1, IntervalRole::General);
        series->add(at(12), 30, 1, IntervalRole::Export);
    }
    IntervalRanking in;
    in.plans = {Flat(), PeakPlan()};
    in.series = series;
    in.from = QDate(2024, 1, 1);
    in.to = QDate(2024, 1, 2);
    in.yearFrom = in.yearTo = QDate(2024, 1, 2);
    const RankingResult r = RankOnIntervals(in);
    // Time of use a day: 1 supply + 0.30 off-peak + 0.50 peak - 10 % of 0.80
    // - 0.05 feed-in = 1.67. Flat a day: 1 + 4 × 0.25 - 0.07 = 1.93.
    ASSERT_EQ(Names(r.ranked), QStringList({"Time of use", "Flat"}));
    EXPECT_NEAR(r.ranked[0].price.total, 3.34, 1e-9);
    EXPECT_NEAR(r.ranked[1].price.total, 3.86, 1e-9);
    ASSERT_EQ(Names(r.year), QStringList({"Time of use", "Flat"}));
    EXPECT_NEAR(r.year[0].price.total, 1.67, 1e-9);
    EXPECT_NEAR(r.year[1].price.total, 1.93, 1e-9);

    // The breakdown shows the feed-in credit taken off.
    const QList<BreakdownLine> lines = Breakdown(r.ranked[0].price);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[3].item, "Feed-in");
    EXPECT_DOUBLE_EQ(lines[3].cost, -0.10);
    EXPECT_DOUBLE_EQ(*lines[3].rate, 0.05);
}

TEST(TariffRanking, TheLastTwelveMonthsEndAtTheLastDayAndStartNoEarlierThanTheData) {
    const struct {
        QDate first, last, from, to;
    } cases[] = {
        {QDate(2022, 5, 1), QDate(2024, 2, 29), QDate(2023, 3, 1), QDate(2024, 2, 29)},
        {QDate(2022, 5, 1), QDate(2023, 12, 31), QDate(2023, 1, 1), QDate(2023, 12, 31)},
        {QDate(2023, 6, 10), QDate(2023, 12, 31), QDate(2023, 6, 10), QDate(2023, 12, 31)},
        {QDate(), QDate(), QDate(), QDate()},
    };
    for (const auto& c : cases) {
        const auto [from, to] = LastTwelveMonths(c.first, c.last);
        EXPECT_EQ(from, c.from) << c.last.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(to, c.to);
    }
}

} // namespace
