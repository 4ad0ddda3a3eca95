#pragma once
// What a period would cost under another tariff. The period's use (day count,
// modes, the kWh each meter moved) stays as measured; a plan's charges and
// rates take the place of the typed ones and ComputePeriod works the figures
// out exactly as for the readings page. The plan's tax goes on top of that.

#include "calc/periodcalc.h"
#include "mylib/money.h"

// A tariff in numbers. Charges are per day, rates per kWh, in the money of the
// locale; taxPercent is 0 to 100 and applies to the charges, and to the feed-in
// income as well when taxOnIncome is set (the retailer then pays that tax too).
struct PlanRates {
    double generalDailyCharge = 0, generalRate = 0, hwDailyCharge = 0, hwRate = 0, feedIn = 0;
    double taxPercent = 0;
    bool taxOnIncome = false;
};

struct PlanFigures {
    PeriodFigures period;    // fixed, variable and income come from here
    double taxOnCharges = 0; // taxPercent of fixed + variable
    double taxOnIncome = 0;  // taxPercent of income, or 0
    double tax = 0;          // what the bill adds: taxOnCharges - taxOnIncome
    double net = 0;          // fixed + variable + tax - income
    double netPerDay = 0;
};

// The typed tariff as a plan without tax: its net is the readings page's total.
PlanRates RatesOf(const PeriodBasis& typed);

// `use` with the plan's charges and rates in place of its own.
PeriodBasis WithRates(PeriodBasis use, const PlanRates& rates);

// The figures for a positive day count. Both taxes are exact decimal money
// with `moneyDecimals` places (PercentOf), so 15 % of $205.90 is $30.89;
// callers pass their currency's (two unless told).
// Overflowing inputs give non-finite figures; callers that show them check
// with IsShowable.
PlanFigures ComputePlan(qint64 days, const PeriodBasis& use, const PlanRates& rates,
                        int moneyDecimals = 2);

// Whether every money figure is finite, so that it can be shown.
bool IsShowable(const PlanFigures& f);
