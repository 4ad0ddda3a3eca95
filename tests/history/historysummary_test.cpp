// The summary line's figures for a known history: the 12 months end at the
// latest stored date, count a leap day, and share a straddling period.

#include "history/historysummary.h"

#include "historysamples.h"

#include <gtest/gtest.h>

namespace {

HistoryPeriod Paid(QDate from, QDate to, double net) {
    HistoryPeriod p = SamplePeriod(from, to);
    p.net = net;
    p.netPerDay = net / static_cast<double>(p.days);
    return p;
}

const QLocale kUs(QStringLiteral("en_US"));

TEST(HistorySummary, NothingStored) {
    const HistorySummary s = SummarizeLastYear({});
    EXPECT_FALSE(s.any);
    EXPECT_EQ(SummaryText(s, kUs, 2), QStringLiteral("No periods stored yet."));
    EXPECT_EQ(ComparisonText(4.0, s, kUs, 2), QString());
}

TEST(HistorySummary, TwelveMonthsToTheLatestDateWithALeapDayAndAStraddlingPeriod) {
    const std::vector<HistoryPeriod> periods{
        // Long before the 12 months: left out.
        Paid(QDate(2022, 1, 1), QDate(2022, 2, 1), 1000),
        // 28 days at $2.00 a day, 14 of them inside (from 1 March 2023).
        Paid(QDate(2023, 2, 15), QDate(2023, 3, 15), 56),
        // 352 days at $1.00 a day, 29 February 2024 among them.
        Paid(QDate(2023, 3, 15), QDate(2024, 3, 1), 352),
    };
    const HistorySummary s = SummarizeLastYear(periods);
    ASSERT_TRUE(s.any);
    EXPECT_EQ(s.end, QDate(2024, 3, 1));
    EXPECT_EQ(s.start, QDate(2023, 3, 1));
    EXPECT_EQ(s.days, 366);
    EXPECT_DOUBLE_EQ(s.paid, 28.0 + 352.0);
    EXPECT_EQ(SummaryText(s, kUs, 2),
              QStringLiteral("Last 12 months: $380.00 paid over 366 days, an average of $1.04 a "
                             "day."));
    // The straddling period at $2.00 a day: 92.6 % above 380 / 366.
    EXPECT_EQ(ComparisonText(2.0, s, kUs, 2),
              QStringLiteral("93% above your 12-month average of $1.04 a day"));
    EXPECT_EQ(ComparisonText(0.5, s, kUs, 2),
              QStringLiteral("52% below your 12-month average of $1.04 a day"));
    EXPECT_EQ(ComparisonText(380.0 / 366.0, s, kUs, 2),
              QStringLiteral("the same as your 12-month average of $1.04 a day"));
}

TEST(HistorySummary, TheTwelveMonthsOfALeapDayEndAndOfAPlainYear) {
    // Ending on 29 February 2024: from 28 February 2023, 366 days.
    HistorySummary s = SummarizeLastYear({Paid(QDate(2023, 1, 1), QDate(2024, 2, 29), 424)});
    EXPECT_EQ(s.start, QDate(2023, 2, 28));
    EXPECT_EQ(s.days, 366);
    EXPECT_DOUBLE_EQ(s.paid, 424.0 * 366.0 / 424.0);
    // A plain year has 365 days.
    s = SummarizeLastYear({Paid(QDate(2021, 6, 1), QDate(2023, 6, 1), 730)});
    EXPECT_EQ(s.days, 365);
    EXPECT_DOUBLE_EQ(s.paid, 365.0);
}

TEST(HistorySummary, ANegativeAverageGivesAmountsNotAPercentage) {
    const HistorySummary s = SummarizeLastYear({Paid(QDate(2025, 1, 1), QDate(2025, 1, 11), -10)});
    EXPECT_EQ(s.days, 10);
    EXPECT_EQ(ComparisonText(-1.0, s, kUs, 2),
              QStringLiteral("($1.00) a day against your 12-month average of ($1.00) a day"));
    // Other locales write their own money.
    EXPECT_EQ(SummaryText(s, QLocale(QStringLiteral("de_DE")), 2),
              QStringLiteral("Last 12 months: -10,00\u00A0€ paid over 10 days, an average of "
                             "-1,00\u00A0€ a day."));
}

} // namespace
