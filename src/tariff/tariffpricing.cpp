#include "tariff/tariffpricing.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr qint64 kJulianDayOf1970 = 2440588;
constexpr quint8 kNoSlot = 255;
constexpr int kWeekMinutes = 7 * 1440;

qint64 FloorDiv(qint64 a, qint64 b) {
    qint64 q = a / b;
    if (a % b != 0 && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

QDate DateOfDay(qint64 day) {
    return QDate::fromJulianDay(kJulianDayOf1970 + day);
}
qint64 DayOfDate(QDate d) {
    return d.toJulianDay() - kJulianDayOf1970;
}

QTimeZone ZoneOf(TariffZone zone) {
    return zone == TariffZone::Aest ? QTimeZone(10 * 3600) : QTimeZone::systemTimeZone();
}

// A zone's UTC offset over the span between two transitions, so a year of
// intervals asks QTimeZone a handful of times rather than once per interval.
class OffsetCache {
public:
    explicit OffsetCache(QTimeZone tz) : tz_(std::move(tz)) {}
    int at(qint64 t) {
        if (t >= from_ && t < to_) {
            return offset_;
        }
        const QDateTime when = QDateTime::fromSecsSinceEpoch(t, Qt::UTC);
        offset_ = tz_.offsetFromUtc(when);
        if (tz_.hasTransitions()) {
            const QTimeZone::OffsetData next = tz_.nextTransition(when);
            const QTimeZone::OffsetData prev = tz_.previousTransition(when.addSecs(1));
            to_ = next.atUtc.isValid() ? next.atUtc.toSecsSinceEpoch() : kMax;
            from_ = prev.atUtc.isValid() ? std::min(prev.atUtc.toSecsSinceEpoch(), t) : kMin;
            to_ = std::max(to_, t + 1);
        } else if (!tz_.hasDaylightTime()) {
            from_ = kMin; // a fixed offset
            to_ = kMax;
        } else {
            from_ = FloorDiv(t, 3600) * 3600; // offsets change on whole UTC hours
            to_ = from_ + 3600;
        }
        return offset_;
    }

private:
    static constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    static constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    QTimeZone tz_;
    qint64 from_ = 1, to_ = 0;
    int offset_ = 0;
};

// Day of a leap year, 0..365.
int Ordinal(int month, int day) {
    static constexpr int before[] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};
    return before[month - 1] + day - 1;
}

} // namespace

QString PriceNote(const TariffPrice& p) {
    if (p.needsMeterData) {
        return QStringLiteral("needs meter data");
    }
    if (!p.notPriced.isEmpty()) {
        return QStringLiteral("not fully priced: %1").arg(p.notPriced.join(QStringLiteral(", ")));
    }
    return {};
}

ZoneView ViewInZone(const IntervalSeries& series, TariffZone zone) {
    ZoneView v;
    const std::size_t n = series.size();
    v.day.resize(n);
    v.minuteOfWeek.resize(n);
    OffsetCache offsets(ZoneOf(zone));
    qint32 lo = std::numeric_limits<qint32>::max();
    qint32 hi = std::numeric_limits<qint32>::min();
    for (std::size_t i = 0; i < n; ++i) {
        const qint64 t = series.start[i];
        const qint64 local = t + offsets.at(t);
        // Days beyond the years QDate can hold (a damaged instant) stay at its edges.
        const qint64 day = std::clamp<qint64>(FloorDiv(local, 86400), -2500000, 2900000);
        const qint64 weekday = ((day + 3) % 7 + 7) % 7; // 1970-01-01 was a Thursday
        v.day[i] = static_cast<qint32>(day);
        const qint64 minute = std::clamp<qint64>((local - day * 86400) / 60, 0, 1439);
        v.minuteOfWeek[i] = static_cast<quint16>(weekday * 1440 + minute);
        lo = std::min(lo, v.day[i]);
        hi = std::max(hi, v.day[i]);
    }
    if (n > 0) {
        v.minDay = lo;
        v.maxDay = hi;
    }
    return v;
}

const ZoneView& ZonedSeries::view(TariffZone zone) const {
    std::unique_ptr<ZoneView>& v = views_[zone == TariffZone::Aest ? 1 : 0];
    if (!v) {
        v = std::make_unique<ZoneView>(ViewInZone(series_, zone));
    }
    return *v;
}

