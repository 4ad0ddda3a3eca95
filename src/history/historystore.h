#pragma once
// THistoryStore keeps the bill history in one SQLite file (Qt SQL), usually
// history.sqlite in the per-user data folder (HistoryFileName()).
//
// Data flow: the presenter asks for all periods once when the History page is
// first shown and again after each change; every change (add, replace,
// import, delete, note) is one transaction, so the file on disk always holds
// a whole earlier or later state, also when the program is killed midway.
// The journal is WAL with full syncs on commit.
//
// Nothing here opens the file until Open() is called. Every failure throws
// EHistoryError with its fault and a plain-words message naming the file;
// the file itself is never deleted or overwritten: StartNewHistory() keeps
// the old file beside the new one under a new name. Schema versions and their
// migrations: history/historyschema.h.
//
// One store per file in a process; all calls on one thread.

#include "mylib/paths.h" // HistoryFileName()
#include "history/periodrecord.h"
#include "storage/historyerror.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <memory>
#include <optional>
#include <vector>


class THistoryStore {
public:
    // `busyTimeoutMs`: how long a change waits for another program's lock
    // before giving up with HistoryFault::Locked.
    explicit THistoryStore(QString fileName, int busyTimeoutMs = 2000);
    ~THistoryStore();
    THistoryStore(const THistoryStore&) = delete;
    THistoryStore& operator=(const THistoryStore&) = delete;

    const QString& FileName() const { return fileName_; }
    bool IsOpen() const;
    // The open connection, for the other tables of the same file (the plans,
    // plans/planstore.h); invalid while the store is closed.
    QSqlDatabase Database() const { return Db(); }

    // Opens (creating the folder and the file when missing) and brings the
    // schema up to date. A file that can be read but not written opens for
    // reading: the result is then HistoryFault::ReadOnly and every change
    // throws. Any other fault throws and leaves the store closed.
    HistoryFault Open();
    void Close();

    // Every period, newest first (by the later date, then the earlier).
    std::vector<HistoryPeriod> Periods() const;
    // The period stored for this pair of dates.
    std::optional<HistoryPeriod> Find(QDate from, QDate to) const;

    // Stores a period; one with the same two dates is replaced (keeping its
    // note and bill when the new one has none). Returns the row id. A period without
    // storable figures (HasStorableFigures) throws EVoltiskError with
    // FiguresTooLargeText(), as Import does; nothing is then stored.
    qint64 Add(const HistoryPeriod& period);

    struct ImportCount {
        int added = 0;
        int skipped = 0;
    };
    // Stores the periods whose pair of dates is not stored yet, all in one
    // transaction; the others are skipped.
    ImportCount Import(const std::vector<HistoryPeriod>& periods);

    // Removes the periods with these row ids; returns how many went.
    int Remove(const std::vector<qint64>& ids);
    void SetNote(qint64 id, const QString& note);
    // Stores the bill typed for a period (no amount: no bill) and the
    // readings marked estimated.
    void SetBill(qint64 id, std::optional<double> billed, QDate billDate, const QString& reference,
                 const QStringList& estimated);
    // Replaces the reading warnings kept with a period.
    void SetWarnings(qint64 id, const QStringList& warnings);

    // Closes the store, renames the file (with its -wal and -shm companions)
    // to a free name "history-YYYYMMDD-HHMMSS[-n].sqlite" beside it and opens
    // a new, empty history. Returns the kept file's full name, or an empty
    // text when there was no file to keep. Throws when the rename fails (the
    // old file then stays where it was).
    QString StartNewHistory();

    // Writes the whole history, as it stands, into `target` as one
    // self-contained file (SQLite's VACUUM INTO: no -wal beside it), through
    // a temporary file beside it, so `target` is whole or unchanged.
    void BackUp(const QString& target) const;
    // Throws EHistoryError naming `backup` unless it is a whole SQLite file
    // of this program: integrity check "ok", the history's application id
    // (or 0, as files before it was set, holding the periods table) and a
    // schema version this program knows.
    static void CheckBackup(const QString& backup);
    // Puts a copy of `backup` (checked first) in place of the history file
    // and opens it. The present file is kept beside it under a new name
    // (returned); the -wal and -shm files of the old one are removed only
    // once the copy is in place, after their contents went into the kept
    // file. Throws and leaves the history as it was when a step fails.
    QString Restore(const QString& backup);

private:
    QSqlDatabase Db() const;
    // The row id and note stored for a pair of dates.
    std::optional<std::pair<qint64, QString>> FindKey(QDate from, QDate to) const;
    void RequireWritable() const;
    qint64 Insert(const HistoryPeriod& period);
    int DeleteRow(qint64 id);

    QString fileName_;
    QString connection_;
    int busyTimeoutMs_;
    bool readOnly_ = false;
    // Statements prepared once per open file, for adds and imports.
    mutable std::unique_ptr<QSqlQuery> insert_, findKey_;
};
