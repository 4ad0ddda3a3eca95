#include "usage/page/importdialog.h"

#include "mylib/dates.h"
#include "usage/importjob.h"
#include "usage/usagepresenter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr ChannelRole kRoles[] = {ChannelRole::General, ChannelRole::ControlledLoad,
                                  ChannelRole::Export, ChannelRole::Skip};
enum Column { Meter, Channel, Interval, First, Last, Intervals, Quality, Role, Columns };

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text); // items show plain text
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

TImportDialog::TImportDialog(QString path, QString databaseFile, MeterChannelRoles roles,
                             TLocales locales, QWidget* parent)
    : QDialog(parent), path_(std::move(path)), databaseFile_(std::move(databaseFile)),
      stored_(std::move(roles)), locales_(std::move(locales)), status_(new QLabel(this)),
      progress_(new QProgressBar(this)), table_(new QTableWidget(0, Columns, this)),
      others_(new QLabel(this)), buttons_(new QDialogButtonBox(QDialogButtonBox::Cancel, this)),
      timer_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Import meter data"));
    setObjectName(QStringLiteral("importmeterdata"));
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    others_->setTextFormat(Qt::PlainText);
    others_->setWordWrap(true);
    others_->hide();
    table_->setHorizontalHeaderLabels({QStringLiteral("Meter"), QStringLiteral("Channel"),
                                       QStringLiteral("Interval"), QStringLiteral("First day"),
                                       QStringLiteral("Last day"), QStringLiteral("Intervals"),
                                       QStringLiteral("Quality"), QStringLiteral("Role")});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(table_, 1);
    layout->addWidget(others_);
    layout->addWidget(progress_);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::rejected, this, [this] {
        if (job_ && !job_->Finished()) {
            job_->Cancel();
            status_->setText(QStringLiteral("Cancelling…"));
        } else {
            reject();
        }
    });
    connect(timer_, &QTimer::timeout, this, &TImportDialog::Poll);
    resize(820, 360);
    Start(static_cast<int>(TMeterImportJob::Kind::Scan));
}

TImportDialog::~TImportDialog() = default;

bool TImportDialog::Busy() const {
    return job_ && !job_->Finished();
}

void TImportDialog::Start(int kind) {
    kind_ = kind;
    ImportOptions options;
    options.meterRoles = kind == static_cast<int>(TMeterImportJob::Kind::Scan) ? stored_ : Roles();
    const QString name = QFileInfo(path_).fileName();
    status_->setText(kind == static_cast<int>(TMeterImportJob::Kind::Scan)
                         ? QStringLiteral("Reading %1…").arg(name)
                         : QStringLiteral("Importing %1…").arg(name));
    progress_->setRange(0, kind == static_cast<int>(TMeterImportJob::Kind::Scan) ? 0 : 1000);
    progress_->setValue(0);
    progress_->show();
    job_ = std::make_unique<TMeterImportJob>(static_cast<TMeterImportJob::Kind>(kind), path_,
                                             databaseFile_, options);
    timer_->start(50);
}

void TImportDialog::Poll() {
    if (kind_ == static_cast<int>(TMeterImportJob::Kind::Import) && total_ > 0) {
        progress_->setValue(
            static_cast<int>(std::min<qint64>(1000, job_->Progress() * 1000 / total_)));
    }
    if (!job_->Finished()) {
        return;
    }
    timer_->stop();
    if (!job_->Error().isEmpty()) {
        Failed(job_->Cancelled() ? QStringLiteral("Cancelled: nothing was stored.")
                                 : job_->Error());
        return;
    }
    if (kind_ == static_cast<int>(TMeterImportJob::Kind::Scan)) {
        ShowScan(job_->Result());
    } else {
        result_ = job_->Result();
        accept();
    }
}

void TImportDialog::Failed(const QString& text) {
    progress_->hide();
    status_->setText(text);
    buttons_->setStandardButtons(QDialogButtonBox::Close);
}

QString TImportDialog::QualityText(const std::map<char, qint64>& quality, const QLocale& locale) {
    QStringList parts;
    for (const auto& [letter, count] : quality) {
        parts << QStringLiteral("%1 %2").arg(QChar::fromLatin1(letter), locale.toString(count));
    }
    return parts.join(QStringLiteral(", "));
}

void TImportDialog::ShowScan(const ImportResult& scan) {
    const QLocale& locale = locales_.numbers;
    progress_->hide();
    status_->setText(QStringLiteral("%1 holds these channels. Choose what each counts as, or leave "
                                    "it out, then import.")
                         .arg(QFileInfo(path_).fileName()));
    table_->setRowCount(static_cast<int>(scan.channels.size()));
    total_ = 0;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const ChannelSummary& c = scan.channels[static_cast<std::size_t>(row)];
        total_ += c.intervals;
        table_->setItem(row, Meter, Cell(c.meter));
        table_->setItem(row, Channel, Cell(c.channel));
        table_->setItem(row, Interval, Cell(QStringLiteral("%1 min").arg(c.lengthMinutes)));
        table_->setItem(row, First, Cell(FormatShortDate(c.first, locales_.dates)));
        table_->setItem(row, Last, Cell(FormatShortDate(c.last, locales_.dates)));
        table_->setItem(row, Intervals, Cell(locale.toString(c.intervals)));
        table_->setItem(row, Quality, Cell(QualityText(c.quality, locale)));
        auto* role = new QComboBox(table_);
        for (ChannelRole r : kRoles) {
            role->addItem(RoleText(r), static_cast<int>(r));
        }
        role->setCurrentIndex(role->findData(static_cast<int>(c.role)));
        table_->setCellWidget(row, Role, role);
    }
    table_->show();
    if (!scan.others.empty()) {
        QStringList list;
        for (const OtherChannel& o : scan.others) {
            list << QStringLiteral("%1 %2 (%3)").arg(o.meter, o.channel, o.unit);
        }
        others_->setText(QStringLiteral("Not energy, not stored: ") +
                         list.join(QStringLiteral(", ")));
        others_->show();
    }
    buttons_->setStandardButtons(QDialogButtonBox::Cancel);
    QPushButton* go = buttons_->addButton(QStringLiteral("Import"), QDialogButtonBox::AcceptRole);
    go->setDefault(true);
    connect(go, &QPushButton::clicked, this, &TImportDialog::StartImport);
}

MeterChannelRoles TImportDialog::Roles() const {
    MeterChannelRoles roles;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const auto* role = qobject_cast<QComboBox*>(table_->cellWidget(row, Role));
        if (role != nullptr) {
            roles[MeterChannelKey(table_->item(row, Meter)->text(),
                                  table_->item(row, Channel)->text())] =
                static_cast<ChannelRole>(role->currentData().toInt());
        }
    }
    return roles;
}

void TImportDialog::StartImport() {
    if (Busy()) {
        return;
    }
    table_->setEnabled(false);
    for (QAbstractButton* b : buttons_->buttons()) {
        if (buttons_->buttonRole(b) == QDialogButtonBox::AcceptRole) {
            b->setEnabled(false);
        }
    }
    Start(static_cast<int>(TMeterImportJob::Kind::Import));
}
