// Meter data in the history database: replacement, imports and their removal,
// roles, and a killed import.

#include "history/historystore.h"
#include "meterdata/meterstore.h"
#include "meterfiles.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <array>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double General(const MeterStore& store, QDate from, QDate to) {
    double sum = 0;
    for (const UsageRow& r : store.Usage(from, to, false)) {
        sum += r.kwh[0];
    }
    return sum;
}

class MeterStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        store_.reset();
        history_.reset();
        TestEnv::ResetConfig();
        history_ =
            std::make_unique<THistoryStore>(TestEnv::DataDir() + QStringLiteral("/h.sqlite"));
        ASSERT_EQ(history_->Open(), HistoryFault::None);
        store_ = std::make_unique<MeterStore>(history_->Database());
    }
    double General(QDate from, QDate to) const { return ::General(*store_, from, to); }
    std::unique_ptr<THistoryStore> history_;
    std::unique_ptr<MeterStore> store_;
};

const QDate Feb1(2004, 2, 1);

TEST_F(MeterStoreTest, AReadingMetAgainReplacesTheEarlierOne) {
    struct Case {
        const char* rule;
        QByteArray first;
        QByteArray second;
        double kwh; // on 2004-02-01 after both imports
    };
    const Case cases[] = {
        {"same file twice", Nem12Day(), Nem12Day(), 48 * 1.111},
        {"later import wins", Nem12Day("N", "20040201", "1"), Nem12Day("N", "20040201", "2"), 96},
        {"newer update time wins", Nem12Day("N", "20040201", "1", "20040305120000"),
         Nem12Day("N", "20040201", "2", "20040301120000"), 48},
        {"within a file the later record",
         Nem12Day("N", "20040201", "5")
             .replace("900\n", Nem300("20040201", 48, "3", "A", "19990101000000")),
         Nem12Day("N", "20040102", "1"), 144},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        SetUp();
        store_->Import(WriteMeterFile(QStringLiteral("1.csv"), c.first));
        store_->Import(WriteMeterFile(QStringLiteral("2.csv"), c.second));
        EXPECT_NEAR(General(Feb1, Feb1), c.kwh, 1e-9);
        EXPECT_EQ(store_->Imports().size(), 2U);
    }
}

TEST_F(MeterStoreTest, RemovingAnImportTakesOnlyTheDaysItStillOwns) {
    const qint64 a =
        store_
            ->Import(WriteMeterFile(QStringLiteral("a.csv"),
                                    Nem12Day("N", "20040201", "1") + Nem300("20040202", 48, "1")))
            .id;
    const qint64 b =
        store_->Import(WriteMeterFile(QStringLiteral("b.csv"), Nem12Day("N", "20040202", "2"))).id;
    EXPECT_TRUE(store_->RemoveImport(a));
    EXPECT_NEAR(General(Feb1, Feb1.addDays(1)), 96, 1e-9); // 02-02 belonged to b
    EXPECT_TRUE(store_->RemoveImport(b));
    EXPECT_TRUE(store_->Usage(Feb1, Feb1.addDays(1), false).empty());
    EXPECT_FALSE(store_->RemoveImport(b));
    EXPECT_TRUE(store_->Imports().empty());
}

TEST_F(MeterStoreTest, ARefusedOrCancelledFileStoresNothing) {
    const QByteArray bad = Nem12Day() + Nem300("20040230", 48, "1");
    EXPECT_THROW(store_->Import(WriteMeterFile(QStringLiteral("bad.csv"), bad)), MeterDataError);
    const std::atomic_bool cancelled{true};
    ImportOptions options;
    options.cancel = &cancelled;
    EXPECT_THROW(store_->Import(WriteMeterFile(QStringLiteral("good.csv"), Nem12Day()), options),
                 MeterDataError);
    EXPECT_TRUE(store_->Imports().empty());
    EXPECT_FALSE(store_->Range().first.isValid());
}

