#pragma once
// The quick usage calculator: watts and hours a day at the general energy
// rate give the cost per day, week and year and the kWh per day.

#include <QChar>
#include <QLocale>
#include <QString>

// W / 1000 x H x R in extended precision, rounded once to a double.
double UsageCost(double watts, double hours, double rate);

// The kWh per day rounded to hundredths, half to even, padded to two decimals.
QString UsageKwhText(double watts, double hours);

struct UsageTexts {
    bool valid = false; // false: a text is not a plain number; labels stay empty
    QString result;     // "Cost: " + money
    QString kwh;        // "(" kWh " kwh)"
    QString perWeek;    // money + " per week"
    QString perYear;    // money + " per year"
};

// The four label texts from the rate, watts and hours texts, in that order of
// reading; `separator` is the locale's decimal separator, accepted besides ".".
// Money texts use `money` with `moneyDecimals` decimals. A figure that overflows leaves the texts
// invalid, as a text that is no number does.
UsageTexts UsageLabelTexts(const QString& rate, const QString& watts, const QString& hours,
                           QChar separator, const QLocale& money, int moneyDecimals);
