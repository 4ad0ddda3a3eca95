#pragma once
// The JSON the command line prints for `history --json` and
// `history explain --from YYYY-MM-DD --json`. Dates are ISO; money is rounded
// to the period's money decimals, kWh to 3 decimals, prices to 4.

#include "history/periodrecord.h"

#include <QJsonArray>
#include <QJsonObject>
#include <optional>
#include <vector>

// One period: from, to, days, kwh_general, kwh_hot_water, kwh_exported, net,
// billed (null when none), difference (billed minus net; null without a
// bill), price_per_kwh (net over kWh; null without use), warnings (texts).
QJsonObject HistoryPeriodJson(const HistoryPeriod& p);
// The periods in the order given.
QJsonArray HistoryJson(const std::vector<HistoryPeriod>& periods);

// Why the cost of the period starting on `from` changed: one object per
// comparison (a year before, then the previous period), each with against
// ({"kind": "year_before" or "previous", "from", "to"}), change, from_use and
// from_prices. None when no stored period starts on `from`.
std::optional<QJsonArray> HistoryExplainJson(QDate from, const std::vector<HistoryPeriod>& periods);
