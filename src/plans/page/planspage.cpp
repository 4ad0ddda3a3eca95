#include "plans/page/planspage.h"

#include "app/tform1.h"
#include "app/view/lazytab.h"
#include "mylib/atomicfile.h"
#include "mylib/errors.h"
#include "mylib/filedialogs.h"
#include "mylib/fileread.h"
#include "plans/page/planschart.h"
#include "plans/page/tarifftablemodel.h"
#include "plans/plantablemodel.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTableView>

#include <algorithm>

namespace {

// The green of a negative total on the readings page.
const QColor kCheaper(0, 128, 0);

const std::array<const char*, 7> kFieldNames{"planname",    "plangeneraldaily", "plangeneralrate",
                                             "planhwdaily", "planhwrate",       "planfeedin",
                                             "plantax"};
const std::array<const char*, 7> kFieldCaptions{
    "Name:",           "General daily:",  "General rate:", "Hot-water daily:",
    "Hot-water rate:", "Feed-in tariff:", "Tax (%):"};
const std::array<const char*, 7> kFieldHints{
    "The plan's name, as the retailer calls it",
    "General light and power: fixed charge per day",
    "General light and power: price per kWh",
    "Hot water: fixed charge per day (counts only while hot water is shown)",
    "Hot water: price per kWh",
    "Paid to you per kWh exported (counts in solar mode only)",
    "Tax on the charges, 0 to 100 percent"};

// Draws the marks of a table's rows: a cheaper row green, an emphasised row bold.
class TMarkedRows : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::ForegroundRole && index.data(TPlanTableModel::CheaperRole).toBool()) {
            return QBrush(kCheaper);
        }
        if (role == Qt::FontRole && index.data(TPlanTableModel::EmphasisRole).toBool()) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return QIdentityProxyModel::data(index, role);
    }
};

QTableView* MakeTable(TPlanTableModel* model, const char* name, QWidget* parent) {
    auto* t = new QTableView(parent);
    t->setObjectName(QLatin1String(name));
    auto* marked = new TMarkedRows(t);
    marked->setSourceModel(model);
    t->setModel(marked);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the next control; arrows move in it.
    t->setTabKeyNavigation(false);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setStretchLastSection(true);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    return t;
}

// As tall as its rows, between `least` and `most` of them (more scroll).
void FitHeight(QTableView* t, int least, int most) {
    const int rows = std::clamp(t->model()->rowCount(), least, most);
    t->setFixedHeight(t->horizontalHeader()->sizeHint().height() +
                      rows * t->verticalHeader()->defaultSectionSize() + 2 * t->frameWidth());
}

