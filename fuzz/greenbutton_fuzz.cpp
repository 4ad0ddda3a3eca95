// libFuzzer target for the Green Button readers: the input is read as an
// ESPI XML feed and as a utility CSV export from memory, in a fixed zone.
// Every day handed on must hold slots of one length dividing the day,
// non-negative kWh or missing values, a quality per slot and a date 1900 to
// 2100; a refusal must name the input.

#include "meterdata/greenbutton.h"
#include "meterdata/meterinput.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), left_(size) {}
    qint64 Read(char* buffer, qint64 max) override {
        const auto n = static_cast<size_t>(std::min<qint64>(max, static_cast<qint64>(left_)));
        std::memcpy(buffer, data_, n);
        data_ += n;
        left_ -= n;
        return static_cast<qint64>(n);
    }

private:
    const uint8_t* data_;
    size_t left_;
};

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
