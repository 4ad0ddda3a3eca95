#pragma once
// The heat map's cells seen through a time-of-use plan: each cell with data
// gets the type of the general-use rate its half-hour's start is priced at
// under the plan (its windows, season and time zone, by the pricing's own
// lookup, tariff/tariffpricing.h). Pure: Qt Core only.

#include "tariff/tariffplan.h"
#include "usage/usagefigures.h"

#include <vector>

// One entry per grid cell, day-major as UsageSummary::grid: the RateType as
// a number, or -1 for a cell without data. Empty for a plan that cannot be
// priced (ValidateTariffPlan refuses it).
std::vector<qint8> RateTypeGrid(const UsageSummary& summary, const TariffPlan& plan);

// Whether any tariff period of the plan prices general use by time of day.
bool UsageIsTimeOfUse(const TariffPlan& plan);
