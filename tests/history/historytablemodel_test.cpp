// The table shows the program's own money and kWh texts, sorts by the values
// behind them, and takes a note only when the store took it.

#include "history/historytablemodel.h"

#include "historysamples.h"

#include <QPersistentModelIndex>
#include <gtest/gtest.h>

namespace {

using M = THistoryTableModel;

HistoryPeriod Example(QDate from, QDate to, qint64 id) {
    HistoryPeriod p =
        MakeHistoryPeriod(from, to, WorkedExampleInputs(), QLocale(QStringLiteral("en_US")), 2,
                          QDateTime::currentDateTimeUtc());
    p.id = id;
    return p;
}

QString Cell(const M& m, int row, int column) {
    return m.data(m.index(row, column)).toString();
}

TEST(HistoryTableModel, TheWorkedExampleReadsAsTheReadingsPageWritesIt) {
    M m(QLocale(QStringLiteral("en_US")), 2);
    m.SetPeriods({Example(QDate(2026, 11, 8), QDate(2026, 12, 8), 1)});
    ASSERT_EQ(m.rowCount(), 1);
    ASSERT_EQ(m.columnCount(), 14);
    const QStringList expected{"11/8/2026", "12/8/2026", "30",    "360.0",   "12.0",
                               "$36.00",    "$84.00",    "$0.00", "$120.00", "$4.00",
                               "",          "",          "",      ""};
    for (int c = 0; c < M::ColumnCount; ++c) {
        EXPECT_EQ(Cell(m, 0, c), expected[c]) << c;
    }
    EXPECT_EQ(m.headerData(M::NetPerDay, Qt::Horizontal).toString(), QStringLiteral("Net a day"));
    EXPECT_EQ(m.headerData(M::KwhPerDay, Qt::Horizontal).toString(), QStringLiteral("kWh a day"));

    // A bill $12.40 over (more than 30 cents) and a kept warning: the check
    // column says both, its tooltip why.
    HistoryPeriod billed = Example(QDate(2026, 11, 8), QDate(2026, 12, 8), 1);
    billed.billed = 132.40;
    billed.warnings = QStringList{QStringLiteral("A gap.")};
    m.SetPeriods({billed});
    EXPECT_EQ(Cell(m, 0, M::Billed), QStringLiteral("$132.40"));
    EXPECT_EQ(Cell(m, 0, M::Difference), QStringLiteral("$12.40"));
    EXPECT_EQ(Cell(m, 0, M::Check), QStringLiteral("Check bill, Readings"));
    // The tip is escaped text in a paragraph that keeps its lines.
    EXPECT_TRUE(m.data(m.index(0, M::Check), Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral(">Billed $12.40 more than these readings and rates "
                                             "give.\nThe bill matches")));

    // Another locale: its own dates and money.
    M de(QLocale(QStringLiteral("de_DE")), 2);
    de.SetPeriods({Example(QDate(2026, 11, 8), QDate(2026, 12, 8), 1)});
    EXPECT_EQ(Cell(de, 0, M::From), QStringLiteral("08.11.2026"));
    EXPECT_EQ(Cell(de, 0, M::Net), QStringLiteral("120,00\u00A0€"));
    EXPECT_EQ(Cell(de, 0, M::Kwh), QStringLiteral("360,0"));
}

TEST(HistoryTableModel, SortsByTheValuesNotTheTexts) {
    M m(QLocale(QStringLiteral("en_US")), 2);
    HistoryPeriod a = Example(QDate(2026, 1, 1), QDate(2026, 1, 31), 1); // $4.00 a day
    HistoryPeriod b = Example(QDate(2026, 2, 1), QDate(2026, 2, 11), 2);
    b.net = 1000; // "$1,000.00" sorts before "$120.00" as text
    HistoryPeriod c = Example(QDate(2026, 3, 1), QDate(2026, 3, 4), 3);
    c.net = 9;
    m.SetPeriods({c, b, a});
    const QPersistentModelIndex held(m.index(0, M::Note)); // period c
    m.sort(M::Net, Qt::AscendingOrder);
    EXPECT_EQ(Cell(m, 0, M::Net), QStringLiteral("$9.00"));
    EXPECT_EQ(Cell(m, 1, M::Net), QStringLiteral("$120.00"));
    EXPECT_EQ(Cell(m, 2, M::Net), QStringLiteral("$1,000.00"));
    EXPECT_EQ(held.row(), 0);
    m.sort(M::From, Qt::DescendingOrder);
    EXPECT_EQ(m.Period(0).id, 3);
    EXPECT_EQ(m.Period(2).id, 1);
    EXPECT_EQ(held.row(), 0);
    m.sort(M::Days, Qt::AscendingOrder);
    EXPECT_EQ(m.Period(0).id, 3);
    EXPECT_EQ(m.Period(1).id, 2);
    EXPECT_EQ(held.row(), 0);
    EXPECT_EQ(m.RowOf(1), 2);
    EXPECT_EQ(m.RowOf(99), -1);
}

TEST(HistoryTableModel, OnlyTheNoteIsEditableAndOnlyWhenStored) {
    M m(QLocale(QStringLiteral("en_US")), 2);
    m.SetPeriods({Example(QDate(2026, 1, 1), QDate(2026, 1, 31), 7)});
    EXPECT_FALSE(m.flags(m.index(0, M::Net)) & Qt::ItemIsEditable);
    EXPECT_TRUE(m.flags(m.index(0, M::Note)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m.setData(m.index(0, M::Net), QStringLiteral("$1.00")));

    QList<std::pair<qint64, QString>> stored;
    bool accept = false;
    m.noteEditor = [&](qint64 id, const QString& note) {
        stored.append({id, note});
        return accept;
    };
    EXPECT_FALSE(m.setData(m.index(0, M::Note), QStringLiteral("refused")));
    EXPECT_EQ(Cell(m, 0, M::Note), QString());
    accept = true;
    EXPECT_TRUE(m.setData(m.index(0, M::Note), QStringLiteral("<b>kept</b>")));
    EXPECT_EQ(Cell(m, 0, M::Note), QStringLiteral("<b>kept</b>"));
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[1].first, 7);
    EXPECT_EQ(stored[1].second, QStringLiteral("<b>kept</b>"));
}

} // namespace
