#pragma once
// Stored periods may overlap (a bill entered twice, or one stored over a
// part of another); a day must count once in any total. A day shared by two
// periods belongs to the one stored later.

#include <QDate>
#include <vector>

struct DayRange {
    QDate from, to; // the days from `from` up to, not including, `to`
};

// The days of `range` inside [start, end) that none of `later` (the ranges of
// the periods stored after it) covers; 0 when none.
qint64 OwnDays(DayRange range, QDate start, QDate end, const std::vector<DayRange>& later);

// For each range, in the order given, the ranges stored after it: those with
// a greater `order`, or an equal order and a later place in the list.
std::vector<std::vector<DayRange>> LaterRanges(const std::vector<DayRange>& ranges,
                                               const std::vector<qint64>& order);
