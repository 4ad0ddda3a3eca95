// The answers the history gives a household, each worked by hand: is the
// bill right, do the readings fit together, why did the cost change, what
// will the running period cost, and the command line's JSON.

#include "history/billcheck.h"
#include "history/changeexplain.h"
#include "history/forecast.h"
#include "history/historyjson.h"
#include "history/readingchecks.h"

#include "historysamples.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

const QLocale kUs(QStringLiteral("en_US"));

// A period with hot water hidden: the general meter from `start` to `end` at
// `rate` a kWh and `daily` a day; solar when `exported` > 0.
HistoryPeriod Period(QDate from, QDate to, double start, double end, double rate, double daily,
                     double exported = 0, double feedIn = 0) {
    PeriodInputs in;
    in.showHotWater = false;
    in.solar = exported > 0;
    in.generalRate = QString::number(rate);
    in.generalDailyCharge = QString::number(daily);
    (in.solar ? in.importGeneralBefore : in.generalBefore) = QString::number(start);
    (in.solar ? in.importGeneralAfter : in.generalAfter) = QString::number(end);
    in.exportBefore = QStringLiteral("0");
    in.exportAfter = QString::number(exported);
    in.feedIn = QString::number(feedIn);
    return MakeHistoryPeriod(from, to, in, kUs, 2, QDateTime::currentDateTimeUtc());
}

// The worked example: 30 days, general 300 kWh at $0.25, hot water 60 kWh at
// $0.15, daily charges $1.00 + $0.20: net 75 + 9 + 36 = $120.00.
HistoryPeriod Worked() {
    return MakeHistoryPeriod(QDate(2026, 11, 1), QDate(2026, 12, 1), WorkedExampleInputs(), kUs, 2,
                             QDateTime::currentDateTimeUtc());
}

TEST(BillCheck, FlagsMoreThanACentADayWithTheCauseThatFits) {
    // Tolerance: 30 days x $0.01 = $0.30.
    struct Case {
        double billed;
        bool estimated, flagged;
        const char *sentence, *cause;
    } cases[] = {
        {120.25, false, false, "Billed $0.25 more than these readings and rates give.", ""},
        {120.30, false, false, "Billed $0.30 more than these readings and rates give.", ""},
        // 12.40 / 1.20 = 10.33 days: no whole days. Rate 0.25 + 12.40 / 300 =
        // 0.29133; daily charge 1.00 + 12.40 / 30 = 1.41333.
        {132.40, false, true, "Billed $12.40 more than these readings and rates give.",
         "The bill matches a general rate of $0.2913 a kWh instead of $0.2500, or a general "
         "daily charge of $1.4133 instead of $1.0000."},
        // 3.60 = 3 x 1.20: three more days.
        {123.60, false, true, "Billed $3.60 more than these readings and rates give.",
         "The difference is 3 days of daily charges: the bill may count 33 days, not 30."},
        // -5.00 = -4 x 1.20 - 0.20, and 0.20 is within $0.30.
        {115.00, false, true, "Billed $5.00 less than these readings and rates give.",
         "The difference is 4 days of daily charges: the bill may count 26 days, not 30."},
        // -110: -92 days is more than the period; the rate and charge would be < 0.
        {10.00, false, true, "Billed $110.00 less than these readings and rates give.", ""},
        {100.00, true, true, "Billed $20.00 less than these readings and rates give.",
         "A reading is marked estimated: the bill may count other readings than these."},
        {120.00, false, false, "Billed as these readings and rates give.", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.billed);
        HistoryPeriod p = Worked();
        p.billed = c.billed;
        if (c.estimated) {
            p.estimated = QStringList{QStringLiteral("general_after")};
        }
        const BillCheck check = CheckBill(p, kUs, 2);
        EXPECT_TRUE(check.billed);
        EXPECT_NEAR(check.difference, c.billed - 120.0, 1e-9);
        EXPECT_EQ(check.flagged, c.flagged);
        EXPECT_EQ(check.sentence, QLatin1String(c.sentence));
        EXPECT_EQ(check.cause, QLatin1String(c.cause));
    }
    HistoryPeriod p = Worked();
    EXPECT_FALSE(CheckBill(p, kUs, 2).billed);
    p.billed = 132.40;
    EXPECT_EQ(CheckBill(p, QLocale(QStringLiteral("de_DE")), 2).sentence,
              QStringLiteral("Billed 12,40\u00A0€ more than these readings and rates give."));
}

