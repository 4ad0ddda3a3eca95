#include "plans/editor/rateblockeditor.h"

#include "plans/editor/weekgridwidget.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr RateType kTypes[] = {RateType::Peak,      RateType::OffPeak,   RateType::Shoulder,
                               RateType::Shoulder1, RateType::Shoulder2, RateType::SolarSponge};

QTableWidget* MakeTable(const QStringList& headings, const QString& name, QWidget* parent) {
    auto* t = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headings);
    t->verticalHeader()->hide();
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setTabKeyNavigation(false);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

QPushButton* Button(const QString& text, QWidget* parent, QBoxLayout* into) {
    auto* b = new QPushButton(text, parent);
    into->addWidget(b);
    return b;
}

// Rebuilds after the current signal returns, so a table is never rebuilt
// under the item that is telling of its change.
template <class F> void Later(QObject* owner, F f) {
    QTimer::singleShot(0, owner, f);
}

} // namespace

StepsEditor::StepsEditor(PlanEditorPresenter& presenter, Report report, QWidget* parent)
    : QWidget(parent), presenter_(presenter), report_(std::move(report)) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    table_ = MakeTable({QStringLiteral("Price per kWh"), QStringLiteral("Up to kWh")},
                       QStringLiteral("steps"), this);
    table_->setAccessibleName(QStringLiteral("Steps"));
    table_->setMaximumHeight(110);
    v->addWidget(table_);
    auto* row = new QHBoxLayout;
    QPushButton* add = Button(QStringLiteral("Add step"), this, row);
    QPushButton* remove = Button(QStringLiteral("Remove step"), this, row);
    row->addWidget(new QLabel(QStringLiteral("Volumes count per"), this));
    period_ = new QComboBox(this);
    period_->setObjectName(QStringLiteral("stepperiod"));
    period_->addItems({QStringLiteral("day"), QStringLiteral("month"), QStringLiteral("year")});
    row->addWidget(period_);
    row->addStretch();
    v->addLayout(row);
    connect(add, &QPushButton::clicked, this, [this] {
        presenter_.AddStep(part_, rate_);
        report_({});
        Refresh();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        presenter_.RemoveStep(part_, rate_, table_->currentRow());
        report_({});
        Refresh();
    });
    connect(period_, &QComboBox::activated, this, [this](int index) {
        presenter_.SetStepPeriod(part_, rate_, static_cast<StepPeriod>(index));
        report_({});
    });
    connect(table_, &QTableWidget::cellChanged, this, [this](int row, int column) {
        const QString text = table_->item(row, column)->text();
        report_(column == 0 ? presenter_.SetStepPrice(part_, rate_, row, text)
                            : presenter_.SetStepVolume(part_, rate_, row, text));
        Later(this, [this] { Refresh(); });
    });
}

void StepsEditor::SetTarget(RatePart part, int rate) {
    part_ = part;
    rate_ = rate;
    Refresh();
}

void StepsEditor::Refresh() {
    const QSignalBlocker block(table_);
    const SteppedRate& rate = presenter_.Steps(part_, rate_);
    table_->setRowCount(static_cast<int>(rate.steps.size()));
    for (int i = 0; i < rate.steps.size(); ++i) {
        const RateStep& s = rate.steps[i];
        table_->setItem(i, 0, new QTableWidgetItem(presenter_.Number(s.price)));
        table_->setItem(
            i, 1,
            new QTableWidgetItem(s.volume ? presenter_.Number(*s.volume) : QStringLiteral("")));
    }
    period_->setCurrentIndex(static_cast<int>(rate.period));
    period_->setEnabled(rate.steps.size() > 1);
}

