#pragma once
// One meter data file read on a worker thread, so the window keeps answering
// and can show progress and offer Cancel: either a scan (nothing stored) or
// the import into the history file through a connection of its own.
//
// Started by the constructor; the owner polls Finished() and Progress() from
// its thread. Destroying a running job cancels it and waits for it (an import
// cancelled stores nothing).

#include "meterdata/meterstore.h"

#include <QString>
#include <atomic>
#include <thread>

class TMeterImportJob {
public:
    enum class Kind { Scan, Import };
    // `databaseFile` is the history file (only read by an import).
    TMeterImportJob(Kind kind, QString path, QString databaseFile, ImportOptions options);
    ~TMeterImportJob();
    TMeterImportJob(const TMeterImportJob&) = delete;
    TMeterImportJob& operator=(const TMeterImportJob&) = delete;

    void Cancel() { cancel_ = true; }
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Intervals read so far.
    qint64 Progress() const { return progress_.load(std::memory_order_relaxed); }
    // Once finished: the channels read, or why the file was refused (empty
    // when it was not).
    const ImportResult& Result() const { return result_; }
    const QString& Error() const { return error_; }
    bool Cancelled() const { return cancel_.load(); }

private:
    void Run(Kind kind);

    QString path_;
    QString databaseFile_;
    ImportOptions options_;
    std::atomic_bool cancel_{false};
    std::atomic_bool finished_{false};
    std::atomic<qint64> progress_{0};
    ImportResult result_;
    QString error_;
    std::thread thread_;
};
