#pragma once
// Pricing a plan on meter intervals. The intervals are seen once per time zone
// (ZonedSeries: each start's local day and minute of the week, through
// QTimeZone); a plan compiles once to lookup tables (CompiledTariff: for each
// season and weekday the rate of every minute of the day); pricing is then one
// pass over the intervals with a table lookup and an add per interval, plus
// step counters for stepped rates. Comparing many plans shares the ZonedSeries.
//
// The rules: an interval is priced by its start instant in the plan's zone (a
// season's own zone for that season's rates), which gives its weekday, window,
// season and day. Stepped rates count per time-of-use type, controlled load
// and feed-in within their step period. Every day of the priced range pays the
// supply charge of its season, plus the controlled load's daily charge when a
// controlled load is connected. Percent-of-use discounts apply to usage and
// controlled load, percent-of-bill ones to supply as well; feed-in credits are
// not discounted. Tax goes on supply + usage + controlled load - discounts, and
// on the feed-in credit too when the plan says so.
// total = supply + usage + controlled load + discounts + tax + feed-in, with
// discounts and the feed-in credit as negative amounts.

#include "tariff/intervalseries.h"
#include "tariff/tariffplan.h"

#include <QDate>

#include <array>
#include <memory>
#include <optional>
#include <vector>

// One rate's share of the bill: its kWh and what they cost (credit for feed-in).
struct TariffLine {
    enum class Part { Usage, ControlledLoad, FeedIn };
    Part part = Part::Usage;
    QString season; // the tariff period's name; empty for controlled load and feed-in
    QString name;   // the rate's own name, else its type's
    RateType type = RateType::Single;
    double kwh = 0;
    double cost = 0;
};

struct ConditionalSaving {
    QString name;
    double saving = 0; // what the bill would fall by, tax included
};

struct TariffPrice {
    QDate from, to; // the priced days, in the plan's zone
    qint64 days = 0;
    double supply = 0, usage = 0, controlledLoad = 0;
    double discounts = 0; // 0 or less
    double tax = 0;
    double feedIn = 0; // the credit, 0 or less
    double total = 0;
    double generalKwh = 0, controlledKwh = 0, exportKwh = 0;
    QList<TariffLine> lines;
    QList<ConditionalSaving> conditional;
    QStringList notPriced;       // parts the figures leave out
    bool needsMeterData = false; // a time-of-use plan asked to price a period's kWh
};

// "not fully priced: demand charges, fees", "needs meter data", or empty.
QString PriceNote(const TariffPrice& p);

// The intervals seen in one zone: each start's day (days since 1970-01-01 in
// that zone) and minute of the week (Monday 00:00 is 0). The series must
// outlive it.
struct ZoneView {
    std::vector<qint32> day;
    std::vector<quint16> minuteOfWeek;
    qint32 minDay = 0, maxDay = -1;
};
ZoneView ViewInZone(const IntervalSeries& series, TariffZone zone);

// A series with its zone views, each made on first use.
class ZonedSeries {
public:
    explicit ZonedSeries(const IntervalSeries& series) : series_(series) {}
    const IntervalSeries& series() const { return series_; }
    const ZoneView& view(TariffZone zone) const;

private:
    const IntervalSeries& series_;
    mutable std::array<std::unique_ptr<ZoneView>, 2> views_;
};

struct PriceOptions {
    // The days priced (in the plan's zone, inclusive); intervals starting
    // outside are left out. Unset: the first to the last day with data.
    std::optional<QDate> from, to;
    // Whether the controlled load's daily charge is paid. Unset: when the
    // series holds controlled-load intervals.
    std::optional<bool> controlledLoadConnected;
};

// A validated plan as lookup tables. Pricing an invalid plan gives figures of
// no meaning; check with ValidateTariffPlan first.
class CompiledTariff {
public:
    explicit CompiledTariff(const TariffPlan& plan);
    TariffPrice price(const ZonedSeries& series, const PriceOptions& options = {}) const;
    // For each interval of the series, the type of the general-use rate its
    // start is priced at: the season of its day and the window of its minute,
    // each seen in the zone pricing reads them in.
    std::vector<RateType> usageTypes(const ZonedSeries& series) const;

    // One rate of one season (usage) or of the controlled load or feed-in.
    struct Slot {
        TariffLine::Part part = TariffLine::Part::Usage;
        QString season, name;
        RateType type = RateType::Single;
        SteppedRate rate;
        std::vector<double> ceilings; // cumulative step volumes; the last is infinite
        int counter = 0;              // the step counter it shares with its type
        bool stepped = false;
    };

private:
    // The season holding a day (the first one where none does: the
    // validation refuses such plans).
    qint16 seasonOf(QDate day) const;
    std::vector<const ZoneView*> seasonViews(const ZonedSeries& zoned) const;

    TariffPlan plan_;
    std::vector<Slot> slots_;
    std::vector<std::vector<quint8>>
        seasonTables_; // per season, the slot of each minute of the week
    std::vector<quint8> controlledTable_, feedInTable_;
    std::array<qint16, 366> seasonOfDay_{}; // per day of a leap year
    std::vector<StepPeriod> counterPeriods_;
};

// The plan priced on the intervals in one go.
TariffPrice PriceTariff(const TariffPlan& plan, const IntervalSeries& series,
                        const PriceOptions& options = {});

// A period known only by its kWh (a bill-history period from `from` to `to`
// inclusive): the kWh spread evenly over its days and priced day by day, so a
// daily step counts each day's share. A plan with time-of-use or time-varying
// rates comes back with needsMeterData set and no figures.
TariffPrice PricePeriodKwh(const TariffPlan& plan, QDate from, QDate to, double generalKwh,
                           double controlledKwh, double exportKwh, bool controlledLoadConnected);