TEST(ReadingChecks, WarnAboutGapsOverlapsReadingsLengthAndNegativeUse) {
    const std::vector<HistoryPeriod> stored{
        Period(QDate(2026, 1, 1), QDate(2026, 2, 1), 1000, 1300, 0.25, 1)};
    const QString jan = QStringLiteral("the period 1/1/2026 to 2/1/2026");
    struct Case {
        QDate from, to;
        double start, end;
        const char* note;
        QStringList warnings;
    } cases[] = {
        {QDate(2026, 2, 1), QDate(2026, 3, 1), 1300, 1500, "", {}},
        {QDate(2026, 2, 1),
         QDate(2026, 3, 1),
         1290,
         1500,
         "",
         {"The general start reading of the period 2/1/2026 to 3/1/2026 (1290) is not the end "
          "reading of " +
          jan + " (1300)."}},
        {QDate(2026, 2, 1), QDate(2026, 3, 1), 10, 200, "Meter changed on the 3rd", {}},
        {QDate(2026, 2, 11),
         QDate(2026, 3, 1),
         1290,
         1500,
         "",
         {"There are 10 days between " + jan +
          " and the period 2/11/2026 to 3/1/2026 that no period covers."}},
        // Jan 25 to Feb 1: 7 shared days.
        {QDate(2026, 1, 25),
         QDate(2026, 3, 1),
         1300,
         1500,
         "",
         {"The period 1/25/2026 to 3/1/2026 overlaps " + jan + " by 7 days."}},
        {QDate(2026, 1, 31),
         QDate(2026, 3, 1),
         1300,
         1500,
         "",
         {"The period 1/31/2026 to 3/1/2026 overlaps " + jan + " by 1 day."}},
        // 365 days to Feb 1 2027, then 28 + 19.
        {QDate(2026, 2, 1),
         QDate(2027, 3, 20),
         1300,
         9000,
         "",
         {"The period 2/1/2026 to 3/20/2027 is 412 days long, more than 400."}},
        {QDate(2026, 2, 1),
         QDate(2026, 3, 1),
         1300,
         1250,
         "",
         {"The general use of the period 2/1/2026 to 3/1/2026 is negative (-50.0 kWh): its end "
          "reading is below its start reading."}},
        {QDate(2026, 2, 1), QDate(2026, 3, 1), 99990, 40, "meter roll-over", {}},
        // The same dates: the period it replaces.
        {QDate(2026, 1, 1), QDate(2026, 2, 1), 1000, 1200, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from.toString(Qt::ISODate).toStdString());
        HistoryPeriod p = Period(c.from, c.to, c.start, c.end, 0.25, 1);
        p.note = QLatin1String(c.note);
        EXPECT_EQ(ReadingWarnings(p, stored, kUs), c.warnings);
    }
}

TEST(ChangeExplain, SplitsTheChangeIntoUseAndPrices) {
    // Before: 30 days, 322 kWh at $0.25, $1.30 a day: 39.00 + 80.50 = $119.50.
    // Now: 32 days, 400 kWh at $0.26875, $1.35 a day: 43.20 + 107.50 = $150.70.
    // Use: 78 x 0.25 + 2 days x 1.30 = 19.50 + 2.60 = $22.10.
    // Prices: 400 x 0.01875 + 32 x 0.05 = 7.50 + 1.60 = $9.10. Sum $31.20.
    const HistoryPeriod before = Period(QDate(2025, 1, 1), QDate(2025, 1, 31), 0, 322, 0.25, 1.30);
    const HistoryPeriod now = Period(QDate(2026, 1, 1), QDate(2026, 2, 2), 0, 400, 0.26875, 1.35);
    CostChange c = ExplainChange(now, before);
    EXPECT_NEAR(c.fromUse, 22.10, 1e-9);
    EXPECT_NEAR(c.fromPrices, 9.10, 1e-9);
    EXPECT_NEAR(c.change, now.net - before.net, 1e-9);
    EXPECT_EQ(ChangeSentence(c, kUs, 2),
              QStringLiteral("+$31.20: $22.10 from using 78 kWh more, $9.10 from higher prices"));
    const ChangeTexts t = ChangeTextParts(c, kUs, 2);
    EXPECT_EQ(t.useAmount, QStringLiteral("+$22.10"));
    EXPECT_EQ(t.pricesAmount, QStringLiteral("+$9.10"));

    // Solar. Before: 30 days, 200 kWh at $0.30, $1.00 a day, 100 kWh exported
    // at $0.10: 30 + 60 - 10 = $80.00. Now: 180 kWh, 150 exported at $0.05:
    // 30 + 54 - 7.50 = $76.50. Use: -20 x 0.30 - 50 x 0.10 = -$11.00; prices:
    // -150 x (0.05 - 0.10) = +$7.50 (less income costs more). Sum -$3.50.
    const HistoryPeriod sunny =
        Period(QDate(2025, 6, 1), QDate(2025, 7, 1), 0, 200, 0.30, 1, 100, 0.10);
    const HistoryPeriod sunnier =
        Period(QDate(2025, 7, 1), QDate(2025, 7, 31), 0, 180, 0.30, 1, 150, 0.05);
    c = ExplainChange(sunnier, sunny);
    EXPECT_NEAR(c.change, sunnier.net - sunny.net, 1e-9);
    EXPECT_EQ(ChangeSentence(c, kUs, 2),
              QStringLiteral("($3.50): ($11.00) from using 20 kWh less, $7.50 from higher prices"));
    EXPECT_EQ(ChangeTextParts(c, kUs, 2).useAmount, QStringLiteral("($11.00)"));
}

