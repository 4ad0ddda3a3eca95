#include "plans/historyplansource.h"

#include "meterdata/meterseries.h"

StoredUse StoredUseOf(const HistoryPeriod& p) {
    StoredUse s;
    s.from = p.from;
    s.to = p.to;
    s.use.solar = p.typed.solar;
    s.use.showHotWater = p.typed.showHotWater;
    s.use.generalDailyCharge = p.numbers.generalDailyCharge;
    s.use.generalRate = p.numbers.generalRate;
    s.use.hwDailyCharge = p.numbers.hwDailyCharge;
    s.use.hwRate = p.numbers.hwRate;
    s.use.feedIn = p.numbers.feedIn;
    s.use.generalKwh = p.kwhGeneral;
    s.use.hwKwh = p.kwhHotWater;
    s.use.exportedKwh = p.kwhExported;
    s.paid = p.net;
    s.order = p.id;
    return s;
}

THistoryPlanSource::THistoryPlanSource(std::function<THistoryStore&()> openStore)
    : openStore_(std::move(openStore)) {}

THistoryStore& THistoryPlanSource::Store() {
    return openStore_();
}

QList<StoredUse> THistoryPlanSource::Periods() {
    QList<StoredUse> uses;
    for (const HistoryPeriod& p : Store().Periods()) {
        uses.append(StoredUseOf(p));
    }
    return uses;
}

PlanStore& THistoryPlanSource::Plans() {
    THistoryStore& store = Store();
    if (!plans_) {
        plans_.emplace(store.Database());
    }
    return *plans_;
}

TariffPlanStore& THistoryPlanSource::TariffPlans() {
    THistoryStore& store = Store();
    if (!tariffPlans_) {
        tariffPlans_.emplace(store.Database());
    }
    return *tariffPlans_;
}

std::pair<QDate, QDate> THistoryPlanSource::MeterRange() {
    THistoryStore& store = Store();
    if (!meters_) {
        meters_.emplace(store.Database());
    }
    return meters_->Range();
}

IntervalSeries THistoryPlanSource::Intervals(QDate from, QDate to) {
    MeterRange();
    return ToIntervalSeries(meters_->Intervals(from, to));
}
