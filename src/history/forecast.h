#pragma once
// What a running period will cost: the daily charges for all its days, and
// the use (and export) so far carried on at the same kWh a day to its end.
// A period runs while `today` lies after its earlier date and before its
// later one; the readings are taken to be today's.

#include "calc/periodcalc.h"

#include <QDate>
#include <QLocale>
#include <optional>

// Stored meter data over the days of a running period that it covers (its
// days before today): kWh per role summed over `days` days.
struct MeterDaysUse {
    qint64 days = 0;
    double general = 0, controlledLoad = 0, exported = 0;
};

// The cost about which the period will come to; none when it is not running.
// With covered days in `meter`, their kWh a day (general and controlled load)
// stand for the whole period instead of the readings; the export too when the
// data hold one, else the readings' export so far.
std::optional<double> ForecastCost(QDate from, QDate to, QDate today, const PeriodInputs& inputs,
                                   const QLocale& numbers,
                                   const MeterDaysUse& meter = MeterDaysUse());

// "If use goes on as so far, this period will cost about $X."; with
// `meterDays` > 0 it names them: "... about $X (from 12 days of meter data)."
QString ForecastText(double cost, const QLocale& money, int moneyDecimals, qint64 meterDays = 0);
