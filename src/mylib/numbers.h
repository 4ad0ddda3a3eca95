#pragma once
// Number texts shared by every layer. Each function takes the locale (or the
// separator) it works with, so nothing here depends on the machine's settings.
//
// Rounding follows one rule throughout: the value's 18-digit decimal expansion
// (the exact binary value correctly rounded to 18 significant digits) is
// rounded once, an exact half going away from zero.

#include <QLocale>
#include <QString>
#include <optional>
#include <string>

// A finite double rounded to decimal digits: value = 0.digits x 10^exponent,
// digits without leading or trailing zeros; empty digits means zero.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// Rounds to at most maxSignificant significant digits and at most maxDecimals
// decimals (maxDecimals may be negative to round left of the point).
DecimalDigits RoundDecimal(double value, int maxSignificant, int maxDecimals);

// Fixed-point text with exactly `decimals` decimals after `separator` (none
// when decimals is 0), a leading "-" when the rounded value is below zero.
QString FixedText(const DecimalDigits& d, int decimals, QChar separator);

// The general number format: at most `precision` (15) significant digits, no
// trailing zeros, no grouping, exponent form ("1E15", "5E-5") for magnitudes
// of 10^precision and above or below 0.0001. Non-finite values give "NAN",
// "INF" or "-INF"; callers keep such values out of fields.
QString FormatGeneral(double value, QChar separator, int precision = 15);
QString FormatGeneral(double value, const QLocale& locale, int precision = 15);

// The double nearest to `value` written with 15 significant digits: the
// difference of two typed decimals without its binary noise (63583.5 -
// 63204.159 is 379.34100000000035 in binary, 379.341 here). Non-finite values
// come back unchanged.
double WithoutNoise(double value);

// The locale's decimal separator as one character.
QChar DecimalSeparator(const QLocale& locale);

// Reading typed numbers: blanks and control characters around, an optional
// sign, digits with at most one `separator`, an optional exponent. No grouping.
// Empty, malformed and non-finite texts give no value.
std::optional<double> ParseDecimal(const QString& text, QChar separator);
std::optional<double> ParseLocaleNumber(const QString& text, const QLocale& locale);

// The usage calculator's plain-number rule: leading blanks skipped, optional
// sign, digits with one optional decimal point, optional exponent; the number
// must end the text. The point is "." or, where it differs, `altSeparator`.
std::optional<double> ParsePlainNumber(const QString& text, QChar altSeparator = QChar('.'));

// Round half to even to a whole number, in extended precision.
long double RoundHalfEven(long double value);
