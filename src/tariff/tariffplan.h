#pragma once
// A retail electricity plan as data: tariff periods (seasons) with a daily
// supply charge and single or time-of-use rates, a controlled load, a feed-in
// tariff, discounts, tax and the time zone its windows are read in. Plans are
// built by the editor, the standard plan file reader (tariff/cdrplan.h) or
// FlatTariffPlan, checked by ValidateTariffPlan, and priced by
// tariff/tariffpricing.h. Money is in the plan's currency units, energy in kWh.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The time zone a plan's windows, days and seasons are read in: the system's
// own (TZ honoured) or AEST, UTC+10 all year.
enum class TariffZone { Local, Aest };

// What a rate is called on the bill. Single is the one rate of a plan without
// time-of-use windows; the others name time-of-use and feed-in windows.
enum class RateType { Single, Peak, OffPeak, Shoulder, Shoulder1, Shoulder2, SolarSponge };

// The span that stepped volumes count within: the day, the calendar month or
// the calendar year of the interval's start in the plan's zone.
enum class StepPeriod { Day, Month, Year };

struct RateStep {
    double price = 0;             // per kWh
    std::optional<double> volume; // kWh this step takes within its period; the last has none
};

// Rates in order of volume: each takes the next `volume` kWh of its period,
// the last (or one without a volume) takes the rest. One step is a plain rate.
struct SteppedRate {
    QList<RateStep> steps;
    StepPeriod period = StepPeriod::Year;
};

// A weekly window: on each of its days, minutes [start, end) of the day. Times
// are minutes from midnight, 0..1440; an end of 0 or 1440 is midnight. A
// window whose end is at or before its start covers the start to midnight and
// midnight to the end of each of its days.
struct TimeWindow {
    quint8 days = 0; // bit 0 Monday ... bit 6 Sunday
    int start = 0;
    int end = 1440;
};

struct TouRate {
    RateType type = RateType::Peak;
    QString name;
    SteppedRate rate;
    QList<TimeWindow> windows;
};

// The usage rates of a tariff period or of the controlled load: one rate, or
// time-of-use rates whose windows price every minute of the week exactly once.
struct RateBlock {
    bool timeOfUse = false;
    SteppedRate single;
    QList<TouRate> tou;
};

// A season: the days from start to end inclusive (month and day), wrapping
// the year end when the end comes before the start. 29 February belongs to
// the season holding 28 February unless a season names it.
struct TariffSeason {
    QString name;
    int startMonth = 1, startDay = 1, endMonth = 12, endDay = 31;
    double dailySupply = 0;
    RateBlock usage;
    std::optional<TariffZone> zone; // its windows' own zone, else the plan's
};

struct ControlledLoadTariff {
    bool present = false;
    QString name;
    RateBlock rates;
    std::optional<double> dailyCharge; // paid each day besides the supply charge
};

// Export credit: one rate (possibly stepped), or time-varying rates by windows.
struct FeedInTariff {
    bool present = false;
    QString name;
    bool timeVarying = false;
    SteppedRate single;
    QList<TouRate> windows;
};

// Guaranteed discounts are applied; conditional ones (pay on time, direct
// debit) are shown with what they would save. Percent 0..100.
struct TariffDiscount {
    enum class Method { PercentOfUse, PercentOfBill };
    QString name;
    bool guaranteed = true;
    Method method = Method::PercentOfUse;
    double percent = 0;
    QString category; // PAY_ON_TIME, DIRECT_DEBIT, ... as read; empty when typed
};

struct TariffPlan {
    QString name;
    QString planId, brand; // from the standard plan file; empty when typed
    TariffZone zone = TariffZone::Aest;
    QList<TariffSeason> seasons;
    ControlledLoadTariff controlledLoad;
    FeedInTariff feedIn;
    QList<TariffDiscount> discounts;
    double taxPercent = 0;
    bool taxOnFeedIn = false; // the feed-in income is taxed too (the retailer pays it)
    QStringList notPriced;    // parts of the plan that its price depends on but the model lacks
};

// A flat plan of the Compare plans page: one season all year, a single
// general rate, a controlled load (hot water) with its own daily charge, a
// flat feed-in and its tax choices.
TariffPlan FlatTariffPlan(const QString& name, double generalDailyCharge, double generalRate,
                          double hwDailyCharge, double hwRate, double feedIn, double taxPercent,
                          bool taxOnIncome);

// Whether any rate of the plan depends on the time of day.
bool IsTimeOfUse(const TariffPlan& plan);

// Empty when the plan can be priced; otherwise why not, naming the part:
// seasons that overlap or leave a day of the year out ("no tariff period holds
// 04-01"), windows that overlap or leave part of a week unpriced ("... overlap
// on Monday at 07:00", "... nothing covers Saturday at 14:00"), rates without
// steps, steps after a step without a volume, prices or percentages that are
// not finite.
QString ValidateTariffPlan(const TariffPlan& plan);

// "Monday" ... "Sunday" for day 0..6 and "HH:MM" for a minute of the day.
QString WeekdayName(int day);
QString MinuteText(int minute);
// "Peak", "Off-peak", ... as shown in breakdowns.
QString RateTypeName(RateType type);
// A time-of-use rate's label: its name, else its type's name.
QString TouRateLabel(const TouRate& rate);
// The minute of the day a window's time of `hour`:`minute` (0..24, 0..59)
// stands for: an end written HH:59 means the next minute, and an end of 00:00
// or 24:00 is midnight at the end of the day (1440).
int WindowMinute(int hour, int minute, bool isEnd);
