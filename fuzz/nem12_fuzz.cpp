// libFuzzer target for the NEM12 reader: the input is read as a NEM12 stream
// from memory. Besides the sanitizers' checks, every day handed on must keep
// the reader's promises (whole days of a length dividing 24 hours, one
// quality per value, non-negative kWh, dates 1900 to 2100), and a refusal
// must name the input.

#include "meterdata/meterinput.h"
#include "meterdata/nem12reader.h"
#include "meterfuzz.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct CheckingSink : MeterSink {
    void Day(const MeterDay& d) override {
        Check(d.lengthMinutes > 0 && 1440 % d.lengthMinutes == 0);
        Check(d.kwh.size() == static_cast<size_t>(1440 / d.lengthMinutes));
        Check(d.quality.size() == d.kwh.size());
        Check(d.day.isValid() && d.day.year() >= 1900 && d.day.year() <= 2100);
        Check(d.startUtc == MidnightUtc(d.day, 36000));
        for (size_t i = 0; i < d.kwh.size(); ++i) {
            Check(std::isfinite(d.kwh[i]) && d.kwh[i] >= 0);
            Check(std::strchr("AEFSN", d.quality[i]) != nullptr);
        }
        Check(!d.meter.isEmpty() && !d.channel.isEmpty());
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MeterInput input(std::make_unique<MemorySource>(data, size), QStringLiteral("input"));
    CheckingSink sink;
    try {
        ReadNem12(input, sink);
    } catch (const MeterDataError& e) {
        Check(e.Message().startsWith(QLatin1String("input")));
    }
    return 0;
}