TEST(ChangeExplain, ComparesWithTheSameSeasonAYearBeforeAndThePreviousPeriod) {
    std::vector<HistoryPeriod> periods;
    for (int m = 0; m < 14; ++m) { // Jan 2025 to Feb 2026
        const QDate from = QDate(2025, 1, 1).addMonths(m);
        periods.push_back(
            Period(from, from.addMonths(1), 100 * m, 100 * m + 100, m == 13 ? 0.28 : 0.25, 1));
    }
    const HistoryPeriod& feb26 = periods.back();
    ASSERT_NE(YearEarlierPeriod(feb26, periods), nullptr);
    EXPECT_EQ(YearEarlierPeriod(feb26, periods)->from, QDate(2025, 2, 1));
    EXPECT_EQ(PreviousPeriod(feb26, periods)->from, QDate(2026, 1, 1));
    EXPECT_EQ(YearEarlierPeriod(periods[5], periods), nullptr); // nothing in mid 2024
    EXPECT_EQ(PreviousPeriod(periods[0], periods), nullptr);
    // Nearest middle day more than 45 days off: no year-before answer.
    const std::vector<HistoryPeriod> sparse{periods[0], periods[13]};
    EXPECT_EQ(YearEarlierPeriod(sparse[1], {periods[3], periods[13]}), nullptr);
    EXPECT_EQ(ChangeText(periods[0], sparse, kUs, kUs, 2), QString());
    // February 2026 at $0.28 against February 2025 (28 days each, 100 kWh):
    // prices 100 x 0.03 = $3.00. Against January 2026 (31 days): use -3 days
    // x $1.00, prices $3.00, change nothing.
    EXPECT_EQ(ChangeText(periods[13], periods, kUs, kUs, 2),
              QStringLiteral("Against a year before (2/1/2025 to 3/1/2025): +$3.00: $0.00 from "
                             "using as much, $3.00 from higher prices. Against the previous "
                             "period (1/1/2026 to 2/1/2026): $0.00: ($3.00) from using as much, "
                             "$3.00 from higher prices."));
}

TEST(Forecast, CarriesTheUseSoFarToTheEnd) {
    // Halfway (15 of 30 days): daily charges 30 x 1.20 = 36 for all days, use
    // so far 75 + 9 = 84 doubled = 168: $204.00.
    const PeriodInputs in = WorkedExampleInputs();
    const QDate from(2026, 11, 1), to(2026, 12, 1);
    EXPECT_NEAR(*ForecastCost(from, to, QDate(2026, 11, 16), in, kUs), 204.0, 1e-9);
    EXPECT_FALSE(ForecastCost(from, to, to, in, kUs).has_value());   // over
    EXPECT_FALSE(ForecastCost(from, to, from, in, kUs).has_value()); // no day yet
    EXPECT_EQ(ForecastText(204, kUs, 2),
              QStringLiteral("If use goes on as so far, this period will cost about $204.00."));
    EXPECT_EQ(ForecastText(204, kUs, 2, 1),
              QStringLiteral("If use goes on as so far, this period will cost about $204.00 "
                             "(from 1 day of meter data)."));
}

