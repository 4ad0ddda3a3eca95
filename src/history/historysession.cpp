#include "history/historysession.h"

THistorySession::THistorySession(QString fileName) : store_(std::move(fileName)) {}

bool THistorySession::EnsureOpen() {
    if (store_.IsOpen()) {
        if (!opened_) {
            // Opened through Store() directly: its periods are read once.
            opened_ = true;
            Reload();
        }
        return true;
    }
    opened_ = true;
    try {
        fault_ = store_.Open();
        faultDetail_ =
            fault_ == HistoryFault::None ? QString() : HistoryFaultText(fault_, FileName());
    } catch (const EHistoryError& e) {
        SetFault(e, true);
        return false;
    }
    Reload();
    // A damaged page found while reading closes the store again: the caller
    // then reports that fault, not a query on a closed connection.
    return store_.IsOpen();
}

THistoryStore& THistorySession::OpenStore() {
    if (!EnsureOpen() || !store_.IsOpen()) {
        throw EHistoryError(fault_, FaultText());
    }
    return store_;
}

void THistorySession::Reopen() {
    store_.Close();
    EnsureOpen();
}

void THistorySession::Reload() {
    try {
        periods_ = store_.Periods();
    } catch (const EHistoryError& e) {
        fault_ = e.Fault();
        faultDetail_ = e.Message();
        store_.Close();
        periods_.clear();
    }
    Notify(true);
}

void THistorySession::Fail(const EHistoryError& e) {
    SetFault(e, false);
}

QString THistorySession::StartNewHistory() {
    QString kept;
    try {
        opened_ = true;
        kept = store_.StartNewHistory();
        fault_ = HistoryFault::None;
        faultDetail_.clear();
    } catch (const EHistoryError& e) {
        SetFault(e, false);
        throw;
    }
    Reload();
    return kept;
}

QString THistorySession::Restore(const QString& backup) {
    const QString kept = store_.Restore(backup);
    opened_ = true;
    fault_ = HistoryFault::None;
    faultDetail_.clear();
    Reload();
    return kept;
}

QString THistorySession::FaultText() const {
    return faultDetail_.isEmpty() ? HistoryFaultText(fault_, FileName()) : faultDetail_;
}

int THistorySession::AddListener(Listener listener) {
    listeners_.emplace(nextKey_, std::move(listener));
    return nextKey_++;
}

void THistorySession::RemoveListener(int key) {
    listeners_.erase(key);
}

void THistorySession::SetFault(const EHistoryError& e, bool clearPeriods) {
    fault_ = e.Fault();
    faultDetail_ = e.Message();
    store_.Close();
    if (clearPeriods) {
        periods_.clear();
    }
    Notify(clearPeriods);
}

void THistorySession::Notify(bool periodsChanged) {
    // A copy: a listener may add or remove listeners.
    const std::map<int, Listener> listeners = listeners_;
    for (const auto& [key, listener] : listeners) {
        listener(periodsChanged);
    }
}
