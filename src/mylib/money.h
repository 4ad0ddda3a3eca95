#pragma once
// Money texts. The number of currency decimals is the caller's (the window
// holds the one it was built with); the symbol, patterns and separators come
// from the locale given at each call.

#include <QLocale>
#include <QString>

// The locale currency's own number of decimals (2 for USD and EUR, 0 for JPY).
int CurrencyDecimals(const QLocale& locale);

// The amount in the locale's currency format with `decimals` decimals, rounded
// once to at most 15 significant digits and `decimals` decimals, halves away
// from zero. More than 15 integer digits switch to the general number format.
QString FormatMoney(double amount, const QLocale& locale, int decimals);

// `percent` % of `amount` as a person works it out: the exact product of the
// two decimals the doubles stand for (15 significant digits each), rounded
// once to `decimals` places, halves away from zero (15 % of 205.90 is 30.885,
// so 30.89, where the binary product 30.884999... would give 30.88). Results
// of 10^17 units of the last place or more, or not finite, give the plain
// product.
double PercentOf(double amount, double percent, int decimals);
