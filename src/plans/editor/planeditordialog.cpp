#include "plans/editor/planeditordialog.h"

#include "plans/editor/rateblockeditor.h"
#include "plans/editor/weekgridwidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

using Kind = RatePart::Kind;

QLineEdit* Edit(const QString& name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

// Hands a line edit's finished text to `set`, which returns a refusal or
// nothing; `show` then writes the plan's value back.
template <class Set, class Show>
void OnFinished(QLineEdit* edit, QObject* owner, Set set, Show show) {
    QObject::connect(edit, &QLineEdit::editingFinished, owner, [edit, set, show] {
        set(edit->text());
        show();
    });
}

} // namespace

PlanEditorDialog::PlanEditorDialog(const TariffPlan& plan, const QStringList& takenNames,
                                   QWidget* parent)
    : QDialog(parent), presenter_(plan, parent ? parent->locale() : QLocale(), takenNames) {
    setObjectName(QStringLiteral("planeditor"));
    auto* v = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    name_ = Edit(QStringLiteral("editorname"), this);
    tax_ = Edit(QStringLiteral("editortax"), this);
    zone_ = new QComboBox(this);
    zone_->setObjectName(QStringLiteral("editorzone"));
    zone_->addItems({QStringLiteral("Local time"), QStringLiteral("AEST (UTC+10 all year)")});
    taxOnFeedIn_ = new QCheckBox(QStringLiteral("Tax on the feed-in income too"), this);
    auto* taxRow = new QHBoxLayout;
    tax_->setMaximumWidth(80);
    taxRow->addWidget(tax_);
    taxRow->addWidget(new QLabel(QStringLiteral("%"), this));
    taxRow->addSpacing(16);
    taxRow->addWidget(taxOnFeedIn_);
    taxRow->addStretch();
    form->addRow(QStringLiteral("&Name:"), name_);
    form->addRow(QStringLiteral("Tax:"), taxRow);
    form->addRow(QStringLiteral("Windows read in:"), zone_);
    v->addLayout(form);

    auto* tabs = new QTabWidget(this);
    tabs->addTab(BuildSeasons(), QStringLiteral("Tariff periods"));
    tabs->addTab(BuildControlledLoad(), QStringLiteral("Controlled load"));
    tabs->addTab(BuildFeedIn(), QStringLiteral("Feed-in"));
    tabs->addTab(BuildDiscounts(), QStringLiteral("Discounts"));
    v->addWidget(tabs);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("editorproblem"));
    problem_->setWordWrap(true);
    problem_->setTextFormat(Qt::PlainText);
    v->addWidget(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &PlanEditorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    OnFinished(
        name_, this, [this](const QString& t) { Report(presenter_.SetName(t)); },
        [this] { name_->setText(Plan().name); });
    OnFinished(
        tax_, this, [this](const QString& t) { Report(presenter_.SetTax(t)); },
        [this] { tax_->setText(presenter_.Number(Plan().taxPercent)); });
    connect(zone_, &QComboBox::activated, this, [this](int i) {
        presenter_.SetZone(i == 0 ? TariffZone::Local : TariffZone::Aest);
        Report({});
    });
    connect(taxOnFeedIn_, &QCheckBox::toggled, this, [this](bool on) {
        presenter_.SetTaxOnFeedIn(on);
        Report({});
    });
    ShowAll();
}

PlanEditorDialog::~PlanEditorDialog() {
    // A field losing its focus as the children go would report to a dialog
    // that is already half gone.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        edit->blockSignals(true);
    }
}

