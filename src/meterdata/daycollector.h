#pragma once
// Gathers single readings (instant, duration, kWh, quality) into local days
// for the sink. Days stay open while readings may still come for them; at
// most a few dozen per channel, the oldest handed on first, so memory stays
// bounded however long the file is. A day handed on early and met again goes
// to the sink a second time with the later readings only (the store merges).

#include "meterdata/localzone.h"
#include "meterdata/meterday.h"

#include <QString>
#include <map>
#include <utility>

class DayCollector {
public:
    DayCollector(MeterSink& sink, LocalZone zone);
    void SetZone(LocalZone zone) { zone_ = std::move(zone); }

    // Adds one reading; returns an empty text, or why it cannot be placed.
    QString Add(const QString& meter, const QString& channel, qint64 startUtc, qint64 seconds,
                double kwh, char quality, int line);
    // Hands every open day to the sink.
    void Flush();

    static constexpr std::size_t MaxOpenDays = 64;

private:
    MeterSink& sink_;
    LocalZone zone_;
    std::map<std::pair<QString, QString>, std::map<qint64, MeterDay>> open_;
    std::size_t count_ = 0;
};
