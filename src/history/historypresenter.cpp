#include "history/historypresenter.h"

#include "app/readingspage.h"
#include "history/changeexplain.h"
#include "history/forecast.h"
#include "history/historycsv.h"
#include "history/historysummary.h"
#include "history/readingchecks.h"
#include "meterdata/meterstore.h"
#include "mylib/dates.h"
#include "mylib/filedialogs.h"
#include "mylib/money.h"
#include "mylib/numbers.h"
#include "mylib/platform.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

THistoryPresenter::THistoryPresenter(TReadingsPage& form, TDialogs& dialogs, TFileDialogs& files,
                                     THistorySession& session)
    : THistoryPresenter(form, dialogs, files, nullptr, &session) {}

THistoryPresenter::THistoryPresenter(TReadingsPage& form, TDialogs& dialogs, TFileDialogs& files,
                                     QString fileName)
    : THistoryPresenter(form, dialogs, files,
                        std::make_unique<THistorySession>(std::move(fileName)), nullptr) {}

THistoryPresenter::THistoryPresenter(TReadingsPage& form, TDialogs& dialogs, TFileDialogs& files,
                                     std::unique_ptr<THistorySession> own, THistorySession* shared)
    : form_(form), dialogs_(dialogs), files_(files), ownSession_(std::move(own)),
      session_(shared ? *shared : *ownSession_),
      listener_(session_.AddListener([this](bool periods) { SessionChanged(periods); })),
      model_(std::make_unique<THistoryTableModel>(form.Locales(), form.MoneyDecimals())) {
    model_->SetPeriods(session_.Periods());
    model_->noteEditor = [this](qint64 id, const QString& note) {
        if (note.size() > kNoteLimit) {
            dialogs_.ShowMessage(NoteTooLongText());
            return false;
        }
        if (!CanChange()) {
            return false;
        }
        try {
            Store().SetNote(id, note);
            KeepWarningsFitting(id, note);
            return true;
        } catch (const EHistoryError& e) {
            Report(e);
            return false;
        }
    };
}

THistoryPresenter::~THistoryPresenter() {
    session_.RemoveListener(listener_);
}

void THistoryPresenter::KeepWarningsFitting(qint64 id, const QString& note) {
    const int row = model_->RowOf(id);
    if (row < 0 || NotesMeterChange(note) == NotesMeterChange(model_->Period(row).note)) {
        return;
    }
    // A note about a meter change or roll-over drops the reading warnings;
    // taking it back brings them back.
    HistoryPeriod p = model_->Period(row);
    p.note = note;
    const QStringList warnings = ReadingWarnings(p, model_->Periods(), form_.Locales().dates);
    if (warnings != p.warnings) {
        Store().SetWarnings(id, warnings);
        model_->SetWarnings(row, warnings);
    }
}

TLocales THistoryPresenter::Locales() const {
    return form_.Locales();
}

int THistoryPresenter::MoneyDecimals() const {
    return form_.MoneyDecimals();
}

void THistoryPresenter::SessionChanged(bool periodsChanged) {
    if (periodsChanged) {
        model_->SetPeriods(session_.Periods());
    }
    if (onChanged) {
        onChanged();
    }
}

void THistoryPresenter::Report(const EHistoryError& e) {
    if (e.Fault() == HistoryFault::Damaged || e.Fault() == HistoryFault::Unreadable) {
        // The file went bad under us: the page shows it and offers a new one.
        session_.Fail(e);
    }
    dialogs_.ShowMessage(e.Message());
}

bool THistoryPresenter::CanChange() {
    if (!session_.EnsureOpen() || Fault() == HistoryFault::ReadOnly) {
        dialogs_.ShowMessage(FaultText());
        return false;
    }
    return true;
}

void THistoryPresenter::PageShown() {
    if (!session_.Opened()) {
        session_.EnsureOpen();
    }
}

void THistoryPresenter::TryAgain() {
    session_.Reopen();
}

void THistoryPresenter::SetSelectedRows(const QList<int>& rows) {
    if (!rows.isEmpty() && rows[0] >= 0 && rows[0] < model_->rowCount()) {
        const HistoryPeriod& p = model_->Period(rows[0]);
        session_.Select(THistorySession::DatePair{p.from, p.to});
    } else {
        session_.Select(std::nullopt);
    }
}

