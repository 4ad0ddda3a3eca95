#include "usage/page/usagepage.h"

#include "app/readingspage.h"
#include "app/view/lazytab.h"
#include "mylib/dates.h"
#include "mylib/filedialogs.h"
#include "usage/page/importdialog.h"
#include "usage/page/usagecharts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

namespace {

QLabel* PlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

TUsagePage::TUsagePage(TUsagePresenter& presenter, TReadingsPage& readings, TFileDialogs& files,
                       QWidget* parent, TFaultLine* fault)
    : QWidget(parent), presenter_(presenter), readings_(readings), files_(files),
      fault_(fault ? fault : new TFaultLine(QStringLiteral("usagefault"), this)),
      meter_(new QComboBox(this)), span_(new QComboBox(this)), colourBy_(new QComboBox(this)),
      from_(new QDateEdit(this)), to_(new QDateEdit(this)),
      import_(new QPushButton(QStringLiteral("Import meter data…"), this)),
      addToHistory_(new QPushButton(QStringLiteral("Add to history…"), this)),
      note_(PlainLabel(QString(), this)), channels_(new QTreeWidget(this)),
      figures_(new QFormLayout), charts_(new QTabWidget(this)), daily_(new TDailyChart(this)),
      heatMap_(new THeatMap(this)), typical_(new TTypicalDay(this)) {
    setObjectName(QStringLiteral("usagepage"));
    span_->addItems({QStringLiteral("Whole data"), QStringLiteral("Last 7 days"),
                     QStringLiteral("Last 30 days"), QStringLiteral("Last 12 months"),
                     QStringLiteral("Chosen dates")});
    const QString format = ShortDateFormat(readings_.Locales().dates);
    for (QDateEdit* d : {from_, to_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(format);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(PlainLabel(QStringLiteral("Meter:"), this));
    top->addWidget(meter_);
    top->addSpacing(12);
    top->addWidget(PlainLabel(QStringLiteral("Dates:"), this));
    top->addWidget(span_);
    top->addWidget(from_);
    top->addWidget(PlainLabel(QStringLiteral("to"), this));
    top->addWidget(to_);
    top->addStretch(1);
    top->addWidget(import_);
    top->addWidget(addToHistory_);

    channels_->setHeaderLabels({QStringLiteral("Meter"), QStringLiteral("Channel"),
                                QStringLiteral("Role"), QStringLiteral("Interval"),
                                QStringLiteral("First day"), QStringLiteral("Last day")});
    channels_->setRootIsDecorated(false);
    channels_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    channels_->setMaximumHeight(110);
    auto* middle = new QHBoxLayout;
    middle->addWidget(channels_, 3);
    auto* figureBox = new QWidget(this);
    figureBox->setLayout(figures_);
    middle->addWidget(figureBox, 2);

    charts_->addTab(daily_, QStringLiteral("Daily"));
    charts_->addTab(heatMap_, QStringLiteral("Heat map"));
    charts_->addTab(typical_, QStringLiteral("Typical day"));
    // The heat map's colouring beside the charts' tabs, where a plan's name
    // has room ("By rate type of" alone would not say which plan).
    auto* colouring = new QWidget(charts_);
    auto* colourRow = new QHBoxLayout(colouring);
    colourRow->setContentsMargins(0, 0, 0, 2);
    QLabel* colourLabel = PlainLabel(QStringLiteral("Heat map:"), colouring);
    colourLabel->setBuddy(colourBy_);
    colourRow->addWidget(colourLabel);
    colourBy_->setParent(colouring);
    colourBy_->setObjectName(QStringLiteral("heatmapcolour"));
    colourBy_->setToolTip(QStringLiteral("Colour the heat map by use, or by the rate type of a "
                                         "time-of-use plan to see which half-hours fall in the "
                                         "peak"));
    colourBy_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    colourRow->addWidget(colourBy_);
    charts_->setCornerWidget(colouring, Qt::TopRightCorner);

    auto* layout = new QVBoxLayout(this);
    if (fault_->parent() == this) {
        layout->addWidget(fault_);
    }
    layout->addLayout(top);
    layout->addWidget(note_);
    layout->addLayout(middle);
    layout->addWidget(charts_, 1);

    connect(meter_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showing_) {
            presenter_.SetMeter(meter_->itemData(index).toString());
            Show();
        }
    });
    connect(span_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showing_ && index != static_cast<int>(TUsagePresenter::Span::Chosen)) {
            presenter_.SetSpan(static_cast<TUsagePresenter::Span>(index));
            Show();
        }
    });
    connect(colourBy_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showing_) {
            presenter_.SetColourPlan(colourBy_->itemData(index).toString());
            Show();
        }
    });
    connect(from_, &QDateEdit::dateChanged, this, &TUsagePage::RangeEdited);
    connect(to_, &QDateEdit::dateChanged, this, &TUsagePage::RangeEdited);
    connect(import_, &QPushButton::clicked, this, &TUsagePage::ChooseAndImport);
    connect(addToHistory_, &QPushButton::clicked, this, [this] { presenter_.AddToHistory(); });
}

void TUsagePage::Refresh() {
    presenter_.Load();
    Show();
}

