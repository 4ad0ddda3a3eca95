#pragma once
// What the tariff comparison of the "Compare plans" page reads besides the
// flat plans: the stored tariff plans and the stored meter data. The
// program's source opens the history file on first use; tests pass their own.

#include "plans/tariffplanstore.h"
#include "tariff/intervalseries.h"

#include <QDate>
#include <utility>

class TTariffSource {
public:
    virtual ~TTariffSource() = default;
    // Throw EVoltiskError when the history cannot be opened or read.
    virtual TariffPlanStore& TariffPlans() = 0;
    // The first and last day with meter data; invalid dates without any.
    virtual std::pair<QDate, QDate> MeterRange() = 0;
    // The stored intervals of the days from `from` to `to`.
    virtual IntervalSeries Intervals(QDate from, QDate to) = 0;
};
