// The week grid paints each half-hour by the rate covering it and marks gaps
// and overlaps by the same window rules that refuse a plan.
#include "tariff/weekgrid.h"

#include <gtest/gtest.h>

namespace {

constexpr quint8 kWeekdays = 0x1F, kWeekend = 0x60, kEveryDay = 0x7F;
using State = WeekGridCell::State;

TouRate Rate(RateType type, QList<TimeWindow> windows) {
    return {type, {}, {{RateStep{0.3, {}}}, StepPeriod::Year}, windows};
}

} // namespace

TEST(WeekGrid, CellsFollowTheWindowRules) {
    const TouRate peak = Rate(RateType::Peak, {{kWeekdays, 420, 1320}});
    const TouRate night = Rate(RateType::OffPeak, {{kWeekdays, 1320, 420}, {kWeekend, 0, 0}});
    // A shoulder of 07:00 to 14:59 (read as 15:00) and an off-peak from 15:00.
    const TouRate shoulder =
        Rate(RateType::Shoulder, {{kEveryDay, 420, WindowMinute(14, 59, true)}});
    const TouRate rest = Rate(RateType::OffPeak, {{kEveryDay, 900, 420}});
    const struct {
        const char* what;
        QList<TouRate> rates;
        int day, slot;
        State state;
        QList<int> rates_;
        int faultMinute;
        QString fault;
    } rows[] = {
        {"weekday peak", {peak, night}, 0, 14, State::Covered, {0}, -1, ""},
        {"past midnight: Tuesday 06:30", {peak, night}, 1, 13, State::Covered, {1}, -1, ""},
        {"weekend end 00:00 is midnight", {peak, night}, 6, 47, State::Covered, {1}, -1, ""},
        {"HH:59 end meets the next start", {shoulder, rest}, 2, 29, State::Covered, {0}, -1, ""},
        {"HH:59 end: 15:00 is off-peak", {shoulder, rest}, 2, 30, State::Covered, {1}, -1, ""},
        {"weekend left out", {peak}, 0, 0, State::Gap, {}, 0, "No rate covers Monday at 00:00."},
        {"a gap inside a half-hour",
         {Rate(RateType::Peak, {{kEveryDay, 0, 430}}),
          Rate(RateType::OffPeak, {{kEveryDay, 440, 0}})},
         0,
         14,
         State::Gap,
         {0, 1},
         430,
         "No rate covers Monday at 07:10."},
        {"an overlap names both rates",
         {Rate(RateType::Peak, {{kEveryDay, 420, 1320}}),
          Rate(RateType::OffPeak, {{kEveryDay, 1260, 420}})},
         3,
         42,
         State::Overlap,
         {0, 1},
         3 * 1440 + 1260,
         "Peak and Off-peak overlap on Monday at 21:00."},
        {"a rate's own windows may overlap",
         {Rate(RateType::Peak, {{kEveryDay, 0, 0}, {kWeekdays, 600, 700}})},
         0,
         21,
         State::Covered,
         {0},
         -1,
         ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const WeekGrid grid(row.rates);
        const WeekGridCell& cell = grid.Cell(row.day, row.slot);
        EXPECT_EQ(cell.state, row.state);
        EXPECT_EQ(cell.rates, row.rates_);
        EXPECT_EQ(cell.faultMinute, row.faultMinute);
        EXPECT_EQ(grid.Fault(), row.fault);
        if (row.state == State::Overlap) {
            EXPECT_EQ(cell.overlapping, row.rates_);
        }
    }
}

TEST(WeekGrid, CellTextNamesTheRatesAndTheFault) {
    const WeekGrid grid({Rate(RateType::Peak, {{kEveryDay, 420, 1320}}),
                         Rate(RateType::OffPeak, {{kEveryDay, 1260, 400}})});
    EXPECT_EQ(grid.CellText(0, 14), "Monday 07:00 to 07:30: Peak");
    EXPECT_EQ(grid.CellText(4, 13), "Friday 06:30 to 07:00: Off-peak; no rate covers 06:40");
    EXPECT_EQ(grid.CellText(6, 42),
              "Sunday 21:00 to 21:30: Peak, Off-peak; Peak and Off-peak overlap at 21:00");
}

TEST(WeekGrid, WindowTimesAsWritten) {
    const struct {
        int hour, minute;
        bool isEnd;
        int expected;
    } rows[] = {{14, 59, true, 900}, {14, 59, false, 899}, {0, 0, true, 1440},
                {24, 0, true, 1440}, {0, 0, false, 0},     {7, 30, true, 450}};
    for (const auto& row : rows) {
        EXPECT_EQ(WindowMinute(row.hour, row.minute, row.isEnd), row.expected)
            << row.hour << ":" << row.minute << (row.isEnd ? " end" : " start");
    }
}
