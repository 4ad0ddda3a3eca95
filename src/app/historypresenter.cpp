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
    return true;
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
        line += QStringLiteral(" Selected period: ") +
                ComparisonText(model_->Period(selectedRow).netPerDay, s, locale, MoneyDecimals()) +
                QLatin1Char('.');
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
    if (!CanChange()) {
        return;
    }
    const TLocales locales = form_.Locales();
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
        const HistoryPeriod period =
            MakeHistoryPeriod(from, to, form_.ReadPeriodInputs(), locales.numbers, locales.money,
                              MoneyDecimals(), QDateTime::currentDateTimeUtc());
        if (!ConfirmUnusual(period)) {
            return;
        }
        store_.Add(period);
    } catch (const EHistoryError& e) {
        Report(e);
        return;
    }
    lastStored_ = CurrentReadings();
    Reload();
    form_.sb1->SetSimpleText(QStringLiteral("    Period added to the history."));
    form_.Timer1->SetEnabled(true);
}

QString THistoryPresenter::PeriodText(const HistoryPeriod& p) const {
    const QLocale dates = form_.Locales().dates;
    return QStringLiteral("from %1 to %2")
        .arg(FormatShortDate(p.from, dates), FormatShortDate(p.to, dates));
}

bool THistoryPresenter::ConfirmUnusual(const HistoryPeriod& period) {
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
    return reasons.isEmpty() ||
           dialogs_.VerifyDialog(QStringLiteral("Store the period %1 in the history? %2")
                                     .arg(PeriodText(period), reasons.join(u' ')),
                                 QString(), true, true);
}

THistoryPresenter::Readings THistoryPresenter::CurrentReadings() const {
    return {form_.dt1->Date(), form_.dt2->Date(), form_.ReadPeriodInputs()};
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
            QString(), true, true)) {
        return;
    }
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
        edit->SetText(p.typed.*member);
    }
    form_.dt1Change(form_.dt2);
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
        store_.Remove(ids);
    } catch (const EHistoryError& e) {
        Report(e);
        return;
    }
    Reload();
}

void THistoryPresenter::BackUpHistory() {
    if (!EnsureOpen()) {
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
        store_.BackUp(file);
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
        kept = store_.Restore(file);
        fault_ = HistoryFault::None;
        faultDetail_.clear();
    } catch (const EHistoryError& e) {
        dialogs_.ShowMessage(e.Message());
        return;
    }
    opened_ = true;
    Reload();
    dialogs_.ShowMessage(
        kept.isEmpty()
            ? QStringLiteral("The history was restored from %1.")
                  .arg(QDir::toNativeSeparators(file))
            : QStringLiteral("The history was restored from %1. The previous file was kept as %2.")
                  .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(kept)));
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
