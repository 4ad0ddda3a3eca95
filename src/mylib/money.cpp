#include "mylib/money.h"

#include "mylib/numbers.h"

#include <cmath>

namespace {
int g_moneydecimals = 2;

const QLocale& UsDollarLocale() {
    static const QLocale us(QLocale::English, QLocale::UnitedStates);
    return us;
}
} // namespace

int CurrencyDecimals(const QLocale& locale) {
    const QString text = locale.toCurrencyString(1.0, QStringLiteral("X"));
    const QString sep = locale.decimalPoint();
    const qsizetype at = text.indexOf(sep);
    if (at < 0) {
        return 0;
    }
    int n = 0;
    for (qsizetype i = at + sep.size(); i < text.size() && text.at(i).isDigit(); ++i) {
        ++n;
    }
    return n;
}

void ReadMoneyDecimals(const QLocale& locale) {
    g_moneydecimals = CurrencyDecimals(locale);
}

int MoneyDecimals() {
    return g_moneydecimals;
}

QString FormatMoney(double amount, const QLocale& locale, int decimals) {
    // A locale without currency conventions (C, POSIX) gets a leading "$".
    const bool bare = locale.currencySymbol().isEmpty();
    const QLocale& fmt = bare ? UsDollarLocale() : locale;
    const QString symbol = bare ? QStringLiteral("$") : locale.currencySymbol();
    if (!std::isfinite(amount)) {
        return FormatGeneral(amount, fmt);
    }
    const DecimalDigits d = RoundDecimal(amount, 15, decimals);
    if (d.exponent > 15) {
        // Too large for fixed digits: the locale's pattern around a general number.
        const QString one = fmt.toCurrencyString(d.negative ? -1.0 : 1.0, symbol, 0);
        const QString general = FormatGeneral(std::fabs(amount), fmt);
        return QString(one).replace(QLatin1Char('1'), general);
    }
    // The rounded decimal text converts back to the nearest double, which
    // QLocale prints with the same digits at `decimals` places.
    const double rounded = d.digits.empty() ? 0.0 : FixedText(d, decimals, '.').toDouble();
    return fmt.toCurrencyString(rounded, symbol, decimals);
}

QString FormatMoney(double amount) {
    return FormatMoney(amount, QLocale(), g_moneydecimals);
}
