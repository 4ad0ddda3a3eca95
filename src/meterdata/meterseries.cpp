#include "meterdata/meterseries.h"

IntervalSeries ToIntervalSeries(const IntervalArrays& intervals) {
    IntervalSeries series;
    series.reserve(intervals.size());
    for (std::size_t i = 0; i < intervals.size(); ++i) {
        IntervalRole role{};
        switch (static_cast<ChannelRole>(intervals.role[i])) {
        case ChannelRole::General:
            role = IntervalRole::General;
            break;
        case ChannelRole::ControlledLoad:
            role = IntervalRole::ControlledLoad;
            break;
        case ChannelRole::Export:
            role = IntervalRole::Export;
            break;
        case ChannelRole::Skip:
            continue;
        }
        series.add(intervals.startUtc[i], intervals.lengthMinutes[i], intervals.kwh[i], role);
    }
    return series;
}
