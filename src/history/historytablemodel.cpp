#include "history/historytablemodel.h"

#include "history/billcheck.h"

#include "mylib/dates.h"
#include "mylib/money.h"
#include "mylib/numbers.h"

#include <algorithm>
#include <limits>

THistoryTableModel::THistoryTableModel(TLocales locales, int moneyDecimals, QObject* parent)
    : QAbstractTableModel(parent), locales_(std::move(locales)), moneyDecimals_(moneyDecimals) {}

void THistoryTableModel::SetPeriods(std::vector<HistoryPeriod> periods) {
    beginResetModel();
    periods_ = std::move(periods);
    endResetModel();
}

int THistoryTableModel::RowOf(qint64 id) const {
    for (std::size_t i = 0; i < periods_.size(); ++i) {
        if (periods_[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void THistoryTableModel::SetWarnings(int row, const QStringList& warnings) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    periods_[static_cast<std::size_t>(row)].warnings = warnings;
    emit dataChanged(index(row, Check), index(row, Check), {Qt::DisplayRole, Qt::ToolTipRole});
}

int THistoryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(periods_.size());
}

int THistoryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString THistoryTableModel::Text(const HistoryPeriod& p, int column) const {
    const QChar sep = DecimalSeparator(locales_.numbers);
    auto money = [&](double v) { return FormatMoney(v, locales_.money, moneyDecimals_); };
    switch (column) {
    case From:
        return FormatShortDate(p.from, locales_.dates);
    case To:
        return FormatShortDate(p.to, locales_.dates);
    case Days:
        return QString::number(p.days);
    case Kwh:
        return KwhText(p.Kwh(), p.typed.solar ? 0 : 1, sep);
    case KwhPerDay:
        return KwhText(p.KwhPerDay(), 1, sep);
    case Fixed:
        return money(p.fixed);
    case Variable:
        return money(p.variable);
    case Income:
        return money(p.income);
    case Net:
        return money(p.net);
    case NetPerDay:
        return money(p.netPerDay);
    case Billed:
        return p.billed ? money(*p.billed) : QString();
    case Difference:
        return p.billed ? money(*p.billed - p.net) : QString();
    case Check: {
        QStringList marks;
        if (CheckBill(p, locales_.money, moneyDecimals_).flagged) {
            marks << QStringLiteral("Check bill");
        }
        if (!p.warnings.isEmpty()) {
            marks << QStringLiteral("Readings");
        }
        return marks.join(QStringLiteral(", "));
    }
    case Note:
        return p.note;
    default:
        return QString();
    }
}

QString THistoryTableModel::CheckTip(const HistoryPeriod& p) const {
    QStringList lines;
    const BillCheck bill = CheckBill(p, locales_.money, moneyDecimals_);
    if (bill.billed) {
        lines << bill.sentence;
        if (!bill.cause.isEmpty()) {
            lines << bill.cause;
        }
    }
    lines << p.warnings;
    return lines.join(QLatin1Char('\n'));
}

QVariant THistoryTableModel::SortValue(const HistoryPeriod& p, int column) const {
    switch (column) {
    case From:
        return p.from;
    case To:
        return p.to;
    case Days:
        return p.days;
    case Kwh:
        return p.Kwh();
    case KwhPerDay:
        return p.KwhPerDay();
    case Fixed:
        return p.fixed;
    case Variable:
        return p.variable;
    case Income:
        return p.income;
    case Net:
        return p.net;
    case NetPerDay:
        return p.netPerDay;
    case Billed:
        return p.billed ? QVariant(*p.billed) : QVariant(-std::numeric_limits<double>::infinity());
    case Difference:
        return p.billed ? QVariant(*p.billed - p.net)
                        : QVariant(-std::numeric_limits<double>::infinity());
    case Check:
        return Text(p, Check);
    default:
        return p.note;
    }
}

QVariant THistoryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return QVariant();
    }
    const HistoryPeriod& p = Period(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Text(p, index.column());
    case Qt::ToolTipRole: {
        // A tooltip that looks like markup is drawn as markup (and an image
        // in it loaded), so every tip goes as escaped text with its lines kept.
        const auto plain = [](const QString& text) {
            return text.isEmpty()
                       ? QVariant()
                       : QVariant(QStringLiteral("<p style='white-space:pre-wrap'>%1</p>")
                                      .arg(text.toHtmlEscaped()));
        };
        if (index.column() == Check || index.column() == Difference) {
            return plain(CheckTip(p));
        }
        return index.column() == Note ? plain(p.note) : QVariant();
    }
    case Qt::TextAlignmentRole:
        return index.column() == Note || index.column() == Check
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case SortRole:
        return SortValue(p, index.column());
    default:
        return QVariant();
    }
}

QVariant THistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const names[ColumnCount] = {
        "From",   "To",  "Days",      "kWh",    "kWh a day",  "Fixed", "Variable",
        "Income", "Net", "Net a day", "Billed", "Difference", "Check", "Note"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromLatin1(names[section]);
}

Qt::ItemFlags THistoryTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Note) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool THistoryTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != Note || role != Qt::EditRole ||
        index.row() >= rowCount()) {
        return false;
    }
    HistoryPeriod& p = periods_[static_cast<std::size_t>(index.row())];
    const QString note = value.toString();
    if (note == p.note) {
        return true;
    }
    if (!noteEditor || !noteEditor(p.id, note)) {
        return false;
    }
    p.note = note;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::ToolTipRole});
    return true;
}

void THistoryTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount) {
        return;
    }
    // Sort row numbers by cached keys rather than moving whole periods.
    std::vector<QVariant> keys;
    keys.reserve(periods_.size());
    for (const HistoryPeriod& p : periods_) {
        keys.push_back(SortValue(p, column));
    }
    auto before = [&](std::size_t a, std::size_t b) {
        const auto c = QVariant::compare(keys[a], keys[b]);
        return order == Qt::AscendingOrder ? c == QPartialOrdering::Less
                                           : c == QPartialOrdering::Greater;
    };
    std::vector<std::size_t> rows(periods_.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = i;
    }
    if (std::is_sorted(rows.begin(), rows.end(), before)) {
        return; // the store's order already, as when the table first shows
    }
    std::stable_sort(rows.begin(), rows.end(), before);
    emit layoutAboutToBeChanged();
    std::vector<int> newRow(rows.size());
    std::vector<HistoryPeriod> sorted;
    sorted.reserve(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        newRow[rows[k]] = static_cast<int>(k);
        sorted.push_back(std::move(periods_[rows[k]]));
    }
    periods_ = std::move(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    for (const QModelIndex& i : from) {
        to << index(newRow[static_cast<std::size_t>(i.row())], i.column());
    }
    changePersistentIndexList(from, to);
    emit layoutChanged();
}
