#pragma once
// Comparing plans on one period and over the last year. Rows come from
// ComputePlan, so every figure is the readings page's calculation with the
// plan's rates; this file only ranks them, adds them up and writes the texts.

#include "plans/plancalc.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

struct NamedPlan {
    QString name;
    PlanRates rates;
};

struct PlanRow {
    QString name;
    PlanFigures figures;
    bool showable = false; // every figure finite
    double difference = 0; // net - the first row's net
    bool cheaper = false;  // costs less than the first row once rounded to money
    bool cheapest = false; // no showable row costs less (ties share it)
};

// One row per plan, in the order given; the first plan is the reference
// ("As typed"). `moneyDecimals` decides what counts as cheaper: a difference
// that rounds to zero money is no saving.
QList<PlanRow> ComparePlans(qint64 days, const PeriodBasis& use, const QList<NamedPlan>& plans,
                            int moneyDecimals);

struct PlanRowTexts {
    QString name, fixed, variable, income, tax, net, perDay, difference;
};

// The row's money texts; a row that overflowed shows "-" in every figure, and
// the reference row's difference is empty.
PlanRowTexts RowTexts(const PlanRow& row, bool reference, const QLocale& locale, int moneyDecimals);

// A stored period as the yearly comparison needs it.
struct StoredUse {
    QDate from, to;
    PeriodBasis use;
    double paid = 0;  // the net cost stored with the period
    qint64 order = 0; // when it was stored: a day two periods share counts for the greater
};

struct YearTotals {
    qint64 yearDays = 0;      // 365, or 366 when the year holds a 29 February
    int periods = 0;          // stored periods that reach into the year
    qint64 days = 0;          // days of those periods inside the year
    double paid = 0;          // their stored net cost, for the days inside
    QList<double> planTotals; // one per plan, in the order given
};

// The year is the 12 months before `end` (from end less 12 months up to, not
// including, end), as a period covers the days from its first date up to its
// second; the History page's summary uses the same 12 months, ending at the
// latest stored date. Only the days a period shares with the year count, each
// of its figures in proportion, so a period that straddles the start counts in
// part. A day two periods share counts once, for the one stored later.
// Periods without a positive day count, or without a day in the year, are
// left out. A plan's taxes are rounded to `moneyDecimals` places.
YearTotals YearOfPlans(const QList<StoredUse>& stored, const QList<NamedPlan>& plans, QDate end,
                       int moneyDecimals = 2);

// The latest second date among `stored`; invalid when there is none.
QDate LatestDate(const QList<StoredUse>& stored);

// What choosing `planTotal` instead of `paid` saves over a whole year, scaled
// from the days covered; 0 when no day is covered.
double SavingPerYear(const YearTotals& year, double planTotal);
