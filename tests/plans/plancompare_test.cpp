// Ranking plans on one period, and adding them up over the last year.
#include "plans/plancompare.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

PeriodBasis Use(double generalKwh) {
    PeriodBasis n;
    n.generalKwh = generalKwh;
    n.showHotWater = false;
    return n;
}

NamedPlan Plan(const char* name, double daily, double rate, double tax = 0) {
    NamedPlan p;
    p.name = QString::fromUtf8(name);
    p.rates.generalDailyCharge = daily;
    p.rates.generalRate = rate;
    p.rates.taxPercent = tax;
    return p;
}

const QList<NamedPlan> kPlans{Plan("As typed", 1.00, 0.25), Plan("Cheap", 0.80, 0.20, 10),
                              Plan("Dear", 1.20, 0.30), Plan("Cheap too", 0.88, 0.22)};

} // namespace

TEST(ComparePlans, DifferencesCheaperAndCheapest) {
    const QLocale us("en_US");
    const QList<PlanRow> rows = ComparePlans(30, Use(300), kPlans, 2);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].name, "As typed");
    EXPECT_DOUBLE_EQ(rows[0].figures.net, 105);
    EXPECT_DOUBLE_EQ(rows[1].figures.net, 92.4);
    EXPECT_DOUBLE_EQ(rows[2].figures.net, 126);
    EXPECT_DOUBLE_EQ(rows[3].figures.net, 92.4);
    EXPECT_FALSE(rows[0].cheaper);
    EXPECT_TRUE(rows[1].cheaper);
    EXPECT_FALSE(rows[2].cheaper);
    EXPECT_TRUE(rows[3].cheaper);
    // Equal to the cent: both are the cheapest.
    EXPECT_FALSE(rows[0].cheapest);
    EXPECT_TRUE(rows[1].cheapest);
    EXPECT_FALSE(rows[2].cheapest);
    EXPECT_TRUE(rows[3].cheapest);

    const PlanRowTexts ref = RowTexts(rows[0], true, us, 2);
    EXPECT_EQ(ref.net, "$105.00");
    EXPECT_EQ(ref.difference, "");
    const PlanRowTexts cheap = RowTexts(rows[1], false, us, 2);
    EXPECT_EQ(cheap.name, "Cheap");
    EXPECT_EQ(cheap.fixed, "$24.00");
    EXPECT_EQ(cheap.variable, "$60.00");
    EXPECT_EQ(cheap.income, "$0.00");
    EXPECT_EQ(cheap.tax, "$8.40");
    EXPECT_EQ(cheap.net, "$92.40");
    EXPECT_EQ(cheap.perDay, "$3.08");
    EXPECT_EQ(cheap.difference, "$12.60 cheaper");
    EXPECT_EQ(RowTexts(rows[2], false, us, 2).difference, "$21.00 dearer");
}

TEST(ComparePlans, ADifferenceBelowTheSmallestCoinIsNoSaving) {
    const QList<NamedPlan> plans{Plan("As typed", 1.00, 0.25), Plan("Hair less", 1.00, 0.249999)};
    const QList<PlanRow> cents = ComparePlans(30, Use(300), plans, 2);
    EXPECT_LT(cents[1].figures.net, cents[0].figures.net);
    EXPECT_FALSE(cents[1].cheaper);
    EXPECT_TRUE(cents[0].cheapest);
    EXPECT_TRUE(cents[1].cheapest);
    EXPECT_EQ(RowTexts(cents[1], false, QLocale("en_US"), 2).difference, "the same");

    // Without decimals (yen), 0.4 of the unit is no saving either, 0.6 is.
    const QList<NamedPlan> yen{Plan("As typed", 100, 25), Plan("A", 100, 24.9987),
                               Plan("B", 100, 24.998)};
    const QList<PlanRow> rows = ComparePlans(30, Use(300), yen, 0);
    EXPECT_FALSE(rows[1].cheaper);
    EXPECT_TRUE(rows[2].cheaper);
    EXPECT_TRUE(rows[2].cheapest);
    EXPECT_FALSE(rows[1].cheapest);
}