QWidget* PlanEditorDialog::BuildSeasons() {
    auto* page = new QWidget;
    auto* h = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    seasons_ = new QListWidget(page);
    seasons_->setObjectName(QStringLiteral("seasons"));
    seasons_->setAccessibleName(QStringLiteral("Tariff periods"));
    seasons_->setMaximumWidth(160);
    left->addWidget(seasons_);
    auto* add = new QPushButton(QStringLiteral("Add period"), page);
    auto* remove = new QPushButton(QStringLiteral("Remove period"), page);
    left->addWidget(add);
    left->addWidget(remove);
    h->addLayout(left);

    auto* right = new QVBoxLayout;
    auto* form = new QFormLayout;
    seasonName_ = Edit(QStringLiteral("seasonname"), page);
    from_ = Edit(QStringLiteral("seasonfrom"), page);
    to_ = Edit(QStringLiteral("seasonto"), page);
    supply_ = Edit(QStringLiteral("seasonsupply"), page);
    for (QLineEdit* e : {from_, to_, supply_}) {
        e->setMaximumWidth(90);
    }
    auto* dates = new QHBoxLayout;
    dates->addWidget(from_);
    dates->addWidget(new QLabel(QStringLiteral("to"), page));
    dates->addWidget(to_);
    dates->addWidget(new QLabel(QStringLiteral("(mm-dd, inclusive)"), page));
    dates->addStretch();
    form->addRow(QStringLiteral("Period name:"), seasonName_);
    form->addRow(QStringLiteral("From:"), dates);
    form->addRow(QStringLiteral("Daily supply charge:"), supply_);
    // A period may read its windows in a zone of its own.
    seasonZone_ = new QComboBox(page);
    seasonZone_->setObjectName(QStringLiteral("seasonzone"));
    seasonZone_->addItems({QStringLiteral("As the plan"), QStringLiteral("Local time"),
                           QStringLiteral("AEST (UTC+10 all year)")});
    form->addRow(QStringLiteral("Windows read in:"), seasonZone_);
    right->addLayout(form);
    usage_ = new RateBlockEditor(
        presenter_, [this](const QString& r) { Report(r); }, QStringLiteral("Time of use"), page);
    right->addWidget(usage_);
    h->addLayout(right, 1);

    connect(seasons_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            ShowSeason(row);
        }
    });
    connect(add, &QPushButton::clicked, this, [this] {
        const int row = presenter_.AddSeason();
        ShowSeasons();
        seasons_->setCurrentRow(row);
        Report({});
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        presenter_.RemoveSeason(seasons_->currentRow());
        ShowSeasons();
        Report({});
    });
    auto season = [this] { return std::max(0, seasons_->currentRow()); };
    connect(seasonZone_, &QComboBox::activated, this, [this, season](int i) {
        presenter_.SetSeasonZone(season(), i == 0   ? std::nullopt
                                           : i == 1 ? std::optional(TariffZone::Local)
                                                    : std::optional(TariffZone::Aest));
        Report({});
    });
    OnFinished(
        seasonName_, this,
        [this, season](const QString& t) { Report(presenter_.SetSeasonName(season(), t)); },
        [this, season] {
            seasons_->item(season())->setText(Plan().seasons[season()].name);
            seasonName_->setText(Plan().seasons[season()].name);
        });
    for (QLineEdit* e : {from_, to_}) {
        OnFinished(
            e, this,
            [this, season](const QString&) {
                Report(presenter_.SetSeasonDates(season(), from_->text(), to_->text()));
            },
            [this, season] { ShowSeason(season()); });
    }
    OnFinished(
        supply_, this,
        [this, season](const QString& t) { Report(presenter_.SetSeasonSupply(season(), t)); },
        [this, season] {
            supply_->setText(presenter_.Number(Plan().seasons[season()].dailySupply));
        });
    return page;
}

