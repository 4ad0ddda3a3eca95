#pragma once
// THistoryPresenter owns the History page's actions. It reads the period on
// the "Standard readings" page (app/readingspage.h) and puts stored periods
// back through it, so the page recalculates as any change does; it keeps the store and the table
// model, and talks to the user only through the injected dialogs.
//
// Nothing touches the history file until the page is first shown or a period
// is added (PageShown, AddCurrentPeriod); a keystroke on the readings page
// never reaches this class. A fault of the file (damaged, unreadable,
// read-only, locked, newer) is kept as Fault()/FaultText() for the page to
// show, with StartNewHistory() and TryAgain() as the ways out. The file, its
// fault, its periods and the selected period belong to the history session
// (history/historysession.h), which the Compare plans page shares.

#include "history/changeexplain.h"
#include "history/forecast.h"
#include "history/historysession.h"
#include "history/historytablemodel.h"

#include <QList>
#include <functional>
#include <memory>
#include <optional>

class TReadingsPage;
class TDialogs;
class TFileDialogs;

class THistoryPresenter {
public:
    // Works on `session`, which must outlive the presenter.
    THistoryPresenter(TReadingsPage& form, TDialogs& dialogs, TFileDialogs& files,
                      THistorySession& session);
    // With a session of its own on `fileName`.
    THistoryPresenter(TReadingsPage& form, TDialogs& dialogs, TFileDialogs& files,
                      QString fileName);
    ~THistoryPresenter();
    THistoryPresenter(const THistoryPresenter&) = delete;
    THistoryPresenter& operator=(const THistoryPresenter&) = delete;

    // The page is shown: opens the history on the first call.
    void PageShown();
    bool Opened() const { return session_.Opened(); }

    // "Add current period" and Ctrl+S.
    void AddCurrentPeriod();
    // "Open in readings" for the period in this row of the table.
    void OpenInReadings(int row);
    // "Delete": asks, then removes the periods in these rows.
    void DeleteRows(const QList<int>& rows);
    // "Back up history…": the whole history into one file the user names.
    void BackUpHistory();
    // "Restore…": a backup checked, asked about, then put in place of the
    // history; the present file is kept beside it.
    void RestoreHistory();
    void ExportCsv();
    void ImportCsv();
    // The ways out of a fault.
    void StartNewHistory();
    void TryAgain();

    HistoryFault Fault() const { return session_.Fault(); }
    QString FaultText() const { return session_.FaultText(); }
    THistoryTableModel& Model() { return *model_; }
    THistoryStore& Store() { return session_.Store(); }
    THistorySession& Session() { return session_; }
    // The rows selected on the page, top first; the first is the session's
    // selected period, which the Compare plans page follows.
    void SetSelectedRows(const QList<int>& rows);
    // The window's locale parts (dates, numbers, money) the page writes with.
    TLocales Locales() const;
    int MoneyDecimals() const;
    // The summary line, comparing the period in `selectedRow` when >= 0.
    QString SummaryLine(int selectedRow) const;

    // Why the cost of the period in `selectedRow` changed against a year
    // before and the previous period; empty without an answer.
    QString ChangeLine(int selectedRow) const;
    // The same answers as the bars beside that line draw them.
    std::vector<ChangeBars> ChangeBarsFor(int selectedRow) const;
    // The forecast for the period on the readings page while it runs, else
    // empty; from the stored meter data's days of it when there are any.
    QString ForecastLine() const;
    // Stores the bill typed for the period in `row` (an empty amount: no
    // bill), with its start or end readings marked estimated.
    void SetBill(int row, const QString& billedText, QDate billDate, const QString& reference,
                 bool startEstimated, bool endEstimated);

    // Today's date for the forecast; the clock's when unset.
    std::function<QDate()> today;
    // Runs after every change of the periods or of the fault.
    std::function<void()> onChanged;

    // A period longer than this is asked about before it is stored.
    static constexpr qint64 kLongestPeriodDays = 400;

private:
    // What the readings page holds: its dates and its typed fields.
    struct Readings {
        QDate from, to;
        PeriodInputs inputs;
        bool operator==(const Readings& o) const;
    };
    Readings CurrentReadings() const;
    // The stored meter data's days from `from` to the day before `today`.
    MeterDaysUse MeterUse(QDate from, QDate today) const;
    // Whether the readings page holds readings typed since they were last
    // stored or opened here, that no stored period holds either.
    bool HoldsUnstoredReadings() const;
    // Asks about a period that overlaps a stored one, is over
    // kLongestPeriodDays long, has negative use or readings that do not fit
    // (kept in its warnings); true when it may be stored.
    bool ConfirmUnusual(HistoryPeriod& period);
    // "from 11/8/2026 to 12/8/2026" in the window's date locale.
    QString PeriodText(const HistoryPeriod& p) const;
    THistoryPresenter(TReadingsPage& form, TDialogs& dialogs, TFileDialogs& files,
                      std::unique_ptr<THistorySession> own, THistorySession* shared);
    bool CanChange();
    void Report(const EHistoryError& e);
    void SessionChanged(bool periodsChanged);
    // Checks the readings again when a new note says or stops saying that the
    // meter was changed or rolled over.
    void KeepWarningsFitting(qint64 id, const QString& note);

    TReadingsPage& form_;
    TDialogs& dialogs_;
    TFileDialogs& files_;
    std::unique_ptr<THistorySession> ownSession_;
    THistorySession& session_;
    int listener_;
    std::unique_ptr<THistoryTableModel> model_;
    std::optional<Readings> lastStored_; // stored or opened here last
};