QLabel* Wrapped(const char* name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

TPlansPage::TPlansPage(TPlansPresenter& presenter, TTariffPresenter& tariffs, TFileDialogs& files,
                       TForm1& model, TFaultLine& fault, QWidget* parent)
    : QWidget(parent), presenter_(presenter), tariffs_(tariffs), files_(files), model_(model),
      fault_(fault) {
    setObjectName(QStringLiteral("planspage"));
    pool_.setMaxThreadCount(1);
    auto* inner = new QWidget;
    auto* columns = new QHBoxLayout(inner);
    auto* left = new QVBoxLayout;
    left->addWidget(BuildComparison());
    left->addWidget(BuildTariffs());
    left->addWidget(BuildEditor());
    left->addStretch();
    columns->addLayout(left, 3);
    columns->addWidget(BuildYear(), 2);
    auto* scroll = new QScrollArea(this);
    // The scroll area takes the focus first (its arrows scroll the page).
    scroll->setAccessibleName(QStringLiteral("Compare plans"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(inner);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

QWidget* TPlansPage::BuildComparison() {
    auto* box = new QWidget;
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Period:"), box);
    period_ = new QComboBox(box);
    period_->setObjectName(QStringLiteral("planperiod"));
    period_->setAccessibleName(QStringLiteral("Period"));
    caption->setBuddy(period_);
    row->addWidget(caption);
    row->addWidget(period_, 1);
    // The range picker: days with meter data, priced on their intervals.
    useMeter_ = new QCheckBox(QStringLiteral("Meter data from"), box);
    useMeter_->setObjectName(QStringLiteral("planmeter"));
    useMeter_->setToolTip(QStringLiteral("Price the tariff plans exactly on these days' meter "
                                         "intervals instead of the period's kWh"));
    meterFrom_ = new QDateEdit(box);
    meterTo_ = new QDateEdit(box);
    meterFrom_->setObjectName(QStringLiteral("planmeterfrom"));
    meterTo_->setObjectName(QStringLiteral("planmeterto"));
    meterFrom_->setAccessibleName(QStringLiteral("Meter data from"));
    meterTo_->setAccessibleName(QStringLiteral("Meter data to"));
    auto* to = new QLabel(QStringLiteral("to"), box);
    to->setBuddy(meterTo_);
    auto rangeChosen = [this] {
        if (showing_) {
            return;
        }
        model_.Guard([&] { tariffs_.SetRange(meterFrom_->date(), meterTo_->date()); });
        PriceTariffs();
    };
    for (QDateEdit* d : {meterFrom_, meterTo_}) {
        d->setCalendarPopup(true);
        // Typed dates count when the field is left, a day picked in the
        // calendar at once.
        connect(d, &QDateEdit::editingFinished, this, rangeChosen);
        connect(d->calendarWidget(), &QCalendarWidget::clicked, this, rangeChosen);
    }
    connect(useMeter_, &QCheckBox::toggled, this, [this](bool on) {
        if (!showing_) {
            tariffs_.UseMeterData(on);
            PriceTariffs();
        }
    });
    v->addLayout(row);
    auto* range = new QHBoxLayout;
    range->addWidget(useMeter_);
    range->addWidget(meterFrom_);
    range->addWidget(to);
    range->addWidget(meterTo_);
    range->addStretch();
    v->addLayout(range);
    notice_ = Wrapped("plannotice", box);
    v->addWidget(notice_);
    tableModel_ = new TPlanTableModel({QStringLiteral("Plan"), QStringLiteral("Fixed"),
                                       QStringLiteral("Variable"), QStringLiteral("Income"),
                                       QStringLiteral("Tax"), QStringLiteral("Net"),
                                       QStringLiteral("Cost a day"), QStringLiteral("Difference")},
                                      this);
    table_ = MakeTable(tableModel_, "plantable", box);
    table_->setAccessibleName(QStringLiteral("Plans compared on the period"));
    v->addWidget(table_);
    cheapest_ = Wrapped("plancheapest", box);
    QFont bold = cheapest_->font();
    bold.setBold(true);
    cheapest_->setFont(bold);
    v->addWidget(cheapest_);

    connect(period_, &QComboBox::activated, this, [this](int index) {
        Act([&] {
            presenter_.SelectPeriod(index);
            return -1;
        });
    });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!showing_) {
            LoadEditor(SelectedRow());
        }
    });
    return box;
}

QWidget* TPlansPage::BuildEditor() {
    auto* box = new QGroupBox(QStringLiteral("Plan"));
    auto* grid = new QGridLayout(box);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        // The name across the top, then the six figures three to a row, each
        // with its message on the row below.
        const int n = static_cast<int>(i);
        const int r = i == 0 ? 0 : 2 + (n - 1) / 3 * 2;
        const int c = i == 0 ? 0 : (n - 1) % 3 * 2;
        auto* caption = new QLabel(QLatin1String(kFieldCaptions[i]), box);
        fields_[i] = new QLineEdit(box);
        fields_[i]->setObjectName(QLatin1String(kFieldNames[i]));
        fields_[i]->setAccessibleName(QLatin1String(kFieldCaptions[i]).chopped(1));
        fields_[i]->setAccessibleDescription(QLatin1String(kFieldHints[i]));
        fields_[i]->setToolTip(QLatin1String(kFieldHints[i]));
        caption->setBuddy(fields_[i]);
        errors_[i] = Wrapped("", box);
        errors_[i]->setObjectName(QLatin1String(kFieldNames[i]) + QStringLiteral("error"));
        errors_[i]->setStyleSheet(QStringLiteral("color: #b00000"));
        errors_[i]->hide();
        grid->addWidget(caption, r, c);
        grid->addWidget(fields_[i], r, c + 1, 1, i == 0 ? 5 : 1);
        grid->addWidget(errors_[i], r + 1, c, 1, i == 0 ? 6 : 2);
    }
    taxOnIncome_ = new QCheckBox(QStringLiteral("Tax on the feed-in income too"), box);
    taxOnIncome_->setObjectName(QStringLiteral("plantaxonincome"));
    grid->addWidget(taxOnIncome_, 6, 0, 1, 2);

    grid->addLayout(BuildButtons(box), 6, 2, 1, 4);
    return box;
}