QWidget* PlanEditorDialog::BuildControlledLoad() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    controlled_ = new QCheckBox(QStringLiteral("The plan has a controlled load"), page);
    controlled_->setObjectName(QStringLiteral("controlledload"));
    v->addWidget(controlled_);
    auto* form = new QFormLayout;
    controlledCharge_ = Edit(QStringLiteral("controlledcharge"), page);
    controlledCharge_->setMaximumWidth(90);
    controlledCharge_->setPlaceholderText(QStringLiteral("none"));
    form->addRow(QStringLiteral("Own daily charge:"), controlledCharge_);
    v->addLayout(form);
    controlledRates_ = new RateBlockEditor(
        presenter_, [this](const QString& r) { Report(r); }, QStringLiteral("Time of use"), page);
    controlledRates_->SetPart({Kind::ControlledLoad, 0});
    v->addWidget(controlledRates_);
    v->addStretch();
    connect(controlled_, &QCheckBox::toggled, this, [this](bool on) {
        presenter_.SetControlledLoad(on);
        ShowAll();
        Report({});
    });
    OnFinished(
        controlledCharge_, this,
        [this](const QString& t) { Report(presenter_.SetControlledLoadCharge(t)); },
        [this] {
            const std::optional<double> c = Plan().controlledLoad.dailyCharge;
            controlledCharge_->setText(c ? presenter_.Number(*c) : QString());
        });
    return page;
}

QWidget* PlanEditorDialog::BuildFeedIn() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    feedIn_ = new QCheckBox(QStringLiteral("The plan pays for exported energy"), page);
    feedIn_->setObjectName(QStringLiteral("feedin"));
    v->addWidget(feedIn_);
    feedInRates_ = new RateBlockEditor(
        presenter_, [this](const QString& r) { Report(r); }, QStringLiteral("Time-varying"), page);
    feedInRates_->SetPart({Kind::FeedIn, 0});
    v->addWidget(feedInRates_);
    v->addStretch();
    connect(feedIn_, &QCheckBox::toggled, this, [this](bool on) {
        presenter_.SetFeedIn(on);
        ShowAll();
        Report({});
    });
    return page;
}

QWidget* PlanEditorDialog::BuildDiscounts() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    discounts_ = new QTableWidget(0, 4, page);
    discounts_->setObjectName(QStringLiteral("discounts"));
    discounts_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Kind"),
                                           QStringLiteral("Percent of"),
                                           QStringLiteral("Percent")});
    discounts_->verticalHeader()->hide();
    discounts_->setSelectionBehavior(QAbstractItemView::SelectRows);
    discounts_->setTabKeyNavigation(false);
    discounts_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    v->addWidget(discounts_);
    auto* note = new QLabel(QStringLiteral("Guaranteed discounts are applied; conditional ones "
                                           "(pay on time, direct debit) are shown with what they "
                                           "would save."),
                            page);
    note->setWordWrap(true);
    v->addWidget(note);
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Add discount"), page);
    auto* remove = new QPushButton(QStringLiteral("Remove discount"), page);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    v->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, [this] {
        presenter_.AddDiscount();
        ShowDiscounts();
        Report({});
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        presenter_.RemoveDiscount(discounts_->currentRow());
        ShowDiscounts();
        Report({});
    });
    connect(discounts_, &QTableWidget::cellChanged, this, [this](int row, int column) {
        const QString text = discounts_->item(row, column)->text();
        if (column == 0) {
            presenter_.SetDiscountName(row, text);
            Report({});
        } else {
            Report(presenter_.SetDiscountPercent(row, text));
        }
        QTimer::singleShot(0, this, [this] { ShowDiscounts(); });
    });
    return page;
}

