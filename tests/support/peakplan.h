#pragma once
// The time-of-use plan the plan comparison tests work their figures with:
// AEST, peak 15:00 to 21:00 at 0.50 a kWh, off-peak the rest at 0.10, $1.00
// a day, a feed-in of 0.05, a guaranteed 10 % off usage, no tax.

#include "tariff/tariffplan.h"

inline TariffPlan PeakPlan() {
    TariffPlan p;
    p.name = QStringLiteral("Time of use");
    TariffSeason all;
    all.dailySupply = 1.00;
    all.usage.timeOfUse = true;
    all.usage.tou = {{RateType::Peak, {}, {{RateStep{0.50, {}}}}, {{0x7F, 900, 1260}}},
                     {RateType::OffPeak, {}, {{RateStep{0.10, {}}}}, {{0x7F, 1260, 900}}}};
    p.seasons = {all};
    p.feedIn.present = true;
    p.feedIn.single = {{RateStep{0.05, {}}}};
    p.discounts = {
        {QStringLiteral("Guaranteed"), true, TariffDiscount::Method::PercentOfUse, 10, {}}};
    return p;
}