QLayout* TPlansPage::BuildButtons(QWidget* box) {
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Add plan"), box);
    save_ = new QPushButton(QStringLiteral("Save changes"), box);
    duplicate_ = new QPushButton(QStringLiteral("Duplicate"), box);
    delete_ = new QPushButton(QStringLiteral("Delete"), box);
    add->setObjectName(QStringLiteral("planadd"));
    save_->setObjectName(QStringLiteral("plansave"));
    duplicate_->setObjectName(QStringLiteral("planduplicate"));
    delete_->setObjectName(QStringLiteral("plandelete"));
    buttons->addStretch();
    for (QPushButton* b : {add, save_, duplicate_, delete_}) {
        buttons->addWidget(b);
    }
    connect(add, &QPushButton::clicked, this, [this] {
        Act([&] {
            const QList<PlanFieldError> errors = presenter_.AddPlan(EditorTexts());
            ShowErrors(errors);
            return errors.isEmpty() ? static_cast<int>(presenter_.Rows().size()) - 1 : -1;
        });
    });
    connect(save_, &QPushButton::clicked, this, [this] {
        Act([&] {
            ShowErrors(presenter_.SavePlan(SelectedRow(), EditorTexts()));
            return -1;
        });
    });
    connect(duplicate_, &QPushButton::clicked, this,
            [this] { Act([&] { return presenter_.DuplicatePlan(SelectedRow()); }); });
    connect(delete_, &QPushButton::clicked, this,
            [this] { Act([&] { return presenter_.DeletePlan(SelectedRow()) ? 0 : -1; }); });
    return buttons;
}

