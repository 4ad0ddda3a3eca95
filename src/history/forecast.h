#pragma once
// What a running period will cost: the daily charges for all its days, and
// the use (and export) so far carried on at the same kWh a day to its end.
// A period runs while `today` lies after its earlier date and before its
// later one; the readings are taken to be today's.

#include "calc/periodcalc.h"

#include <QDate>
#include <QLocale>
#include <optional>

// The cost about which the period will come to; none when it is not running.
std::optional<double> ForecastCost(QDate from, QDate to, QDate today, const PeriodInputs& inputs,
                                   const QLocale& numbers);

// "If use goes on as so far, this period will cost about $X."
QString ForecastText(double cost, const QLocale& money, int moneyDecimals);
