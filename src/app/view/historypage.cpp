#include "app/view/historypage.h"

#include "app/historypresenter.h"
#include "app/view/historychart.h"
#include "mylib/dates.h"
#include "mylib/money.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

using M = THistoryTableModel;

THistoryPage::THistoryPage(THistoryPresenter& presenter, QWidget* parent)
    : QWidget(parent), presenter_(presenter) {
    setObjectName(QStringLiteral("historypage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(BuildFaultPanel());
    layout->addLayout(BuildButtons());

    // The table across the page's width, so every column shows; the chart
    // under it. The user may move the line between them.
    auto* body = new QSplitter(Qt::Vertical, this);
    body->setChildrenCollapsible(false);
    body->addWidget(BuildTable(body));
    QString why;
    chart_ = LoadHistoryChart(body, &why);
    if (chart_) {
        chart_->Widget()->setMinimumHeight(120);
        body->addWidget(chart_->Widget());
    } else {
        auto* missing = new QLabel(why, body);
        missing->setWordWrap(true);
        body->addWidget(missing);
    }
    body->setStretchFactor(0, 1);
    body->setStretchFactor(1, 1);
    body->setSizes({1000, 1100});
    layout->addWidget(body, 1);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("historysummary"));
    summary_->setWordWrap(true);
    summary_->setTextFormat(Qt::PlainText);
    layout->addWidget(summary_);
    Connect();
    Refresh();
}

QWidget* THistoryPage::BuildFaultPanel() {
    faultPanel_ = new QWidget(this);
    auto* row = new QHBoxLayout(faultPanel_);
    row->setContentsMargins(0, 0, 0, 0);
    faultText_ = new QLabel(faultPanel_);
    faultText_->setObjectName(QStringLiteral("historyfault"));
    faultText_->setWordWrap(true);
    faultText_->setTextFormat(Qt::PlainText);
    row->addWidget(faultText_, 1);
    tryAgain_ = Button(QStringLiteral("Try again"), "historytryagainbtn");
    newHistory_ = Button(QStringLiteral("Start a new history"), "historynewbtn");
    row->addWidget(tryAgain_);
    row->addWidget(newHistory_);
    return faultPanel_;
}

QLayout* THistoryPage::BuildButtons() {
    auto* buttons = new QHBoxLayout;
    add_ = Button(QStringLiteral("Add current period"), "historyaddbtn");
    open_ = Button(QStringLiteral("Open in readings"), "historyopenbtn");
    delete_ = Button(QStringLiteral("Delete"), "historydeletebtn");
    export_ = Button(QStringLiteral("Export CSV…"), "historyexportbtn");
    import_ = Button(QStringLiteral("Import CSV…"), "historyimportbtn");
    backUp_ = Button(QStringLiteral("Back up history…"), "historybackupbtn");
    restore_ = Button(QStringLiteral("Restore…"), "historyrestorebtn");
    add_->setToolTip(QStringLiteral("Store the period on the Standard readings page (Ctrl+S)"));
    for (QPushButton* b : {add_, open_, delete_}) {
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    buttons->addWidget(export_);
    buttons->addWidget(import_);
    buttons->addWidget(backUp_);
    buttons->addWidget(restore_);
    return buttons;
}

QWidget* THistoryPage::BuildTable(QWidget* parent) {
    table_ = new QTableView(parent);
    table_->setObjectName(QStringLiteral("historytable"));
    table_->setAccessibleName(QStringLiteral("Stored periods"));
    // Tab leaves the table for the buttons and the chart; arrows move in it.
    table_->setTabKeyNavigation(false);
    table_->setModel(&presenter_.Model());
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->horizontalHeader()->setSortIndicator(M::To, Qt::DescendingOrder);
    table_->setSortingEnabled(true);
    // Widths from sample texts, not from every row: a long history opens at once.
    const TLocales locales = presenter_.Locales();
    const QString date = FormatShortDate(QDate(2026, 12, 28), locales.dates);
    const QString money = FormatMoney(9999.0, locales.money, MoneyDecimals());
    const QStringList samples{date,
                              date,
                              QStringLiteral("365"),
                              QStringLiteral("99999.9"),
                              QStringLiteral("999.9"),
                              money,
                              money,
                              money,
                              money,
                              money};
    for (int c = 0; c < samples.size(); ++c) {
        const QString head = presenter_.Model().headerData(c, Qt::Horizontal).toString();
        table_->setColumnWidth(c, std::max(fontMetrics().horizontalAdvance(samples[c]),
                                           fontMetrics().horizontalAdvance(head) + 16) +
                                      12);
    }
    table_->horizontalHeader()->setStretchLastSection(true);
    return table_;
}

void THistoryPage::Connect() {
    connect(add_, &QPushButton::clicked, this, [this] { presenter_.AddCurrentPeriod(); });
    connect(open_, &QPushButton::clicked, this, [this] {
        const QList<int> rows = SelectedRows();
        if (rows.size() == 1) {
            presenter_.OpenInReadings(rows[0]);
        }
    });
    connect(delete_, &QPushButton::clicked, this,
            [this] { presenter_.DeleteRows(SelectedRows()); });
    connect(export_, &QPushButton::clicked, this, [this] { presenter_.ExportCsv(); });
    connect(import_, &QPushButton::clicked, this, [this] { presenter_.ImportCsv(); });
    connect(backUp_, &QPushButton::clicked, this, [this] { presenter_.BackUpHistory(); });
    connect(restore_, &QPushButton::clicked, this, [this] { presenter_.RestoreHistory(); });
    connect(tryAgain_, &QPushButton::clicked, this, [this] { presenter_.TryAgain(); });
    connect(newHistory_, &QPushButton::clicked, this, [this] { presenter_.StartNewHistory(); });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { RefreshSelection(); });
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() != M::Note) {
            presenter_.OpenInReadings(index.row());
        }
    });
    connect(&presenter_.Model(), &QAbstractItemModel::modelReset, this, [this] { Refresh(); });
}

