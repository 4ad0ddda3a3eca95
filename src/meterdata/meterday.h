#pragma once
// What the meter data readers hand on: one day of one channel of one meter at
// a time, in kWh, with the instants of its intervals, so that a file is never
// held whole. The readers check what they read and throw MeterDataError
// (naming the file and the line or element) on the first fault.

#include <QDate>
#include <QString>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

// A refused input; the message names the file and the line or element.
class MeterDataError : public std::runtime_error {
public:
    explicit MeterDataError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& Message() const { return message_; }

private:
    QString message_;
};

// What a stored channel counts as in the bill.
enum class ChannelRole { General = 0, ControlledLoad = 1, Export = 2, Skip = 3 };

// "general", "controlled_load", "export", "skip".
QString RoleName(ChannelRole role);
// The role for one of those names; false when the text is none of them.
bool ParseRole(const QString& text, ChannelRole& role);
// The role a channel gets unless the user chooses another: `B…` export, `E2`
// controlled load, any other `E…` general.
ChannelRole DefaultRole(const QString& suffix);

// A missing interval inside a day (a Green Button file that covers part of it).
inline constexpr double MissingValue = std::numeric_limits<double>::quiet_NaN();

struct MeterDay {
    QString meter;       // NMI or the Green Button usage point
    QString channel;     // NMI suffix (`E1`, `B1`, …)
    QDate day;           // market date (NEM12) or local date (Green Button)
    qint64 startUtc = 0; // instant of the first interval, seconds since 1970 UTC
    int lengthMinutes = 30;
    std::vector<double> kwh; // one per interval of the day; MissingValue where absent
    std::string quality;     // one letter per interval: A, S, F, E, N (missing or null)
    qint64 updateUtc = 0;    // the record's update time, 0 when it carries none
    int line = 0;            // where the day was read, for messages
};

// Non-energy channels are listed, not stored.
struct OtherChannel {
    QString meter;
    QString channel;
    QString unit;
};

class MeterSink {
public:
    virtual ~MeterSink() = default;
    virtual void Day(const MeterDay& day) = 0;
    virtual void Other(const OtherChannel&) {}
};