QString THistoryPresenter::SummaryLine(int selectedRow) const {
    const HistorySummary s = SummarizeLastYear(model_->Periods());
    const QLocale locale = form_.Locales().money;
    QString line = SummaryText(s, locale, form_.MoneyDecimals());
    if (selectedRow >= 0 && selectedRow < model_->rowCount()) {
        const QString comparison =
            ComparisonText(model_->Period(selectedRow).netPerDay, s, locale, form_.MoneyDecimals());
        if (!comparison.isEmpty()) {
            line += QStringLiteral(" Selected period: ") + comparison + QLatin1Char('.');
        }
    }
    return line;
}

QString THistoryPresenter::ChangeLine(int selectedRow) const {
    if (selectedRow < 0 || selectedRow >= model_->rowCount()) {
        return QString();
    }
    const TLocales locales = form_.Locales();
    return ChangeText(model_->Period(selectedRow), model_->Periods(), locales.dates, locales.money,
                      form_.MoneyDecimals());
}

std::vector<ChangeBars> THistoryPresenter::ChangeBarsFor(int selectedRow) const {
    if (selectedRow < 0 || selectedRow >= model_->rowCount()) {
        return {};
    }
    const TLocales locales = form_.Locales();
    return ChangeBarsOf(model_->Period(selectedRow), model_->Periods(), locales.dates,
                        locales.money, form_.MoneyDecimals());
}

MeterDaysUse THistoryPresenter::MeterUse(QDate from, QDate today) const {
    MeterDaysUse use;
    // Only an open, readable file: the forecast never opens it or reports its faults.
    if (!session_.Opened() ||
        (Fault() != HistoryFault::None && Fault() != HistoryFault::ReadOnly)) {
        return use;
    }
    try {
        // Today's data may not be in yet: the days before it.
        const MeterStore meter(session_.Store().Database());
        for (const UsageRow& row : meter.Usage(from, today.addDays(-1), false)) {
            ++use.days;
            use.general += row.kwh[static_cast<int>(ChannelRole::General)];
            use.controlledLoad += row.kwh[static_cast<int>(ChannelRole::ControlledLoad)];
            use.exported += row.kwh[static_cast<int>(ChannelRole::Export)];
        }
    } catch (const EHistoryError&) {
        return MeterDaysUse(); // the readings answer instead
    }
    return use;
}

QString THistoryPresenter::ForecastLine() const {
    const QDate from = form_.PeriodFrom();
    const QDate to = form_.PeriodTo();
    const QDate now = today ? today() : QDate::currentDate();
    const TLocales locales = form_.Locales();
    const PeriodInputs inputs = form_.ReadPeriodInputs();
    if (!ForecastCost(from, to, now, inputs, locales.numbers)) {
        return QString(); // not running: no need to ask the meter data
    }
    const MeterDaysUse meter = MeterUse(from, now);
    const auto cost = ForecastCost(from, to, now, inputs, locales.numbers, meter);
    return QStringLiteral("Readings page, %1 to %2: ")
               .arg(FormatShortDate(from, locales.dates), FormatShortDate(to, locales.dates)) +
           ForecastText(*cost, locales.money, form_.MoneyDecimals(), meter.days);
}

void THistoryPresenter::SetBill(int row, const QString& billedText, QDate billDate,
                                const QString& reference, bool startEstimated, bool endEstimated) {
    if (row < 0 || row >= model_->rowCount()) {
        return;
    }
    std::optional<double> billed;
    if (!billedText.trimmed().isEmpty()) {
        billed = ParseLocaleNumber(billedText, form_.Locales().numbers);
        if (!billed) {
            dialogs_.ShowMessage(QStringLiteral("The billed amount \"%1\" is not a number.")
                                     .arg(billedText.trimmed()));
            return;
        }
    }
    const HistoryPeriod& p = model_->Period(row);
    QStringList estimated;
    for (const PeriodField& f : PeriodFields()) {
        const QString stem = QLatin1String(f.column);
        const bool reading =
            stem.endsWith(QLatin1String("_before")) || stem.endsWith(QLatin1String("_after"));
        if (reading && (stem.endsWith(QLatin1String("_before")) ? startEstimated : endEstimated)) {
            estimated << stem;
        }
    }
    if (!CanChange()) {
        return;
    }
    try {
        Store().SetBill(p.id, billed, billed ? billDate : QDate(), billed ? reference : QString(),
                        estimated);
    } catch (const EHistoryError& e) {
        Report(e);
        return;
    }
    session_.Reload();
}

