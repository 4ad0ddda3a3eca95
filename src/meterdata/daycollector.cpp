#include "meterdata/daycollector.h"

#include <cmath>

DayCollector::DayCollector(MeterSink& sink, LocalZone zone) : sink_(sink), zone_(std::move(zone)) {}

QString DayCollector::Add(const QString& meter, const QString& channel, qint64 startUtc,
                          qint64 seconds, double kwh, char quality, int line) {
    if (seconds <= 0 || seconds % 60 != 0 || 86400 % seconds != 0) {
        return QStringLiteral("an interval of %1 seconds does not divide a day").arg(seconds);
    }
    if (!std::isfinite(kwh) || kwh < 0) {
        return QStringLiteral("the value is negative or not a number");
    }
    const QDate date = zone_.DateAt(startUtc);
    if (date.year() < 1900 || date.year() > 2100) {
        return QStringLiteral("the date %1 is outside 1900 to 2100")
            .arg(date.toString(Qt::ISODate));
    }
    auto& days = open_[{meter, channel}];
    auto it = days.find(date.toJulianDay());
    if (it == days.end()) {
        if (days.size() >= MaxOpenDays) {
            sink_.Day(days.begin()->second);
            days.erase(days.begin());
            --count_;
        }
        MeterDay d;
        d.meter = meter;
        d.channel = channel;
        d.day = date;
        d.startUtc = zone_.MidnightUtc(date);
        d.lengthMinutes = static_cast<int>(seconds / 60);
        d.line = line;
        const qint64 slotCount = (zone_.MidnightUtc(date.addDays(1)) - d.startUtc) / seconds;
        d.kwh.assign(static_cast<std::size_t>(std::max<qint64>(slotCount, 1)), MissingValue);
        d.quality.assign(d.kwh.size(), 'N');
        it = days.emplace(date.toJulianDay(), std::move(d)).first;
        ++count_;
    }
    MeterDay& d = it->second;
    if (d.lengthMinutes * 60 != seconds) {
        return QStringLiteral("readings of %1 and %2 minutes fall on the same day")
            .arg(d.lengthMinutes)
            .arg(seconds / 60);
    }
    const qint64 offset = startUtc - d.startUtc;
    if (offset < 0 || offset % seconds != 0 ||
        offset / seconds >= static_cast<qint64>(d.kwh.size())) {
        return QStringLiteral("the reading does not start on an interval boundary");
    }
    d.kwh[static_cast<std::size_t>(offset / seconds)] = kwh;
    d.quality[static_cast<std::size_t>(offset / seconds)] = quality;
    return {};
}

void DayCollector::Flush() {
    for (auto& [key, days] : open_) {
        for (auto& [jd, day] : days) {
            sink_.Day(day);
        }
    }
    open_.clear();
    count_ = 0;
}
