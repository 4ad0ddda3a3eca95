#pragma once
// The tariff plans of the "Compare plans" page, without widgets: the stored
// tariff plans and the flat plans (as tariff plans) ranked on a stretch of
// use, the breakdown of a plan, what each would have cost over the last 12
// months of meter data, the household's own plan ("my plan"), and importing
// and exporting plans in the standard plan-detail JSON.
//
// The stretch is either the period the flat comparison shows (a bill-history
// period or the readings page's, priced from its kWh) or days that have meter
// data (priced exactly on the intervals). Data flow: Refresh() after the flat
// presenter's own Refresh(); then Prepare(), which prices a period at once
// and hands back the interval work (RankOnIntervals, safe on any thread)
// when there is meter data; its result goes to Take(). Failures of the
// history throw EVoltiskError.

#include "plans/planspresenter.h"
#include "plans/tariffranking.h"
#include "plans/tariffsource.h"

#include <QByteArray>
#include <functional>

struct TariffRowTexts {
    QString name, total, difference, myPlan, note;
    bool cheapest = false;
};

struct BreakdownTexts {
    QString item, kwh, rate, cost;
};

class TTariffPresenter {
public:
    // Where the name of "my plan" is kept (a settings key in the program).
    struct MyPlanSetting {
        std::function<QString()> read;
        std::function<void(const QString&)> write;
    };
    TTariffPresenter(TReadingsPage& form, TPlansPresenter& flat, TTariffSource& source,
                     MyPlanSetting myPlan);
    ~TTariffPresenter();
    TTariffPresenter(const TTariffPresenter&) = delete;
    TTariffPresenter& operator=(const TTariffPresenter&) = delete;

    // Reads the plans and the meter data's days again; keeps the chosen days
    // inside them (the last 12 months of meter data at first). A history that
    // cannot be read leaves the flat plans and no meter data (the flat
    // presenter's FaultText says why).
    void Refresh();

    bool HasMeterData() const { return meterFirst_.isValid(); }
    QDate MeterFirst() const { return meterFirst_; }
    QDate MeterLast() const { return meterLast_; }
    bool UsesMeterData() const { return useMeter_ && HasMeterData(); }
    void UseMeterData(bool on) { useMeter_ = on; }
    QDate From() const { return from_; }
    QDate To() const { return to_; }
    // The days priced on meter data, inclusive, moved inside the stored days.
    void SetRange(QDate from, QDate to);

    // Prices the flat comparison's period at once when it is the stretch;
    // returns the interval work when there is meter data.
    std::optional<IntervalRanking> Prepare();
    void Take(const RankingResult& result);

    // The ranked plans, cheapest first; a notice when there are none.
    const QList<TariffRowTexts>& Rows() const { return rows_; }
    QString Notice() const { return notice_; }
    // "Priced on the meter data from … to …" or "Priced from the period's kWh".
    QString Basis() const { return basis_; }
    QList<BreakdownTexts> BreakdownOf(int row) const;
    // What the plan in `row` would have cost over the last 12 months of meter
    // data, against the cheapest and against my plan.
    QString YearText(int row) const;

    QString MyPlan() const;
    // Marks the plan in `row` as the household's own; marking it again clears it.
    void MarkMyPlan(int row);

    // Stores the plan in `json`; returns the import summary. A file that is not
    // a plan is refused naming the field, a name taken by any plan is refused.
    QString ImportPlan(const QByteArray& json);
    // The plan in `row` as a plan-detail document, and its name.
    QByteArray ExportPlan(int row) const;
    QString NameOf(int row) const;

private:
    const RankedPlan* RankedAt(int row) const;
    void ShowRanked();

    TReadingsPage& form_;
    TPlansPresenter& flat_;
    TTariffSource& source_;
    MyPlanSetting myPlan_;

    QList<TariffPlan> plans_;
    QDate meterFirst_, meterLast_, from_, to_;
    bool useMeter_ = false;
    QList<RankedPlan> ranked_, year_;
    QDate yearFrom_, yearTo_;
    QList<TariffRowTexts> rows_;
    QString notice_, basis_;
};
