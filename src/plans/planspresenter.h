#pragma once
// The "Compare plans" page without widgets. It owns the page's actions: which
// period is compared (the readings page, or a stored one), the comparison
// rows, the year at a glance, and adding, editing, duplicating and deleting
// plans. The first row is always the tariff typed on the readings page, "As
// typed"; rows 1.. are the stored plans in order. Figures come from calc
// (ComparePlans, YearOfPlans), so the page shows the readings page's own
// calculation run with each plan's rates.
//
// Data flow: the page calls Refresh() when it is shown (the readings page may
// have changed meanwhile) and after every action; it then reads the texts
// below and lays them out. Nothing is read from the history before the first
// Refresh(). A history that cannot be read leaves only the typed tariff and
// a fault text; actions that fail in the store throw EVoltiskError, which the
// page shows in the standard error box; typed plans with bad fields are not
// stored and come back as one message per field instead.

#include "mylib/platform.h"
#include "plans/planinput.h"
#include "plans/plansource.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>

class TReadingsPage;

struct PlanTableRow {
    PlanRowTexts texts;
    bool cheaper = false;
    bool cheapest = false;
};

struct YearRow {
    QString name, total, savingPerYear;
    double totalValue = 0; // for the chart; finite
    bool cheaper = false;
};

class TPlansPresenter {
public:
    TPlansPresenter(TReadingsPage& form, TPlanSource& source, TDialogs& dialogs);

    // Reads the readings page, the stored periods and the plans again and
    // recomputes everything. Keeps the chosen stored period while it exists.
    void Refresh();

    // "Readings page (from to to)" first, then the stored periods, newest first.
    const QStringList& PeriodChoices() const { return choices_; }
    int SelectedPeriod() const { return selected_; }
    void SelectPeriod(int index);
    // Selects the stored period with these dates, as the History page does;
    // false when none is stored.
    bool SelectStoredPeriod(QDate from, QDate to);

    // What is wrong with the history file, in plain words; empty when it could
    // be read. Without it the page still compares the typed tariff.
    QString FaultText() const { return faultText_; }

    // The single-period comparison; empty with a notice when the chosen
    // period has no positive day count.
    const QList<PlanTableRow>& Rows() const { return rows_; }
    QString PeriodNotice() const { return periodNotice_; }
    // "Cheapest for this period: <name>, <money> less than as typed.", or the
    // plain statement that the typed tariff is already the cheapest.
    QString CheapestText() const { return cheapestText_; }

    // The year at a glance: one row per plan, and what the stored periods of
    // the last 12 months cost (the 12 months up to the latest stored date, as
    // on the History page). Without stored periods: no rows, a notice.
    const QList<YearRow>& YearRows() const { return yearRows_; }
    QString YearSummary() const { return yearSummary_; }
    double YearPaid() const { return yearPaid_; }

    // The texts of a plan for the form; row 0 gives the typed tariff.
    PlanTexts TextsOf(int row) const;
    // Stores a new plan, or replaces the plan in `row` (1..); returns the
    // messages for bad fields, empty when stored.
    QList<PlanFieldError> AddPlan(const PlanTexts& texts);
    QList<PlanFieldError> SavePlan(int row, const PlanTexts& texts);
    // Copies the plan in `row` (1..); returns the new row.
    int DuplicatePlan(int row);
    // Asks, then deletes the plan in `row` (1..); true when deleted.
    bool DeletePlan(int row);
    // The stored flat plans, as last read.
    const QList<StoredPlan>& StoredPlans() const { return plans_; }
    // The period compared now: its first and second dates and its use; the
    // days from `from` up to, not including, `to`.
    struct ComparedPeriod {
        QDate from, to;
        PeriodBasis use;
    };
    const ComparedPeriod& Compared() const { return compared_; }
    // Whether `row` is a stored plan (the typed tariff is not).
    bool IsStoredPlan(int row) const { return row >= 1 && row <= plans_.size(); }
    // Told the old and the new name when SavePlan renames a plan, so that what
    // is kept by a plan's name elsewhere can follow it.
    void OnRenamed(std::function<void(const QString&, const QString&)> renamed) {
        renamed_ = std::move(renamed);
    }

private:
    void ComputeRows(qint64 days, const PeriodBasis& use);
    void ComputeYear();
    QList<NamedPlan> AllPlans() const;
    QStringList OtherNames(qint64 exceptId) const;
    const StoredPlan& PlanAt(int row) const;

    TReadingsPage& form_;
    TPlanSource& source_;
    TDialogs& dialogs_;
    std::function<void(const QString&, const QString&)> renamed_;

    PlanRates typed_;
    QList<StoredPlan> plans_;
    QList<StoredUse> periods_;
    ComparedPeriod compared_;
    QStringList choices_;
    int selected_ = 0;
    QList<PlanTableRow> rows_;
    QString periodNotice_, cheapestText_, faultText_;
    QList<YearRow> yearRows_;
    QString yearSummary_;
    double yearPaid_ = 0;
};
