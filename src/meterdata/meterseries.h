#pragma once
// The stored intervals as the pricing engine reads them (tariff/intervalseries.h).
// Lives here, not in tariff, so that pricing knows nothing of the meter store.

#include "meterdata/intervalarrays.h"
#include "tariff/intervalseries.h"

// Every interval of a stored role, in the same order; skipped channels (not
// stored anyway) are left out.
IntervalSeries ToIntervalSeries(const IntervalArrays& intervals);
