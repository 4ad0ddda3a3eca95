#include "plans/page/tarifftablemodel.h"

#include <QFont>

namespace {

enum Column { Name, Total, Difference, Mine, Note, Columns };

} // namespace

void TTariffTableModel::SetRows(const QList<TariffRowTexts>& rows) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
}

int TTariffTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TTariffTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant TTariffTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) {
        return {};
    }
    const TariffRowTexts& r = rows_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Name:
            return r.name;
        case Total:
            return r.total;
        case Difference:
            return r.difference;
        case Mine:
            return r.myPlan;
        case Note:
            return r.note;
        default:
            return {};
        }
    case Qt::TextAlignmentRole:
        return index.column() == Total || index.column() == Difference
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole:
        if (r.cheapest) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    default:
        return {};
    }
}

QVariant TTariffTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case Name:
        return QStringLiteral("Plan");
    case Total:
        return QStringLiteral("Total");
    case Difference:
        return QStringLiteral("Against the cheapest");
    case Mine:
        return QStringLiteral("My plan");
    case Note:
        return QStringLiteral("Note");
    default:
        return {};
    }
}
