#pragma once
// The one way every store changes the history file: a write transaction
// (BEGIN IMMEDIATE, so the write lock is taken at the start and a busy file
// fails before any work) that commits at Commit() and rolls back when the
// scope is left without it, an exception included.

#include <QSqlDatabase>
#include <utility>

class TWriteTransaction {
public:
    // Throws EHistoryError when the transaction cannot begin.
    explicit TWriteTransaction(const QSqlDatabase& db);
    ~TWriteTransaction();
    TWriteTransaction(const TWriteTransaction&) = delete;
    TWriteTransaction& operator=(const TWriteTransaction&) = delete;

    // Throws EHistoryError when the commit fails; the destructor then rolls
    // back.
    void Commit();

private:
    QSqlDatabase db_;
    bool done_ = false;
};

// Runs `work` in one write transaction and returns what it returned.
template <class F> auto InWriteTransaction(const QSqlDatabase& db, F&& work) {
    TWriteTransaction transaction(db);
    auto result = std::forward<F>(work)();
    transaction.Commit();
    return result;
}
