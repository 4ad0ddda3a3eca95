#pragma once
// The Compare plans page's tables of flat plans as a Qt model: the plans
// compared on the period, the year at a glance and the selected tariff plan's
// breakdown. Each row is texts the presenters made in the window's locale, in
// the presenters' order (no sorting); the first column is left-aligned, the
// figures right-aligned. A row costing less than the reference and a row to
// stand out (the cheapest plan, the breakdown's total) are marked through
// their own roles, which the page draws green and bold. Read-only.

#include "plans/planspresenter.h"
#include "plans/tariffpresenter.h"

#include <QAbstractTableModel>
#include <QStringList>

class TPlanTableModel : public QAbstractTableModel {
public:
    struct Row {
        QStringList texts; // one a column
        bool cheaper = false;
        bool emphasised = false;
    };
    // Every cell of a row that costs less than the reference: true.
    static constexpr int CheaperRole = Qt::UserRole;
    // Every cell of the cheapest plan's row or of the breakdown's total: true.
    static constexpr int EmphasisRole = Qt::UserRole + 1;

    explicit TPlanTableModel(QStringList headings, QObject* parent = nullptr);

    void SetRows(QList<Row> rows);
    // The rows of each table from what the presenters give.
    static QList<Row> Compared(const QList<PlanTableRow>& rows);
    static QList<Row> Year(const QList<YearRow>& rows);
    static QList<Row> Breakdown(const QList<BreakdownTexts>& lines);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList headings_;
    QList<Row> rows_;
};