CompiledTariff::CompiledTariff(const TariffPlan& plan) : plan_(plan) {
    std::vector<int> counterKeys;
    auto addSlot = [&](TariffLine::Part part, const QString& season, const QString& name,
                       RateType type, const SteppedRate& rate) -> quint8 {
        Slot s;
        s.part = part;
        s.season = season;
        s.name = name.isEmpty() ? RateTypeName(type) : name;
        s.type = type;
        s.rate = rate;
        double sum = 0;
        for (const RateStep& step : rate.steps) {
            sum = step.volume ? sum + *step.volume : std::numeric_limits<double>::infinity();
            s.ceilings.push_back(sum);
        }
        if (!s.ceilings.empty()) {
            s.ceilings.back() = std::numeric_limits<double>::infinity();
        }
        s.stepped = rate.steps.size() > 1;
        // Each type of each part counts its own volume, within its own period.
        const int key = static_cast<int>(part) * 64 + static_cast<int>(type) * 4 +
                        static_cast<int>(rate.period);
        auto found = std::find(counterKeys.begin(), counterKeys.end(), key);
        s.counter = static_cast<int>(found - counterKeys.begin());
        if (found == counterKeys.end()) {
            counterKeys.push_back(key);
            counterPeriods_.push_back(rate.period);
        }
        slots_.push_back(std::move(s));
        return static_cast<quint8>(std::min<std::size_t>(slots_.size() - 1, kNoSlot));
    };
    auto fill = [&](std::vector<quint8>& table, TariffLine::Part part, const QString& season,
                    bool timeOfUse, const SteppedRate& single, const QList<TouRate>& tou) {
        table.assign(kWeekMinutes, kNoSlot);
        if (!timeOfUse) {
            std::fill(table.begin(), table.end(),
                      addSlot(part, season, {}, RateType::Single, single));
            return;
        }
        for (const TouRate& r : tou) {
            const quint8 slot = addSlot(part, season, r.name, r.type, r.rate);
            for (const TimeWindow& w : r.windows) {
                const int start = std::clamp(w.start, 0, 1440);
                const int end = w.end <= 0 || w.end > 1440 ? 1440 : w.end;
                for (int d = 0; d < 7; ++d) {
                    if (!(w.days & (1 << d))) {
                        continue;
                    }
                    quint8* day = table.data() + d * 1440;
                    if (end > start) {
                        std::fill(day + start, day + end, slot);
                    } else {
                        std::fill(day + start, day + 1440, slot);
                        std::fill(day, day + end, slot);
                    }
                }
            }
        }
    };
    seasonOfDay_.fill(-1);
    for (int i = 0; i < static_cast<int>(plan_.seasons.size()); ++i) {
        const TariffSeason& s = plan_.seasons[i];
        seasonTables_.emplace_back();
        fill(seasonTables_.back(), TariffLine::Part::Usage, s.name, s.usage.timeOfUse,
             s.usage.single, s.usage.tou);
        if (!QDate::isValid(2000, s.startMonth, s.startDay) ||
            !QDate::isValid(2000, s.endMonth, s.endDay)) {
            continue;
        }
        const int to = Ordinal(s.endMonth, s.endDay);
        for (int d = Ordinal(s.startMonth, s.startDay);; d = (d + 1) % 366) {
            seasonOfDay_[d] = static_cast<qint16>(i);
            if (d == to) {
                break;
            }
        }
    }
    if (seasonOfDay_[59] < 0) {
        seasonOfDay_[59] = seasonOfDay_[58]; // 29 February goes with 28 February
    }
    const ControlledLoadTariff& cl = plan_.controlledLoad;
    if (cl.present) {
        fill(controlledTable_, TariffLine::Part::ControlledLoad, {}, cl.rates.timeOfUse,
             cl.rates.single, cl.rates.tou);
    }
    const FeedInTariff& fi = plan_.feedIn;
    if (fi.present) {
        fill(feedInTable_, TariffLine::Part::FeedIn, {}, fi.timeVarying, fi.single, fi.windows);
    }
}

qint16 CompiledTariff::seasonOf(QDate day) const {
    return std::max<qint16>(seasonOfDay_[Ordinal(day.month(), day.day())], 0);
}

std::vector<const ZoneView*> CompiledTariff::seasonViews(const ZonedSeries& zoned) const {
    std::vector<const ZoneView*> views;
    for (const TariffSeason& s : plan_.seasons) {
        views.push_back(&zoned.view(s.zone.value_or(plan_.zone)));
    }
    return views;
}

