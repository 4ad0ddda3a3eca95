#include "plans/plancompare.h"

#include "calc/owndays.h"
#include "mylib/money.h"
#include "mylib/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// An amount as the money text would show it, to compare what the user sees.
double Rounded(double amount, int moneyDecimals) {
    const DecimalDigits d = RoundDecimal(amount, 15, moneyDecimals);
    if (d.digits.empty()) {
        return 0.0;
    }
    // from_chars reads "." whatever the C library's locale says.
    const std::string text = "0." + d.digits + 'e' + std::to_string(d.exponent);
    double magnitude = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), magnitude);
    return d.negative ? -magnitude : magnitude;
}

QString DifferenceText(double difference, const QLocale& locale, int moneyDecimals) {
    const double shown = Rounded(difference, moneyDecimals);
    if (shown == 0.0) {
        return QStringLiteral("the same");
    }
    const QString amount = FormatMoney(std::fabs(difference), locale, moneyDecimals);
    return shown < 0 ? QStringLiteral("%1 cheaper").arg(amount)
                     : QStringLiteral("%1 dearer").arg(amount);
}

} // namespace

QList<PlanRow> ComparePlans(qint64 days, const PeriodBasis& use, const QList<NamedPlan>& plans,
                            int moneyDecimals) {
    QList<PlanRow> rows;
    rows.reserve(plans.size());
    for (const NamedPlan& p : plans) {
        PlanRow r;
        r.name = p.name;
        r.figures = ComputePlan(days, use, p.rates, moneyDecimals);
        r.showable = IsShowable(r.figures);
        rows.append(r);
    }
    if (rows.isEmpty()) {
        return rows;
    }
    const PlanRow& reference = rows.front();
    bool anyShowable = false;
    double lowest = 0;
    for (PlanRow& r : rows) {
        if (!r.showable) {
            continue;
        }
        if (reference.showable) {
            r.difference = r.figures.net - reference.figures.net;
            r.cheaper = Rounded(r.difference, moneyDecimals) < 0;
        }
        const double net = Rounded(r.figures.net, moneyDecimals);
        lowest = anyShowable ? std::min(lowest, net) : net;
        anyShowable = true;
    }
    for (PlanRow& r : rows) {
        r.cheapest = r.showable && Rounded(r.figures.net, moneyDecimals) == lowest;
    }
    return rows;
}

PlanRowTexts RowTexts(const PlanRow& row, bool reference, const QLocale& locale,
                      int moneyDecimals) {
    PlanRowTexts t;
    t.name = row.name;
    if (!row.showable) {
        const QString none = QStringLiteral("-");
        t.fixed = t.variable = t.income = t.tax = t.net = t.perDay = none;
        t.difference = reference ? QString() : none;
        return t;
    }
    auto money = [&](double v) { return FormatMoney(v, locale, moneyDecimals); };
    const PlanFigures& f = row.figures;
    t.fixed = money(f.period.fixed);
    t.variable = money(f.period.variable);
    t.income = money(f.period.income);
    t.tax = money(f.tax);
    t.net = money(f.net);
    t.perDay = money(f.netPerDay);
    t.difference = reference ? QString() : DifferenceText(row.difference, locale, moneyDecimals);
    return t;
}

YearTotals YearOfPlans(const QList<StoredUse>& stored, const QList<NamedPlan>& plans, QDate end,
                       int moneyDecimals) {
    YearTotals y;
    const QDate start = end.addMonths(-12);
    y.yearDays = start.daysTo(end);
    y.planTotals = QList<double>(plans.size(), 0.0);
    // Only the periods inside the year can share a day there.
    std::vector<const StoredUse*> within;
    std::vector<DayRange> ranges;
    std::vector<qint64> order;
    for (const StoredUse& s : stored) {
        if (s.from < end && start < s.to) {
            within.push_back(&s);
            ranges.push_back({s.from, s.to});
            order.push_back(s.order);
        }
    }
    const std::vector<std::vector<DayRange>> later = LaterRanges(ranges, order);
    for (std::size_t k = 0; k < within.size(); ++k) {
        const StoredUse& s = *within[k];
        const qint64 days = s.from.daysTo(s.to);
        const qint64 inside = OwnDays(ranges[k], start, end, later[k]);
        if (days <= 0 || inside <= 0) {
            continue;
        }
        const double share = static_cast<double>(inside) / static_cast<double>(days);
        ++y.periods;
        y.days += inside;
        y.paid += s.paid * share;
        for (qsizetype i = 0; i < plans.size(); ++i) {
            y.planTotals[i] += ComputePlan(days, s.use, plans[i].rates, moneyDecimals).net * share;
        }
    }
    return y;
}

double SavingPerYear(const YearTotals& year, double planTotal) {
    if (year.days <= 0) {
        return 0.0;
    }
    return (year.paid - planTotal) * static_cast<double>(year.yearDays) /
           static_cast<double>(year.days);
}

QDate LatestDate(const QList<StoredUse>& stored) {
    QDate latest;
    for (const StoredUse& s : stored) {
        if (!latest.isValid() || s.to > latest) {
            latest = s.to;
        }
    }
    return latest;
}
