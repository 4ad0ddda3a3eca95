// libFuzzer target for the plan-detail JSON reader. Besides the sanitizers'
// checks: a plan the reader accepts is valid, prices a few intervals, and
// written out and read back gives the same document again.

#include "tariff/cdrplan.h"
#include "tariff/tariffpricing.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CdrImport in =
        ReadCdrPlan(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!in.error.isEmpty()) {
        return 0;
    }
    Check(ValidateTariffPlan(in.plan).isEmpty());
    IntervalSeries s;
    for (int i = 0; i < 96; ++i) {
        s.add(1704031200LL + i * 1800LL, 30, 0.5, static_cast<IntervalRole>(i % 3));
    }
    const TariffPrice p = PriceTariff(in.plan, s);
    Check(p.days >= 2);
    const QByteArray written = WriteCdrPlan(in.plan);
    const CdrImport again = ReadCdrPlan(written);
    Check(again.error.isEmpty());
    Check(WriteCdrPlan(again.plan) == written);
    return 0;
}
