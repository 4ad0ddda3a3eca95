#pragma once
// What the Usage page shows of the stored intervals of a date range, worked
// out in one pass over the stored days: the kWh of each day by role, a grid of
// net kWh per half-hour and day for the heat map, the typical day of weekdays
// and weekends, and the figures. Pure: no database, no widgets.
//
// Intervals shorter than half an hour add up into their half-hour; longer
// ones are spread evenly over the half-hours they cover. A half-hour counts
// as present when any stored channel has a value in it.

#include "meterdata/meterstore.h"

#include <QDate>
#include <array>
#include <vector>

inline constexpr int kHalfHours = 48;

struct UsageFigures {
    double generalKwh = 0, controlledKwh = 0, exportKwh = 0;
    double ImportKwh() const { return generalKwh + controlledKwh; }
    int daysWithData = 0;
    double averageKwhPerDay = 0; // import over the days with data
    // The half-hour of the highest import; slot -1 when there is none.
    double highestKwh = 0;
    QDate highestDay;
    int highestSlot = -1;
    // The median over the days of each day's lowest half-hour of import, in W.
    double baseLoadW = 0;
    // Intervals of the stored channels within their own first and last day
    // that hold no value or quality N; estimated E; substituted S or F.
    qint64 missing = 0, estimated = 0, substituted = 0;
};

struct UsageSummary {
    QDate from, to;                           // every day in between has a row and a column
    std::vector<std::array<double, 3>> daily; // kWh by role (ChannelRole 0..2), per day
    // Net kWh (import less export) per day and half-hour, day-major:
    // grid[day * kHalfHours + slot]; NaN where no channel has a value.
    std::vector<float> grid;
    // The instant each day's first half-hour starts (UTC seconds), as the
    // meter data holds it; 0 for a day without data.
    std::vector<qint64> dayStartUtc;
    float gridImportMax = 0; // the highest net import in the grid (>= 0)
    float gridExportMax = 0; // the highest net export, as a positive number
    // Average import kWh per half-hour over the weekdays and the weekend days
    // with data in that half-hour.
    std::array<double, kHalfHours> weekday{}, weekend{};
    UsageFigures figures;

    int Days() const { return static_cast<int>(daily.size()); }
    float Cell(int day, int slot) const {
        return grid[static_cast<std::size_t>(day) * kHalfHours + static_cast<std::size_t>(slot)];
    }
};

// `days` as MeterStore::Days gives them; `channels` tells each channel's own
// first and last day (for the missing intervals). Requires from <= to.
UsageSummary SummariseUsage(const std::vector<StoredDay>& days,
                            const std::vector<StoredChannel>& channels, QDate from, QDate to);
