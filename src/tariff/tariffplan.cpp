#include "tariff/tariffplan.h"

#include "tariff/weekgrid.h"

#include <QDate>

#include <array>
#include <cmath>

TariffPlan FlatTariffPlan(const QString& name, double generalDailyCharge, double generalRate,
                          double hwDailyCharge, double hwRate, double feedIn, double taxPercent,
                          bool taxOnIncome) {
    TariffPlan p;
    p.name = name;
    p.zone = TariffZone::Local;
    TariffSeason all;
    all.name = QStringLiteral("All year");
    all.dailySupply = generalDailyCharge;
    all.usage.single.steps = {RateStep{generalRate, {}}};
    p.seasons = {all};
    p.controlledLoad.present = true;
    p.controlledLoad.name = QStringLiteral("Hot water");
    p.controlledLoad.rates.single.steps = {RateStep{hwRate, {}}};
    p.controlledLoad.dailyCharge = hwDailyCharge;
    p.feedIn.present = true;
    p.feedIn.name = QStringLiteral("Feed-in");
    p.feedIn.single.steps = {RateStep{feedIn, {}}};
    p.taxPercent = taxPercent;
    p.taxOnFeedIn = taxOnIncome;
    return p;
}

bool IsTimeOfUse(const TariffPlan& plan) {
    for (const TariffSeason& s : plan.seasons) {
        if (s.usage.timeOfUse) {
            return true;
        }
    }
    return (plan.controlledLoad.present && plan.controlledLoad.rates.timeOfUse) ||
           (plan.feedIn.present && plan.feedIn.timeVarying);
}

QString WeekdayName(int day) {
    static const char* const names[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                        "Friday", "Saturday", "Sunday"};
    return QString::fromLatin1(names[((day % 7) + 7) % 7]);
}

QString MinuteText(int minute) {
    return QStringLiteral("%1:%2")
        .arg(minute / 60, 2, 10, QChar(u'0'))
        .arg(minute % 60, 2, 10, QChar(u'0'));
}

QString RateTypeName(RateType type) {
    switch (type) {
    case RateType::Single:
        return QStringLiteral("Single rate");
    case RateType::Peak:
        return QStringLiteral("Peak");
    case RateType::OffPeak:
        return QStringLiteral("Off-peak");
    case RateType::Shoulder:
        return QStringLiteral("Shoulder");
    case RateType::Shoulder1:
        return QStringLiteral("Shoulder 1");
    case RateType::Shoulder2:
        return QStringLiteral("Shoulder 2");
    case RateType::SolarSponge:
        return QStringLiteral("Solar sponge");
    }
    return {};
}

QString TouRateLabel(const TouRate& rate) {
    return rate.name.isEmpty() ? RateTypeName(rate.type) : rate.name;
}

int WindowMinute(int hour, int minute, bool isEnd) {
    const int m = hour * 60 + minute + (isEnd && minute == 59 ? 1 : 0);
    return isEnd && m == 0 ? 1440 : m;
}

namespace {

QString CheckSteps(const SteppedRate& r) {
    if (r.steps.isEmpty()) {
        return QStringLiteral("a rate has no price.");
    }
    for (qsizetype i = 0; i < r.steps.size(); ++i) {
        const RateStep& s = r.steps[i];
        if (!std::isfinite(s.price)) {
            return QStringLiteral("a price is not a number.");
        }
        if (s.volume && !(std::isfinite(*s.volume) && *s.volume > 0)) {
            return QStringLiteral("a step's volume must be a number above 0.");
        }
        if (!s.volume && i + 1 < r.steps.size()) {
            return QStringLiteral("a step without a volume comes before the last step.");
        }
    }
    return {};
}

// Every minute of the week covered exactly once; the earliest fault named.
QString CheckWindows(const QList<TouRate>& rates) {
    for (const TouRate& r : rates) {
        if (QString e = CheckSteps(r.rate); !e.isEmpty()) {
            return QStringLiteral("%1: %2").arg(TouRateLabel(r), e);
        }
        for (const TimeWindow& w : r.windows) {
            if (w.start < 0 || w.start >= 1440 || w.end < 0 || w.end > 1440) {
                return QStringLiteral("%1: a window's time is not a time of day.")
                    .arg(TouRateLabel(r));
            }
        }
    }
    return CoverageFault(CoverWeek(rates), rates);
}

QString CheckBlock(const RateBlock& b) {
    return b.timeOfUse ? CheckWindows(b.tou) : CheckSteps(b.single);
}

// Day of a leap year, 0..365, or -1 when the month and day name no such day.
int Ordinal(int month, int day) {
    return QDate::isValid(2000, month, day)
               ? static_cast<int>(QDate(2000, 1, 1).daysTo(QDate(2000, month, day)))
               : -1;
}

QString DayText(int ordinal) {
    return QDate(2000, 1, 1).addDays(ordinal).toString("MM-dd");
}

} // namespace

