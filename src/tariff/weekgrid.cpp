#include "tariff/weekgrid.h"

#include <algorithm>

WeekCoverage CoverWeek(const QList<TouRate>& rates) {
    WeekCoverage week;
    week.first.assign(WeekCoverage::kMinutes, -1);
    week.second.assign(WeekCoverage::kMinutes, -1);
    auto mark = [&](int r, int from, int to) {
        for (int m = from; m < to; ++m) {
            qint16& first = week.first[m];
            if (first == r) {
                continue;
            }
            qint16& slot = first < 0 ? first : week.second[m];
            if (slot < 0) {
                slot = static_cast<qint16>(r);
            }
        }
    };
    for (int r = 0; r < static_cast<int>(rates.size()); ++r) {
        for (const TimeWindow& w : rates[r].windows) {
            const int start = std::clamp(w.start, 0, 1439);
            const int end = w.end <= 0 || w.end > 1440 ? 1440 : w.end;
            for (int d = 0; d < 7; ++d) {
                if (!(w.days & (1 << d))) {
                    continue;
                }
                const int day = d * 1440;
                if (end > start) {
                    mark(r, day + start, day + end);
                } else {
                    mark(r, day + start, day + 1440);
                    mark(r, day, day + end);
                }
            }
        }
    }
    return week;
}

namespace {

QString At(int minute) {
    return QStringLiteral("%1 at %2").arg(WeekdayName(minute / 1440), MinuteText(minute % 1440));
}

} // namespace

QString CoverageFault(const WeekCoverage& week, const QList<TouRate>& rates) {
    for (int m = 0; m < WeekCoverage::kMinutes; ++m) {
        if (week.first[m] < 0) {
            return QStringLiteral("No rate covers %1.").arg(At(m));
        }
        if (week.second[m] >= 0) {
            return QStringLiteral("%1 and %2 overlap on %3.")
                .arg(TouRateLabel(rates[week.first[m]]), TouRateLabel(rates[week.second[m]]),
                     At(m));
        }
    }
    return {};
}

WeekGrid::WeekGrid(const QList<TouRate>& rates) {
    for (const TouRate& r : rates) {
        labels_.append(TouRateLabel(r));
    }
    const WeekCoverage week = CoverWeek(rates);
    fault_ = CoverageFault(week, rates);
    for (int c = 0; c < kDays * kSlots; ++c) {
        WeekGridCell& cell = cells_[c];
        cell.state = WeekGridCell::State::Covered;
        for (int m = c * 30; m < c * 30 + 30; ++m) {
            for (const int r : {int(week.first[m]), int(week.second[m])}) {
                if (r >= 0 && !cell.rates.contains(r)) {
                    cell.rates.append(r);
                }
            }
            if (cell.faultMinute >= 0) {
                continue;
            }
            if (week.first[m] < 0) {
                cell.state = WeekGridCell::State::Gap;
                cell.faultMinute = m;
            } else if (week.second[m] >= 0) {
                cell.state = WeekGridCell::State::Overlap;
                cell.faultMinute = m;
                cell.overlapping = {week.first[m], week.second[m]};
            }
        }
    }
}

QString WeekGrid::CellText(int day, int slot) const {
    const WeekGridCell& cell = Cell(day, slot);
    QStringList names;
    for (const int r : cell.rates) {
        names.append(labels_.value(r));
    }
    QString text = QStringLiteral("%1 %2 to %3")
                       .arg(WeekdayName(day), MinuteText(slot * 30), MinuteText(slot * 30 + 30));
    if (!names.isEmpty()) {
        text += QStringLiteral(": ") + names.join(QStringLiteral(", "));
    }
    const QString at = MinuteText(cell.faultMinute % 1440);
    if (cell.state == WeekGridCell::State::Gap) {
        text += QStringLiteral("; no rate covers %1").arg(at);
    } else if (cell.state == WeekGridCell::State::Overlap) {
        text += QStringLiteral("; %1 and %2 overlap at %3")
                    .arg(labels_.value(cell.overlapping.value(0)),
                         labels_.value(cell.overlapping.value(1)), at);
    }
    return text;
}