QWidget* TPlansPage::BuildTariffs() {
    auto* box = new QGroupBox(QStringLiteral("Tariff plans"));
    auto* v = new QVBoxLayout(box);
    tariffBasis_ = Wrapped("tariffbasis", box);
    tariffNotice_ = Wrapped("tariffnotice", box);
    v->addWidget(tariffBasis_);
    v->addWidget(tariffNotice_);
    tariffModel_ = new TTariffTableModel(this);
    tariffTable_ = new QTableView(box);
    tariffTable_->setObjectName(QStringLiteral("tarifftable"));
    tariffTable_->setAccessibleName(QStringLiteral("Tariff plans ranked, cheapest first"));
    tariffTable_->setModel(tariffModel_);
    tariffTable_->verticalHeader()->hide();
    tariffTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tariffTable_->setTabKeyNavigation(false);
    tariffTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tariffTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    tariffTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tariffTable_->horizontalHeader()->setStretchLastSection(true);
    tariffTable_->verticalHeader()->setDefaultSectionSize(tariffTable_->fontMetrics().height() + 6);
    tariffTable_->setMinimumHeight(tariffTable_->fontMetrics().height() * 10);
    v->addWidget(tariffTable_);
    tariffNote_ = Wrapped("tariffnote", box);
    tariffNote_->setStyleSheet(QStringLiteral("color: #b00000"));
    v->addWidget(tariffNote_);
    breakdownModel_ = new TPlanTableModel({QStringLiteral("Part"), QStringLiteral("kWh"),
                                           QStringLiteral("Rate"), QStringLiteral("Cost")},
                                          this);
    breakdown_ = MakeTable(breakdownModel_, "tariffbreakdown", box);
    breakdown_->setAccessibleName(QStringLiteral("Breakdown of the selected plan"));
    breakdown_->setSelectionMode(QAbstractItemView::NoSelection);
    v->addWidget(breakdown_);
    auto* yearTitle = new QLabel(
        QStringLiteral("What it would have cost over the last 12 months of meter data"), box);
    QFont bold = yearTitle->font();
    bold.setBold(true);
    yearTitle->setFont(bold);
    v->addWidget(yearTitle);
    tariffYear_ = Wrapped("tariffyear", box);
    v->addWidget(tariffYear_);
    auto* buttons = new QHBoxLayout;
    auto* import = new QPushButton(QStringLiteral("Import plan…"), box);
    exportPlan_ = new QPushButton(QStringLiteral("Export plan…"), box);
    markMine_ = new QPushButton(QStringLiteral("Mark as my plan"), box);
    import->setObjectName(QStringLiteral("tariffimport"));
    exportPlan_->setObjectName(QStringLiteral("tariffexport"));
    markMine_->setObjectName(QStringLiteral("tariffmine"));
    buttons->addStretch();
    for (QPushButton* b : {markMine_, import, exportPlan_}) {
        buttons->addWidget(b);
    }
    v->addLayout(buttons);
    connect(import, &QPushButton::clicked, this, [this] { ImportPlan(); });
    connect(exportPlan_, &QPushButton::clicked, this, [this] { ExportPlan(); });
    connect(markMine_, &QPushButton::clicked, this, [this] {
        model_.Guard([&] { tariffs_.MarkMyPlan(SelectedTariff()); });
        ShowTariffs();
    });
    connect(tariffTable_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!showing_) {
            selectedTariff_ = tariffs_.NameOf(SelectedTariff());
            ShowTariffDetail();
        }
    });
    return box;
}

TPlansPage::~TPlansPage() {
    // A result posted after this point is dropped with the page's events.
    pool_.waitForDone();
}

// Prices the tariff plans: a period's kWh at once, meter intervals off the
// window's thread; the table shows each as soon as it is ready.
void TPlansPage::PriceTariffs() {
    std::optional<IntervalRanking> work;
    model_.Guard([&] { work = tariffs_.Prepare(); });
    const int generation = ++generation_;
    ShowTariffs();
    if (!work) {
        return;
    }
    ++pending_;
    pool_.start([this, generation, work = std::move(*work)] {
        RankingResult result = RankOnIntervals(work);
        QMetaObject::invokeMethod(
            this,
            [this, generation, result = std::move(result)] {
                --pending_;
                if (generation == generation_) {
                    tariffs_.Take(result);
                    ShowTariffs();
                }
            },
            Qt::QueuedConnection);
    });
}

