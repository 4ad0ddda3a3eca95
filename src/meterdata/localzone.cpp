#include "meterdata/localzone.h"

#include <QDateTime>
#include <algorithm>

namespace {

constexpr qint64 EpochJulian = 2440588;

qint64 Floor(qint64 a, qint64 b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

LocalZone::LocalZone(QTimeZone zone) : zone_(std::move(zone)) {}

LocalZone LocalZone::FromRules(int tzOffset, int dstOffset, std::uint32_t dstStart,
                               std::uint32_t dstEnd) {
    LocalZone z(QTimeZone::utc());
    z.rules_ = true;
    z.tz_ = tzOffset;
    z.dst_ = (dstStart == 0 || dstEnd == 0) ? 0 : dstOffset;
    z.start_ = dstStart;
    z.end_ = dstEnd;
    return z;
}

// Bits 0-11 seconds, 12-16 hours, 17-19 weekday (1 Monday … 7 Sunday), 20-24
// day of month, 25-27 how the day is chosen, 28-31 month.
qint64 LocalZone::RuleLocal(std::uint32_t rule, int year) {
    const int seconds = static_cast<int>(rule & 0xFFF);
    const int hours = static_cast<int>((rule >> 12) & 0x1F);
    const int weekday = static_cast<int>((rule >> 17) & 0x7);
    const int monthDay = static_cast<int>((rule >> 20) & 0x1F);
    const int op = static_cast<int>((rule >> 25) & 0x7);
    const int month = std::clamp(static_cast<int>((rule >> 28) & 0xF), 1, 12);
    QDate d(year, month, 1);
    const int length = d.daysInMonth();
    if (op == 0 || weekday == 0) {
        d = QDate(year, month, std::clamp(monthDay, 1, length));
    } else if (op == 1) {
        // The weekday on or after the day of the month.
        d = QDate(year, month, std::clamp(monthDay, 1, length));
        while (d.dayOfWeek() != weekday) {
            d = d.addDays(1);
        }
    } else if (op == 7) {
        d = QDate(year, month, length);
        while (d.dayOfWeek() != weekday) {
            d = d.addDays(-1);
        }
    } else {
        while (d.dayOfWeek() != weekday) {
            d = d.addDays(1);
        }
        d = d.addDays(7 * (op - 2));
        if (d.month() != month) {
            d = d.addDays(-7);
        }
    }
    return (d.toJulianDay() - EpochJulian) * 86400 + hours * 3600 + seconds;
}

int LocalZone::OffsetAt(qint64 utc) const {
    if (!rules_) {
        return zone_.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utc, QTimeZone::utc()));
    }
    if (dst_ == 0) {
        return tz_;
    }
    const int year = QDate::fromJulianDay(Floor(utc + tz_, 86400) + EpochJulian).year();
    // The start is given in standard time, the end in daylight time.
    const qint64 start = RuleLocal(start_, year) - tz_;
    const qint64 end = RuleLocal(end_, year) - tz_ - dst_;
    const bool inDst = start < end ? (utc >= start && utc < end) : (utc >= start || utc < end);
    return tz_ + (inDst ? dst_ : 0);
}

QDate LocalZone::DateAt(qint64 utc) const {
    return QDate::fromJulianDay(Floor(utc + OffsetAt(utc), 86400) + EpochJulian);
}

qint64 LocalZone::ToUtc(QDate day, int seconds) const {
    const qint64 local = (day.toJulianDay() - EpochJulian) * 86400 + seconds;
    if (!rules_) {
        return QDateTime(day, QTime::fromMSecsSinceStartOfDay(seconds * 1000), zone_)
            .toSecsSinceEpoch();
    }
    qint64 utc = local - tz_;
    utc = local - OffsetAt(utc);
    return local - OffsetAt(utc);
}
