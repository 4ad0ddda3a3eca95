#include "mylib/numbers.h"
#include "mylib/blanks.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {

// The 18 significant digits of the exact binary value, correctly rounded.
DecimalDigits Expand18(double value) {
    DecimalDigits d;
    // Zero, and the non-finite values that callers keep out, have no digits.
    if (value == 0.0 || !std::isfinite(value)) {
        return d;
    }
    // to_chars rounds the exact binary value correctly, like printf's %.17e,
    // without the C library's locale and at a fraction of the cost: money and
    // kWh texts run this on every keystroke.
    char buf[40];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 17);
    const char* p = buf;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    d.digits.reserve(18);
    for (; p < end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            d.digits.push_back(*p);
        }
    }
    int exp10 = 0;
    std::from_chars(p + (p < end && p[1] == '+' ? 2 : 1), end, exp10);
    d.exponent = exp10 + 1;
    return d;
}

void TrimZeros(DecimalDigits& d) {
    while (!d.digits.empty() && d.digits.back() == '0') {
        d.digits.pop_back();
    }
    if (d.digits.empty()) {
        d.negative = false;
        d.exponent = 0;
    }
}

} // namespace

DecimalDigits RoundDecimal(double value, int maxSignificant, int maxDecimals) {
    DecimalDigits d = Expand18(value);
    if (d.digits.empty()) {
        return d;
    }
    const int keep = std::min(maxSignificant, d.exponent + maxDecimals);
    if (keep < 0) {
        return DecimalDigits{};
    }
    if (keep < static_cast<int>(d.digits.size())) {
        const bool up = d.digits[keep] >= '5';
        d.digits.resize(keep);
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d.digits[i] == '9') {
                d.digits[i] = '0';
                --i;
            }
            if (i >= 0) {
                ++d.digits[i];
            } else {
                d.digits.insert(d.digits.begin(), '1');
                ++d.exponent;
                if (static_cast<int>(d.digits.size()) > keep && keep > 0) {
                    d.digits.pop_back();
                }
            }
        }
    }
    TrimZeros(d);
    return d;
}

QString FixedText(const DecimalDigits& d, int decimals, QChar separator) {
    QString intPart;
    QString fracPart;
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent <= 0) {
        intPart = QStringLiteral("0");
    } else {
        for (int i = 0; i < d.exponent; ++i) {
            intPart.append(i < n ? QChar(d.digits[i]) : QChar('0'));
        }
    }
    for (int i = 0; i < decimals; ++i) {
        const int idx = d.exponent + i;
        fracPart.append(idx >= 0 && idx < n ? QChar(d.digits[idx]) : QChar('0'));
    }
    QString out;
    if (d.negative && !d.digits.empty()) {
        out.append('-');
    }
    out.append(intPart);
    if (decimals > 0) {
        out.append(separator);
        out.append(fracPart);
    }
    return out;
}

QString FormatGeneral(double value, QChar separator, int precision) {
    if (std::isnan(value)) {
        return QStringLiteral("NAN");
    }
    if (std::isinf(value)) {
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    }
    // The few largest doubles round up to 1.79769313486232E308, past the
    // double range; they are written rounded down so the text reads back.
    constexpr double largestReadable = 1.79769313486231e308;
    if (std::fabs(value) > largestReadable) {
        value = std::copysign(largestReadable, value);
    }
    const DecimalDigits d = RoundDecimal(value, precision, 400);
    if (d.digits.empty()) {
        return QStringLiteral("0");
    }
    QString out;
    if (d.negative) {
        out.append('-');
    }
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent > precision || d.exponent < -3) {
        out.append(QChar(d.digits[0]));
        if (n > 1) {
            out.append(separator);
            out.append(QString::fromLatin1(d.digits.data() + 1, n - 1));
        }
        out.append('E');
        out.append(QString::number(d.exponent - 1));
        return out;
    }
    const int decimals = std::max(0, n - d.exponent);
    DecimalDigits positive = d;
    positive.negative = false;
    out.append(FixedText(positive, decimals, separator));
    return out;
}

QString FormatGeneral(double value, const QLocale& locale, int precision) {
    return FormatGeneral(value, DecimalSeparator(locale), precision);
}

