#include "mylib/money.h"

#include "mylib/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

namespace {

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

__extension__ typedef __int128 Int128;

// The 15 significant digits of a finite double as mantissa x 10^exponent.
std::pair<qint64, int> Decimal15(double v) {
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    const std::string text(buf, r.ptr);
    const std::size_t e = text.find('e');
    std::string digits = text.substr(0, e);
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    qint64 mantissa = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), mantissa);
    int exponent = 0;
    const char* at = text.data() + e + 1;
    at += *at == '+' ? 1 : 0;
    std::from_chars(at, text.data() + text.size(), exponent);
    return {mantissa, exponent - 14};
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

double PercentOf(double amount, double percent, int decimals) {
    const double plain = amount * percent / 100.0;
    if (!std::isfinite(plain) || decimals < 0 || decimals > 9 ||
        std::fabs(plain) * std::pow(10.0, decimals) >= 1e17) {
        return plain;
    }
    const auto [a, ea] = Decimal15(amount);
    const auto [p, ep] = Decimal15(percent);
    // amount x percent / 100 = a x p x 10^scale; below 10^30, so exact.
    Int128 product = static_cast<Int128>(a) * p;
    const int shift = -(ea + ep - 2 + decimals); // digits to drop
    if (shift > 36) {
        return 0.0;
    }
    for (int i = 0; i < -shift; ++i) {
        product *= 10;
    }
    if (shift > 0) {
        Int128 unit = 1;
        for (int i = 0; i < shift; ++i) {
            unit *= 10;
        }
        const Int128 rest = product % unit;
        product /= unit;
        if (2 * (rest < 0 ? -rest : rest) >= unit) {
            product += rest < 0 ? -1 : 1;
        }
    }
    const std::string text =
        std::to_string(static_cast<long long>(product)) + "e-" + std::to_string(decimals);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}
