#pragma once
// A typed bill against the period's own calculation: the difference, whether
// it is larger than the rounding a bill may carry (a cent per day of the
// period), and the likely cause when one fits.

#include "history/periodrecord.h"

#include <QLocale>
#include <QString>

struct BillCheck {
    bool billed = false;   // a billed amount is stored
    double difference = 0; // billed minus calculated
    bool flagged = false;  // more than a cent per day of the period apart
    // "Billed $12.40 more than these readings and rates give." (or "less"),
    // "Billed as these readings and rates give." when the difference rounds
    // to nothing; empty without a bill.
    QString sentence;
    // For a flagged bill, the likely cause when one fits, tried in this order:
    // a reading marked estimated; a difference that is a whole number of days'
    // daily charges; a general rate or daily charge other than the period's
    // (the one the bill implies, when that is above 0 and within twice the
    // period's own). Empty when none fits.
    QString cause;
};

BillCheck CheckBill(const HistoryPeriod& p, const QLocale& money, int moneyDecimals);
