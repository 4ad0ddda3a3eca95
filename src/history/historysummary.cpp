#include "history/historysummary.h"

#include "calc/owndays.h"
#include "mylib/money.h"

#include <algorithm>
#include <cmath>

HistorySummary SummarizeLastYear(const std::vector<HistoryPeriod>& periods) {
    HistorySummary s;
    for (const HistoryPeriod& p : periods) {
        if (!s.any || p.to > s.end) {
            s.end = p.to;
        }
        s.any = true;
    }
    if (!s.any) {
        return s;
    }
    s.start = s.end.addMonths(-12);
    // Only the periods inside the 12 months can share a day there.
    std::vector<const HistoryPeriod*> within;
    std::vector<DayRange> ranges;
    std::vector<qint64> order;
    for (const HistoryPeriod& p : periods) {
        if (p.days > 0 && p.from < s.end && s.start < p.to) {
            within.push_back(&p);
            ranges.push_back({p.from, p.to});
            order.push_back(p.id);
        }
    }
    const std::vector<std::vector<DayRange>> later = LaterRanges(ranges, order);
    for (std::size_t i = 0; i < within.size(); ++i) {
        const HistoryPeriod& p = *within[i];
        const qint64 inside = OwnDays(ranges[i], s.start, s.end, later[i]);
        if (inside <= 0) {
            continue;
        }
        s.days += inside;
        s.paid += inside == p.days
                      ? p.net
                      : p.net * static_cast<double>(inside) / static_cast<double>(p.days);
    }
    return s;
}

QString SummaryText(const HistorySummary& s, const QLocale& locale, int moneyDecimals) {
    if (!s.any) {
        return QStringLiteral("No periods stored yet.");
    }
    if (!std::isfinite(s.paid)) {
        // Never a sentence with its amounts left out.
        return QStringLiteral("Last 12 months: the stored amounts are too large to add up.");
    }
    return QStringLiteral("Last 12 months: %1 paid over %2 days, an average of %3 a day.")
        .arg(FormatMoney(s.paid, locale, moneyDecimals), QString::number(s.days),
             FormatMoney(s.PerDay(), locale, moneyDecimals));
}

QString ComparisonText(double perDay, const HistorySummary& s, const QLocale& locale,
                       int moneyDecimals) {
    if (!s.any || s.days <= 0 || !std::isfinite(s.paid) || !std::isfinite(perDay)) {
        // No comparison rather than one with an amount left out.
        return QString();
    }
    const double average = s.PerDay();
    const QString averageText = FormatMoney(average, locale, moneyDecimals);
    if (!(average > 0)) {
        return QStringLiteral("%1 a day against your 12-month average of %2 a day")
            .arg(FormatMoney(perDay, locale, moneyDecimals), averageText);
    }
    const double percent = std::round((perDay / average - 1.0) * 100.0);
    if (percent == 0) {
        return QStringLiteral("the same as your 12-month average of %1 a day").arg(averageText);
    }
    return QStringLiteral("%1% %2 your 12-month average of %3 a day")
        .arg(QString::number(std::fabs(percent), 'f', 0),
             percent > 0 ? QStringLiteral("above") : QStringLiteral("below"), averageText);
}
