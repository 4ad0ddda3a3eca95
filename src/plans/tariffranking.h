#pragma once
// Ranking retail tariff plans on one stretch of use: every plan priced by the
// pricing engine (tariff/tariffpricing.h), exactly on meter intervals or from
// a bill period's kWh, cheapest first. Pure and free of shared state, so the
// Compare plans page can run RankOnIntervals off the window's thread.

#include "tariff/tariffpricing.h"

#include <QDate>
#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

struct RankedPlan {
    QString name;
    TariffPrice price;
};

// Cheapest first; plans that need meter data last, in the order given. Ties
// keep the order given.
void SortByTotal(QList<RankedPlan>& plans);

struct IntervalRanking {
    QList<TariffPlan> plans; // valid plans
    std::shared_ptr<const IntervalSeries> series;
    QDate from, to;         // the chosen days, inclusive
    QDate yearFrom, yearTo; // the last 12 months of meter data; invalid: none
    std::optional<bool> controlledLoadConnected;
};

struct RankingResult {
    QList<RankedPlan> ranked; // on the chosen days
    QList<RankedPlan> year;   // on the last 12 months; empty without them
};

// Both rankings, the intervals seen once per time zone for all plans; many
// plans are shared out among up to four threads (the machine's cores).
RankingResult RankOnIntervals(const IntervalRanking& in);

// A bill period known by its kWh, `from` to `to` inclusive: single-rate and
// stepped plans priced from the kWh spread evenly over the days; a plan
// whose price depends on the time of day comes back needing meter data.
QList<RankedPlan> RankOnPeriodKwh(const QList<TariffPlan>& plans, QDate from, QDate to,
                                  double generalKwh, double controlledKwh, double exportKwh,
                                  bool controlledLoadConnected);

// The last 12 months of meter data ending at `last`: from the day after the
// same date a year earlier, but not before `first`.
std::pair<QDate, QDate> LastTwelveMonths(QDate first, QDate last);

// One line of a plan's breakdown: supply, each rate's kWh, average rate and
// cost, discounts, conditional discounts (not applied), tax and the total.
struct BreakdownLine {
    QString item;
    std::optional<double> kwh, rate;
    double cost = 0;
    bool applied = true; // false for a conditional discount: shown, not counted
};
QList<BreakdownLine> Breakdown(const TariffPrice& price);