void THistoryPresenter::AddCurrentPeriod() {
    const QDate from = form_.PeriodFrom();
    const QDate to = form_.PeriodTo();
    if (RoundedDifference(to, from) <= 0) {
        dialogs_.ShowMessage(QStringLiteral(
            "Only a period with more than 0 days can be added to the history: the later reading "
            "must be dated after the original reading."));
        return;
    }
    const TLocales locales = form_.Locales();
    HistoryPeriod period =
        MakeHistoryPeriod(from, to, form_.ReadPeriodInputs(), locales.numbers, locales.money,
                          form_.MoneyDecimals(), QDateTime::currentDateTimeUtc());
    if (!HasStorableFigures(period)) {
        dialogs_.ShowMessage(FiguresTooLargeText());
        return;
    }
    if (!CanChange()) {
        return;
    }
    try {
        if (const auto old = Store().Find(from, to)) {
            const QString question =
                QStringLiteral("A period from %1 to %2 is already in the history. Replace it "
                               "with the period as calculated now?")
                    .arg(FormatShortDate(from, locales.dates), FormatShortDate(to, locales.dates));
            if (!dialogs_.VerifyDialog(question, QString(),
                                       {.relativeToOwner = true, .allowCancel = true})) {
                return;
            }
            period.note = old->note; // a meter-change note still holds
        }
        if (!ConfirmUnusual(period)) {
            return;
        }
        Store().Add(period);
    } catch (const EHistoryError& e) {
        Report(e);
        return;
    }
    lastStored_ = CurrentReadings();
    session_.Reload();
    form_.ShowStatus(QStringLiteral("    Period added to the history."));
}

QString THistoryPresenter::PeriodText(const HistoryPeriod& p) const {
    const QLocale dates = form_.Locales().dates;
    return QStringLiteral("from %1 to %2")
        .arg(FormatShortDate(p.from, dates), FormatShortDate(p.to, dates));
}

bool THistoryPresenter::ConfirmUnusual(HistoryPeriod& period) {
    // The readings checked against the stored periods; kept with the row when
    // it is stored anyway.
    period.warnings = ReadingWarnings(period, model_->Periods(), form_.Locales().dates);
    QStringList reasons;
    QStringList overlaps;
    for (const HistoryPeriod& q : model_->Periods()) {
        const bool same = q.from == period.from && q.to == period.to;
        if (!same && q.from < period.to && period.from < q.to) {
            overlaps << PeriodText(q);
        }
    }
    if (!overlaps.isEmpty()) {
        reasons << QStringLiteral("It overlaps the stored %1 %2; the days they share count once, "
                                  "for the period stored last.")
                       .arg(overlaps.size() == 1 ? QStringLiteral("period")
                                                 : QStringLiteral("periods"),
                            overlaps.join(QStringLiteral(", ")));
    }
    if (period.days > kLongestPeriodDays) {
        reasons << QStringLiteral("It is %1 days long, more than %2.")
                       .arg(period.days)
                       .arg(kLongestPeriodDays);
    }
    if (period.kwhGeneral < 0 || period.kwhHotWater < 0 || period.kwhExported < 0) {
        reasons << QStringLiteral("Its use is negative: a later reading is below the original "
                                  "one.");
    }
    if (reasons.isEmpty() && period.warnings.isEmpty()) {
        return true;
    }
    const QString question =
        reasons.isEmpty()
            ? QStringLiteral("The readings do not fit the history. Store the period anyway? The "
                             "warnings are kept with it.")
            : QStringLiteral("Store the period %1 in the history? %2")
                  .arg(PeriodText(period), reasons.join(u' '));
    return dialogs_.VerifyDialog(question, period.warnings.join(QLatin1Char('\n')),
                                 {.relativeToOwner = true, .allowCancel = true});
}

