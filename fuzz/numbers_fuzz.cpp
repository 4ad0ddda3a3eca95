// libFuzzer target for the number texts: every reader (typed numbers with "."
// and ",", five named locales, the plain-number rule) reads the text, and every
// value read, and the text's first eight bytes taken as a double, goes through
// the general format, the rounding, the kWh text and the money text. Besides
// the sanitizers' checks, each text must read back as the number it stands
// for, so a logic slip aborts as well.
//
// The input's first byte picks the money decimals and the rounding limits;
// the rest is the text.

#include "calc/periodcalc.h"
#include "mylib/money.h"
#include "mylib/numbers.h"

#include <QLocale>
#include <QString>
#include <array>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

const std::array<QLocale, 5>& Locales() {
    static const std::array<QLocale, 5> all = {
        QLocale(QStringLiteral("en_US")), QLocale(QStringLiteral("de_DE")),
        QLocale(QStringLiteral("fr_FR")), QLocale(QStringLiteral("ar_EG")),
        QLocale(QStringLiteral("hi_IN"))};
    return all;
}

bool SaysNotANumber(const QString& text) {
    return text.contains(QLatin1String("nan"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("inf"), Qt::CaseInsensitive);
}

// The power of ten of the leading digit, from the C library rather than from
// the code under test.
int DecimalExponent(double value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17e", value);
    const char* e = std::strchr(buf, 'e');
    return e ? std::atoi(e + 1) : 0;
}

// |got - value| is within half a unit of the last kept place, allowing for the
// 18-digit expansion that is rounded first and for reading the text back.
bool WithinRounding(double got, double value, double unit) {
    const double slack = 0.5 * unit * (1 + 1e-6) + 4e-16 * std::fabs(value) + DBL_TRUE_MIN;
    return std::fabs(got - value) <= slack;
}

// The locale digits of a text as ASCII digits; everything else is dropped.
std::string LocaleDigits(const QString& text, const QLocale& locale) {
    const QString zero = locale.zeroDigit();
    const char16_t z = zero.size() == 1 ? zero.at(0).unicode() : u'0';
    std::string out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            out.push_back(static_cast<char>(u));
        } else if (u >= z && u <= z + 9) {
            out.push_back(static_cast<char>('0' + (u - z)));
        }
    }
    return out;
}

std::string AsciiDigits(const QString& text) {
    std::string out;
    for (QChar c : text) {
        if (c.unicode() >= u'0' && c.unicode() <= u'9') {
            out.push_back(static_cast<char>(c.unicode()));
        }
    }
    return out;
}

// A reader's value must be finite and, where Qt's own C-locale reader takes
// the same text, the same double.
void CheckRead(const QString& text, QChar separator, const std::optional<double>& v) {
    if (!v) {
        return;
    }
    Check(std::isfinite(*v));
    QString dotted = text;
    if (separator != QChar(u'.')) {
        dotted.replace(separator, QChar(u'.'));
    }
    bool ok = false;
    const double qt = dotted.toDouble(&ok);
    if (ok && std::isfinite(qt)) {
        Check(qt == *v);
    }
}

void CheckGeneral(double v, QChar separator) {
    const QString g = FormatGeneral(v, separator);
    Check(!SaysNotANumber(g));
    Check(!g.isEmpty());
    // Sign, at most 15 significant digits, no trailing zero after the separator.
    const qsizetype e = g.indexOf(u'E');
    const QString mantissa = e < 0 ? g : g.left(e);
    std::string digits = AsciiDigits(mantissa);
    while (digits.size() > 1 && digits.front() == '0') {
        digits.erase(digits.begin());
    }
    Check(digits.size() <= 15);
    if (mantissa.contains(separator)) {
        Check(!mantissa.endsWith(u'0') && !mantissa.endsWith(separator));
    }
    const auto back = ParseDecimal(g, separator);
    Check(back.has_value());
    Check(std::fabs(*back - v) <= 1.01e-14 * std::fabs(v));
    // Exponent form exactly for magnitudes of 10^15 and above or below 0.0001.
    const double m = std::fabs(*back);
    Check((e >= 0) == (m != 0 && (m >= 1e15 || m < 1e-4)));
    if (std::fabs(v) >= DBL_MIN) {
        // Writing what was read gives the same text.
        Check(FormatGeneral(*back, separator) == g);
    }
}

void CheckRounding(double v, int significant, int decimals, QChar separator) {
    const DecimalDigits d = RoundDecimal(v, significant, decimals);
    Check(static_cast<int>(d.digits.size()) <= significant);
    Check(d.digits.empty() || (d.digits.front() != '0' && d.digits.back() != '0'));
    for (char c : d.digits) {
        Check(c >= '0' && c <= '9');
    }
    Check(!d.digits.empty() || !d.negative);
    if (!d.digits.empty()) {
        Check(d.negative == (v < 0));
    }

    const int shown = std::max(decimals, 0);
    const QString t = FixedText(d, shown, separator);
    const qsizetype sep = t.indexOf(separator);
    if (shown == 0) {
        Check(sep < 0);
    } else {
        Check(sep >= 0 && t.size() - sep - 1 == shown);
    }
    const QString whole = t.left(sep < 0 ? t.size() : sep);
    const QString unsignedWhole = whole.startsWith(u'-') ? whole.mid(1) : whole;
    Check(!unsignedWhole.isEmpty() &&
          (unsignedWhole == QLatin1String("0") || !unsignedWhole.startsWith(u'0')));
    // "-" only before a value that is not zero.
    if (t.startsWith(u'-')) {
        Check(AsciiDigits(t).find_first_not_of('0') != std::string::npos);
    }
    const auto back = ParseDecimal(t, separator);
    if (!back) {
        // Only rounding up past the largest double leaves the double range.
        Check(std::fabs(v) > 1e308);
        return;
    }
    const int exp10 = DecimalExponent(v);
    const double unit =
        std::max(std::pow(10.0, -decimals), std::pow(10.0, exp10 - significant + 1));
    Check(WithinRounding(*back, v, unit));
}

