#include "tools/usagecost.h"

#include "mylib/money.h"
#include "mylib/numbers.h"

#include <cmath>

double UsageCost(double watts, double hours, double rate) {
    const long double w = watts;
    return static_cast<double>(w / 1000.0L * static_cast<long double>(hours) *
                               static_cast<long double>(rate));
}

namespace {

// The kWh per day as a double: hundredths, half to even.
double UsageKwh(double watts, double hours) {
    const long double k = RoundHalfEven(static_cast<long double>(watts) / 1000.0L *
                                        static_cast<long double>(hours) * 100.0L);
    return static_cast<double>(k / 100.0L);
}

QString PaddedKwhText(double kwh) {
    QString text = FormatGeneral(kwh, QChar('.'));
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0) {
        text += QStringLiteral(".00");
    } else if (text.size() - point - 1 == 1) {
        text += QLatin1Char('0');
    }
    return text;
}

} // namespace

QString UsageKwhText(double watts, double hours) {
    return PaddedKwhText(UsageKwh(watts, hours));
}

UsageTexts UsageLabelTexts(const QString& rate, const QString& watts, const QString& hours,
                           QChar separator, const QLocale& money, int moneyDecimals) {
    UsageTexts t;
    const auto r = ParsePlainNumber(rate, separator);
    if (!r) {
        return t;
    }
    const auto w = ParsePlainNumber(watts, separator);
    if (!w) {
        return t;
    }
    const auto h = ParsePlainNumber(hours, separator);
    if (!h) {
        return t;
    }
    const double day = UsageCost(*w, *h, *r);
    const double week = UsageCost(*w, *h * 7, *r);
    const double year = UsageCost(*w, *h * 365, *r);
    const double kwh = UsageKwh(*w, *h);
    // A figure too large for a double has no text: all four labels stay empty.
    for (double v : {day, week, year, kwh}) {
        if (!std::isfinite(v)) {
            return t;
        }
    }
    t.valid = true;
    t.result = QStringLiteral("Cost: ") + FormatMoney(day, money, moneyDecimals);
    t.kwh = QStringLiteral("(") + PaddedKwhText(kwh) + QStringLiteral(" kwh)");
    t.perWeek = FormatMoney(week, money, moneyDecimals) + QStringLiteral(" per week");
    t.perYear = FormatMoney(year, money, moneyDecimals) + QStringLiteral(" per year");
    return t;
}
