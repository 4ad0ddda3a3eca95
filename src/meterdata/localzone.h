#pragma once
// The local time of a Green Button file: the file's LocalTimeParameters
// (standard offset, daylight offset and the two bit-packed yearly rules) or,
// when it has none, a named time zone (the system's).

#include <QDate>
#include <QTimeZone>
#include <cstdint>

class LocalZone {
public:
    // The system's zone.
    LocalZone() : LocalZone(QTimeZone::systemTimeZone()) {}
    // A named zone.
    explicit LocalZone(QTimeZone zone);
    // ESPI LocalTimeParameters; rules of 0 mean no daylight saving.
    static LocalZone FromRules(int tzOffset, int dstOffset, std::uint32_t dstStart,
                               std::uint32_t dstEnd);

    // Seconds east of UTC at the instant `utc`.
    int OffsetAt(qint64 utc) const;
    // The local date of the instant.
    QDate DateAt(qint64 utc) const;
    // The instant of 00:00 local time on `day` (the first instant of the day).
    qint64 MidnightUtc(QDate day) const { return ToUtc(day, 0); }
    // The instant of a local wall-clock time, `seconds` after 00:00 on `day`.
    qint64 ToUtc(QDate day, int seconds) const;

private:
    // The instant a rule takes effect in `year`, in local time seconds.
    static qint64 RuleLocal(std::uint32_t rule, int year);

    QTimeZone zone_;
    bool rules_ = false;
    int tz_ = 0;
    int dst_ = 0;
    std::uint32_t start_ = 0;
    std::uint32_t end_ = 0;
};
