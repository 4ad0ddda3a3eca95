#include "plans/plantablemodel.h"

#include <utility>

TPlanTableModel::TPlanTableModel(QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), headings_(std::move(headings)) {}

void TPlanTableModel::SetRows(QList<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

QList<TPlanTableModel::Row> TPlanTableModel::Compared(const QList<PlanTableRow>& rows) {
    QList<Row> out;
    for (const PlanTableRow& r : rows) {
        const PlanRowTexts& t = r.texts;
        out.append({{t.name, t.fixed, t.variable, t.income, t.tax, t.net, t.perDay, t.difference},
                    r.cheaper,
                    r.cheapest});
    }
    return out;
}

QList<TPlanTableModel::Row> TPlanTableModel::Year(const QList<YearRow>& rows) {
    QList<Row> out;
    for (const YearRow& r : rows) {
        out.append({{r.name, r.total, r.savingPerYear}, r.cheaper, false});
    }
    return out;
}

QList<TPlanTableModel::Row> TPlanTableModel::Breakdown(const QList<BreakdownTexts>& lines) {
    QList<Row> out;
    for (const BreakdownTexts& l : lines) {
        out.append({{l.item, l.kwh, l.rate, l.cost}, false, false});
    }
    if (!out.isEmpty()) {
        out.back().emphasised = true; // the total
    }
    return out;
}

int TPlanTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TPlanTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant TPlanTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size() || index.column() >= headings_.size()) {
        return {};
    }
    const Row& r = rows_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() < r.texts.size() ? r.texts[index.column()] : QString();
    case Qt::TextAlignmentRole:
        // The name keeps the view's own alignment.
        return index.column() > 0 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case CheaperRole:
        return r.cheaper;
    case EmphasisRole:
        return r.emphasised;
    default:
        return {};
    }
}

QVariant TPlanTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= headings_.size()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return headings_[section];
}
