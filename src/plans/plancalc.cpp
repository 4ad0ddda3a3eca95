#include "plans/plancalc.h"

#include "mylib/money.h"

#include <cmath>

PlanRates RatesOf(const PeriodBasis& typed) {
    PlanRates r;
    r.generalDailyCharge = typed.generalDailyCharge;
    r.generalRate = typed.generalRate;
    r.hwDailyCharge = typed.hwDailyCharge;
    r.hwRate = typed.hwRate;
    r.feedIn = typed.feedIn;
    return r;
}

PeriodBasis WithRates(PeriodBasis use, const PlanRates& rates) {
    use.generalDailyCharge = rates.generalDailyCharge;
    use.generalRate = rates.generalRate;
    use.hwDailyCharge = rates.hwDailyCharge;
    use.hwRate = rates.hwRate;
    use.feedIn = rates.feedIn;
    return use;
}

PlanFigures ComputePlan(qint64 days, const PeriodBasis& use, const PlanRates& rates,
                        int moneyDecimals) {
    PlanFigures f;
    f.period = ComputePeriod(days, WithRates(use, rates));
    // Tax in whole money units, from the exact decimal amounts.
    f.taxOnCharges = PercentOf(f.period.fixed + f.period.variable, rates.taxPercent, moneyDecimals);
    f.taxOnIncome =
        rates.taxOnIncome ? PercentOf(f.period.income, rates.taxPercent, moneyDecimals) : 0.0;
    f.tax = f.taxOnCharges - f.taxOnIncome;
    f.net = f.period.fixed + f.period.variable + f.tax - f.period.income;
    f.netPerDay = days > 0 ? f.net / static_cast<double>(days) : 0.0;
    return f;
}

bool IsShowable(const PlanFigures& f) {
    for (double v :
         {f.period.fixed, f.period.variable, f.period.income, f.tax, f.net, f.netPerDay}) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}