std::vector<RateType> CompiledTariff::usageTypes(const ZonedSeries& zoned) const {
    const std::size_t n = zoned.series().size();
    std::vector<RateType> types(n, RateType::Single);
    if (plan_.seasons.isEmpty()) {
        return types;
    }
    const ZoneView& pv = zoned.view(plan_.zone);
    const std::vector<const ZoneView*> views = seasonViews(zoned);
    for (std::size_t i = 0; i < n; ++i) {
        const int s = seasonOf(DateOfDay(pv.day[i]));
        const quint8 slot = seasonTables_[s][views[s]->minuteOfWeek[i]];
        if (slot != kNoSlot) {
            types[i] = slots_[slot].type;
        }
    }
    return types;
}

TariffPrice CompiledTariff::price(const ZonedSeries& zoned, const PriceOptions& options) const {
    TariffPrice out;
    out.notPriced = plan_.notPriced;
    const IntervalSeries& series = zoned.series();
    const ZoneView& pv = zoned.view(plan_.zone);
    const std::vector<const ZoneView*> seasonViews = this->seasonViews(zoned);
    bool oneZone = true;
    for (const ZoneView* v : seasonViews) {
        oneZone = oneZone && v == &pv;
    }
    qint64 lo = options.from ? DayOfDate(*options.from) : pv.minDay;
    qint64 hi = options.to ? DayOfDate(*options.to) : pv.maxDay;
    if (hi < lo || plan_.seasons.isEmpty()) {
        return out;
    }
    out.from = DateOfDay(lo);
    out.to = DateOfDay(hi);
    out.days = hi - lo + 1;

    // Per day of the table's span: its season, month and year.
    qint64 tableLo = lo, tableHi = hi;
    for (const ZoneView* v : seasonViews) {
        if (v->maxDay >= v->minDay) {
            tableLo = std::min<qint64>(tableLo, v->minDay);
            tableHi = std::max<qint64>(tableHi, v->maxDay);
        }
    }
    const std::size_t span = static_cast<std::size_t>(tableHi - tableLo + 1);
    std::vector<qint16> season(span);
    std::vector<qint32> monthKey(span), year(span);
    std::vector<qint64> seasonDays(plan_.seasons.size());
    {
        QDate d = DateOfDay(tableLo);
        for (std::size_t k = 0; k < span; ++k, d = d.addDays(1)) {
            season[k] = seasonOf(d);
            monthKey[k] = d.year() * 12 + d.month() - 1;
            year[k] = d.year();
            const qint64 day = tableLo + static_cast<qint64>(k);
            if (day >= lo && day <= hi) {
                ++seasonDays[season[k]];
            }
        }
    }

    std::vector<double> kwh(slots_.size()), cost(slots_.size());
    std::vector<quint8> stepped(slots_.size());
    for (std::size_t s = 0; s < slots_.size(); ++s) {
        stepped[s] = slots_[s].stepped;
    }
    std::vector<qint64> counterKey(counterPeriods_.size(), std::numeric_limits<qint64>::min());
    std::vector<double> used(counterPeriods_.size());
    double general = 0, controlled = 0, exported = 0;
    bool anyControlled = false;
    quint8 runSlot = kNoSlot;
    double run = 0;
    const std::size_t n = series.size();
    for (std::size_t i = 0; i < n; ++i) {
        const qint32 pday = pv.day[i];
        if (pday < lo || pday > hi) {
            continue;
        }
        const double v = series.kwh[i];
        quint8 slot = kNoSlot;
        qint32 sday = pday;
        switch (series.role[i]) {
        case IntervalRole::General: {
            const int s = season[pday - tableLo];
            const ZoneView& z = oneZone ? pv : *seasonViews[s];
            slot = seasonTables_[s][z.minuteOfWeek[i]];
            sday = z.day[i];
            general += v;
            break;
        }
        case IntervalRole::ControlledLoad:
            controlled += v;
            anyControlled = true;
            if (!controlledTable_.empty()) {
                slot = controlledTable_[pv.minuteOfWeek[i]];
            }
            break;
        case IntervalRole::Export:
            exported += v;
            if (!feedInTable_.empty()) {
                slot = feedInTable_[pv.minuteOfWeek[i]];
            }
            break;
        }
        if (slot == kNoSlot) {
            continue;
        }
        if (!stepped[slot]) {
            // Runs of intervals at one rate add up in a register, not through
            // memory, so consecutive adds do not wait on each other's store.
            if (slot != runSlot) {
                if (runSlot != kNoSlot) {
                    kwh[runSlot] += run;
                }
                runSlot = slot;
                run = 0;
            }
            run += v;
            continue;
        }
        kwh[slot] += v;
        const Slot& S = slots_[slot];
        const std::size_t at = static_cast<std::size_t>(sday - tableLo);
        const qint64 key = S.rate.period == StepPeriod::Day     ? sday
                           : S.rate.period == StepPeriod::Month ? monthKey[at]
                                                                : year[at];
        if (counterKey[S.counter] != key) {
            counterKey[S.counter] = key;
            used[S.counter] = 0;
        }
        double& u = used[S.counter];
        double left = v;
        for (std::size_t k = 0; k < S.ceilings.size() && left > 0; ++k) {
            if (u >= S.ceilings[k]) {
                continue;
            }
            const double take = std::min(left, S.ceilings[k] - u);
            cost[slot] += take * S.rate.steps[k].price;
            u += take;
            left -= take;
        }
    }

    if (runSlot != kNoSlot) {
        kwh[runSlot] += run;
    }

    double feedIn = 0;
    for (std::size_t s = 0; s < slots_.size(); ++s) {
        const Slot& S = slots_[s];
        const double c =
            S.stepped || S.rate.steps.isEmpty() ? cost[s] : kwh[s] * S.rate.steps[0].price;
        switch (S.part) {
        case TariffLine::Part::Usage:
            out.usage += c;
            break;
        case TariffLine::Part::ControlledLoad:
            out.controlledLoad += c;
            break;
        case TariffLine::Part::FeedIn:
            feedIn += c;
            break;
        }
        if (kwh[s] != 0) {
            out.lines.append(TariffLine{S.part, S.season, S.name, S.type, kwh[s], c});
        }
    }
    out.generalKwh = general;
    out.controlledKwh = controlled;
    out.exportKwh = exported;
    if (controlled != 0 && controlledTable_.empty()) {
        out.notPriced.append(QStringLiteral("controlled load (the plan has no rate for it)"));
    }

    const bool connected = options.controlledLoadConnected.value_or(anyControlled);
    for (std::size_t s = 0; s < seasonDays.size(); ++s) {
        out.supply += static_cast<double>(seasonDays[s]) * plan_.seasons[s].dailySupply;
    }
    if (connected && plan_.controlledLoad.present && plan_.controlledLoad.dailyCharge) {
        out.supply += static_cast<double>(out.days) * *plan_.controlledLoad.dailyCharge;
    }

    const double share = plan_.taxPercent / 100.0;
    const double useBase = out.usage + out.controlledLoad;
    const double billBase = out.supply + useBase;
    for (const TariffDiscount& d : plan_.discounts) {
        const double amount =
            d.percent / 100.0 *
            (d.method == TariffDiscount::Method::PercentOfUse ? useBase : billBase);
        if (d.guaranteed) {
            out.discounts -= amount;
        } else {
            out.conditional.append({d.name, amount * (1 + share)});
        }
    }
    out.feedIn = -feedIn;
    out.tax = share * (out.supply + useBase + out.discounts) +
              (plan_.taxOnFeedIn ? share * out.feedIn : 0.0);
    out.total = out.supply + useBase + out.discounts + out.tax + out.feedIn;
    return out;
}