TEST(Forecast, MeterDataDaysStandForTheWholePeriod) {
    // The worked example's readings halfway (15 of 30 days); the meter data's
    // days replace their kWh a day. Daily charges $36.00 in every case.
    PeriodInputs solar = WorkedExampleInputs();
    solar.solar = true;
    solar.importGeneralBefore = QStringLiteral("1000");
    solar.importGeneralAfter = QStringLiteral("1300");
    solar.exportBefore = QStringLiteral("0");
    solar.exportAfter = QStringLiteral("30"); // 2 kWh a day so far
    solar.feedIn = QStringLiteral("0.10");
    struct Case {
        const char* what;
        PeriodInputs in;
        MeterDaysUse meter;
        double cost;
    } cases[] = {
        {"no meter days: the readings", WorkedExampleInputs(), {0, 500, 50, 0}, 204.0},
        // 10 days of 12 kWh general, 1 controlled: 30 x (12 x 0.25 + 0.15) = 94.50.
        {"general and controlled load", WorkedExampleInputs(), {10, 120, 10, 0}, 130.5},
        // 4 days, 40 kWh general, no controlled load: 30 x 2.50 = 75.
        {"general only", WorkedExampleInputs(), {4, 40, 0, 0}, 111.0},
        // Solar, 10 days of 12 kWh and 1 exported a day: 30 x (3.15 - 0.10) = 91.50.
        {"solar with the data's export", solar, {10, 120, 10, 10}, 127.5},
        // No export in the data: the readings' 2 kWh a day, 30 x 0.20 = $6.00 income.
        {"solar, export from the readings", solar, {10, 120, 10, 0}, 124.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto cost = ForecastCost(QDate(2026, 11, 1), QDate(2026, 12, 1), QDate(2026, 11, 16),
                                       c.in, kUs, c.meter);
        ASSERT_TRUE(cost.has_value());
        EXPECT_NEAR(*cost, c.cost, 1e-9);
    }
}

TEST(HistoryJson, PeriodsAndTheExplanationForTheCommandLine) {
    HistoryPeriod p = Worked(); // $120.00 for 360 kWh: $0.3333 a kWh
    EXPECT_NEAR(p.EnergyPricePerKwh(), 84.0 / 360.0, 1e-12);
    HistoryPeriod billed = p;
    billed.from = QDate(2026, 12, 1);
    billed.to = QDate(2026, 12, 31);
    billed.billed = 132.4;
    billed.warnings = QStringList{QStringLiteral("w")};
    const QJsonArray list = HistoryJson({p, billed});
    EXPECT_EQ(QJsonDocument(list[0].toObject()).toJson(QJsonDocument::Compact),
              R"({"billed":null,"days":30,"difference":null,"from":"2026-11-01",)"
              R"("kwh_exported":0,"kwh_general":300,"kwh_hot_water":60,"net":120,)"
              R"("price_per_kwh":0.3333,"to":"2026-12-01","warnings":[]})");
    EXPECT_EQ(list[1][QStringLiteral("difference")].toDouble(), 12.4);
    EXPECT_EQ(list[1][QStringLiteral("warnings")].toArray().first().toString(), "w");

    const HistoryPeriod before = Period(QDate(2025, 1, 1), QDate(2025, 1, 31), 0, 322, 0.25, 1.30);
    const HistoryPeriod now = Period(QDate(2026, 1, 1), QDate(2026, 2, 2), 0, 400, 0.26875, 1.35);
    const auto explained = HistoryExplainJson(QDate(2026, 1, 1), {before, now});
    ASSERT_TRUE(explained.has_value());
    ASSERT_EQ(explained->size(), 2); // a year before, which is also the previous period
    EXPECT_EQ(QJsonDocument((*explained)[0].toObject()).toJson(QJsonDocument::Compact),
              R"({"against":{"from":"2025-01-01","kind":"year_before","to":"2025-01-31"},)"
              R"("change":31.2,"from_prices":9.1,"from_use":22.1})");
    EXPECT_FALSE(HistoryExplainJson(QDate(2026, 1, 2), {before, now}).has_value());
}

} // namespace