void PlanEditorDialog::ShowDiscounts() {
    const QSignalBlocker block(discounts_);
    const QList<TariffDiscount>& list = Plan().discounts;
    discounts_->setRowCount(static_cast<int>(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        const TariffDiscount& d = list[i];
        discounts_->setItem(i, 0, new QTableWidgetItem(d.name));
        discounts_->setItem(i, 3, new QTableWidgetItem(presenter_.Number(d.percent)));
        auto* kind = new QComboBox(discounts_);
        kind->addItems({QStringLiteral("Guaranteed"), QStringLiteral("Conditional")});
        kind->setCurrentIndex(d.guaranteed ? 0 : 1);
        auto* of = new QComboBox(discounts_);
        of->addItems({QStringLiteral("usage"), QStringLiteral("bill")});
        of->setCurrentIndex(d.method == TariffDiscount::Method::PercentOfUse ? 0 : 1);
        auto changed = [this, i, kind, of] {
            presenter_.SetDiscountKind(i, kind->currentIndex() == 0,
                                       of->currentIndex() == 0
                                           ? TariffDiscount::Method::PercentOfUse
                                           : TariffDiscount::Method::PercentOfBill);
            Report({});
        };
        connect(kind, &QComboBox::activated, this, changed);
        connect(of, &QComboBox::activated, this, changed);
        discounts_->setCellWidget(i, 1, kind);
        discounts_->setCellWidget(i, 2, of);
    }
}

void PlanEditorDialog::ShowSeasons() {
    const int keep = seasons_->currentRow();
    {
        const QSignalBlocker block(seasons_);
        seasons_->clear();
        for (const TariffSeason& s : Plan().seasons) {
            seasons_->addItem(s.name);
        }
    }
    const int row = std::clamp(keep, 0, static_cast<int>(seasons_->count()) - 1);
    seasons_->setCurrentRow(row);
    ShowSeason(row);
}

void PlanEditorDialog::ShowSeason(int season) {
    const TariffSeason& s = Plan().seasons[season];
    seasonName_->setText(s.name);
    from_->setText(PlanEditorPresenter::MonthDayText(s.startMonth, s.startDay));
    to_->setText(PlanEditorPresenter::MonthDayText(s.endMonth, s.endDay));
    supply_->setText(presenter_.Number(s.dailySupply));
    seasonZone_->setCurrentIndex(!s.zone ? 0 : *s.zone == TariffZone::Local ? 1 : 2);
    usage_->SetPart({Kind::Usage, season});
}

void PlanEditorDialog::ShowAll() {
    const TariffPlan& p = Plan();
    name_->setText(p.name);
    tax_->setText(presenter_.Number(p.taxPercent));
    zone_->setCurrentIndex(p.zone == TariffZone::Local ? 0 : 1);
    {
        const QSignalBlocker b1(taxOnFeedIn_), b2(controlled_), b3(feedIn_);
        taxOnFeedIn_->setChecked(p.taxOnFeedIn);
        controlled_->setChecked(p.controlledLoad.present);
        feedIn_->setChecked(p.feedIn.present);
    }
    const std::optional<double> c = p.controlledLoad.dailyCharge;
    controlledCharge_->setText(c ? presenter_.Number(*c) : QString());
    controlledCharge_->setEnabled(p.controlledLoad.present);
    controlledRates_->setEnabled(p.controlledLoad.present);
    controlledRates_->Refresh();
    feedInRates_->setEnabled(p.feedIn.present);
    feedInRates_->Refresh();
    ShowSeasons();
    ShowDiscounts();
    Report({});
}

void PlanEditorDialog::Report(const QString& refused) {
    const QString problem = refused.isEmpty() ? presenter_.SaveProblem() : refused;
    problem_->setText(problem);
    QPalette pal = problem_->palette();
    pal.setColor(QPalette::WindowText, problem.isEmpty() ? palette().color(QPalette::WindowText)
                                                         : QColor(0xb0, 0x00, 0x20));
    problem_->setPalette(pal);
}

void PlanEditorDialog::accept() {
    if (const QString problem = presenter_.SaveProblem(); !problem.isEmpty()) {
        problem_->setText(QStringLiteral("Not saved: ") + problem);
        return;
    }
    QDialog::accept();
}

std::optional<TariffPlan> EditTariffPlan(QWidget* parent, const QString& title,
                                         const TariffPlan& plan, const QStringList& takenNames) {
    PlanEditorDialog dialog(plan, takenNames, parent);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    TariffPlan saved = dialog.Plan();
    saved.name = saved.name.simplified();
    return saved;
}