RateBlockEditor::RateBlockEditor(PlanEditorPresenter& presenter, StepsEditor::Report report,
                                 const QString& timeOfUseText, QWidget* parent)
    : QWidget(parent), presenter_(presenter), report_(std::move(report)) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    auto* modes = new QHBoxLayout;
    mode_ = new QButtonGroup(this);
    auto* single = new QRadioButton(QStringLiteral("Single rate"), this);
    auto* tou = new QRadioButton(timeOfUseText, this);
    single->setObjectName(QStringLiteral("singlerate"));
    tou->setObjectName(QStringLiteral("timeofuse"));
    mode_->addButton(single, 0);
    mode_->addButton(tou, 1);
    modes->addWidget(single);
    modes->addWidget(tou);
    modes->addStretch();
    v->addLayout(modes);

    pages_ = new QStackedWidget(this);
    auto* singlePage = new QWidget(pages_);
    auto* s = new QVBoxLayout(singlePage);
    s->setContentsMargins(0, 0, 0, 0);
    single_ = new StepsEditor(presenter_, report_, singlePage);
    s->addWidget(single_);
    s->addStretch();
    pages_->addWidget(singlePage);
    auto* touPage = new QWidget(pages_);
    auto* t = new QVBoxLayout(touPage);
    t->setContentsMargins(0, 0, 0, 0);
    windows_ = MakeTable({QStringLiteral("Type"), QStringLiteral("Days"), QStringLiteral("Start"),
                          QStringLiteral("End"), QStringLiteral("Rate per kWh")},
                         QStringLiteral("windows"), touPage);
    windows_->setAccessibleName(QStringLiteral("Time-of-use windows"));
    windows_->setColumnWidth(0, 110);
    windows_->setColumnWidth(1, 130);
    t->addWidget(windows_);
    auto* buttons = new QHBoxLayout;
    QPushButton* add = Button(QStringLiteral("Add window"), touPage, buttons);
    QPushButton* remove = Button(QStringLiteral("Remove window"), touPage, buttons);
    add->setObjectName(QStringLiteral("addwindow"));
    buttons->addStretch();
    t->addLayout(buttons);
    stepsOf_ = new QLabel(touPage);
    t->addWidget(stepsOf_);
    touSteps_ = new StepsEditor(presenter_, report_, touPage);
    t->addWidget(touSteps_);
    grid_ = new WeekGridWidget(touPage);
    t->addWidget(grid_);
    pages_->addWidget(touPage);
    v->addWidget(pages_);

    connect(mode_, &QButtonGroup::idClicked, this, [this](int id) {
        presenter_.SetTimeOfUse(part_, id == 1);
        report_({});
        Refresh();
    });
    connect(add, &QPushButton::clicked, this, [this] {
        const int row = presenter_.AddWindow(part_);
        report_({});
        RefreshWindows();
        SelectRow(row);
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (SelectedRow() >= 0) {
            presenter_.RemoveWindow(part_, SelectedRow());
            report_({});
            RefreshWindows();
        }
    });
    connect(windows_, &QTableWidget::cellChanged, this, &RateBlockEditor::Edited);
    connect(windows_, &QTableWidget::itemSelectionChanged, this, [this] {
        const QList<WindowRow> rows = presenter_.Windows(part_);
        const int row = SelectedRow();
        stepsOf_->setVisible(row >= 0);
        touSteps_->setVisible(row >= 0);
        if (row >= 0 && row < rows.size()) {
            stepsOf_->setText(
                QStringLiteral("Steps of the %1 rate:").arg(RateTypeName(rows[row].type)));
            touSteps_->SetTarget(part_, rows[row].rate);
        }
    });
}

void RateBlockEditor::SetPart(RatePart part) {
    part_ = part;
    Refresh();
}

void RateBlockEditor::Refresh() {
    const bool tou = presenter_.TimeOfUse(part_);
    mode_->button(tou ? 1 : 0)->setChecked(true);
    pages_->setCurrentIndex(tou ? 1 : 0);
    single_->SetTarget(part_, -1);
    RefreshWindows();
}

int RateBlockEditor::SelectedRow() const {
    const QList<QTableWidgetSelectionRange> ranges = windows_->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void RateBlockEditor::SelectRow(int row) {
    if (row >= 0 && row < windows_->rowCount()) {
        windows_->selectRow(row);
    }
}

void RateBlockEditor::RefreshWindows() {
    const int keep = SelectedRow();
    {
        const QSignalBlocker block(windows_);
        const QList<WindowRow> rows = presenter_.Windows(part_);
        windows_->setRowCount(static_cast<int>(rows.size()));
        for (int i = 0; i < rows.size(); ++i) {
            const WindowRow& r = rows[i];
            auto* type = new QComboBox(windows_);
            for (const RateType t : kTypes) {
                type->addItem(RateTypeName(t), static_cast<int>(t));
            }
            type->setCurrentIndex(type->findData(static_cast<int>(r.type)));
            connect(type, &QComboBox::activated, this, [this, i, type](int index) {
                const int row = presenter_.SetWindowType(
                    part_, i, static_cast<RateType>(type->itemData(index).toInt()));
                report_({});
                Later(this, [this, row] {
                    RefreshWindows();
                    SelectRow(row);
                });
            });
            windows_->setCellWidget(i, 0, type);
            const QString texts[] = {r.days, r.start, r.end, r.price};
            for (int c = 0; c < 4; ++c) {
                windows_->setItem(i, c + 1, new QTableWidgetItem(texts[c]));
            }
        }
    }
    SelectRow(std::clamp(keep, 0, windows_->rowCount() - 1));
    if (windows_->rowCount() == 0) {
        stepsOf_->hide();
        touSteps_->hide();
    }
    QList<RateType> types;
    const WeekGrid grid = presenter_.Grid(part_);
    for (const WindowRow& r : presenter_.Windows(part_)) {
        while (types.size() <= r.rate) {
            types.append(RateType::Single);
        }
        types[r.rate] = r.type;
    }
    grid_->SetGrid(grid, types);
}

void RateBlockEditor::Edited(int row, int column) {
    const QString text = windows_->item(row, column)->text();
    QString problem;
    switch (column) {
    case 1:
        problem = presenter_.SetWindowDays(part_, row, text);
        break;
    case 2:
    case 3:
        problem = presenter_.SetWindowTime(part_, row, column == 3, text);
        break;
    case 4:
        problem = presenter_.SetWindowPrice(part_, row, text);
        break;
    default:
        break;
    }
    report_(problem);
    Later(this, [this] {
        RefreshWindows();
        touSteps_->Refresh();
    });
}