void TUsagePage::RangeEdited() {
    if (!showing_) {
        presenter_.SetRange(from_->date(), to_->date());
        Show();
    }
}

void TUsagePage::Show() {
    showing_ = true;
    const QSignalBlocker blockMeter(meter_);
    meter_->clear();
    meter_->addItem(QStringLiteral("All meters"), QString());
    for (const QString& m : presenter_.Meters()) {
        meter_->addItem(m, m); // combo items are plain text
    }
    meter_->setCurrentIndex(std::max(0, meter_->findData(presenter_.Meter())));
    span_->setCurrentIndex(static_cast<int>(presenter_.CurrentSpan()));
    const QSignalBlocker blockColour(colourBy_);
    colourBy_->clear();
    colourBy_->addItem(QStringLiteral("By use"), QString());
    for (const QString& plan : presenter_.ColourPlans()) {
        colourBy_->addItem(QStringLiteral("By rate type of %1").arg(plan), plan);
    }
    colourBy_->setCurrentIndex(std::max(0, colourBy_->findData(presenter_.ColourPlan())));
    colourBy_->setEnabled(!presenter_.ColourPlans().empty());

    channels_->clear();
    const TLocales locales = readings_.Locales();
    for (const StoredChannel& c : presenter_.Channels()) {
        auto* item = new QTreeWidgetItem(channels_);
        item->setText(0, c.meter);
        item->setText(1, c.channel);
        item->setText(2, RoleText(c.role));
        item->setText(3, QStringLiteral("%1 min").arg(c.lengthMinutes));
        item->setText(4, FormatShortDate(c.first, locales.dates));
        item->setText(5, FormatShortDate(c.last, locales.dates));
    }

    const UsageSummary& s = presenter_.Summary();
    const bool data = presenter_.HasData();
    for (QDateEdit* d : {from_, to_}) {
        d->setEnabled(data);
        d->setDateRange(presenter_.DataFrom().addYears(-1), presenter_.DataTo().addYears(1));
    }
    if (data) {
        from_->setDate(s.from);
        to_->setDate(s.to);
    }
    addToHistory_->setEnabled(data && s.figures.daysWithData > 0);
    fault_->Report(presenter_.Fault());
    note_->setText(!presenter_.Fault().isEmpty() || data
                       ? QString()
                       : QStringLiteral("No meter data yet. Import a NEM12 or Green Button file "
                                        "from your distributor or retailer with \"Import meter "
                                        "data…\", or drop it on the window."));
    note_->setVisible(!note_->text().isEmpty());

    while (figures_->rowCount() > 0) {
        figures_->removeRow(0);
    }
    for (const TUsagePresenter::Figure& f : presenter_.FigureTexts()) {
        QLabel* value = PlainLabel(f.value, this);
        value->setObjectName(f.label);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures_->addRow(PlainLabel(f.label + QLatin1Char(':'), this), value);
    }

    UsageChartTexts texts;
    // Grid values are round: as few decimals as each needs (0, 0.5, 0.25).
    texts.kwh = [this](double v) {
        int decimals = 0;
        while (decimals < 3 && std::abs(v * std::pow(10.0, decimals) -
                                        std::round(v * std::pow(10.0, decimals))) > 1e-6) {
            ++decimals;
        }
        return presenter_.KwhText(v, decimals);
    };
    texts.day = [this](int d) { return presenter_.DayText(presenter_.Summary().from.addDays(d)); };
    texts.slot = [this](int slot) { return presenter_.SlotText(slot); };
    texts.cell = [this](int d, int slot) { return presenter_.CellText(d, slot); };
    daily_->Show(&s, texts);
    heatMap_->SetRateTypes(&presenter_.RateTypes());
    heatMap_->Show(&s, texts);
    typical_->Show(&s, texts);
    showing_ = false;
}

QString TUsagePage::FigureText(const QString& label) const {
    for (int row = 0; row < figures_->rowCount(); ++row) {
        QLayoutItem* item = figures_->itemAt(row, QFormLayout::FieldRole);
        if (auto* value = item != nullptr ? qobject_cast<QLabel*>(item->widget()) : nullptr;
            value != nullptr && value->objectName() == label) {
            return value->text();
        }
    }
    return QString();
}

bool TUsagePage::ImportFile(const QString& path) {
    TImportDialog dialog(path, presenter_.FileName(), presenter_.StoredRoles(), readings_.Locales(),
                         this);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    qint64 intervals = 0;
    for (const ChannelSummary& c : dialog.Result().channels) {
        intervals += c.role == ChannelRole::Skip ? 0 : c.intervals;
    }
    readings_.ShowStatus(
        QStringLiteral("    %1 intervals imported from %2.")
            .arg(readings_.Locales().numbers.toString(intervals), QFileInfo(path).fileName()));
    Refresh();
    return true;
}

void TUsagePage::ChooseAndImport() {
    const QString path = files_.OpenFileName(
        QStringLiteral("Import meter data"), QString(),
        QStringLiteral(
            "Meter data (*.csv *.CSV *.xml *.XML *.zip *.ZIP *.txt *.dat);;All files (*)"));
    if (!path.isEmpty()) {
        ImportFile(path);
    }
}
