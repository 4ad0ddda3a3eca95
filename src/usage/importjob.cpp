#include "usage/importjob.h"

#include "mylib/errors.h"
#include "storage/historyerror.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace {

std::atomic<int> g_connections{0};

} // namespace

TMeterImportJob::TMeterImportJob(Kind kind, QString path, QString databaseFile,
                                 ImportOptions options)
    : path_(std::move(path)), databaseFile_(std::move(databaseFile)), options_(std::move(options)) {
    options_.cancel = &cancel_;
    options_.progress = &progress_;
    thread_ = std::thread([this, kind] { Run(kind); });
}

TMeterImportJob::~TMeterImportJob() {
    cancel_ = true;
    thread_.join();
}

void TMeterImportJob::Run(Kind kind) {
    // A Qt SQL connection belongs to the thread that opened it.
    const QString name = QStringLiteral("voltisk-import-%1").arg(++g_connections);
    {
        QSqlDatabase db;
        try {
            if (kind == Kind::Scan) {
                result_ = ScanMeterFile(path_, options_);
            } else {
                db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
                db.setDatabaseName(databaseFile_);
                db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
                if (!db.open()) {
                    throw MeterDataError(
                        QStringLiteral("%1: %2").arg(databaseFile_, db.lastError().text()));
                }
                result_ = MeterStore(db).Import(path_, options_);
            }
        } catch (const MeterDataError& e) {
            error_ = e.Message();
        } catch (const EVoltiskError& e) {
            error_ = e.Message();
        } catch (const std::exception& e) {
            error_ = QString::fromUtf8(e.what());
        }
        if (db.isValid()) {
            db.close();
        }
    }
    if (kind == Kind::Import) {
        QSqlDatabase::removeDatabase(name);
    }
    finished_.store(true, std::memory_order_release);
}
