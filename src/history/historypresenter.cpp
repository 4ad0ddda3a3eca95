#include "history/historypresenter.h"

#include "app/readingspage.h"
#include "history/changeexplain.h"
#include "history/forecast.h"
#include "history/historycsv.h"
#include "history/historysummary.h"
#include "history/readingchecks.h"
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
      model_(std::make_unique<THistoryTableModel>(form.Locales(), MoneyDecimals())) {
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
    QString line = SummaryText(s, locale, MoneyDecimals());
    if (selectedRow >= 0 && selectedRow < model_->rowCount()) {
        const QString comparison =
            ComparisonText(model_->Period(selectedRow).netPerDay, s, locale, MoneyDecimals());
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
                      MoneyDecimals());
}

QString THistoryPresenter::ForecastLine() const {
    const QDate from = form_.PeriodFrom();
    const QDate to = form_.PeriodTo();
    const TLocales locales = form_.Locales();
    const auto cost = ForecastCost(from, to, today ? today() : QDate::currentDate(),
                                   form_.ReadPeriodInputs(), locales.numbers);
    if (!cost) {
        return QString();
    }
    return QStringLiteral("Readings page, %1 to %2: ")
               .arg(FormatShortDate(from, locales.dates), FormatShortDate(to, locales.dates)) +
           ForecastText(*cost, locales.money, MoneyDecimals());
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
    const HistoryPeriod period =
        MakeHistoryPeriod(from, to, form_.ReadPeriodInputs(), locales.numbers, locales.money,
                          MoneyDecimals(), QDateTime::currentDateTimeUtc());
    if (!HasStorableFigures(period)) {
        dialogs_.ShowMessage(FiguresTooLargeText());
        return;
    }
    if (!CanChange()) {
        return;
    }
    try {
        HistoryPeriod period =
            MakeHistoryPeriod(from, to, form_.ReadPeriodInputs(), locales.numbers, locales.money,
                              MoneyDecimals(), QDateTime::currentDateTimeUtc());
        if (const auto old = Store().Find(from, to)) {
            const QString question =
                QStringLiteral("A period from %1 to %2 is already in the history. Replace it "
                               "with the period as calculated now?")
                    .arg(FormatShortDate(from, locales.dates), FormatShortDate(to, locales.dates));
            if (!dialogs_.VerifyDialog(question, QString(), true, true)) {
                return;
            }
            period.note = old->note; // a meter-change note still holds
        }
        period.warnings = ReadingWarnings(period, Store().Periods(), locales.dates);
        if (!period.warnings.isEmpty() &&
            !dialogs_.VerifyDialog(QStringLiteral("The readings do not fit the history. Store "
                                                  "the period anyway? The warnings are kept "
                                                  "with it."),
                                   period.warnings.join(QLatin1Char('\n')), true, true)) {
            return;
        }
        Store().Add(period);
    } catch (const EHistoryError& e) {
        Report(e);
        return;
    }
    session_.Reload();
    form_.ShowStatus(QStringLiteral("    Period added to the history."));
}

void THistoryPresenter::OpenInReadings(int row) {
    if (row < 0 || row >= model_->rowCount()) {
        return;
    }
    const HistoryPeriod p = model_->Period(row);
    PeriodInputs texts = TextsInLocale(p, form_.Locales().numbers);
    form_.WritePeriod(p.from, p.to, texts);
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
    const QString question =
        ids.size() == 1
            ? QStringLiteral("Delete the selected period from the history?")
            : QStringLiteral("Delete the %1 selected periods from the history?").arg(ids.size());
    if (!dialogs_.VerifyDialog(question, QString(), true, true)) {
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
                               QString(), true, true)) {
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
