#include "app/historypresenter.h"

#include "app/tform1.h"
#include "history/historycsv.h"
#include "history/historysummary.h"
#include "mylib/dates.h"
#include "mylib/filedialogs.h"
#include "mylib/money.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

THistoryPresenter::THistoryPresenter(TForm1& form, TDialogs& dialogs, TFileDialogs& files,
                                     QString fileName)
    : form_(form), dialogs_(dialogs), files_(files), store_(std::move(fileName)),
      model_(std::make_unique<THistoryTableModel>(form.Locales(), MoneyDecimals())) {
    model_->noteEditor = [this](qint64 id, const QString& note) {
        if (note.size() > kNoteLimit) {
            dialogs_.ShowMessage(NoteTooLongText());
            return false;
        }
        if (!CanChange()) {
            return false;
        }
        try {
            store_.SetNote(id, note);
            return true;
        } catch (const EHistoryError& e) {
            Report(e);
            return false;
        }
    };
}

THistoryPresenter::~THistoryPresenter() = default;

TLocales THistoryPresenter::Locales() const {
    return form_.Locales();
}

void THistoryPresenter::Changed() {
    if (onChanged) {
        onChanged();
    }
}

void THistoryPresenter::Report(const EHistoryError& e) {
    if (e.Fault() == HistoryFault::Damaged || e.Fault() == HistoryFault::Unreadable) {
        // The file went bad under us: the page shows it and offers a new one.
        fault_ = e.Fault();
        faultDetail_ = e.Message();
        store_.Close();
        Changed();
    }
    dialogs_.ShowMessage(e.Message());
}

bool THistoryPresenter::EnsureOpen() {
    if (store_.IsOpen()) {
        return true;
    }
    opened_ = true;
    try {
        fault_ = store_.Open();
        faultDetail_ =
            fault_ == HistoryFault::None ? QString() : HistoryFaultText(fault_, store_.FileName());
        Reload();
    } catch (const EHistoryError& e) {
        fault_ = e.Fault();
        faultDetail_ = e.Message();
        store_.Close();
        model_->SetPeriods({});
        Changed();
        return false;
    }
    // A damaged page found while reading closes the store again: the caller
    // then reports that fault, not a query on a closed connection.
    return store_.IsOpen();
}

bool THistoryPresenter::CanChange() {
    if (!EnsureOpen() || fault_ == HistoryFault::ReadOnly) {
        dialogs_.ShowMessage(FaultText());
        return false;
    }
    return true;
}

void THistoryPresenter::Reload() {
    try {
        model_->SetPeriods(store_.Periods());
    } catch (const EHistoryError& e) {
        fault_ = e.Fault();
        faultDetail_ = e.Message();
        store_.Close();
        model_->SetPeriods({});
    }
    Changed();
}

QString THistoryPresenter::FaultText() const {
    return faultDetail_.isEmpty() ? HistoryFaultText(fault_, store_.FileName()) : faultDetail_;
}

void THistoryPresenter::PageShown() {
    if (!opened_) {
        EnsureOpen();
    }
}

void THistoryPresenter::TryAgain() {
    store_.Close();
    EnsureOpen();
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

void THistoryPresenter::AddCurrentPeriod() {
    const QDate from = form_.dt1->Date();
    const QDate to = form_.dt2->Date();
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
        if (store_.Find(from, to)) {
            const QString question =
                QStringLiteral("A period from %1 to %2 is already in the history. Replace it "
                               "with the period as calculated now?")
                    .arg(FormatShortDate(from, locales.dates), FormatShortDate(to, locales.dates));
            if (!dialogs_.VerifyDialog(question, QString(), true, true)) {
                return;
            }
        }
        store_.Add(period);
    } catch (const EHistoryError& e) {
        Report(e);
        return;
    }
    Reload();
    form_.sb1->SetSimpleText(QStringLiteral("    Period added to the history."));
    form_.Timer1->SetEnabled(true);
}

void THistoryPresenter::OpenInReadings(int row) {
    if (row < 0 || row >= model_->rowCount()) {
        return;
    }
    const HistoryPeriod p = model_->Period(row);
    const PeriodInputs texts = TextsInLocale(p, form_.Locales().numbers);
    const std::pair<QString PeriodInputs::*, TEdit*> fields[] = {
        {&PeriodInputs::generalDailyCharge, form_.generaldailyservicechargeed},
        {&PeriodInputs::generalRate, form_.generalrateed},
        {&PeriodInputs::hwDailyCharge, form_.hwdailyfixedchargeed},
        {&PeriodInputs::hwRate, form_.hwrateed},
        {&PeriodInputs::feedIn, form_.feedined},
        {&PeriodInputs::generalBefore, form_.Edit6},
        {&PeriodInputs::generalAfter, form_.Edit7},
        {&PeriodInputs::hotWaterBefore, form_.Edit9},
        {&PeriodInputs::hotWaterAfter, form_.Edit10},
        {&PeriodInputs::exportBefore, form_.exportoriged},
        {&PeriodInputs::exportAfter, form_.exportlater},
        {&PeriodInputs::importGeneralBefore, form_.importgenoriged},
        {&PeriodInputs::importGeneralAfter, form_.importgenlatered},
        {&PeriodInputs::importHwBefore, form_.importhworiged},
        {&PeriodInputs::importHwAfter, form_.importhwlatered},
    };
    form_.pagecontrol1->SetActivePage(form_.readingsts);
    // Program-set dates fire nothing; the switches and texts fire their
    // handlers as any change does, and the last step recalculates in any case.
    form_.dt1->SetDate(p.from);
    form_.dt2->SetDate(p.to);
    form_.solarcb->SetChecked(p.typed.solar);
    form_.showhwcb->SetChecked(p.typed.showHotWater);
    for (const auto& [member, edit] : fields) {
        edit->SetText(texts.*member);
    }
    form_.dt1Change(form_.dt2);
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
        store_.Remove(ids);
    } catch (const EHistoryError& e) {
        Report(e);
        return;
    }
    Reload();
}

void THistoryPresenter::ExportCsv() {
    if (!EnsureOpen()) {
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
        count = store_.Import(ReadHistoryCsv(file));
    } catch (const EHistoryError& e) {
        Report(e);
        return;
    } catch (const EVoltiskError& e) {
        dialogs_.ShowMessage(e.Message());
        return;
    }
    Reload();
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
        kept = store_.StartNewHistory();
        fault_ = HistoryFault::None;
        faultDetail_.clear();
    } catch (const EHistoryError& e) {
        fault_ = e.Fault();
        faultDetail_ = e.Message();
        store_.Close();
        Changed();
        dialogs_.ShowMessage(e.Message());
        return;
    }
    Reload();
    if (!kept.isEmpty()) {
        dialogs_.ShowMessage(QStringLiteral("A new history was started. The old file was kept "
                                            "as %1.")
                                 .arg(QDir::toNativeSeparators(kept)));
    }
}
