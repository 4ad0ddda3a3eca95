#include "tools/usagecost.h"

#include "mylib/money.h"
#include "mylib/numbers.h"

double UsageCost(double watts, double hours, double rate) {
    const long double w = watts;
    return static_cast<double>(w / 1000.0L * static_cast<long double>(hours) *
                               static_cast<long double>(rate));
}

QString UsageKwhText(double watts, double hours) {
    const long double k = RoundHalfEven(static_cast<long double>(watts) / 1000.0L *
                                        static_cast<long double>(hours) * 100.0L);
    QString text = FormatGeneral(static_cast<double>(k / 100.0L), QChar('.'));
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0) {
        text += QStringLiteral(".00");
    } else if (text.size() - point - 1 == 1) {
        text += QLatin1Char('0');
    }
    return text;
}

UsageTexts UsageLabelTexts(const QString& rate, const QString& watts, const QString& hours,
                           QChar separator) {
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
    t.valid = true;
    t.result = QStringLiteral("Cost: ") + FormatMoney(UsageCost(*w, *h, *r));
    t.kwh = QStringLiteral("(") + UsageKwhText(*w, *h) + QStringLiteral(" kwh)");
    t.perWeek = FormatMoney(UsageCost(*w, *h * 7, *r)) + QStringLiteral(" per week");
    t.perYear = FormatMoney(UsageCost(*w, *h * 365, *r)) + QStringLiteral(" per year");
    return t;
}