TariffPrice PriceTariff(const TariffPlan& plan, const IntervalSeries& series,
                        const PriceOptions& options) {
    return CompiledTariff(plan).price(ZonedSeries(series), options);
}

TariffPrice PricePeriodKwh(const TariffPlan& plan, QDate from, QDate to, double generalKwh,
                           double controlledKwh, double exportKwh, bool controlledLoadConnected) {
    if (IsTimeOfUse(plan)) {
        TariffPrice out;
        out.from = from;
        out.to = to;
        out.days = std::max<qint64>(0, from.daysTo(to) + 1);
        out.needsMeterData = true;
        return out;
    }
    // One interval per day and meter at noon in the plan's zone, each holding
    // an even share; the engine then does seasons, steps and supply as usual.
    IntervalSeries series;
    const qint64 days = std::max<qint64>(0, from.daysTo(to) + 1);
    const QTimeZone zone = ZoneOf(plan.zone);
    const double d = static_cast<double>(days);
    for (qint64 k = 0; k < days; ++k) {
        const qint64 noon = QDateTime(from.addDays(k), QTime(12, 0), zone).toSecsSinceEpoch();
        const std::pair<double, IntervalRole> parts[] = {
            {generalKwh, IntervalRole::General},
            {controlledKwh, IntervalRole::ControlledLoad},
            {exportKwh, IntervalRole::Export}};
        for (const auto& [total, role] : parts) {
            if (total != 0) {
                series.add(noon, 1440, total / d, role);
            }
        }
    }
    PriceOptions options;
    options.from = from;
    options.to = to;
    options.controlledLoadConnected = controlledLoadConnected;
    return PriceTariff(plan, series, options);
}
