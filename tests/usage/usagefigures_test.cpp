// The Usage page's figures, heat-map grid and typical day from a small set of
// stored days whose every sum is known.

#include "usage/usagefigures.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

const QDate Fri(2024, 3, 1), Sat(2024, 3, 2), Sun(2024, 3, 3);

StoredDay Day(qint64 channel, ChannelRole role, QDate day, double value, int length = 30) {
    const auto n = static_cast<std::size_t>(1440 / length);
    return {channel, role, day, length, std::vector<double>(n, value), std::string(n, 'A')};
}

StoredChannel Channel(qint64 id, ChannelRole role, QDate first, QDate last, int length = 30) {
    return {id, QStringLiteral("NMI"), QStringLiteral("E1"), role, length, first, last};
}

// General on Friday and Saturday, a midnight hot-water hour on Friday, solar
// export late on Friday morning; Sunday holds nothing.
UsageSummary Known() {
    StoredDay general = Day(1, ChannelRole::General, Fri, 0.2);
    general.kwh[36] = 1.5; // 18:00
    general.quality[0] = 'E';
    general.quality[1] = 'S';
    general.quality[2] = 'F';
    StoredDay saturday = Day(1, ChannelRole::General, Sat, 0.1);
    saturday.kwh[10] = MissingValue;
    saturday.quality[10] = 'N';
    StoredDay hotWater = Day(2, ChannelRole::ControlledLoad, Fri, 0);
    StoredDay solar = Day(3, ChannelRole::Export, Fri, 0);
    for (std::size_t i = 0; i < 6; ++i) {
        hotWater.kwh[i] = 1.0;
    }
    for (std::size_t i = 20; i < 28; ++i) {
        solar.kwh[i] = 0.5;
    }
    return SummariseUsage({general, hotWater, solar, saturday},
                          {Channel(1, ChannelRole::General, Fri, Sat),
                           Channel(2, ChannelRole::ControlledLoad, Fri, Fri),
                           Channel(3, ChannelRole::Export, Fri, Fri)},
                          Fri, Sun);
}

TEST(UsageFigures, AKnownSetGivesEveryFigure) {
    const UsageSummary u = Known();
    const UsageFigures& f = u.figures;
    EXPECT_NEAR(f.generalKwh, 47 * 0.2 + 1.5 + 47 * 0.1, 1e-9);
    EXPECT_NEAR(f.controlledKwh, 6.0, 1e-9);
    EXPECT_NEAR(f.exportKwh, 4.0, 1e-9);
    EXPECT_EQ(f.daysWithData, 2);
    EXPECT_NEAR(f.averageKwhPerDay, (15.6 + 6.0) / 2, 1e-9);
    EXPECT_DOUBLE_EQ(f.highestKwh, 1.5);
    EXPECT_EQ(f.highestDay, Fri);
    EXPECT_EQ(f.highestSlot, 36);
    // Lowest half-hours 0.2 and 0.1 kWh: median 0.15 kWh in half an hour.
    EXPECT_NEAR(f.baseLoadW, 300, 1e-9);
    EXPECT_EQ(f.missing, 1);
    EXPECT_EQ(f.estimated, 1);
    EXPECT_EQ(f.substituted, 2);

    ASSERT_EQ(u.Days(), 3);
    EXPECT_NEAR(u.daily[0][1], 6.0, 1e-9);
    EXPECT_NEAR(u.daily[0][2], 4.0, 1e-9);
    EXPECT_NEAR(u.daily[1][0], 4.7, 1e-9);
    EXPECT_NEAR(u.Cell(0, 20), 0.2 - 0.5, 1e-6); // net export
    EXPECT_NEAR(u.Cell(0, 3), 1.2, 1e-6);
    EXPECT_TRUE(std::isnan(u.Cell(1, 10)));
    EXPECT_TRUE(std::isnan(u.Cell(2, 0)));
    EXPECT_FLOAT_EQ(u.gridImportMax, 1.5f);
    EXPECT_NEAR(u.gridExportMax, 0.3f, 1e-6);
    EXPECT_NEAR(u.weekday[36], 1.5, 1e-9);
    EXPECT_NEAR(u.weekend[36], 0.1, 1e-9);
    EXPECT_NEAR(u.weekday[0], 1.2, 1e-9);
}

TEST(UsageFigures, IntervalsOfAnyLengthFillTheirHalfHours) {
    const struct {
        int length;
        double value, perHalfHour;
    } cases[] = {{5, 0.01, 0.06}, {15, 0.3, 0.6}, {30, 0.7, 0.7}, {60, 1.0, 0.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const UsageSummary u =
            SummariseUsage({Day(1, ChannelRole::General, Fri, c.value, c.length)},
                           {Channel(1, ChannelRole::General, Fri, Fri, c.length)}, Fri, Fri);
        for (int slot : {0, 1, 47}) {
            EXPECT_NEAR(u.Cell(0, slot), c.perHalfHour, 1e-6);
        }
        EXPECT_NEAR(u.figures.generalKwh, c.value * 1440 / c.length, 1e-9);
        EXPECT_EQ(u.figures.missing, 0);
    }
}

TEST(UsageFigures, ARangeWithoutDataHasNoHighestHalfHour) {
    const UsageSummary u = SummariseUsage({}, {}, Fri, Sat);
    EXPECT_EQ(u.figures.highestSlot, -1);
    EXPECT_EQ(u.figures.daysWithData, 0);
    EXPECT_EQ(u.figures.baseLoadW, 0);
    EXPECT_EQ(u.Days(), 2);
}

} // namespace
