// The bill history at 10,000 periods (far beyond any household): the History
// page's first show (open the file, fill the table, draw the chart) against
// reading the same rows with the SQLite C API, and adding a period against a
// bare one-row insert transaction on the same file, with the same journal
// settings. Each figure and its reference run in the same process.
#include "benchsupport.h"

#include "app/view/lazytab.h"
#include "history/historypresenter.h"
#include "history/historystore.h"
#include "history/page/historychart.h"
#include "history/page/historypage.h"
#include "mylib/filedialogs.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int kPeriods = 10000;

struct NoFiles : TFileDialogs {
    QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
};

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "bench_history";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    static bool module = (SetHistoryChartModulePath(QStringLiteral(VOLTISK_CHART_MODULE)), true);
    (void)app;
    (void)module;
}

HistoryPeriod Numbered(int i) {
    PeriodInputs in;
    in.generalDailyCharge = QStringLiteral("1.10");
    in.generalRate = QStringLiteral("0.2828");
    in.hwDailyCharge = QStringLiteral("0.05");
    in.hwRate = QStringLiteral("0.1631");
    in.generalBefore = QString::number(10000 + 300 * i);
    in.generalAfter = QString::number(10000 + 300 * i + 250 + i % 90);
    in.hotWaterBefore = QString::number(5000 + 100 * i);
    in.hotWaterAfter = QString::number(5000 + 100 * i + 80 + i % 30);
    const QDate from = QDate(1990, 1, 1).addDays(static_cast<qint64>(i) * 30);
    HistoryPeriod p = MakeHistoryPeriod(from, from.addDays(30), in,
                                        QLocale(QLocale::English, QLocale::UnitedStates), 2,
                                        QDateTime::currentDateTimeUtc());
    p.note = i % 10 == 0 ? QStringLiteral("Note for period %1").arg(i) : QString();
    return p;
}

// A history of kPeriods periods, made once per run.
const QString& TenThousand() {
    static QTemporaryDir dir;
    static const QString file = [] {
        const QString f = dir.path() + QStringLiteral("/history.sqlite");
        THistoryStore store(f);
        store.Open();
        std::vector<HistoryPeriod> all;
        for (int i = 0; i < kPeriods; ++i) {
            all.push_back(Numbered(i));
        }
        store.Import(all);
        return f;
    }();
    return file;
}

void BM_HistoryPageFirstShow(benchmark::State& state) {
    EnsureApplication();
    BenchForm b;
    NoFiles files;
    const QString file = TenThousand();
    for (auto _ : state) {
        THistoryPresenter presenter(*b.form, b.dialogs, files, file);
        presenter.PageShown();
        TFaultLine fault(QStringLiteral("historyfault"), nullptr);
        THistoryPage page(presenter, fault);
        page.resize(1040, 440);
        const QPixmap drawn = page.grab();
        benchmark::DoNotOptimize(drawn.cacheKey());
        if (presenter.Model().rowCount() != kPeriods) {
            state.SkipWithError("the table is not full");
        }
    }
}

void BM_SqliteReadSameRows(benchmark::State& state) {
    const QByteArray file = TenThousand().toUtf8();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM period ORDER BY date_to DESC, date_from DESC", -1,
                           &st, nullptr);
        int rows = 0;
        std::size_t bytes = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0, n = sqlite3_column_count(st); c < n; ++c) {
                if (sqlite3_column_type(st, c) == SQLITE_TEXT) {
                    bytes += static_cast<std::size_t>(sqlite3_column_bytes(st, c));
                    benchmark::DoNotOptimize(sqlite3_column_text(st, c));
                } else {
                    benchmark::DoNotOptimize(sqlite3_column_double(st, c));
                }
            }
            ++rows;
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
        benchmark::DoNotOptimize(bytes);
        if (rows != kPeriods) {
            state.SkipWithError("not every row was read");
        }
    }
}

// Each run adds to a copy of the big history, so both figures work on the
// same kind of file.
QString FreshCopy(QTemporaryDir& dir) {
    const QString copy = dir.path() + QStringLiteral("/copy.sqlite");
    QFile::remove(copy);
    QFile::copy(TenThousand(), copy);
    return copy;
}

void BM_HistoryAddPeriod(benchmark::State& state) {
    QTemporaryDir dir;
    THistoryStore store(FreshCopy(dir));
    store.Open();
    int i = kPeriods;
    for (auto _ : state) {
        store.Add(Numbered(i++));
    }
}

void BM_SqliteBareInsert(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray file = FreshCopy(dir).toUtf8();
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL", nullptr, nullptr,
                 nullptr);
    // One whole row of the same table, every column bound; copied out so that
    // no statement holds a read snapshot while the inserts run.
    sqlite3_stmt* probe = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM period LIMIT 1", -1, &probe, nullptr);
    sqlite3_step(probe);
    const int columns = sqlite3_column_count(probe);
    std::vector<sqlite3_value*> row;
    for (int c = 0; c < columns; ++c) {
        row.push_back(sqlite3_value_dup(sqlite3_column_value(probe, c)));
    }
    sqlite3_finalize(probe);
    QByteArray sql = "INSERT INTO period VALUES (NULL";
    for (int c = 1; c < columns; ++c) {
        sql += ", ?";
    }
    sql += ")";
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr);
    int i = 0;
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (int c = 1; c < columns; ++c) {
            sqlite3_bind_value(insert, c, row[static_cast<std::size_t>(c)]);
        }
        const QByteArray from = QDate(3000, 1, 1).addDays(i).toString(Qt::ISODate).toLatin1();
        const QByteArray to = QDate(3000, 1, 1).addDays(i + 30).toString(Qt::ISODate).toLatin1();
        ++i;
        sqlite3_bind_text(insert, 1, from.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, to.constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            state.SkipWithError(sqlite3_errmsg(db));
        }
        sqlite3_reset(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(insert);
    for (sqlite3_value* v : row) {
        sqlite3_value_free(v);
    }
    sqlite3_close(db);
}

} // namespace

BENCHMARK(BM_SqliteReadSameRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryPageFirstShow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteBareInsert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryAddPeriod)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
