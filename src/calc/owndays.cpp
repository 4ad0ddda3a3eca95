#include "calc/owndays.h"

#include <algorithm>

qint64 OwnDays(DayRange range, QDate start, QDate end, const std::vector<DayRange>& later) {
    const QDate lo = std::max(range.from, start), hi = std::min(range.to, end);
    if (!(lo < hi)) {
        return 0;
    }
    std::vector<DayRange> cover;
    for (const DayRange& r : later) {
        const QDate a = std::max(r.from, lo), b = std::min(r.to, hi);
        if (a < b) {
            cover.push_back({a, b});
        }
    }
    std::sort(cover.begin(), cover.end(),
              [](const DayRange& x, const DayRange& y) { return x.from < y.from; });
    qint64 covered = 0;
    QDate reached = lo;
    for (const DayRange& r : cover) {
        if (r.to > reached) {
            covered += std::max(r.from, reached).daysTo(r.to);
            reached = r.to;
        }
    }
    return lo.daysTo(hi) - covered;
}

std::vector<std::vector<DayRange>> LaterRanges(const std::vector<DayRange>& ranges,
                                               const std::vector<qint64>& order) {
    std::vector<std::vector<DayRange>> later(ranges.size());
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        for (std::size_t j = 0; j < ranges.size(); ++j) {
            const bool after = order[j] > order[i] || (order[j] == order[i] && j > i);
            if (after && ranges[j].from < ranges[i].to && ranges[i].from < ranges[j].to) {
                later[i].push_back(ranges[j]);
            }
        }
    }
    return later;
}
