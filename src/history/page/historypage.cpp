#include "history/page/historypage.h"

#include "app/view/lazytab.h"
#include "history/historypresenter.h"
#include "history/page/changebars.h"
#include "history/page/historychart.h"
#include "mylib/dates.h"
#include "mylib/money.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

using M = THistoryTableModel;

THistoryPage::THistoryPage(THistoryPresenter& presenter, TFaultLine& fault, QWidget* parent)
    : QWidget(parent), presenter_(presenter), fault_(fault) {
    setObjectName(QStringLiteral("historypage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    BuildFaultButtons();
    layout->addLayout(BuildButtons());
    layout->addWidget(BuildBillPanel());

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
    // The answers: why the selected period's cost changed, and what the
    // readings page's period will cost while it runs. The forecast sits here
    // beside the bills rather than on the status line, which other messages
    // overwrite and a timer clears.
    for (QLabel** label : {&change_, &forecast_}) {
        *label = new QLabel(this);
        (*label)->setWordWrap(true);
        (*label)->setTextFormat(Qt::PlainText);
    }
    auto* change = new QHBoxLayout;
    changeBars_ = new THistoryChangeBars(this);
    change->addWidget(change_, 1, Qt::AlignTop);
    change->addWidget(changeBars_, 0, Qt::AlignTop);
    layout->addLayout(change);
    layout->addWidget(forecast_);
    change_->setObjectName(QStringLiteral("historychange"));
    forecast_->setObjectName(QStringLiteral("historyforecast"));
    Connect();
    Refresh();
}

void THistoryPage::BuildFaultButtons() {
    tryAgain_ = Button(QStringLiteral("Try again"), "historytryagainbtn");
    newHistory_ = Button(QStringLiteral("Start a new history"), "historynewbtn");
    fault_.AddButton(tryAgain_);
    fault_.AddButton(newHistory_);
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

QWidget* THistoryPage::BuildBillPanel() {
    billPanel_ = new QWidget(this);
    auto* row = new QHBoxLayout(billPanel_);
    row->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(QStringLiteral("Bill for the selected period:"), billPanel_);
    billed_ = new QLineEdit(billPanel_);
    billed_->setObjectName(QStringLiteral("historybilled"));
    billed_->setPlaceholderText(QStringLiteral("Amount billed"));
    billed_->setAccessibleName(QStringLiteral("Amount billed"));
    billDate_ = new QDateEdit(billPanel_);
    billDate_->setObjectName(QStringLiteral("historybilldate"));
    billDate_->setAccessibleName(QStringLiteral("Bill date"));
    billDate_->setCalendarPopup(true);
    billDate_->setDisplayFormat(ShortDateFormat(presenter_.Locales().dates));
    billReference_ = new QLineEdit(billPanel_);
    billReference_->setObjectName(QStringLiteral("historybillreference"));
    billReference_->setPlaceholderText(QStringLiteral("Reference (optional)"));
    billReference_->setAccessibleName(QStringLiteral("Bill reference"));
    startEstimated_ = new QCheckBox(QStringLiteral("Start readings estimated"), billPanel_);
    endEstimated_ = new QCheckBox(QStringLiteral("End readings estimated"), billPanel_);
    saveBill_ = Button(QStringLiteral("Save bill"), "historysavebillbtn");
    title->setBuddy(billed_);
    row->addWidget(title);
    row->addWidget(billed_);
    row->addWidget(billDate_);
    row->addWidget(billReference_, 1);
    row->addWidget(startEstimated_);
    row->addWidget(endEstimated_);
    row->addWidget(saveBill_);
    return billPanel_;
}

void THistoryPage::SaveBill() {
    const QList<int> rows = SelectedRows();
    if (rows.size() != 1) {
        return;
    }
    const qint64 id = presenter_.Model().Period(rows[0]).id;
    presenter_.SetBill(rows[0], billed_->text(), billDate_->date(), billReference_->text(),
                       startEstimated_->isChecked(), endEstimated_->isChecked());
    // The table was read again: select the same period.
    const int row = presenter_.Model().RowOf(id);
    if (row >= 0) {
        table_->selectRow(row);
    }
}

void THistoryPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    forecast_->setText(presenter_.ForecastLine()); // the readings may have changed meanwhile
    forecast_->setVisible(!forecast_->text().isEmpty());
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
    const QString money = FormatMoney(9999.0, locales.money, presenter_.MoneyDecimals());
    const QStringList samples{date,
                              date,
                              QStringLiteral("365"),
                              QStringLiteral("99999.9"),
                              QStringLiteral("999.9"),
                              money,
                              money,
                              money,
                              money,
                              money,
                              money,
                              money,
                              QStringLiteral("Check bill, Readings")};
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
    connect(saveBill_, &QPushButton::clicked, this, [this] { SaveBill(); });
    connect(billed_, &QLineEdit::returnPressed, this, [this] { SaveBill(); });
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
    fault_.Report(fault != HistoryFault::None ? presenter_.FaultText() : QString());
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
    presenter_.SetSelectedRows(rows);
    const bool changeable = presenter_.Fault() == HistoryFault::None;
    open_->setEnabled(rows.size() == 1);
    delete_->setEnabled(changeable && !rows.isEmpty());
    summary_->setText(presenter_.SummaryLine(rows.size() == 1 ? rows[0] : -1));
    change_->setText(presenter_.ChangeLine(rows.size() == 1 ? rows[0] : -1));
    change_->setVisible(!change_->text().isEmpty());
    changeBars_->SetBars(presenter_.ChangeBarsFor(rows.size() == 1 ? rows[0] : -1));
    billPanel_->setEnabled(changeable && rows.size() == 1);
    if (rows.size() != 1) {
        return;
    }
    const HistoryPeriod& p = presenter_.Model().Period(rows[0]);
    const TLocales locales = presenter_.Locales();
    billed_->setText(p.billed ? locales.numbers.toString(*p.billed, 'f', presenter_.MoneyDecimals())
                              : QString());
    billDate_->setDate(p.billDate.isValid() ? p.billDate : p.to);
    billReference_->setText(p.billReference);
    auto marked = [&](const char* end) {
        for (const QString& stem : p.estimated) {
            if (stem.endsWith(QLatin1String(end))) {
                return true;
            }
        }
        return false;
    };
    startEstimated_->setChecked(marked("_before"));
    endEstimated_->setChecked(marked("_after"));
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
        point.pricePerKwh = p.EnergyPricePerKwh();
        point.tooltip = QStringLiteral("%1 to %2, %3 days\nNet %4, %5 a day\n%6 kWh, %7 kWh a day")
                            .arg(text(M::From), text(M::To), text(M::Days), text(M::Net),
                                 text(M::NetPerDay), text(M::Kwh), text(M::KwhPerDay));
        if (p.income != 0) {
            point.tooltip += QStringLiteral("\nIncome %1").arg(text(M::Income));
        }
        if (p.Kwh() > 0) {
            auto price = [&](double v) { return FormatMoney(v, locales.money, 4); };
            point.tooltip += QStringLiteral("\n%1 a kWh, %2 without the daily charges")
                                 .arg(price(p.PricePerKwh()), price(p.EnergyPricePerKwh()));
        }
        if (!text(M::Billed).isEmpty()) {
            point.tooltip += QStringLiteral("\nBilled %1").arg(text(M::Billed));
        }
        points.push_back(point);
    }
    chart_->SetPoints(points, QStringLiteral("Net a day (%1)").arg(locales.money.currencySymbol()),
                      locales.money);
}
