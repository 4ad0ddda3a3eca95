// The flat plans' tables as a model: every table's cells, alignment and row
// marks, in the presenters' order.
#include "plans/plantablemodel.h"

#include <gtest/gtest.h>

namespace {

// A row as "text|text|...", then "c" when cheaper, "e" when emphasised, and
// "R" for each right-aligned cell.
QString Describe(const TPlanTableModel& m, int row) {
    QStringList texts;
    QString marks;
    for (int c = 0; c < m.columnCount(); ++c) {
        const QModelIndex i = m.index(row, c);
        texts << i.data(Qt::DisplayRole).toString();
        if (i.data(Qt::TextAlignmentRole).isValid()) {
            marks += i.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight
                         ? QStringLiteral("R")
                         : QStringLiteral("L");
        }
        // The marks hold for every cell of the row.
        EXPECT_EQ(i.data(TPlanTableModel::CheaperRole),
                  m.index(row, 0).data(TPlanTableModel::CheaperRole));
        EXPECT_EQ(i.data(TPlanTableModel::EmphasisRole),
                  m.index(row, 0).data(TPlanTableModel::EmphasisRole));
    }
    const QModelIndex first = m.index(row, 0);
    return texts.join(u'|') + u' ' +
           (first.data(TPlanTableModel::CheaperRole).toBool() ? QStringLiteral("c") : QString()) +
           (first.data(TPlanTableModel::EmphasisRole).toBool() ? QStringLiteral("e") : QString()) +
           u' ' + marks;
}

QStringList DescribeAll(const TPlanTableModel& m) {
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r) {
        out << Describe(m, r);
    }
    return out;
}

} // namespace

TEST(PlanTableModel, EachTableShowsThePresentersRowsInTheirOrder) {
    PlanTableRow typed{{"As typed", "$16.00", "$40.00", "$0.00", "$0.00", "$56.00", "$3.50", ""}};
    PlanTableRow saver{
        {"Saver", "$14.00", "$36.00", "$0.00", "$5.00", "$55.00", "$3.44", "$1.00 cheaper"},
        true,
        true};
    PlanTableRow dear{
        {"Dear", "$20.00", "$50.00", "$0.00", "$7.00", "$77.00", "$4.81", "$21.00 dearer"}};
    const struct {
        const char* table;
        QStringList headings;
        QList<TPlanTableModel::Row> rows;
        QStringList expected;
    } cases[] = {
        {"compared",
         {"Plan", "Fixed", "Variable", "Income", "Tax", "Net", "Cost a day", "Difference"},
         TPlanTableModel::Compared({typed, saver, dear}),
         {"As typed|$16.00|$40.00|$0.00|$0.00|$56.00|$3.50|  RRRRRRR",
          "Saver|$14.00|$36.00|$0.00|$5.00|$55.00|$3.44|$1.00 cheaper ce RRRRRRR",
          "Dear|$20.00|$50.00|$0.00|$7.00|$77.00|$4.81|$21.00 dearer  RRRRRRR"}},
        {"year",
         {"Plan", "Year total", "Saving a year"},
         TPlanTableModel::Year(
             {{"Paid", "$700.00", "", 700, false}, {"Saver", "$650.00", "$50.00", 650, true}}),
         {"Paid|$700.00|  RR", "Saver|$650.00|$50.00 c RR"}},
        {"breakdown",
         {"Part", "kWh", "Rate", "Cost"},
         TPlanTableModel::Breakdown({{"Supply", "", "", "$1.00"},
                                     {"Peak", "6.00", "$0.5000", "$3.00"},
                                     {"Total", "", "", "$4.00"}}),
         {"Supply|||$1.00  RRR", "Peak|6.00|$0.5000|$3.00  RRR", "Total|||$4.00 e RRR"}},
        {"empty breakdown", {"Part"}, TPlanTableModel::Breakdown({}), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table);
        TPlanTableModel m(c.headings);
        m.SetRows(c.rows);
        EXPECT_EQ(DescribeAll(m), c.expected);
        ASSERT_EQ(m.columnCount(), c.headings.size());
        for (int i = 0; i < m.columnCount(); ++i) {
            EXPECT_EQ(m.headerData(i, Qt::Horizontal, Qt::DisplayRole).toString(), c.headings[i]);
        }
        EXPECT_FALSE(m.flags(m.index(0, 0)) & Qt::ItemIsEditable);
    }
}
