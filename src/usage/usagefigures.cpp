#include "usage/usagefigures.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace {

struct HalfHours {
    std::array<double, kHalfHours> import{}, exported{};
    std::array<bool, kHalfHours> present{};
};

// Adds one interval of `minutes` starting `start` minutes into the day to
// its half-hours.
void Spread(std::array<double, kHalfHours>& target, HalfHours& h, int start, int minutes,
            double v) {
    const int first = std::min(kHalfHours - 1, start / 30);
    const int last = std::min(kHalfHours - 1, std::max(first, (start + minutes - 1) / 30));
    const double share = v / (last - first + 1);
    for (int s = first; s <= last; ++s) {
        target[static_cast<std::size_t>(s)] += share;
        h.present[static_cast<std::size_t>(s)] = true;
    }
}

double Median(std::vector<double> v) {
    if (v.empty()) {
        return 0;
    }
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    const double upper = v[mid];
    if (v.size() % 2 != 0) {
        return upper;
    }
    return (upper + *std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid))) / 2;
}

} // namespace

UsageSummary SummariseUsage(const std::vector<StoredDay>& days,
                            const std::vector<StoredChannel>& channels, QDate from, QDate to) {
    UsageSummary u;
    u.from = from;
    u.to = to;
    const qint64 first = from.toJulianDay();
    const int count = static_cast<int>(from.daysTo(to)) + 1;
    u.daily.assign(static_cast<std::size_t>(count), {0, 0, 0});
    u.grid.assign(static_cast<std::size_t>(count) * kHalfHours,
                  std::numeric_limits<float>::quiet_NaN());
    std::vector<HalfHours> halves(static_cast<std::size_t>(count));
    u.dayStartUtc.assign(static_cast<std::size_t>(count), 0);
    std::vector<bool> hasData(static_cast<std::size_t>(count), false);
    UsageFigures& f = u.figures;

    // Each channel's own span, for the intervals it should have had.
    std::unordered_map<qint64, const StoredChannel*> byId;
    for (const StoredChannel& c : channels) {
        byId[c.id] = &c;
        const QDate a = std::max(c.first, from);
        const QDate b = std::min(c.last, to);
        if (a <= b && c.role != ChannelRole::Skip && c.lengthMinutes > 0) {
            f.missing += (a.daysTo(b) + 1) * (1440 / c.lengthMinutes);
        }
    }

    for (const StoredDay& d : days) {
        const qint64 index = d.day.toJulianDay() - first;
        if (index < 0 || index >= count || d.role == ChannelRole::Skip) {
            continue;
        }
        const auto i = static_cast<std::size_t>(index);
        HalfHours& h = halves[i];
        auto& target = d.role == ChannelRole::Export ? h.exported : h.import;
        const int length = std::max(1, d.lengthMinutes);
        if (!hasData[i]) {
            u.dayStartUtc[i] = d.startUtc;
        }
        hasData[i] = true;
        qint64 present = 0;
        double sum = 0;
        for (std::size_t k = 0; k < d.kwh.size(); ++k) {
            const double v = d.kwh[k];
            const char q = d.quality[k];
            if (std::isnan(v) || q == 'N') {
                continue;
            }
            ++present;
            sum += v;
            f.estimated += q == 'E' ? 1 : 0;
            f.substituted += q == 'S' || q == 'F' ? 1 : 0;
            if (length == 30) { // the common case: one interval, one half-hour
                const std::size_t slot = std::min<std::size_t>(k, kHalfHours - 1);
                target[slot] += v;
                h.present[slot] = true;
            } else {
                Spread(target, h, static_cast<int>(k) * length, length, v);
            }
        }
        u.daily[i][static_cast<std::size_t>(d.role)] += sum;
        if (byId.count(d.channelId) != 0) {
            f.missing -= present;
        }
    }
    f.missing = std::max<qint64>(0, f.missing);

    std::array<double, kHalfHours> weekdaySum{}, weekendSum{};
    std::array<int, kHalfHours> weekdayCount{}, weekendCount{};
    std::vector<double> lowest;
    for (int day = 0; day < count; ++day) {
        const auto i = static_cast<std::size_t>(day);
        const std::array<double, 3>& k = u.daily[i];
        f.generalKwh += k[0];
        f.controlledKwh += k[1];
        f.exportKwh += k[2];
        if (!hasData[i]) {
            continue;
        }
        ++f.daysWithData;
        const QDate date = from.addDays(day);
        const bool weekend = date.dayOfWeek() >= 6;
        const HalfHours& h = halves[i];
        double low = std::numeric_limits<double>::infinity();
        for (int s = 0; s < kHalfHours; ++s) {
            const auto j = static_cast<std::size_t>(s);
            if (!h.present[j]) {
                continue;
            }
            const double net = h.import[j] - h.exported[j];
            u.grid[i * kHalfHours + j] = static_cast<float>(net);
            u.gridImportMax = std::max(u.gridImportMax, static_cast<float>(net));
            u.gridExportMax = std::max(u.gridExportMax, static_cast<float>(-net));
            (weekend ? weekendSum : weekdaySum)[j] += h.import[j];
            ++(weekend ? weekendCount : weekdayCount)[j];
            low = std::min(low, h.import[j]);
            if (h.import[j] > f.highestKwh || f.highestSlot < 0) {
                f.highestKwh = h.import[j];
                f.highestDay = date;
                f.highestSlot = s;
            }
        }
        if (std::isfinite(low)) {
            lowest.push_back(low);
        }
    }
    for (std::size_t j = 0; j < kHalfHours; ++j) {
        u.weekday[j] = weekdayCount[j] > 0 ? weekdaySum[j] / weekdayCount[j] : 0;
        u.weekend[j] = weekendCount[j] > 0 ? weekendSum[j] / weekendCount[j] : 0;
    }
    f.averageKwhPerDay = f.daysWithData > 0 ? f.ImportKwh() / f.daysWithData : 0;
    // kWh in half an hour is twice that in kW.
    f.baseLoadW = Median(std::move(lowest)) * 2000;
    return u;
}