QString ValidateTariffPlan(const TariffPlan& plan) {
    if (plan.seasons.isEmpty()) {
        return QStringLiteral("The plan has no tariff period.");
    }
    // The pricing tables number the rates in a byte.
    qsizetype rates = plan.controlledLoad.rates.tou.size() + plan.feedIn.windows.size() + 2;
    for (const TariffSeason& s : plan.seasons) {
        rates += s.usage.tou.size() + 1;
    }
    if (rates > 250) {
        return QStringLiteral("The plan has more rates than can be priced.");
    }
    std::array<int, 366> owner;
    owner.fill(-1);
    for (int i = 0; i < static_cast<int>(plan.seasons.size()); ++i) {
        const TariffSeason& s = plan.seasons[i];
        const int from = Ordinal(s.startMonth, s.startDay);
        const int to = Ordinal(s.endMonth, s.endDay);
        if (from < 0 || to < 0) {
            return QStringLiteral("Tariff period \"%1\": its dates are not days of the year.")
                .arg(s.name);
        }
        if (!std::isfinite(s.dailySupply)) {
            return QStringLiteral("Tariff period \"%1\": the daily supply charge is not a number.")
                .arg(s.name);
        }
        if (QString e = CheckBlock(s.usage); !e.isEmpty()) {
            return QStringLiteral("Tariff period \"%1\": %2").arg(s.name, e);
        }
        for (int d = from;; d = (d + 1) % 366) {
            if (owner[d] >= 0) {
                return QStringLiteral("Tariff periods \"%1\" and \"%2\" both hold %3.")
                    .arg(plan.seasons[owner[d]].name, s.name, DayText(d));
            }
            owner[d] = i;
            if (d == to) {
                break;
            }
        }
    }
    for (int d = 0; d < 366; ++d) {
        if (owner[d] < 0 && d != 59) { // 29 February goes with 28 February
            return QStringLiteral("No tariff period holds %1.").arg(DayText(d));
        }
    }
    if (plan.controlledLoad.present) {
        if (QString e = CheckBlock(plan.controlledLoad.rates); !e.isEmpty()) {
            return QStringLiteral("Controlled load: %1").arg(e);
        }
        if (plan.controlledLoad.dailyCharge && !std::isfinite(*plan.controlledLoad.dailyCharge)) {
            return QStringLiteral("Controlled load: the daily charge is not a number.");
        }
    }
    if (plan.feedIn.present) {
        const QString e = plan.feedIn.timeVarying ? CheckWindows(plan.feedIn.windows)
                                                  : CheckSteps(plan.feedIn.single);
        if (!e.isEmpty()) {
            return QStringLiteral("Feed-in: %1").arg(e);
        }
    }
    for (const TariffDiscount& d : plan.discounts) {
        if (!(std::isfinite(d.percent) && d.percent >= 0 && d.percent <= 100)) {
            return QStringLiteral("Discount \"%1\": the percentage must be from 0 to 100.")
                .arg(d.name);
        }
    }
    if (!(std::isfinite(plan.taxPercent) && plan.taxPercent >= 0 && plan.taxPercent <= 100)) {
        return QStringLiteral("The tax must be from 0 to 100 percent.");
    }
    return {};
}
