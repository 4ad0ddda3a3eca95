#pragma once
// The "Compare plans" page's stored periods and plans, from the history file.
// The store is asked for only when the page first needs it, so the file is not
// opened at start-up; the store's faults reach the page as EVoltiskError (an
// EHistoryError) with the history's own plain-words message.

#include "history/historystore.h"
#include "meterdata/meterstore.h"
#include "plans/plansource.h"
#include "plans/tariffsource.h"

#include <functional>
#include <memory>
#include <optional>

// A stored period as the plan comparison uses it: its day count, modes and
// kWh, and the net cost stored with it.
StoredUse StoredUseOf(const HistoryPeriod& period);

class THistoryPlanSource : public TPlanSource, public TTariffSource {
public:
    // `openStore` returns the open history store (opening it on first call)
    // or throws; it is called from the first Periods() or Plans() on.
    explicit THistoryPlanSource(std::function<THistoryStore&()> openStore);

    QList<StoredUse> Periods() override;
    PlanStore& Plans() override;
    TariffPlanStore& TariffPlans() override;
    std::pair<QDate, QDate> MeterRange() override;
    IntervalSeries Intervals(QDate from, QDate to) override;

private:
    THistoryStore& Store();

    std::function<THistoryStore&()> openStore_;
    std::optional<PlanStore> plans_;
    std::optional<TariffPlanStore> tariffPlans_;
    std::optional<MeterStore> meters_;
};
