#pragma once
// THistoryPresenter owns the History page's actions. It reads the period on
// the "Standard readings" page from the window model (TForm1) and puts stored
// periods back through the model's elements, so the page recalculates as any
// change does; it keeps the store and the table model, and talks to the user
// only through the injected dialogs.
//
// Nothing touches the history file until the page is first shown or a period
// is added (PageShown, AddCurrentPeriod); a keystroke on the readings page
// never reaches this class. A fault of the file (damaged, unreadable,
// read-only, locked, newer) is kept as Fault()/FaultText() for the page to
// show, with StartNewHistory() and TryAgain() as the ways out.

#include "history/historystore.h"
#include "history/historytablemodel.h"

#include <QList>
#include <functional>
#include <memory>
#include <optional>

class TForm1;
class TDialogs;
class TFileDialogs;

class THistoryPresenter {
public:
    // `fileName` is the history file (HistoryFileName() in the program).
    THistoryPresenter(TForm1& form, TDialogs& dialogs, TFileDialogs& files, QString fileName);
    ~THistoryPresenter();

    // The page is shown: opens the history on the first call.
    void PageShown();
    bool Opened() const { return opened_; }

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

    HistoryFault Fault() const { return fault_; }
    QString FaultText() const;
    THistoryTableModel& Model() { return *model_; }
    THistoryStore& Store() { return store_; }
    // The window's locale parts (dates, numbers, money) the page writes with.
    TLocales Locales() const;
    // The summary line, comparing the period in `selectedRow` when >= 0.
    QString SummaryLine(int selectedRow) const;

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
    // Whether the readings page holds readings typed since they were last
    // stored or opened here, that no stored period holds either.
    bool HoldsUnstoredReadings() const;
    // Asks about a period that overlaps a stored one, is over
    // kLongestPeriodDays long or has negative use; true when it may be stored.
    bool ConfirmUnusual(const HistoryPeriod& period);
    // "from 11/8/2026 to 12/8/2026" in the window's date locale.
    QString PeriodText(const HistoryPeriod& p) const;
    // Opens the store when not yet open; false when it cannot be used.
    bool EnsureOpen();
    bool CanChange();
    void Reload();
    void Report(const EHistoryError& e);
    void Changed();

    TForm1& form_;
    TDialogs& dialogs_;
    TFileDialogs& files_;
    THistoryStore store_;
    std::unique_ptr<THistoryTableModel> model_;
    HistoryFault fault_ = HistoryFault::None;
    QString faultDetail_;
    bool opened_ = false;
    std::optional<Readings> lastStored_; // stored or opened here last
};