TEST_F(MeterStoreTest, RolesDefaultBySuffixAndCanBeChosen) {
    const QByteArray file = "200,N,E1E2B1,1,E1,N1,1,kWh,30,\n" + Nem300("20040201", 48, "1") +
                            "200,N,E1E2B1,2,E2,N2,1,kWh,30,\n" + Nem300("20040201", 48, "2") +
                            "200,N,E1E2B1,3,B1,N3,1,kWh,30,\n" + Nem300("20040201", 48, "3");
    store_->Import(WriteMeterFile(QStringLiteral("r.csv"), file));
    std::vector<UsageRow> rows = store_->Usage(Feb1, Feb1, false);
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_DOUBLE_EQ(rows[0].kwh[0], 48);
    EXPECT_DOUBLE_EQ(rows[0].kwh[1], 96);
    EXPECT_DOUBLE_EQ(rows[0].kwh[2], 144);

    ImportOptions options;
    options.roles[QStringLiteral("E2")] = ChannelRole::General;
    options.roles[QStringLiteral("B1")] = ChannelRole::Skip;
    const ImportResult r = store_->Import(WriteMeterFile(QStringLiteral("r.csv"), file), options);
    rows = store_->Usage(Feb1, Feb1, false);
    EXPECT_DOUBLE_EQ(rows[0].kwh[0], 144);
    EXPECT_DOUBLE_EQ(rows[0].kwh[1], 0);
    ASSERT_EQ(r.channels.size(), 3U);
    EXPECT_EQ(r.channels[2].role, ChannelRole::Skip);

    const IntervalArrays all = store_->Intervals(Feb1, Feb1);
    EXPECT_EQ(all.size(), 144U); // the skipped export stays as it was
    EXPECT_EQ(all.startUtc[0],
              QDateTime(QDate(2004, 1, 31), QTime(14, 0), QTimeZone::utc()).toSecsSinceEpoch());
}

TEST_F(MeterStoreTest, ARoleBelongsToOneMetersChannel) {
    // Two meters, each with an E1: 48 × 1 kWh and 48 × 2 kWh.
    const QByteArray file = "200,AAA,E1,1,E1,N1,1,kWh,30,\n" + Nem300("20040201", 48, "1") +
                            "200,BBB,E1,1,E1,N1,1,kWh,30,\n" + Nem300("20040201", 48, "2");
    const auto a = MeterChannelKey(QStringLiteral("AAA"), QStringLiteral("E1"));
    const auto b = MeterChannelKey(QStringLiteral("bbb"), QStringLiteral("e1")); // any case
    struct Case {
        const char* rule;
        std::map<QString, ChannelRole> every;
        MeterChannelRoles one;
        std::array<double, 3> kwh; // general, controlled load, export
        ChannelRole roleOfB;
    };
    const Case cases[] = {
        {"by default both general", {}, {}, {144, 0, 0}, ChannelRole::General},
        {"one meter's E1 controlled",
         {},
         {{b, ChannelRole::ControlledLoad}},
         {48, 96, 0},
         ChannelRole::ControlledLoad},
        {"one meter's E1 left out", {}, {{b, ChannelRole::Skip}}, {48, 0, 0}, ChannelRole::Skip},
        {"one meter wins over every meter",
         {{QStringLiteral("E1"), ChannelRole::Export}},
         {{a, ChannelRole::General}},
         {48, 0, 96},
         ChannelRole::Export},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        SetUp();
        ImportOptions options;
        options.roles = c.every;
        options.meterRoles = c.one;
        const QString path = WriteMeterFile(QStringLiteral("two.csv"), file);
        const ImportResult scanned = ScanMeterFile(path, options);
        const ImportResult r = store_->Import(path, options);
        ASSERT_EQ(r.channels.size(), 2U);
        EXPECT_EQ(scanned.channels[1].role, c.roleOfB);
        EXPECT_EQ(r.channels[1].role, c.roleOfB);
        const std::vector<UsageRow> rows = store_->Usage(Feb1, Feb1, false);
        ASSERT_EQ(rows.size(), 1U);
        for (int role = 0; role < 3; ++role) {
            EXPECT_DOUBLE_EQ(rows[0].kwh[role], c.kwh[static_cast<std::size_t>(role)]) << role;
        }
        // Imported again without a choice, each meter keeps its own role.
        store_->Import(path);
        EXPECT_DOUBLE_EQ(store_->Usage(Feb1, Feb1, false)[0].kwh[1], c.kwh[1]);
    }
}

TEST_F(MeterStoreTest, StoredValuesComeBackExactly) {
    // Small, large and many-decimal values take the day's different encodings.
    for (const char* value : {"0.001", "40000.5", "0.12345678", "1234567.25", "0"}) {
        SCOPED_TRACE(value);
        SetUp();
        store_->Import(WriteMeterFile(QStringLiteral("v.csv"), Nem12Day("N", "20040201", value)));
        const IntervalArrays all = store_->Intervals(Feb1, Feb1);
        ASSERT_EQ(all.size(), 48U);
        EXPECT_EQ(all.kwh[47], std::stod(value));
        EXPECT_EQ(all.quality[47], 'A');
    }
    // A partial day keeps its missing intervals missing.
    const QByteArray csv = "TYPE,DATE,START TIME,END TIME,USAGE (kWh)\n"
                           "Electric usage,2004-02-01,00:30,00:59,0.7\n";
    store_->Import(WriteMeterFile(QStringLiteral("p.csv"), csv));
    const IntervalArrays partial = store_->Intervals(Feb1, Feb1, QStringLiteral("Green Button"));
    ASSERT_EQ(partial.size(), 1U);
    EXPECT_EQ(partial.kwh[0], 0.7);
    EXPECT_EQ(partial.lengthMinutes[0], 30);
}

