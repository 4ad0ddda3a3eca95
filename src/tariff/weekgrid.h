#pragma once
// A week of time-of-use rates seen minute by minute (WeekCoverage, which the
// plan validation checks) and as the 7 days × 48 half-hours the plan editor
// paints (WeekGrid): each half-hour holds the rates covering it, and whether
// part of it is covered by none (a gap) or by two different rates (an
// overlap). Windows are read by the model's rules (tariff/tariffplan.h):
// [start, end), an end at or before the start runs past midnight, an end of
// 0 or 1440 is midnight.

#include "tariff/tariffplan.h"

#include <QList>
#include <QString>

#include <array>
#include <vector>

// For each minute of the week, Monday 00:00 first, the first and the second
// different rate (an index into the list) whose windows cover it, -1 for
// none. A rate's own windows may overlap each other; times outside 0..1440
// are clamped (the validation refuses them before).
struct WeekCoverage {
    static constexpr int kMinutes = 7 * 1440;
    std::vector<qint16> first, second;
};
WeekCoverage CoverWeek(const QList<TouRate>& rates);

// The earliest fault of the week, "No rate covers Saturday at 14:00." or
// "Peak and Off-peak overlap on Monday at 21:00."; empty when every minute has
// exactly one rate.
QString CoverageFault(const WeekCoverage& week, const QList<TouRate>& rates);

struct WeekGridCell {
    enum class State { Covered, Gap, Overlap };
    State state = State::Gap; // the kind of its earliest fault, Covered without one
    QList<int> rates;         // rates covering some of it, in order of their first minute
    int faultMinute = -1;     // minute of the week of its earliest fault, -1 without one
    QList<int> overlapping;   // the two rates overlapping there, for an overlap
};

class WeekGrid {
public:
    static constexpr int kDays = 7, kSlots = 48;

    explicit WeekGrid(const QList<TouRate>& rates);

    // Day 0 is Monday; slot 0 is 00:00 to 00:30.
    const WeekGridCell& Cell(int day, int slot) const { return cells_[day * kSlots + slot]; }
    // The label of rate `index` (its name, else its type's name).
    QString RateLabel(int index) const { return labels_.value(index); }
    // The earliest fault of the week in the validation's own words; empty when
    // none.
    QString Fault() const { return fault_; }
    // What a half-hour holds: "Monday 07:00 to 07:30: Peak", "... no rate
    // covers 07:10", "... Peak and Shoulder overlap at 07:00".
    QString CellText(int day, int slot) const;

private:
    std::array<WeekGridCell, kDays * kSlots> cells_;
    QStringList labels_;
    QString fault_;
};