int TPlansPage::SelectedTariff() const {
    const QModelIndexList rows = tariffTable_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void TPlansPage::ShowTariffs() {
    const bool was = showing_;
    showing_ = true;
    {
        const QSignalBlocker a(useMeter_), b(meterFrom_), c(meterTo_);
        const QLocale& dates = model_.Locales().dates;
        for (QDateEdit* d : {meterFrom_, meterTo_}) {
            d->setLocale(dates);
            // The locale's short date with the whole year, as the date fields show it.
            QString format = dates.dateFormat(QLocale::ShortFormat);
            if (!format.contains(QLatin1String("yyyy"))) {
                format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
            }
            d->setDisplayFormat(format);
            d->setDateRange(tariffs_.MeterFirst(), tariffs_.MeterLast());
            d->setEnabled(tariffs_.HasMeterData());
        }
        useMeter_->setEnabled(tariffs_.HasMeterData());
        useMeter_->setChecked(tariffs_.UsesMeterData());
        meterFrom_->setDate(tariffs_.From());
        meterTo_->setDate(tariffs_.To());
    }
    tariffBasis_->setText(tariffs_.Basis());
    const QString notice = tariffs_.Notice();
    tariffNotice_->setText(notice);
    tariffNotice_->setVisible(!notice.isEmpty());
    tariffModel_->SetRows(tariffs_.Rows());
    int select = 0;
    for (int i = 0; i < tariffs_.Rows().size(); ++i) {
        if (tariffs_.Rows()[i].name == selectedTariff_) {
            select = i;
        }
    }
    if (!tariffs_.Rows().isEmpty()) {
        tariffTable_->selectRow(select);
        selectedTariff_ = tariffs_.NameOf(select);
    }
    showing_ = was;
    ShowTariffDetail();
}

void TPlansPage::ShowTariffDetail() {
    const int row = SelectedTariff();
    const QList<BreakdownTexts> lines = tariffs_.BreakdownOf(row);
    breakdownModel_->SetRows(TPlanTableModel::Breakdown(lines));
    FitHeight(breakdown_, 1, 12);
    breakdown_->setVisible(!lines.isEmpty());
    const QString note =
        row >= 0 && row < tariffs_.Rows().size() ? tariffs_.Rows()[row].note : QString();
    tariffNote_->setText(note);
    tariffNote_->setVisible(!note.isEmpty());
    tariffYear_->setText(tariffs_.YearText(row));
    exportPlan_->setEnabled(row >= 0);
    markMine_->setEnabled(row >= 0);
}

void TPlansPage::ImportPlan() {
    const QString path = files_.OpenFileName(QStringLiteral("Import plan"), QString(),
                                             QStringLiteral("Plan files (*.json);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    model_.Guard([&] {
        const FileReadResult read = ReadFileBounded(path, 16 * 1024 * 1024);
        if (read.status != FileReadResult::Status::Ok) {
            throw EVoltiskError(QStringLiteral("Could not read %1%2")
                                    .arg(path, read.reason.isEmpty()
                                                   ? QString()
                                                   : QStringLiteral(": ") + read.reason));
        }
        const QString summary = tariffs_.ImportPlan(read.bytes);
        model_.Platform().dialogs.ShowMessage(summary);
    });
    Refresh();
}

void TPlansPage::ExportPlan() {
    const int row = SelectedTariff();
    if (row < 0) {
        return;
    }
    const QString path = files_.SaveFileName(QStringLiteral("Export plan"),
                                             tariffs_.NameOf(row) + QStringLiteral(".json"),
                                             QStringLiteral("Plan files (*.json)"));
    if (path.isEmpty()) {
        return;
    }
    model_.Guard([&] {
        if (!ReplaceFileContents(path, tariffs_.ExportPlan(row))) {
            throw EVoltiskError(QStringLiteral("Could not write %1").arg(path));
        }
    });
}

QWidget* TPlansPage::BuildYear() {
    auto* box = new QGroupBox(QStringLiteral("A year at a glance"));
    auto* v = new QVBoxLayout(box);
    yearSummary_ = Wrapped("planyearsummary", box);
    v->addWidget(yearSummary_);
    yearModel_ = new TPlanTableModel(
        {QStringLiteral("Plan"), QStringLiteral("Year total"), QStringLiteral("Saving a year")},
        this);
    yearTable_ = MakeTable(yearModel_, "planyeartable", box);
    yearTable_->setAccessibleName(QStringLiteral("Plans over the last 12 months"));
    v->addWidget(yearTable_);
    // Qt Charts comes with the page, from the chart module; without the
    // module the figures stay in the table and the page says why.
    QString why;
    chart_ = LoadPlansChart(box, &why);
    if (chart_) {
        chart_->Widget()->setMinimumHeight(150);
        v->addWidget(chart_->Widget(), 1);
    } else {
        auto* missing = Wrapped("planchartmissing", box);
        missing->setText(why);
        v->addWidget(missing);
    }
    return box;
}

// Runs an action; `f` returns the row to select afterwards, or -1 to keep
// the selection (and the form as typed).
template <class F> void TPlansPage::Act(F&& f) {
    int select = -1;
    model_.Guard([&] { select = f(); });
    Show();
    if (select >= 0) {
        SelectRow(select);
    }
}

void TPlansPage::Refresh() {
    model_.Guard([&] { presenter_.Refresh(); });
    Show();
}

void TPlansPage::ChooseStoredPeriod(QDate from, QDate to) {
    Act([&] {
        presenter_.SelectStoredPeriod(from, to);
        return -1;
    });
}

void TPlansPage::Show() {
    showing_ = true;
    {
        const QSignalBlocker block(period_);
        period_->clear();
        period_->addItems(presenter_.PeriodChoices());
        period_->setCurrentIndex(presenter_.SelectedPeriod());
    }
    fault_.Report(presenter_.FaultText());
    notice_->setText(presenter_.PeriodNotice());
    notice_->setVisible(!presenter_.PeriodNotice().isEmpty());
    ShowTable();
    ShowYear();
    showing_ = false;
    // The flat plans or the period may have changed with the action.
    tariffs_.Refresh();
    PriceTariffs();
}

void TPlansPage::ShowTable() {
    const int keep = SelectedRow();
    const QList<PlanTableRow>& rows = presenter_.Rows();
    tableModel_->SetRows(TPlanTableModel::Compared(rows));
    FitHeight(table_, 4, 7);
    cheapest_->setText(presenter_.CheapestText());
    if (keep >= 0 && keep < rows.size()) {
        table_->selectRow(keep);
    }
    const bool stored = presenter_.IsStoredPlan(SelectedRow());
    save_->setEnabled(stored);
    duplicate_->setEnabled(stored);
    delete_->setEnabled(stored);
}

void TPlansPage::ShowYear() {
    yearSummary_->setText(presenter_.YearSummary());
    const QList<YearRow>& rows = presenter_.YearRows();
    yearTable_->setVisible(!rows.isEmpty());
    yearModel_->SetRows(TPlanTableModel::Year(rows));
    FitHeight(yearTable_, 1, 5);
    if (!chart_) {
        return;
    }
    chart_->Widget()->setVisible(!rows.isEmpty());
    std::vector<PlansChartBar> bars{{QStringLiteral("Paid"), presenter_.YearPaid()}};
    for (const YearRow& r : rows) {
        bars.push_back({r.name, r.totalValue});
    }
    chart_->SetBars(bars, model_.Locales().money);
}

void TPlansPage::ShowErrors(const QList<PlanFieldError>& errors) {
    for (QLabel* e : errors_) {
        e->clear();
        e->hide();
    }
    for (const PlanFieldError& e : errors) {
        QLabel* label = errors_[static_cast<std::size_t>(e.field)];
        label->setText(e.message);
        label->show();
    }
    if (!errors.isEmpty()) {
        fields_[static_cast<std::size_t>(errors.front().field)]->setFocus();
    }
}

void TPlansPage::LoadEditor(int row) {
    if (row < 0) {
        return;
    }
    const PlanTexts t = presenter_.TextsOf(row);
    const std::array<QString, 7> texts{
        t.name,   t.generalDailyCharge, t.generalRate, t.hwDailyCharge, t.hwRate,
        t.feedIn, t.taxPercent};
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->setText(texts[i]);
    }
    taxOnIncome_->setChecked(t.taxOnIncome);
    ShowErrors({});
    const bool stored = presenter_.IsStoredPlan(row);
    save_->setEnabled(stored);
    duplicate_->setEnabled(stored);
    delete_->setEnabled(stored);
}

PlanTexts TPlansPage::EditorTexts() const {
    return {fields_[0]->text(), fields_[1]->text(), fields_[2]->text(), fields_[3]->text(),
            fields_[4]->text(), fields_[5]->text(), fields_[6]->text(), taxOnIncome_->isChecked()};
}

int TPlansPage::SelectedRow() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void TPlansPage::SelectRow(int row) {
    if (row >= 0 && row < tableModel_->rowCount()) {
        table_->selectRow(row);
    }
}
