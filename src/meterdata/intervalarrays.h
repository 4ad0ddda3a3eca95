#pragma once
// Intervals as contiguous arrays (one entry per interval in each), day by day
// and channel by channel within a day: what pricing walks through in one pass.

#include "meterdata/meterday.h"

#include <cstdint>
#include <vector>

struct IntervalArrays {
    std::vector<std::int64_t> startUtc; // seconds since 1970 UTC
    std::vector<std::int16_t> lengthMinutes;
    std::vector<double> kwh;
    std::vector<char> quality;      // A, S, F, E, N
    std::vector<std::uint8_t> role; // ChannelRole

    std::size_t size() const { return startUtc.size(); }
    void push_back(std::int64_t start, int minutes, double value, char q, ChannelRole r) {
        startUtc.push_back(start);
        lengthMinutes.push_back(static_cast<std::int16_t>(minutes));
        kwh.push_back(value);
        quality.push_back(q);
        role.push_back(static_cast<std::uint8_t>(r));
    }
};
