#pragma once
// Why a period's cost differs from an earlier one: the change in net cost
// split into the part due to use and the part due to prices.
//
// Per meter, use = (new kWh - old kWh) x old price and prices = new kWh x
// (new price - old price); the daily charges count alike with days for kWh,
// and the export's income with the opposite sign. The two parts add up to the
// change in net cost exactly.

#include "history/periodrecord.h"

#include <QLocale>
#include <QString>
#include <vector>

struct CostChange {
    QDate againstFrom, againstTo; // the earlier period
    double change = 0, fromUse = 0, fromPrices = 0;
    double kwhDifference = 0; // general and hot water together
};

CostChange ExplainChange(const HistoryPeriod& now, const HistoryPeriod& before);

// The stored period whose middle day is nearest one year before `p`'s, when
// that is no more than 45 days off (further off it is no longer the same
// season); null when none is.
const HistoryPeriod* YearEarlierPeriod(const HistoryPeriod& p,
                                       const std::vector<HistoryPeriod>& periods);
// The stored period ending last among those starting before `p`; null when none.
const HistoryPeriod* PreviousPeriod(const HistoryPeriod& p,
                                    const std::vector<HistoryPeriod>& periods);

// The texts of a change: "+$31.20", "$22.10 from using 78 kWh more" and
// "$9.10 from higher prices". A leftover of rounding reads as nothing.
struct ChangeTexts {
    QString total, use, prices;
    // The signed amounts "+$22.10" and "$9.10" (negatives as the locale writes them).
    QString useAmount, pricesAmount;
};
ChangeTexts ChangeTextParts(const CostChange& c, const QLocale& money, int moneyDecimals);

// "+$31.20: $22.10 from using 78 kWh more, $9.10 from higher prices"
QString ChangeSentence(const CostChange& c, const QLocale& money, int moneyDecimals);

// The period's comparisons, a year before first, then the previous period;
// `against` is "a year before" or "the previous period", `kind` "year_before"
// or "previous".
struct ChangeAnswer {
    QString against;
    const char* kind = "";
    const HistoryPeriod* period = nullptr;
    CostChange change;
};
std::vector<ChangeAnswer> ChangeAnswers(const HistoryPeriod& p,
                                        const std::vector<HistoryPeriod>& periods);

// One comparison as the History page draws it beside the sentence.
struct ChangeBars {
    QString title;    // "A year before: +$31.20"
    QString sentence; // "Against a year before (1/1/2025 to 2/1/2025): +$31.20: ...."
    double fromUse = 0, fromPrices = 0;
    ChangeTexts texts;
};
std::vector<ChangeBars> ChangeBarsOf(const HistoryPeriod& p,
                                     const std::vector<HistoryPeriod>& periods,
                                     const QLocale& dates, const QLocale& money, int moneyDecimals);

// The page's line for `p`: "Against a year before (1/1/2025 to 2/1/2025):
// <sentence>. Against the previous period (...): <sentence>." Empty when
// neither exists.
QString ChangeText(const HistoryPeriod& p, const std::vector<HistoryPeriod>& periods,
                   const QLocale& dates, const QLocale& money, int moneyDecimals);
