#include "mylib/money.h"

#include "mylib/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {
int g_moneydecimals = 2;

// The nearest double of rounded decimal digits (0.digits x 10^exponent).
double ToDouble(const DecimalDigits& d) {
    if (d.digits.empty()) {
        return 0.0;
    }
    const std::string text =
        (d.negative ? "-0." : "0.") + d.digits + 'e' + std::to_string(d.exponent);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

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
        // An overflowing amount has no money text; labels show nothing.
        return QString();
    }
    const DecimalDigits d = RoundDecimal(amount, 15, decimals);
    if (d.exponent > 15) {
        // Too large for fixed digits: the locale's pattern around a general
        // number, in place of the locale's own digit one (U+0661 in ar_EG).
        const QString one = fmt.toCurrencyString(d.negative ? -1.0 : 1.0, symbol, 0);
        const QString general = FormatGeneral(std::fabs(amount), fmt);
        return QString(one).replace(fmt.toString(1), general);
    }
    if (d.exponent + decimals <= 15) {
        // The rounded decimal text converts back to the nearest double, which
        // QLocale prints with the same digits at `decimals` places.
        const double rounded = ToDouble(d);
        return fmt.toCurrencyString(rounded, symbol, decimals);
    }
    // More places than a double carries: QLocale writes the kept digits and
    // the padding zeros go after the last of them, where a double's would be
    // wrong (12345678901234.3 would end in "301" with three decimals).
    const int kept = std::max(0, static_cast<int>(d.digits.size()) - d.exponent);
    QString text = fmt.toCurrencyString(ToDouble(d), symbol, kept);
    qsizetype end = 0;
    for (int digit = 0; digit <= 9; ++digit) {
        const QString s = fmt.toString(digit);
        const qsizetype at = text.lastIndexOf(s);
        if (at >= 0) {
            end = std::max(end, at + s.size());
        }
    }
    const QString zeros = fmt.toString(0).repeated(decimals - kept);
    return text.insert(end, kept == 0 ? fmt.decimalPoint() + zeros : zeros);
}

QString FormatMoney(double amount) {
    return FormatMoney(amount, QLocale(), g_moneydecimals);
}
