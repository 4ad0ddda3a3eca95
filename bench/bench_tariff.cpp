// Pricing a year of 30-minute meter data for three channels (general use, a
// controlled load and export: 52,560 intervals) on a time-of-use plan with a
// controlled load and a time-varying feed-in, read in the system zone with its
// daylight saving (TZ=Australia/Sydney). The reference is a plain loop summing
// the same kWh values from memory once, by channel. One plan alone (its tables
// built, the intervals seen in its zone, priced), and 50 such plans sharing one
// view of the intervals, as the Compare plans page ranks them. And the
// Compare plans page's whole answer to a chosen range: the year's intervals
// read from a history file, 50 plans ranked and their money texts made.
#include "meterdata/meterseries.h"
#include "meterdata/meterstore.h"
#include "mylib/money.h"
#include "plans/tariffranking.h"
#include "storage/historyschema.h"
#include "tariff/tariffpricing.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTimeZone>
#include <benchmark/benchmark.h>

#include <ctime>

namespace {

constexpr quint8 kWeekdays = 0x1F, kWeekend = 0x60, kEveryDay = 0x7F;

const IntervalSeries& Year() {
    static const IntervalSeries series = [] {
        IntervalSeries s;
        const qint64 start =
            QDateTime(QDate(2024, 1, 1), QTime(0, 0), QTimeZone(36000)).toSecsSinceEpoch();
        const IntervalRole roles[] = {IntervalRole::General, IntervalRole::ControlledLoad,
                                      IntervalRole::Export};
        s.reserve(3 * 366 * 48);
        for (IntervalRole role : roles) { // one channel after another, as NEM12 files hold them
            for (int i = 0; i < 366 * 48; ++i) {
                s.add(start + i * 1800LL, 30, 0.1 + (i * 7919 % 97) / 100.0, role);
            }
        }
        return s;
    }();
    return series;
}

SteppedRate Rate(double price) {
    return {{RateStep{price, {}}}, StepPeriod::Year};
}

// Summer and winter, peak/shoulder/off-peak with a daily step on the peak, a
// time-of-use controlled load with its own daily charge, a two-rate feed-in.
TariffPlan Plan(int variant) {
    const double k = 1 + variant / 100.0;
    TariffPlan p;
    p.name = QStringLiteral("Plan %1").arg(variant);
    p.zone = TariffZone::Local;
    RateBlock tou;
    tou.timeOfUse = true;
    TouRate peak{RateType::Peak,
                 {},
                 {{RateStep{0.45 * k, 10}, RateStep{0.55 * k, {}}}, StepPeriod::Day},
                 {{kWeekdays, 900, 1260}}};
    TouRate shoulder{
        RateType::Shoulder, {}, Rate(0.30 * k), {{kWeekdays, 420, 900}, {kWeekdays, 1260, 1320}}};
    TouRate offPeak{
        RateType::OffPeak, {}, Rate(0.18 * k), {{kWeekdays, 1320, 420}, {kWeekend, 0, 0}}};
    tou.tou = {peak, shoulder, offPeak};
    p.seasons = {{"Summer", 11, 1, 3, 31, 1.10 * k, tou, {}},
                 {"Winter", 4, 1, 10, 31, 1.05 * k, tou, {}}};
    p.controlledLoad.present = true;
    p.controlledLoad.rates.timeOfUse = true;
    p.controlledLoad.rates.tou = {{RateType::OffPeak, {}, Rate(0.14 * k), {{kEveryDay, 1320, 420}}},
                                  {RateType::Peak, {}, Rate(0.30 * k), {{kEveryDay, 420, 1320}}}};
    p.controlledLoad.dailyCharge = 0.12;
    p.feedIn.present = true;
    p.feedIn.timeVarying = true;
    p.feedIn.windows = {{RateType::Peak, {}, Rate(0.08 * k), {{kEveryDay, 960, 1260}}},
                        {RateType::OffPeak, {}, Rate(0.04), {{kEveryDay, 1260, 960}}}};
    p.discounts = {{"Guaranteed", true, TariffDiscount::Method::PercentOfUse, 3, {}}};
    p.taxPercent = 10;
    return p;
}

void Sydney() {
    static const bool set = [] {
        qputenv("TZ", "Australia/Sydney");
        tzset();
        return true;
    }();
    (void)set;
}

void BM_PlainSum(benchmark::State& state) {
    const IntervalSeries& s = Year();
    for (auto _ : state) {
        double sums[3] = {0, 0, 0};
        for (std::size_t i = 0; i < s.size(); ++i) {
            sums[static_cast<int>(s.role[i])] += s.kwh[i];
        }
        benchmark::DoNotOptimize(sums);
    }
}

void BM_PriceOnePlan(benchmark::State& state) {
    Sydney();
    const IntervalSeries& s = Year();
    const TariffPlan plan = Plan(0);
    if (!ValidateTariffPlan(plan).isEmpty()) {
        state.SkipWithError("invalid plan");
    }
    for (auto _ : state) {
        TariffPrice p = PriceTariff(plan, s);
        benchmark::DoNotOptimize(p.total);
    }
}

void BM_PriceFiftyPlans(benchmark::State& state) {
    Sydney();
    const IntervalSeries& s = Year();
    QList<TariffPlan> plans;
    for (int i = 0; i < 50; ++i) {
        plans.append(Plan(i));
    }
    for (auto _ : state) {
        const ZonedSeries zoned(s);
        double cheapest = 1e300;
        for (const TariffPlan& plan : plans) {
            cheapest = std::min(cheapest, CompiledTariff(plan).price(zoned).total);
        }
        benchmark::DoNotOptimize(cheapest);
    }
}

// The year of Year() as a NEM12 file of three channels (E1 general, E2
// controlled load, B1 export) imported into a new history file.
MeterStore& StoredYear() {
    static QTemporaryDir dir;
    static QSqlDatabase db = [] {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("b"));
        d.setDatabaseName(dir.filePath(QStringLiteral("history.sqlite")));
        d.open();
        MigrateHistory(d, HistorySchemaVersion());
        return d;
    }();
    static MeterStore store = [] {
        const QString path = dir.filePath(QStringLiteral("year.csv"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("100,NEM12,202401010000,MDP1,Retail1\n");
        for (const char* suffix : {"E1", "E2", "B1"}) {
            f.write(QByteArray("200,6123456789,E1E2B1,1,") + suffix + ",N1,M1,kWh,30,\n");
            int i = 0;
            for (QDate d(2024, 1, 1); d.year() == 2024; d = d.addDays(1)) {
                QByteArray line = "300," + d.toString(QStringLiteral("yyyyMMdd")).toLatin1();
                for (int k = 0; k < 48; ++k, ++i) {
                    line += ',' + QByteArray::number(0.1 + (i * 7919 % 97) / 100.0, 'f', 2);
                }
                f.write(line + ",A,,,,\n");
            }
        }
        f.write("900\n");
        f.close();
        MeterStore s(db);
        s.Import(path);
        return s;
    }();
    return store;
}

// A year chosen on the Compare plans page: its intervals read (a day either
// side), 50 plans ranked on it (the year ranking is the same range), and the
// table's money texts.
void BM_RangeToRankedTable(benchmark::State& state) {
    Sydney();
    MeterStore& store = StoredYear();
    IntervalRanking in;
    for (int i = 0; i < 50; ++i) {
        in.plans.append(Plan(i));
    }
    in.from = in.yearFrom = QDate(2024, 1, 1);
    in.to = in.yearTo = QDate(2024, 12, 31);
    const QLocale locale(QStringLiteral("en_AU"));
    for (auto _ : state) {
        in.series = std::make_shared<const IntervalSeries>(
            ToIntervalSeries(store.Intervals(in.from.addDays(-1), in.to.addDays(1))));
        const RankingResult r = RankOnIntervals(in);
        QStringList texts;
        for (const RankedPlan& p : r.ranked) {
            texts << FormatMoney(p.price.total, locale, 2)
                  << FormatMoney(p.price.total - r.ranked.front().price.total, locale, 2);
        }
        benchmark::DoNotOptimize(texts);
    }
}

// What of it stays on the window's thread: the year's intervals read.
void BM_ReadYearOfIntervals(benchmark::State& state) {
    MeterStore& store = StoredYear();
    for (auto _ : state) {
        IntervalSeries s =
            ToIntervalSeries(store.Intervals(QDate(2023, 12, 31), QDate(2025, 1, 1)));
        benchmark::DoNotOptimize(s.kwh.data());
    }
}

} // namespace

BENCHMARK(BM_PlainSum)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PriceOnePlan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PriceFiftyPlans)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RangeToRankedTable)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ReadYearOfIntervals)->Unit(benchmark::kMillisecond);

// Figures and references interleaved, three runs unless told otherwise.
int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=3";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.push_back(repetitions.data());
    args.push_back(interleave.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
