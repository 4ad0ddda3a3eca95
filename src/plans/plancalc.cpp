#include "plans/plancalc.h"

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

PlanFigures ComputePlan(qint64 days, const PeriodBasis& use, const PlanRates& rates) {
    PlanFigures f;
    f.period = ComputePeriod(days, WithRates(use, rates));
    const double share = rates.taxPercent / 100.0;
    f.taxOnCharges = share * (f.period.fixed + f.period.variable);
    f.taxOnIncome = rates.taxOnIncome ? share * f.period.income : 0.0;
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
