#pragma once
// The History page's summary line, as pure functions of the stored periods.
//
// The last 12 months are the 12 calendar months up to the latest later date
// among the stored periods (not today), so the line describes the history
// itself. A period covers the days from its earlier date up to, not
// including, its later date (as many days as its day count); a period that
// straddles the start of the 12 months counts with the share of its net cost
// that falls on its days inside them. A day two stored periods share counts
// once, for the period stored later (the greater id).

#include "history/periodrecord.h"

#include <QLocale>
#include <vector>

struct HistorySummary {
    bool any = false; // false when nothing is stored
    QDate start, end; // the 12 months: start <= day < end
    double paid = 0;  // net cost inside the 12 months
    qint64 days = 0;  // days of stored periods inside them
    double PerDay() const { return days > 0 ? paid / static_cast<double>(days) : 0.0; }
};

HistorySummary SummarizeLastYear(const std::vector<HistoryPeriod>& periods);

// "Last 12 months: $1,234.56 paid over 365 days, an average of $3.38 a day."
// or, with nothing stored, "No periods stored yet."; never an empty amount.
QString SummaryText(const HistorySummary& s, const QLocale& locale, int moneyDecimals);

// "12% above your 12-month average of $4.10 a day" (or "below", or "the same
// as"); when the average is not above 0 a percentage says nothing, so the two
// amounts are given instead. Empty without a summary or when an amount is
// not finite.
QString ComparisonText(double perDay, const HistorySummary& s, const QLocale& locale,
                       int moneyDecimals);
