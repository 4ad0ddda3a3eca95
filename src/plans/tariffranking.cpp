#include "plans/tariffranking.h"

#include <algorithm>
#include <thread>
#include <vector>

void SortByTotal(QList<RankedPlan>& plans) {
    std::stable_sort(plans.begin(), plans.end(), [](const RankedPlan& a, const RankedPlan& b) {
        if (a.price.needsMeterData != b.price.needsMeterData) {
            return b.price.needsMeterData;
        }
        return !a.price.needsMeterData && a.price.total < b.price.total;
    });
}

RankingResult RankOnIntervals(const IntervalRanking& in) {
    RankingResult out;
    if (!in.series) {
        return out;
    }
    const ZonedSeries zoned(*in.series);
    // The views are made on first use; make every one the plans need before
    // the plans are shared out among threads.
    for (const TariffPlan& plan : in.plans) {
        zoned.view(plan.zone);
        for (const TariffSeason& season : plan.seasons) {
            zoned.view(season.zone.value_or(plan.zone));
        }
    }
    const std::size_t n = static_cast<std::size_t>(in.plans.size());
    const std::size_t threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1,
                                                        std::min<std::size_t>(4, n / 8 + 1));
    auto rank = [&](QDate from, QDate to) {
        PriceOptions options;
        options.from = from;
        options.to = to;
        options.controlledLoadConnected = in.controlledLoadConnected;
        std::vector<TariffPrice> prices(n);
        // Plans k, k + threads, ... on thread k; each writes only its own slots.
        auto work = [&](std::size_t k) {
            for (std::size_t i = k; i < n; i += threads) {
                prices[i] =
                    CompiledTariff(in.plans[static_cast<qsizetype>(i)]).price(zoned, options);
            }
        };
        std::vector<std::thread> helpers;
        for (std::size_t k = 1; k < threads; ++k) {
            helpers.emplace_back(work, k);
        }
        work(0);
        for (std::thread& t : helpers) {
            t.join();
        }
        QList<RankedPlan> ranked;
        ranked.reserve(in.plans.size());
        for (std::size_t i = 0; i < n; ++i) {
            ranked.append({in.plans[static_cast<qsizetype>(i)].name, std::move(prices[i])});
        }
        SortByTotal(ranked);
        return ranked;
    };
    out.ranked = rank(in.from, in.to);
    if (in.yearFrom.isValid() && in.yearTo.isValid()) {
        out.year = in.yearFrom == in.from && in.yearTo == in.to ? out.ranked
                                                                : rank(in.yearFrom, in.yearTo);
    }
    return out;
}

QList<RankedPlan> RankOnPeriodKwh(const QList<TariffPlan>& plans, QDate from, QDate to,
                                  double generalKwh, double controlledKwh, double exportKwh,
                                  bool controlledLoadConnected) {
    QList<RankedPlan> ranked;
    for (const TariffPlan& plan : plans) {
        ranked.append({plan.name, PricePeriodKwh(plan, from, to, generalKwh, controlledKwh,
                                                 exportKwh, controlledLoadConnected)});
    }
    SortByTotal(ranked);
    return ranked;
}

std::pair<QDate, QDate> LastTwelveMonths(QDate first, QDate last) {
    if (!first.isValid() || !last.isValid() || first > last) {
        return {};
    }
    return {std::max(first, last.addYears(-1).addDays(1)), last};
}

QList<BreakdownLine> Breakdown(const TariffPrice& p) {
    QList<BreakdownLine> lines{{QStringLiteral("Supply"), {}, {}, p.supply, true}};
    QStringList seasons;
    for (const TariffLine& l : p.lines) {
        if (l.part == TariffLine::Part::Usage && !seasons.contains(l.season)) {
            seasons << l.season;
        }
    }
    for (const TariffLine& l : p.lines) {
        // A single rate is named by its part alone: "Usage", "Controlled load".
        const bool single = l.type == RateType::Single;
        QString item = single ? QStringLiteral("Usage") : l.name;
        if (l.part == TariffLine::Part::Usage && seasons.size() > 1) {
            item = QStringLiteral("%1 %2").arg(l.season, item);
        } else if (l.part == TariffLine::Part::ControlledLoad) {
            item = single ? QStringLiteral("Controlled load")
                          : QStringLiteral("Controlled load %1").arg(l.name);
        } else if (l.part == TariffLine::Part::FeedIn) {
            item = single ? QStringLiteral("Feed-in") : QStringLiteral("Feed-in %1").arg(l.name);
        }
        std::optional<double> rate;
        if (l.kwh > 0) {
            rate = l.cost / l.kwh;
        }
        // The feed-in line's cost is the credit; the bill shows it taken off.
        lines.append(
            {item, l.kwh, rate, l.part == TariffLine::Part::FeedIn ? -l.cost : l.cost, true});
    }
    if (p.discounts != 0) {
        lines.append({QStringLiteral("Discounts"), {}, {}, p.discounts, true});
    }
    for (const ConditionalSaving& c : p.conditional) {
        lines.append(
            {QStringLiteral("%1 (if its condition is met)").arg(c.name), {}, {}, -c.saving, false});
    }
    lines.append({QStringLiteral("Tax"), {}, {}, p.tax, true});
    lines.append({QStringLiteral("Total"), {}, {}, p.total, true});
    return lines;
}
