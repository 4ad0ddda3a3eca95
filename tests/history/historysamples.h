#pragma once
// Periods for the history tests, built through the real period calculation.

#include "history/periodrecord.h"
#include "support/printers.h"

#include <QDateTime>
#include <gtest/gtest.h>

// The standard worked example (30 days, hot water shown): net $120.00.
inline PeriodInputs WorkedExampleInputs() {
    PeriodInputs in;
    in.solar = false;
    in.showHotWater = true;
    in.generalDailyCharge = QStringLiteral("1.00");
    in.generalRate = QStringLiteral("0.25");
    in.hwDailyCharge = QStringLiteral("0.20");
    in.hwRate = QStringLiteral("0.15");
    in.generalBefore = QStringLiteral("1000");
    in.generalAfter = QStringLiteral("1300");
    in.hotWaterBefore = QStringLiteral("500");
    in.hotWaterAfter = QStringLiteral("560");
    in.feedIn = QStringLiteral("0.10");
    in.exportBefore = QStringLiteral("0");
    in.exportAfter = QStringLiteral("0");
    in.importGeneralBefore = QStringLiteral("200");
    in.importGeneralAfter = QStringLiteral("300");
    in.importHwBefore = QStringLiteral("0");
    in.importHwAfter = QStringLiteral("0");
    return in;
}

// A period whose every field differs from the others and from its defaults;
// `seed` varies the readings.
inline HistoryPeriod SamplePeriod(QDate from, QDate to, int seed = 0, bool solar = true) {
    PeriodInputs in = WorkedExampleInputs();
    in.solar = solar;
    int i = 0;
    for (const PeriodField& f : PeriodFields()) {
        in.*f.text = QString::number(100 * (seed + 1) + 7 * ++i) + QStringLiteral(".5");
    }
    in.generalRate = QStringLiteral(" 0.27 ");
    HistoryPeriod p =
        MakeHistoryPeriod(from, to, in, QLocale(QStringLiteral("en_US")), 2,
                          QDateTime(QDate(2026, 12, 8), QTime(9, 30, 15, 250), Qt::UTC));
    p.note = QStringLiteral("note %1").arg(seed);
    return p;
}

inline void ExpectSamePeriod(const HistoryPeriod& a, const HistoryPeriod& b) {
    EXPECT_EQ(a.from, b.from);
    EXPECT_EQ(a.to, b.to);
    EXPECT_EQ(a.days, b.days);
    EXPECT_EQ(a.typed.solar, b.typed.solar);
    EXPECT_EQ(a.typed.showHotWater, b.typed.showHotWater);
    for (const PeriodField& f : PeriodFields()) {
        EXPECT_EQ(a.typed.*f.text, b.typed.*f.text) << f.column;
        EXPECT_EQ(a.numbers.*f.number, b.numbers.*f.number) << f.column;
    }
    EXPECT_EQ(a.kwhGeneral, b.kwhGeneral);
    EXPECT_EQ(a.kwhHotWater, b.kwhHotWater);
    EXPECT_EQ(a.kwhExported, b.kwhExported);
    EXPECT_EQ(a.fixed, b.fixed);
    EXPECT_EQ(a.variable, b.variable);
    EXPECT_EQ(a.income, b.income);
    EXPECT_EQ(a.net, b.net);
    EXPECT_EQ(a.netPerDay, b.netPerDay);
    EXPECT_EQ(a.currencySymbol, b.currencySymbol);
    EXPECT_EQ(a.moneyDecimals, b.moneyDecimals);
    EXPECT_EQ(a.note, b.note);
    EXPECT_EQ(a.savedAt, b.savedAt);
    EXPECT_EQ(a.billed, b.billed);
    EXPECT_EQ(a.billDate, b.billDate);
    EXPECT_EQ(a.billReference, b.billReference);
    EXPECT_EQ(a.estimated, b.estimated);
    EXPECT_EQ(a.warnings, b.warnings);
}