QPushButton* THistoryPage::Button(const QString& text, const char* name) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QList<int> THistoryPage::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows()) {
        rows << i.row();
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void THistoryPage::Refresh() {
    const HistoryFault fault = presenter_.Fault();
    faultPanel_->setVisible(fault != HistoryFault::None);
    faultText_->setText(presenter_.FaultText());
    const bool usable = fault == HistoryFault::None;
    add_->setEnabled(usable);
    import_->setEnabled(usable);
    export_->setEnabled(fault == HistoryFault::None || fault == HistoryFault::ReadOnly);
    backUp_->setEnabled(export_->isEnabled());
    RefreshChart();
    RefreshSelection();
}

void THistoryPage::RefreshSelection() {
    const QList<int> rows = SelectedRows();
    const bool changeable = presenter_.Fault() == HistoryFault::None;
    open_->setEnabled(rows.size() == 1);
    delete_->setEnabled(changeable && !rows.isEmpty());
    summary_->setText(presenter_.SummaryLine(rows.size() == 1 ? rows[0] : -1));
}

void THistoryPage::RefreshChart() {
    if (!chart_) {
        return;
    }
    const THistoryTableModel& model = presenter_.Model();
    std::vector<const HistoryPeriod*> latest;
    for (const HistoryPeriod& p : model.Periods()) {
        latest.push_back(&p);
    }
    std::sort(latest.begin(), latest.end(), [](const HistoryPeriod* a, const HistoryPeriod* b) {
        return std::pair(a->to, a->from) > std::pair(b->to, b->from);
    });
    latest.resize(std::min<std::size_t>(latest.size(), ChartPeriods));
    std::vector<HistoryChartPoint> points;
    const TLocales locales = presenter_.Locales();
    for (auto it = latest.rbegin(); it != latest.rend(); ++it) {
        const HistoryPeriod& p = **it;
        const int row = model.RowOf(p.id);
        auto text = [&](int column) { return model.data(model.index(row, column)).toString(); };
        HistoryChartPoint point;
        point.from = p.from;
        point.to = p.to;
        point.netPerDay = p.netPerDay;
        point.kwhPerDay = p.KwhPerDay();
        point.incomePerDay = p.income / static_cast<double>(std::max<qint64>(p.days, 1));
        point.tooltip = QStringLiteral("%1 to %2, %3 days\nNet %4, %5 a day\n%6 kWh, %7 kWh a day")
                            .arg(text(M::From), text(M::To), text(M::Days), text(M::Net),
                                 text(M::NetPerDay), text(M::Kwh), text(M::KwhPerDay));
        if (p.income != 0) {
            point.tooltip += QStringLiteral("\nIncome %1").arg(text(M::Income));
        }
        points.push_back(point);
    }
    chart_->SetPoints(points, QStringLiteral("Net a day (%1)").arg(locales.money.currencySymbol()),
                      locales.money);
}