QChar DecimalSeparator(const QLocale& locale) {
    const QString s = locale.decimalPoint();
    return s.isEmpty() ? QChar('.') : s.at(0);
}

std::optional<double> ParseDecimal(const QString& text, QChar separator) {
    const TextRange range = TrimmedRange(text);
    const int b = static_cast<int>(range.begin);
    const int e = static_cast<int>(range.end);
    std::string ascii;
    ascii.reserve(static_cast<size_t>(e - b));
    int i = b;
    if (i < e && (text.at(i) == '+' || text.at(i) == '-')) {
        ascii.push_back(static_cast<char>(text.at(i).unicode()));
        ++i;
    }
    int mantissaDigits = 0;
    while (i < e && text.at(i).isDigit() && text.at(i).unicode() < 128) {
        ascii.push_back(static_cast<char>(text.at(i).unicode()));
        ++mantissaDigits;
        ++i;
    }
    if (i < e && text.at(i) == separator) {
        ascii.push_back('.');
        ++i;
        while (i < e && text.at(i).unicode() >= '0' && text.at(i).unicode() <= '9') {
            ascii.push_back(static_cast<char>(text.at(i).unicode()));
            ++mantissaDigits;
            ++i;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < e && (text.at(i) == 'e' || text.at(i) == 'E')) {
        ascii.push_back('e');
        ++i;
        if (i < e && (text.at(i) == '+' || text.at(i) == '-')) {
            ascii.push_back(static_cast<char>(text.at(i).unicode()));
            ++i;
        }
        int expDigits = 0;
        while (i < e && text.at(i).unicode() >= '0' && text.at(i).unicode() <= '9') {
            ascii.push_back(static_cast<char>(text.at(i).unicode()));
            ++expDigits;
            ++i;
        }
        if (expDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != e) {
        return std::nullopt;
    }
    // Read in the C locale: QCoreApplication sets the C library's locale from
    // the environment, where strtod would stop at the "." in de_DE.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t{});
    const double v = strtod_l(ascii.c_str(), nullptr, cLocale);
    if (!std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

double WithoutNoise(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    double clean = value;
    std::from_chars(buf, r.ptr, clean);
    return clean;
}

std::optional<double> ParseLocaleNumber(const QString& text, const QLocale& locale) {
    return ParseDecimal(text, DecimalSeparator(locale));
}

namespace {

// Sign, digits, optionally a point (or `altSeparator`) with further digits,
// optionally an exponent with digits, and nothing else.
bool HasPlainShape(const QString& text, QChar altSeparator) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto sign = [&] {
        if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
            ++i;
        }
    };
    auto digits = [&] {
        const qsizetype from = i;
        while (i < n && text.at(i) >= u'0' && text.at(i) <= u'9') {
            ++i;
        }
        return i > from;
    };
    sign();
    if (!digits()) {
        return false;
    }
    if (i < n && (text.at(i) == u'.' || text.at(i) == altSeparator) && (++i, !digits())) {
        return false;
    }
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        ++i;
        sign();
        if (!digits()) {
            return false;
        }
    }
    return i == n;
}

} // namespace

std::optional<double> ParsePlainNumber(const QString& text, QChar altSeparator) {
    int i = 0;
    const int e = static_cast<int>(text.size());
    while (i < e && text.at(i) == ' ') {
        ++i;
    }
    if (i == e) {
        return std::nullopt;
    }
    // The rest must be a number up to the very end: no trailing blanks, and
    // digits on both sides of a point ("100." and ".5" are not numbers).
    const QString rest = text.mid(i);
    if (!HasPlainShape(rest, altSeparator)) {
        return std::nullopt;
    }
    const QChar sep = rest.contains(altSeparator) ? altSeparator : QChar('.');
    return ParseDecimal(rest, sep);
}

long double RoundHalfEven(long double value) {
    const long double fl = std::floor(value);
    const long double diff = value - fl;
    if (diff > 0.5L) {
        return fl + 1.0L;
    }
    if (diff < 0.5L) {
        return fl;
    }
    return std::fmod(fl, 2.0L) == 0.0L ? fl : fl + 1.0L;
}
