// A day two stored periods share counts once, for the one stored later: in
// the History summary and in the plans' year alike.
#include "calc/owndays.h"
#include "history/historysummary.h"
#include "plans/plancompare.h"

#include <gtest/gtest.h>

namespace {

QDate D(int month, int day) {
    return QDate(2026, month, day);
}

TEST(OwnDays, ADaySharedWithALaterPeriodIsNotCounted) {
    const struct {
        DayRange range;
        std::vector<DayRange> later;
        qint64 own;
    } cases[] = {
        {{D(1, 1), D(2, 1)}, {}, 31},
        {{D(1, 1), D(2, 1)}, {{D(1, 15), D(2, 15)}}, 14},
        {{D(1, 1), D(2, 1)}, {{D(1, 10), D(1, 20)}, {D(1, 15), D(1, 25)}}, 16},
        {{D(1, 1), D(2, 1)}, {{D(1, 1), D(2, 1)}}, 0},
        {{D(1, 1), D(2, 1)}, {{D(2, 1), D(3, 1)}}, 31}, // touching is not sharing
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OwnDays(c.range, D(1, 1), D(12, 31), c.later), c.own)
            << c.range.from.toString().toStdString() << " with " << c.later.size();
    }
    // Clipped to the window first.
    EXPECT_EQ(OwnDays({D(1, 1), D(2, 1)}, D(1, 20), D(12, 31), {{D(1, 25), D(3, 1)}}), 5);
}

TEST(OwnDays, TheYearFiguresCountAnOverlapOnceForTheLaterStoredPeriod) {
    // January stored first (id 1, $31), then 15 Jan to 15 Feb (id 2, $62).
    HistoryPeriod jan, later;
    jan.id = 1;
    jan.from = D(1, 1);
    jan.to = D(2, 1);
    jan.days = 31;
    jan.net = 31;
    later.id = 2;
    later.from = D(1, 15);
    later.to = D(2, 15);
    later.days = 31;
    later.net = 62;
    for (const auto& periods : {std::vector{jan, later}, std::vector{later, jan}}) {
        const HistorySummary s = SummarizeLastYear(periods);
        EXPECT_EQ(s.days, 45);
        EXPECT_DOUBLE_EQ(s.paid, 14 + 62);
    }
    const StoredUse a{jan.from, jan.to, {}, jan.net, 1}, b{later.from, later.to, {}, later.net, 2};
    const YearTotals y = YearOfPlans({b, a}, {}, D(2, 15));
    EXPECT_EQ(y.days, 45);
    EXPECT_DOUBLE_EQ(y.paid, 14 + 62);
}

} // namespace
