// The store keeps every field of a period, one period per pair of dates,
// newest first, and each change as a whole.

#include "history/historystore.h"

#include "historysamples.h"
#include "support/testenv.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QString StoreFile() {
    return TestEnv::DataDir() + QStringLiteral("/hist/history.sqlite");
}

TEST(HistoryStore, LivesInTheUsersDataFolder) {
    EXPECT_EQ(HistoryFileName(),
              TestEnv::DataDir() + QStringLiteral("/BrindleSoftware/voltisk/history.sqlite"));
}

TEST(HistoryStore, FollowsTheSettingsFolderRules) {
    const struct {
        const char *xdg, *home, *file;
    } cases[] = {
        {"/x/data//", "/home/u", "/x/data/BrindleSoftware/voltisk/history.sqlite"},
        {"", "/home/u/", "/home/u/.local/share/BrindleSoftware/voltisk/history.sqlite"},
        {"relative/data", "/", "/.local/share/BrindleSoftware/voltisk/history.sqlite"},
        {"", "", "BrindleSoftware/voltisk/history.sqlite"},
        {"relative/data", "relative", "BrindleSoftware/voltisk/history.sqlite"},
    };
    const QByteArray xdg = qgetenv("XDG_DATA_HOME"), home = qgetenv("HOME");
    for (const auto& c : cases) {
        qputenv("XDG_DATA_HOME", c.xdg);
        qputenv("HOME", c.home);
        EXPECT_EQ(HistoryFileName(), c.file) << c.xdg << " " << c.home;
    }
    qputenv("XDG_DATA_HOME", xdg);
    qputenv("HOME", home);
}

TEST(HistoryStore, NothingIsCreatedBeforeOpen) {
    THistoryStore store(StoreFile());
    EXPECT_FALSE(store.IsOpen());
    EXPECT_FALSE(QFileInfo::exists(StoreFile()));
    EXPECT_EQ(store.Open(), HistoryFault::None);
    EXPECT_TRUE(store.IsOpen());
    EXPECT_TRUE(QFileInfo::exists(StoreFile()));
}

TEST(HistoryStore, EveryFieldSurvivesARoundTripThroughTheFile) {
    HistoryPeriod standard = SamplePeriod(QDate(2024, 1, 31), QDate(2024, 3, 1), 1, false);
    standard.note = QStringLiteral("<b>\"Grüße\", naïve\r\nline 2\n</b> €");
    HistoryPeriod solar = SamplePeriod(QDate(2024, 3, 1), QDate(2024, 4, 2), 2, true);
    solar.typed.showHotWater = false;
    solar.typed.hwRate = QString(); // an empty field
    solar.currencySymbol = QStringLiteral("€");
    solar.moneyDecimals = 0;
    solar.billed = 123.45;
    solar.billDate = QDate(2024, 4, 9);
    solar.billReference = QStringLiteral("INV-7");
    solar.estimated = QStringList{QStringLiteral("export_after"), QStringLiteral("general_after")};
    solar.warnings = QStringList{QStringLiteral("one"), QStringLiteral("two")};
    {
        THistoryStore store(StoreFile());
        store.Open();
        standard.id = store.Add(standard);
        solar.id = store.Add(solar);
        EXPECT_NE(standard.id, solar.id);
    }
    THistoryStore reopened(StoreFile());
    reopened.Open();
    const std::vector<HistoryPeriod> all = reopened.Periods();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].id, solar.id);
    solar.typed.hwRate = QStringLiteral(""); // stored as an empty text
    ExpectSamePeriod(all[0], solar);
    ExpectSamePeriod(all[1], standard);
    EXPECT_EQ(all[1].days, 30); // 2024 is a leap year
}

