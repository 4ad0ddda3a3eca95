#pragma once
// THistorySession is the one owner of the history file in a running program:
// the History and Compare plans pages both go through it, so whichever page
// asks first opens the file, and both see the same fault (damaged, unreadable,
// read-only, newer), the same periods and the same selected period.
//
// Nothing is opened before EnsureOpen(). Listeners run after every change of
// the periods or of the fault; the flag says whether the periods changed.
// All calls on one thread.

#include "history/historystore.h"

#include <QDate>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

class THistorySession {
public:
    using DatePair = std::pair<QDate, QDate>;
    using Listener = std::function<void(bool periodsChanged)>;

    explicit THistorySession(QString fileName);
    THistorySession(const THistorySession&) = delete;
    THistorySession& operator=(const THistorySession&) = delete;

    THistoryStore& Store() { return store_; }
    const QString& FileName() const { return store_.FileName(); }

    // Whether an open was tried.
    bool Opened() const { return opened_; }
    // Opens the file and reads its periods when it is not open; false when it
    // cannot be used (the fault says why). A read-only file is usable.
    bool EnsureOpen();
    // The open store, or EHistoryError with the fault's text.
    THistoryStore& OpenStore();
    // Closes and opens again ("Try again").
    void Reopen();
    // Reads the periods again; a failure becomes the fault.
    void Reload();
    // The file went bad while in use: keeps the fault and closes the store.
    void Fail(const EHistoryError& e);
    // Keeps the present file under a new name and opens a new one; returns
    // the kept name (THistoryStore::StartNewHistory). A failure becomes the
    // fault and is thrown on.
    QString StartNewHistory();
    // Puts the checked backup `backup` in place of the file (THistoryStore::Restore)
    // and reads it; returns the kept name of the file it replaced. Throws
    // EHistoryError, leaving the present file and fault as they were.
    QString Restore(const QString& backup);

    HistoryFault Fault() const { return fault_; }
    QString FaultText() const;
    // Every period, newest first; empty while the file cannot be read.
    const std::vector<HistoryPeriod>& Periods() const { return periods_; }

    // The period selected on the History page, if any.
    std::optional<DatePair> Selected() const { return selected_; }
    void Select(std::optional<DatePair> dates) { selected_ = dates; }

    // Returns a key for RemoveListener.
    int AddListener(Listener listener);
    void RemoveListener(int key);

private:
    void SetFault(const EHistoryError& e, bool clearPeriods);
    void Notify(bool periodsChanged);

    THistoryStore store_;
    bool opened_ = false;
    HistoryFault fault_ = HistoryFault::None;
    QString faultDetail_;
    std::vector<HistoryPeriod> periods_;
    std::optional<DatePair> selected_;
    std::map<int, Listener> listeners_;
    int nextKey_ = 0;
};