TEST(ComparePlans, AnOverflowingPlanShowsDashesAndTakesNoPart) {
    const QLocale us("en_US");
    QList<NamedPlan> plans{Plan("As typed", 1.00, 0.25), Plan("Absurd", 1.0, 1e300)};
    const QList<PlanRow> rows = ComparePlans(30, Use(1e10), plans, 2);
    EXPECT_FALSE(rows[1].showable);
    EXPECT_FALSE(rows[1].cheaper);
    EXPECT_FALSE(rows[1].cheapest);
    EXPECT_TRUE(rows[0].cheapest);
    const PlanRowTexts t = RowTexts(rows[1], false, us, 2);
    for (const QString& s : {t.fixed, t.variable, t.income, t.tax, t.net, t.perDay, t.difference}) {
        EXPECT_EQ(s, "-");
    }

    // An overflowing reference gives no differences at all.
    std::swap(plans[0], plans[1]);
    const QList<PlanRow> swapped = ComparePlans(30, Use(1e10), plans, 2);
    EXPECT_FALSE(swapped[1].cheaper);
    EXPECT_TRUE(swapped[1].cheapest);
    EXPECT_EQ(RowTexts(swapped[0], true, us, 2).difference, "");
}

TEST(YearOfPlans, KnownHistoryWithAPeriodAcrossTheStart) {
    // Paid = the typed tariff's net; each period used 10 kWh a day except the
    // one across the start (20 a day), of which half lies inside the year.
    auto stored = [](QDate from, QDate to, double kwh) {
        const double days = static_cast<double>(from.daysTo(to));
        return StoredUse{from, to, Use(kwh), days * 1.00 + kwh * 0.25};
    };
    const QList<StoredUse> history{
        stored(QDate(2025, 10, 9), QDate(2025, 11, 8), 300),   // before the year
        stored(QDate(2025, 11, 23), QDate(2025, 12, 23), 600), // 15 of 30 days inside
        stored(QDate(2025, 12, 23), QDate(2026, 3, 23), 900),
        stored(QDate(2026, 3, 23), QDate(2026, 9, 19), 1800),
        stored(QDate(2026, 9, 19), QDate(2026, 9, 19), 50), // no days
        stored(QDate(2026, 10, 1), QDate(2026, 9, 1), 50),  // dates the wrong way round
    };
    const QList<NamedPlan> plans{kPlans[0], kPlans[1]};
    const YearTotals y = YearOfPlans(history, plans, QDate(2026, 12, 8));
    EXPECT_EQ(y.yearDays, 365);
    EXPECT_EQ(y.periods, 3);
    EXPECT_EQ(y.days, 15 + 90 + 180);
    EXPECT_NEAR(y.paid, 90 + 315 + 630, 1e-9);
    ASSERT_EQ(y.planTotals.size(), 2);
    EXPECT_NEAR(y.planTotals[0], y.paid, 1e-9);
    EXPECT_NEAR(y.planTotals[1], 79.2 + 277.2 + 554.4, 1e-9);
    EXPECT_NEAR(SavingPerYear(y, y.planTotals[1]), (1035 - 910.8) * 365.0 / 285.0, 1e-9);
    EXPECT_NEAR(SavingPerYear(y, y.planTotals[0]), 0, 1e-9);
}

TEST(YearOfPlans, LeapYearAndEmptyHistory) {
    const StoredUse feb{QDate(2028, 2, 1), QDate(2028, 3, 1), Use(290), 29 + 72.5};
    const YearTotals leap = YearOfPlans({feb}, {kPlans[2]}, QDate(2028, 3, 1));
    EXPECT_EQ(leap.yearDays, 366);
    EXPECT_EQ(leap.days, 29);
    EXPECT_NEAR(leap.planTotals[0], 29 * 1.2 + 290 * 0.3, 1e-9);
    EXPECT_NEAR(SavingPerYear(leap, leap.planTotals[0]), (101.5 - (34.8 + 87)) * 366.0 / 29.0,
                1e-9);

    // A period that runs past the end counts up to the end only.
    const StoredUse ahead{QDate(2026, 12, 1), QDate(2026, 12, 11), Use(100), 10 + 25};
    const YearTotals part = YearOfPlans({ahead}, {kPlans[0]}, QDate(2026, 12, 8));
    EXPECT_EQ(part.days, 7);
    EXPECT_NEAR(part.paid, 35 * 0.7, 1e-9);

    const YearTotals none = YearOfPlans({}, {kPlans[0]}, QDate(2026, 12, 8));
    EXPECT_EQ(none.periods, 0);
    EXPECT_FALSE(LatestDate({}).isValid());
    EXPECT_EQ(LatestDate({ahead, feb, ahead}), QDate(2028, 3, 1));
    EXPECT_EQ(none.days, 0);
    EXPECT_EQ(SavingPerYear(none, 100), 0.0);
}
