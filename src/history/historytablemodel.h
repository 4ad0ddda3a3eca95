#pragma once
// The History page's table: a Qt model over the periods the presenter read
// from the store, newest first until the user sorts by a column. Money texts
// are the program's own (FormatMoney), dates the locale's short form, kWh as
// the readings page writes them. The check column names a bill off by more
// than a cent a day and kept reading warnings; its tooltip says why. Only the
// note is editable; an edit goes to
// the store through `noteEditor` and shows only when that succeeded.

#include "history/periodrecord.h"
#include "mylib/locales.h"

#include <QAbstractTableModel>
#include <QLocale>
#include <functional>
#include <vector>

class THistoryTableModel : public QAbstractTableModel {
public:
    enum Column {
        From,
        To,
        Days,
        Kwh,
        KwhPerDay,
        Fixed,
        Variable,
        Income,
        Net,
        NetPerDay,
        Billed,     // the amount billed, empty without a bill
        Difference, // billed minus net
        Check,      // "Check bill" and/or "Readings" when something is amiss
        Note
    };
    static constexpr int ColumnCount = Note + 1;
    // The value a column sorts by, for SortRole.
    static constexpr int SortRole = Qt::UserRole;

    // Dates in `locales.dates`, kWh in `locales.numbers`, money in `locales.money`.
    THistoryTableModel(TLocales locales, int moneyDecimals, QObject* parent = nullptr);
    THistoryTableModel(const QLocale& locale, int moneyDecimals, QObject* parent = nullptr)
        : THistoryTableModel(TLocales::Uniform(locale), moneyDecimals, parent) {}

    void SetPeriods(std::vector<HistoryPeriod> periods);
    const std::vector<HistoryPeriod>& Periods() const { return periods_; }
    const HistoryPeriod& Period(int row) const {
        return periods_.at(static_cast<std::size_t>(row));
    }
    // The row showing the period with this id, or -1.
    int RowOf(qint64 id) const;

    // Shows new reading warnings for the period in `row`.
    void SetWarnings(int row, const QStringList& warnings);

    // Stores a new note; false leaves the table unchanged.
    std::function<bool(qint64 id, const QString& note)> noteEditor;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QString Text(const HistoryPeriod& p, int column) const;
    // The bill check's sentence and cause, then the kept reading warnings.
    QString CheckTip(const HistoryPeriod& p) const;
    QVariant SortValue(const HistoryPeriod& p, int column) const;

    TLocales locales_;
    int moneyDecimals_;
    std::vector<HistoryPeriod> periods_;
};
