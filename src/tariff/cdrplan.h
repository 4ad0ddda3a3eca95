#pragma once
// Plans in the Consumer Data Right energy plan-detail JSON, the format in
// which Australian retailers publish their plans: read into a TariffPlan
// (prices there exclude GST, so the plan gets 10 % tax) and written back from
// any plan. The reader takes a saved `{"data": {...}}` response or the bare
// `data` object; what the model cannot price is listed, never guessed.

#include "tariff/tariffplan.h"

#include <QByteArray>

struct CdrImport {
    TariffPlan plan; // valid when error is empty
    QString error;   // "field: why", e.g. "electricityContract.tariffPeriod[0].dailySupplyCharge:
                     // \"abc\" is not a number."
    QStringList summary; // what was read but is not priced, one line each
};

// Reads one plan. Refused: a file that is not JSON or not an electricity plan,
// a price or volume that is not a number, an unknown day, type or time, and a
// plan whose seasons or windows overlap or leave part of the year or week
// unpriced (the day and time named). Demand charges, banded supply charges,
// fees, green power, incentives, metering charges, public-holiday windows and
// other discounts than percentages are listed in `summary`; those the price
// depends on go into plan.notPriced as well.
CdrImport ReadCdrPlan(const QByteArray& json);

// The plan as a `{"data": {...}}` plan-detail document holding what the plan
// holds. A tax other than 10 % on the charges only, and the parts not priced,
// go in a "voltisk" object of the contract that other readers ignore.
QByteArray WriteCdrPlan(const TariffPlan& plan);
