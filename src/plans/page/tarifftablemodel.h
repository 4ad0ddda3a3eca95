#pragma once
// The ranked tariff plans of the Compare plans page as a table model: one row
// per plan, cheapest first, with its total, what it costs more than the
// cheapest, the "my plan" mark and its note. The cheapest rows are bold,
// figures right-aligned; names are plain text.

#include "plans/tariffpresenter.h"

#include <QAbstractTableModel>

class TTariffTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(const QList<TariffRowTexts>& rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<TariffRowTexts> rows_;
};
