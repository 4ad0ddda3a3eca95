// libFuzzer target for the Green Button readers: the input is read as an
// ESPI XML feed and as a utility CSV export from memory, in a fixed zone.
// Every day handed on must hold slots of one length dividing the day,
// non-negative kWh or missing values, a quality per slot and a date 1900 to
// 2100; a refusal must name the input.

#include "meterdata/greenbutton.h"
#include "meterdata/meterinput.h"
#include "meterfuzz.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct CheckingSink : MeterSink {
    void Day(const MeterDay& d) override {
        Check(d.lengthMinutes > 0 && 1440 % d.lengthMinutes == 0);
        Check(!d.kwh.empty() && d.quality.size() == d.kwh.size());
        Check(d.day.isValid() && d.day.year() >= 1900 && d.day.year() <= 2100);
        for (double v : d.kwh) {
            Check(std::isnan(v) || (std::isfinite(v) && v >= 0));
        }
    }
};

template <typename Reader> void ReadWith(Reader read, const uint8_t* data, size_t size) {
    MeterInput input(std::make_unique<MemorySource>(data, size), QStringLiteral("input"));
    CheckingSink sink;
    try {
        read(input, sink, LocalZone(QTimeZone("America/Chicago")));
    } catch (const MeterDataError& e) {
        Check(e.Message().startsWith(QLatin1String("input")));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadWith(&ReadGreenButtonXml, data, size);
    ReadWith(&ReadGreenButtonCsv, data, size);
    return 0;
}