void CheckKwh(double v, int decimals, QChar separator) {
    const QString t = KwhText(v, decimals, separator);
    if (!std::isfinite(v)) {
        // No figure that could be mistaken for a real one.
        Check(AsciiDigits(t).empty());
        return;
    }
    Check(!SaysNotANumber(t));
    const auto back = ParseDecimal(t, separator);
    Check(back.has_value());
    const int exp10 = DecimalExponent(v);
    Check(WithinRounding(*back, v, std::max(std::pow(10.0, -decimals), std::pow(10.0, exp10 - 6))));
    if (std::fabs(v) < 9999999.0) {
        // Fixed point with exactly `decimals` decimals.
        Check(!t.contains(u'E'));
        const qsizetype sep = t.indexOf(separator);
        Check(decimals == 0 ? sep < 0 : t.size() - sep - 1 == decimals);
    } else if (std::fabs(v) >= 1e8) {
        Check(t.contains(u'E'));
    }
}

void CheckMoney(double v, const QLocale& locale, int decimals) {
    const QString t = FormatMoney(v, locale, decimals);
    if (!std::isfinite(v)) {
        // No amount that could be mistaken for a real one.
        Check(LocaleDigits(t, locale).empty());
        return;
    }
    Check(!SaysNotANumber(t));
    Check(!t.contains(u' '));
    // The digits shown are those of the amount rounded once.
    const DecimalDigits d = RoundDecimal(v, 15, decimals);
    const bool negative = !d.digits.empty() && d.negative;
    Check(negative == (t.contains(u'-') || t.contains(u'(')));
    const QString expected = d.exponent > 15 ? FormatGeneral(std::fabs(v), QChar(u'.'))
                                             : FixedText(d, decimals, QChar(u'.'));
    Check(LocaleDigits(t, locale) == AsciiDigits(expected));
}

void CheckValue(double v, int options) {
    static constexpr std::array<int, 3> moneyDecimals = {0, 2, 3};
    const int money = moneyDecimals[static_cast<size_t>(options % 3)];
    const int significant = 1 + (options / 3) % 17;
    const int decimals = options / 51 - 2;

    CheckGeneral(v, QChar(u'.'));
    CheckGeneral(v, QChar(u','));
    CheckRounding(v, significant, decimals, QChar(u'.'));
    CheckRounding(v, 15, money, QChar(u','));
    for (int n = 0; n <= 1; ++n) {
        CheckKwh(v, n, QChar(u'.'));
    }
    CheckKwh(v, 1, QChar(u','));
    for (const QLocale& l : Locales()) {
        CheckMoney(v, l, money);
        // What a locale writes, the same locale reads.
        const auto back = ParseLocaleNumber(FormatGeneral(v, l), l);
        Check(back && std::fabs(*back - v) <= 1.01e-14 * std::fabs(v));
    }
}

// Figures the period calculation forms from two read values: these may leave
// the double range, and their texts must still be honest.
void CheckDerived(double a, double b) {
    for (double x : {a - b, a * b}) {
        if (std::isfinite(x)) {
            continue;
        }
        CheckKwh(x, 1, QChar(u'.'));
        for (const QLocale& l : Locales()) {
            CheckMoney(x, l, 2);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // As the program does at start (QCoreApplication sets the C library's
    // locale from the environment), so the readers are fuzzed under the
    // environment's number conventions.
    std::setlocale(LC_ALL, "");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const int options = data[0];
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));

    std::vector<double> values;
    auto take = [&](const QString& t, QChar separator, const std::optional<double>& v) {
        CheckRead(t, separator, v);
        if (v) {
            values.push_back(*v);
        }
    };
    take(text, QChar(u'.'), ParseDecimal(text, QChar(u'.')));
    take(text, QChar(u','), ParseDecimal(text, QChar(u',')));
    for (const QLocale& l : Locales()) {
        const auto v = ParseLocaleNumber(text, l);
        take(text, DecimalSeparator(l), v);
    }
    // The plain-number rule is the typed-number rule without trailing blanks.
    for (QChar alt : {QChar(u'.'), QChar(u',')}) {
        const auto plain = ParsePlainNumber(text, alt);
        if (plain) {
            Check(std::isfinite(*plain));
            const auto typed = ParseDecimal(text, alt);
            const auto dotted = ParseDecimal(text, QChar(u'.'));
            Check((typed && *typed == *plain) || (dotted && *dotted == *plain));
            values.push_back(*plain);
        }
    }

    if (size >= 9) {
        double raw;
        std::memcpy(&raw, data + 1, sizeof raw);
        if (std::isfinite(raw)) {
            values.push_back(raw);
        }
    }
    for (double v : values) {
        CheckValue(v, options);
    }
    if (!values.empty()) {
        CheckDerived(values.front(), values.back());
        CheckDerived(values.back(), -values.back());
    }
    return 0;
}