// A file of a gigabyte (sparse: it costs no disk) or a line, tag or text that
// never ends is refused with its reason as soon as the bound is passed, and
// stores nothing.
TEST_F(MeterStoreTest, AnEndlessFileIsRefusedWithItsReason) {
    const QByteArray nem = "100,NEM12,200402011200,MDP1,Retail1\n200,N,E1,1,E1,N1,1,kWh,30,\n"
                           "300,20040201";
    const QByteArray xml = "<?xml version=\"1.0\"?>\n<feed><entry>";
    struct Case {
        const char* rule;
        QByteArray head;
        qint64 size; // of the whole file, the rest zeros; 0: the head alone
        const char* reason;
    };
    const Case cases[] = {
        {"a gigabyte of zeros", "", qint64{1} << 30, ": the file holds binary data"},
        {"a gigabyte with no line end", nem + QByteArray(",1").repeated(3000), qint64{1} << 30,
         ", line 3: the line is too long"},
        {"a long line", nem + QByteArray(",1").repeated(600'000) + "\n900\n", 0,
         ", line 3: the line is too long"},
        {"a tag that never ends", xml + "<link rel=\"self\" href=\"" + QByteArray(2 << 20, 'a'), 0,
         "an element, text or comment runs past 1 MB"},
        {"elements nested without end", xml + QByteArray("<a>").repeated(100'000), 0,
         "the elements nest deeper than 64"},
        {"a link without end", xml + "<link rel=\"up\" href=\"" + QByteArray(4000, 'a') + "\"/>", 0,
         "an entry's links are longer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const QString path = WriteMeterFile(QStringLiteral("huge.csv"), c.head);
        if (c.size > 0) {
            ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), c.size), 0);
        }
        try {
            store_->Import(path);
            ADD_FAILURE() << "accepted";
        } catch (const MeterDataError& e) {
            EXPECT_TRUE(e.Message().startsWith(path)) << e.what();
            EXPECT_TRUE(e.Message().contains(QLatin1String(c.reason))) << e.what();
        }
        EXPECT_TRUE(store_->Imports().empty());
        QFile::remove(path);
    }
}

// In the forked child: imports the same five-day file again and again,
// telling `ready` when the first import is whole.
[[noreturn]] void Importer(const QString& db, const QString& file, int ready) {
    THistoryStore history(db);
    try {
        history.Open();
        MeterStore store(history.Database());
        store.Import(file);
        const char one = 1;
        if (::write(ready, &one, 1) != 1) {
            _exit(4);
        }
        for (;;) {
            store.Import(file);
        }
    } catch (...) {
        _exit(3);
    }
}

TEST(MeterStoreCrash, AKilledImportLeavesNoPartOfItself) {
    const QString db = TestEnv::DataDir() + QStringLiteral("/crash/meter.sqlite");
    QDir().mkpath(TestEnv::DataDir() + QStringLiteral("/crash"));
    QByteArray text = "200,N,E1,1,E1,N1,1,kWh,5,\n";
    for (QDate d(2004, 1, 1); d < QDate(2004, 1, 6); d = d.addDays(1)) {
        text += Nem300(d.toString(QStringLiteral("yyyyMMdd")).toLatin1().constData(), 288, "0.01");
    }
    const QString file = WriteMeterFile(QStringLiteral("crash.csv"), text);
    std::mt19937 random(20261209);
    std::size_t imports = 0;
    for (int round = 0; round < 25; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            Importer(db, file, ready[1]);
        }
        ::close(ready[1]);
        // The kill lands at a random point of a later import, however slow
        // the machine is.
        char got = 0;
        ASSERT_EQ(::read(ready[0], &got, 1), 1) << "round " << round;
        ::close(ready[0]);
        ::usleep(std::uniform_int_distribution<useconds_t>(2000, 60000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the importer stopped by itself, status " << status;

        THistoryStore history(db);
        ASSERT_EQ(history.Open(), HistoryFault::None);
        QSqlQuery q(history.Database());
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
        ASSERT_EQ(q.value(0).toString(), QStringLiteral("ok"));
        MeterStore store(history.Database());
        // Every import is whole: it counts all its intervals, and the days
        // hold the whole file once.
        for (const MeterImport& m : store.Imports()) {
            ASSERT_EQ(m.intervals, 5 * 288) << "round " << round;
        }
        if (!store.Imports().empty()) {
            ASSERT_NEAR(General(store, QDate(2004, 1, 1), QDate(2004, 1, 5)), 5 * 288 * 0.01, 1e-6);
        }
        imports = store.Imports().size();
    }
    EXPECT_GE(imports, 25U) << "every importer stored at least its first import";
}

} // namespace
