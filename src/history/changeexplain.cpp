#include "history/changeexplain.h"

#include "mylib/dates.h"
#include "mylib/money.h"

#include <cmath>
#include <cstdlib>

namespace {

QDate Middle(const HistoryPeriod& p) {
    return p.from.addDays(p.days / 2);
}

} // namespace

CostChange ExplainChange(const HistoryPeriod& now, const HistoryPeriod& before) {
    CostChange c;
    c.againstFrom = before.from;
    c.againstTo = before.to;
    const PeriodNumbers& o = before.numbers;
    const PeriodNumbers& n = now.numbers;
    // Amount and price per meter; the daily charges have days as amount.
    const std::pair<double, double> olds[] = {
        {before.kwhGeneral, o.generalRate},
        {before.kwhHotWater, o.hwRate},
        {static_cast<double>(before.days), o.generalDailyCharge + o.hwDailyCharge},
        {-before.kwhExported, o.feedIn}};
    const std::pair<double, double> news[] = {
        {now.kwhGeneral, n.generalRate},
        {now.kwhHotWater, n.hwRate},
        {static_cast<double>(now.days), n.generalDailyCharge + n.hwDailyCharge},
        {-now.kwhExported, n.feedIn}};
    for (std::size_t i = 0; i < std::size(olds); ++i) {
        c.fromUse += (news[i].first - olds[i].first) * olds[i].second;
        c.fromPrices += news[i].first * (news[i].second - olds[i].second);
    }
    c.change = c.fromUse + c.fromPrices;
    c.kwhDifference = now.Kwh() - before.Kwh();
    return c;
}

const HistoryPeriod* YearEarlierPeriod(const HistoryPeriod& p,
                                       const std::vector<HistoryPeriod>& periods) {
    const QDate target = Middle(p).addYears(-1);
    const HistoryPeriod* best = nullptr;
    qint64 bestOff = 46;
    for (const HistoryPeriod& q : periods) {
        const qint64 off = std::llabs(Middle(q).daysTo(target));
        if (off < bestOff && q.to <= p.from) {
            best = &q;
            bestOff = off;
        }
    }
    return best;
}

const HistoryPeriod* PreviousPeriod(const HistoryPeriod& p,
                                    const std::vector<HistoryPeriod>& periods) {
    const HistoryPeriod* best = nullptr;
    for (const HistoryPeriod& q : periods) {
        if (q.from < p.from &&
            (!best || std::pair(q.to, q.from) > std::pair(best->to, best->from))) {
            best = &q;
        }
    }
    return best;
}

ChangeTexts ChangeTextParts(const CostChange& c, const QLocale& money, int moneyDecimals) {
    // Rounding leftovers (a change of -0.000001) read as nothing, not "-$0.00".
    const double cent = 0.5 * std::pow(10.0, -moneyDecimals);
    auto amount = [&](double v) {
        return FormatMoney(std::fabs(v) < cent ? 0.0 : v, money, moneyDecimals);
    };
    const QString zero = amount(0);
    auto signedAmount = [&](double v) {
        const QString text = amount(v);
        return v > 0 && text != zero ? QLatin1Char('+') + text : text;
    };
    ChangeTexts t;
    t.total = signedAmount(c.change);
    t.useAmount = signedAmount(c.fromUse);
    t.pricesAmount = signedAmount(c.fromPrices);
    const double kwh = std::round(c.kwhDifference);
    t.use = amount(c.fromUse) + QLatin1Char(' ') +
            (kwh == 0 ? QStringLiteral("from using as much")
                      : QStringLiteral("from using %1 kWh %2")
                            .arg(money.toString(std::fabs(kwh), 'f', 0),
                                 kwh > 0 ? QStringLiteral("more") : QStringLiteral("less")));
    t.prices = amount(c.fromPrices) + QLatin1Char(' ') +
               (amount(c.fromPrices) == zero ? QStringLiteral("from the same prices")
                : c.fromPrices > 0           ? QStringLiteral("from higher prices")
                                             : QStringLiteral("from lower prices"));
    return t;
}

QString ChangeSentence(const CostChange& c, const QLocale& money, int moneyDecimals) {
    const ChangeTexts t = ChangeTextParts(c, money, moneyDecimals);
    return QStringLiteral("%1: %2, %3").arg(t.total, t.use, t.prices);
}

std::vector<ChangeAnswer> ChangeAnswers(const HistoryPeriod& p,
                                        const std::vector<HistoryPeriod>& periods) {
    std::vector<ChangeAnswer> answers;
    auto against = [&](const char* what, const char* kind, const HistoryPeriod* q) {
        if (q) {
            answers.push_back({QLatin1String(what), kind, q, ExplainChange(p, *q)});
        }
    };
    against("a year before", "year_before", YearEarlierPeriod(p, periods));
    against("the previous period", "previous", PreviousPeriod(p, periods));
    return answers;
}

std::vector<ChangeBars> ChangeBarsOf(const HistoryPeriod& p,
                                     const std::vector<HistoryPeriod>& periods,
                                     const QLocale& dates, const QLocale& money,
                                     int moneyDecimals) {
    std::vector<ChangeBars> bars;
    for (const ChangeAnswer& a : ChangeAnswers(p, periods)) {
        ChangeBars b;
        b.fromUse = a.change.fromUse;
        b.fromPrices = a.change.fromPrices;
        b.texts = ChangeTextParts(a.change, money, moneyDecimals);
        QString title = a.against;
        title[0] = title[0].toUpper();
        b.title = QStringLiteral("%1: %2").arg(title, b.texts.total);
        b.sentence = QStringLiteral("Against %1 (%2 to %3): %4: %5, %6.")
                         .arg(a.against, FormatShortDate(a.period->from, dates),
                              FormatShortDate(a.period->to, dates), b.texts.total, b.texts.use,
                              b.texts.prices);
        bars.push_back(b);
    }
    return bars;
}

QString ChangeText(const HistoryPeriod& p, const std::vector<HistoryPeriod>& periods,
                   const QLocale& dates, const QLocale& money, int moneyDecimals) {
    QStringList parts;
    for (const ChangeBars& b : ChangeBarsOf(p, periods, dates, money, moneyDecimals)) {
        parts << b.sentence;
    }
    return parts.join(QLatin1Char(' '));
}
