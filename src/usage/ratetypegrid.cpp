#include "usage/ratetypegrid.h"

#include "tariff/tariffpricing.h"

#include <cmath>

std::vector<qint8> RateTypeGrid(const UsageSummary& s, const TariffPlan& plan) {
    if (!ValidateTariffPlan(plan).isEmpty()) {
        return {};
    }
    // One general interval at each cell with data, priced by the plan's own
    // tables: the same lookup as its bill, so the colours cannot disagree.
    IntervalSeries starts;
    std::vector<std::size_t> cells;
    for (int day = 0; day < s.Days(); ++day) {
        for (int slot = 0; slot < kHalfHours; ++slot) {
            if (!std::isnan(s.Cell(day, slot))) {
                starts.add(s.dayStartUtc[static_cast<std::size_t>(day)] + slot * 1800, 30, 0,
                           IntervalRole::General);
                cells.push_back(static_cast<std::size_t>(day) * kHalfHours +
                                static_cast<std::size_t>(slot));
            }
        }
    }
    const std::vector<RateType> types = CompiledTariff(plan).usageTypes(ZonedSeries(starts));
    std::vector<qint8> grid(s.grid.size(), -1);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        grid[cells[i]] = static_cast<qint8>(types[i]);
    }
    return grid;
}

bool UsageIsTimeOfUse(const TariffPlan& plan) {
    for (const TariffSeason& s : plan.seasons) {
        if (s.usage.timeOfUse) {
            return true;
        }
    }
    return false;
}