TEST(HistoryStore, RecordsTheFiguresOfThePeriodCalculation) {
    const HistoryPeriod p =
        MakeHistoryPeriod(QDate(2026, 11, 8), QDate(2026, 12, 8), WorkedExampleInputs(),
                          QLocale(QStringLiteral("en_US")), 2, QDateTime::currentDateTimeUtc());
    EXPECT_EQ(p.days, 30);
    EXPECT_DOUBLE_EQ(p.Kwh(), 360.0);
    EXPECT_DOUBLE_EQ(p.fixed, 36.0);
    EXPECT_DOUBLE_EQ(p.variable, 84.0);
    EXPECT_DOUBLE_EQ(p.income, 0.0); // standard mode reads no feed-in
    EXPECT_DOUBLE_EQ(p.numbers.feedIn, 0.0);
    EXPECT_EQ(p.typed.feedIn, QStringLiteral("0.10"));
    EXPECT_DOUBLE_EQ(p.net, 120.0);
    EXPECT_DOUBLE_EQ(p.netPerDay, 4.0);
    EXPECT_EQ(p.currencySymbol, QStringLiteral("$"));
}

TEST(HistoryStore, OnePeriodPerPairOfDatesAndAReplacementKeepsTheNote) {
    THistoryStore store(StoreFile());
    store.Open();
    HistoryPeriod first = SamplePeriod(QDate(2026, 1, 1), QDate(2026, 2, 1), 1);
    first.note = QStringLiteral("keep me");
    first.id = store.Add(first);
    store.SetBill(first.id, 99.5, QDate(2026, 2, 9), QStringLiteral("A1"), {});
    HistoryPeriod second = SamplePeriod(QDate(2026, 1, 1), QDate(2026, 2, 1), 5);
    second.note.clear();
    store.Add(second);
    // Same first date, other later date: a period of its own.
    store.Add(SamplePeriod(QDate(2026, 1, 1), QDate(2026, 2, 2), 3));

    const auto all = store.Periods();
    ASSERT_EQ(all.size(), 2u);
    const auto found = store.Find(QDate(2026, 1, 1), QDate(2026, 2, 1));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->typed.generalAfter, second.typed.generalAfter);
    EXPECT_EQ(found->note, QStringLiteral("keep me"));
    EXPECT_EQ(found->billed, 99.5); // the bill belongs to the dates
    EXPECT_EQ(found->billReference, QStringLiteral("A1"));
    EXPECT_FALSE(store.Find(QDate(2026, 1, 2), QDate(2026, 2, 1)).has_value());
}

TEST(HistoryStore, NewestFirstThenRemoveAndNotes) {
    THistoryStore store(StoreFile());
    store.Open();
    const qint64 a = store.Add(SamplePeriod(QDate(2025, 1, 1), QDate(2025, 2, 1), 1));
    const qint64 c = store.Add(SamplePeriod(QDate(2025, 3, 1), QDate(2025, 4, 1), 3));
    const qint64 b = store.Add(SamplePeriod(QDate(2025, 2, 1), QDate(2025, 3, 1), 2));
    auto all = store.Periods();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].id, c);
    EXPECT_EQ(all[1].id, b);
    EXPECT_EQ(all[2].id, a);

    store.SetNote(b, QStringLiteral("edited, \"quoted\""));
    EXPECT_EQ(store.Remove({a, c, 12345}), 2);
    all = store.Periods();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].id, b);
    EXPECT_EQ(all[0].note, QStringLiteral("edited, \"quoted\""));
}

TEST(HistoryStore, ImportSkipsStoredPairsOfDatesInOneGo) {
    THistoryStore store(StoreFile());
    store.Open();
    HistoryPeriod stored = SamplePeriod(QDate(2025, 1, 1), QDate(2025, 2, 1), 1);
    store.Add(stored);
    const auto count = store.Import({SamplePeriod(QDate(2025, 1, 1), QDate(2025, 2, 1), 9),
                                     SamplePeriod(QDate(2025, 2, 1), QDate(2025, 3, 1), 2),
                                     SamplePeriod(QDate(2025, 3, 1), QDate(2025, 4, 1), 3)});
    EXPECT_EQ(count.added, 2);
    EXPECT_EQ(count.skipped, 1);
    EXPECT_EQ(store.Periods().size(), 3u);
    // The stored period was not replaced by the imported one.
    EXPECT_EQ(store.Find(QDate(2025, 1, 1), QDate(2025, 2, 1))->typed.generalAfter,
              stored.typed.generalAfter);
}

} // namespace