THistoryPresenter::Readings THistoryPresenter::CurrentReadings() const {
    return {form_.PeriodFrom(), form_.PeriodTo(), form_.ReadPeriodInputs()};
}

bool THistoryPresenter::Readings::operator==(const Readings& o) const {
    if (from != o.from || to != o.to || inputs.solar != o.inputs.solar ||
        inputs.showHotWater != o.inputs.showHotWater) {
        return false;
    }
    return std::all_of(PeriodFields().begin(), PeriodFields().end(),
                       [&](const PeriodField& f) { return inputs.*f.text == o.inputs.*f.text; });
}

bool THistoryPresenter::HoldsUnstoredReadings() const {
    const Readings now = CurrentReadings();
    if (lastStored_ && *lastStored_ == now) {
        return false;
    }
    const bool anyReading =
        std::any_of(PeriodFields().begin(), PeriodFields().end(), [&](const PeriodField& f) {
            const QLatin1String column(f.column);
            const bool reading = column.endsWith(QLatin1String("_before")) ||
                                 column.endsWith(QLatin1String("_after"));
            return reading && !(now.inputs.*f.text).trimmed().isEmpty();
        });
    if (!anyReading) {
        return false;
    }
    for (const HistoryPeriod& p : model_->Periods()) {
        if (Readings{p.from, p.to, p.typed} == now) {
            return false;
        }
    }
    return true;
}

void THistoryPresenter::OpenInReadings(int row) {
    if (row < 0 || row >= model_->rowCount()) {
        return;
    }
    const HistoryPeriod p = model_->Period(row);
    if (HoldsUnstoredReadings() &&
        !dialogs_.VerifyDialog(
            QStringLiteral("The readings page holds readings that are not in the history. "
                           "Replace them with the period %1?")
                .arg(PeriodText(p)),
            QString(), {.relativeToOwner = true, .allowCancel = true})) {
        return;
    }
    form_.WritePeriod(p.from, p.to, TextsInLocale(p, form_.Locales().numbers));
    lastStored_ = CurrentReadings();
}

void THistoryPresenter::DeleteRows(const QList<int>& rows) {
    std::vector<qint64> ids;
    for (int row : rows) {
        if (row >= 0 && row < model_->rowCount()) {
            ids.push_back(model_->Period(row).id);
        }
    }
    if (ids.empty() || !CanChange()) {
        return;
    }
    // Name what goes: a deletion cannot be undone, so No is the default.
    QStringList named;
    for (int row : rows) {
        if (row >= 0 && row < model_->rowCount() && named.size() < 10) {
            const QString net = model_->index(row, THistoryTableModel::Net).data().toString();
            named << QStringLiteral("%1 (net %2)").arg(PeriodText(model_->Period(row)), net);
        }
    }
    const QString question =
        ids.size() == 1
            ? QStringLiteral("Delete the period %1 from the history?").arg(named.front())
            : QStringLiteral("Delete the %1 selected periods from the history?").arg(ids.size());
    QString detail;
    if (ids.size() > 1) {
        detail = named.join(u'\n');
        if (ids.size() > static_cast<std::size_t>(named.size())) {
            detail += QStringLiteral("\nand %1 more").arg(ids.size() - named.size());
        }
    }
    if (!dialogs_.VerifyDialogDefaultNo(question, detail)) {
        return;
    }
    try {
        Store().Remove(ids);
    } catch (const EHistoryError& e) {
        Report(e);
        return;
    }
    session_.Reload();
}

void THistoryPresenter::BackUpHistory() {
    if (!session_.EnsureOpen()) {
        dialogs_.ShowMessage(FaultText());
        return;
    }
    const QString file = files_.SaveFileName(
        QStringLiteral("Back up history"),
        QDir::home().filePath(QStringLiteral("voltisk-history-%1.sqlite")
                                  .arg(form_.Today().toString(QStringLiteral("yyyy-MM-dd")))),
        QStringLiteral("History backups (*.sqlite)"));
    if (file.isEmpty()) {
        return;
    }
    try {
        Store().BackUp(file);
    } catch (const EHistoryError& e) {
        dialogs_.ShowMessage(e.Message());
        return;
    }
    dialogs_.ShowMessage(
        QStringLiteral("The history was backed up to %1.").arg(QDir::toNativeSeparators(file)));
}

