// The Usage page's first show with three years of 30-minute data in three
// channels (E1, E2, B1: 157,680 values in 3,285 stored days): the history
// file opened, the channels and days read, the figures and the heat-map grid
// worked out and the grid coloured into its picture; against a plain SQLite
// C API query reading the same rows from a newly opened file. Both alternate
// in the same process. Also the heat map of a year painted into an image the
// size of the page's chart, by use and by a plan's rate types, and the rate
// types worked out, against filling that image (a frame is 16 ms).
#include "benchsupport.h"

#include "history/historysession.h"
#include "usage/page/usagecharts.h"
#include "usage/ratetypegrid.h"
#include "usage/usagepresenter.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

const QString& Database() {
    static const QString path = [] {
        const QString nem = Folder().path() + QStringLiteral("/three-years.csv");
        QFile f(nem);
        f.open(QIODevice::WriteOnly);
        f.write("100,NEM12,202401010000,MDP1,Retail1\n");
        int n = 0;
        for (const char* suffix : {"E1", "E2", "B1"}) {
            f.write(QByteArray("200,6123456789,E1E2B1,1,") + suffix + ",N1,M1,kWh,30,20240101\n");
            for (QDate d(2021, 1, 1); d <= QDate(2023, 12, 31); d = d.addDays(1)) {
                QByteArray line = "300," + d.toString(QStringLiteral("yyyyMMdd")).toLatin1();
                for (int i = 0; i < 48; ++i) {
                    line += ',' + QByteArray::number((n++ % 997) / 1000.0, 'f', 3);
                }
                f.write(line + ",A,,,20240101120000,\n");
            }
        }
        f.write("900\n");
        f.close();
        const QString db = Folder().path() + QStringLiteral("/history.sqlite");
        THistoryStore store(db);
        store.Open();
        MeterStore(store.Database()).Import(nem);
        return db;
    }();
    return path;
}

void BM_SqliteReadMeterDays(benchmark::State& state) {
    const QByteArray file = Database().toUtf8();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT d.channel_id, c.role, d.day, d.length_min, d.kwh, d.quality "
                           "FROM meter_day d JOIN meter_channel c ON c.id = d.channel_id "
                           "ORDER BY d.day, c.id",
                           -1, &st, nullptr);
        qint64 bytes = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_blob(st, 4));
            bytes += sqlite3_column_bytes(st, 4) + sqlite3_column_bytes(st, 5) +
                     sqlite3_column_int(st, 3);
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_UsagePageFirstShow(benchmark::State& state) {
    BenchForm form(false);
    const QString file = Database();
    for (auto _ : state) {
        THistorySession session(file);
        TUsagePresenter presenter(*form.form, session, form.dialogs);
        presenter.Load();
        const QImage picture = THeatMap::Picture(presenter.Summary());
        benchmark::DoNotOptimize(picture.constBits());
        state.counters["days"] = presenter.Summary().Days();
    }
}

// The heat map of one year painted as the page shows it.
UsageSummary& Year() {
    static UsageSummary summary = [] {
        BenchForm form(false);
        THistorySession session(Database());
        TUsagePresenter presenter(*form.form, session, form.dialogs);
        presenter.Load();
        presenter.SetRange(QDate(2023, 1, 1), QDate(2023, 12, 31));
        return presenter.Summary();
    }();
    return summary;
}

UsageChartTexts PlainTexts() {
    UsageChartTexts t;
    t.kwh = [](double v) { return QString::number(v, 'f', 2); };
    t.day = [](int d) { return QString::number(d); };
    t.slot = [](int s) { return QString::number(s); };
    return t;
}

void BM_HeatMapPaintYear(benchmark::State& state) {
    THeatMap map;
    map.resize(1080, 420);
    map.Show(&Year(), PlainTexts());
    QImage image(map.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        map.render(&image);
    }
}

// A two-rate AEST plan: peak 15:00 to 21:00 on weekdays, off-peak the rest.
TariffPlan PeakWeekdays() {
    TariffPlan plan;
    plan.name = QStringLiteral("Peak weekdays");
    TariffSeason all;
    all.usage.timeOfUse = true;
    all.usage.tou = {
        {RateType::Peak, {}, {{RateStep{0.5, {}}}}, {{0x1F, 900, 1260}}},
        {RateType::OffPeak, {}, {{RateStep{0.2, {}}}}, {{0x1F, 1260, 900}, {0x60, 0, 0}}}};
    plan.seasons = {all};
    return plan;
}

// The year's cells seen through the plan, done once a range or plan is chosen.
void BM_RateTypeGridYear(benchmark::State& state) {
    const TariffPlan plan = PeakWeekdays();
    for (auto _ : state) {
        benchmark::DoNotOptimize(RateTypeGrid(Year(), plan).data());
    }
}

// The same year painted coloured by the plan's rate types.
void BM_HeatMapPaintYearByRateType(benchmark::State& state) {
    const std::vector<qint8> types = RateTypeGrid(Year(), PeakWeekdays());
    THeatMap map;
    map.resize(1080, 420);
    map.SetRateTypes(&types);
    map.Show(&Year(), PlainTexts());
    QImage image(map.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        map.render(&image);
    }
}

void BM_FillChartImage(benchmark::State& state) {
    QImage image(1080, 420, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        p.fillRect(image.rect(), Qt::white);
        p.drawText(QRect(0, 0, 200, 20), QStringLiteral("00:00"));
    }
}

} // namespace

BENCHMARK(BM_SqliteReadMeterDays)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UsagePageFirstShow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillChartImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeatMapPaintYear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeatMapPaintYearByRateType)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RateTypeGridYear)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