void THistoryPresenter::RestoreHistory() {
    const QString file =
        files_.OpenFileName(QStringLiteral("Restore history"), QDir::homePath(),
                            QStringLiteral("History backups (*.sqlite);;All files (*)"));
    if (file.isEmpty()) {
        return;
    }
    QString kept;
    try {
        THistoryStore::CheckBackup(file);
        if (!dialogs_.VerifyDialogDefaultNo(
                QStringLiteral("Replace the history with the backup %1? The present history "
                               "file is kept beside it under a new name.")
                    .arg(QDir::toNativeSeparators(file)),
                QString())) {
            return;
        }
        kept = session_.Restore(file);
    } catch (const EHistoryError& e) {
        dialogs_.ShowMessage(e.Message());
        return;
    }
    dialogs_.ShowMessage(
        kept.isEmpty()
            ? QStringLiteral("The history was restored from %1.")
                  .arg(QDir::toNativeSeparators(file))
            : QStringLiteral("The history was restored from %1. The previous file was kept as %2.")
                  .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(kept)));
}

void THistoryPresenter::ExportCsv() {
    if (!session_.EnsureOpen()) {
        dialogs_.ShowMessage(FaultText());
        return;
    }
    std::vector<HistoryPeriod> periods = model_->Periods();
    if (periods.empty()) {
        dialogs_.ShowMessage(QStringLiteral("There are no periods in the history to export."));
        return;
    }
    std::sort(periods.begin(), periods.end(), [](const HistoryPeriod& a, const HistoryPeriod& b) {
        return std::pair(a.to, a.from) < std::pair(b.to, b.from);
    });
    const QString file =
        files_.SaveFileName(QStringLiteral("Export history"),
                            QDir::home().filePath(QStringLiteral("voltisk-history.csv")),
                            QStringLiteral("CSV files (*.csv)"));
    if (file.isEmpty()) {
        return;
    }
    try {
        ExportHistoryCsv(file, periods);
    } catch (const EVoltiskError& e) {
        dialogs_.ShowMessage(e.Message());
        return;
    }
    dialogs_.ShowMessage(QStringLiteral("%1 exported to %2.")
                             .arg(periods.size() == 1
                                      ? QStringLiteral("1 period")
                                      : QStringLiteral("%1 periods").arg(periods.size()),
                                  QDir::toNativeSeparators(file)));
}

void THistoryPresenter::ImportCsv() {
    if (!CanChange()) {
        return;
    }
    const QString file = files_.OpenFileName(QStringLiteral("Import history"), QDir::homePath(),
                                             QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (file.isEmpty()) {
        return;
    }
    THistoryStore::ImportCount count;
    try {
        count = Store().Import(ReadHistoryCsv(file));
    } catch (const EHistoryError& e) {
        Report(e);
        return;
    } catch (const EVoltiskError& e) {
        dialogs_.ShowMessage(e.Message());
        return;
    }
    session_.Reload();
    dialogs_.ShowMessage(QStringLiteral("Import finished: %1 added, %2 skipped because a period "
                                        "with the same dates is already in the history.")
                             .arg(count.added)
                             .arg(count.skipped));
}

void THistoryPresenter::StartNewHistory() {
    if (!dialogs_.VerifyDialog(QStringLiteral("Start a new, empty history? The present file is "
                                              "kept as it is, under a new name beside it."),
                               QString(), {.relativeToOwner = true, .allowCancel = true})) {
        return;
    }
    QString kept;
    try {
        kept = session_.StartNewHistory();
    } catch (const EHistoryError& e) {
        dialogs_.ShowMessage(e.Message());
        return;
    }
    if (!kept.isEmpty()) {
        dialogs_.ShowMessage(QStringLiteral("A new history was started. The old file was kept "
                                            "as %1.")
                                 .arg(QDir::toNativeSeparators(kept)));
    }
}
