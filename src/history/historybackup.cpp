// Backing up and restoring the history file (THistoryStore::BackUp, Restore).
#include "storage/historyschema.h"
#include "storage/historysql.h"
#include "history/historystore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace {

QString Native(const QString& file) {
    return QDir::toNativeSeparators(file);
}

[[noreturn]] void Refuse(const QString& backup, const QString& why) {
    throw EHistoryError(HistoryFault::Damaged,
                        QStringLiteral("%1 cannot be restored: %2").arg(Native(backup), why));
}

// A free name beside `file` for `file` as it was before a restore.
QString KeptBeforeRestore(const QString& file) {
    const QFileInfo info(file);
    const QString stem = info.dir().filePath(
        info.completeBaseName() + QStringLiteral("-before-restore-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString name = stem + QLatin1Char('.') + info.suffix();
    for (int n = 2; QFileInfo::exists(name); ++n) {
        name = stem + QLatin1Char('-') + QString::number(n) + QLatin1Char('.') + info.suffix();
    }
    return name;
}

// A database connection of its own for one look at a file, removed after.
class Look {
public:
    explicit Look(const QString& file) : name_(QUuid::createUuid().toString(QUuid::WithoutBraces)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        ok_ = db.open();
    }
    ~Look() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    bool Ok() const { return ok_; }
    // The first value of `sql`; empty when it fails.
    QVariant Value(const QString& sql) const {
        QSqlQuery q(QSqlDatabase::database(name_, false));
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }

private:
    QString name_;
    bool ok_ = false;
};

} // namespace

void THistoryStore::BackUp(const QString& target) const {
    const QSqlDatabase db = Db();
    const QString temporary = target + QStringLiteral(".part~");
    QFile::remove(temporary);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("VACUUM INTO ?"));
    q.addBindValue(temporary);
    if (!q.exec()) {
        QFile::remove(temporary);
        throw EHistoryError(HistoryFault::Unreadable,
                            QStringLiteral("The backup %1 could not be written: %2")
                                .arg(Native(target), q.lastError().databaseText()));
    }
    if ((QFileInfo::exists(target) && !QFile::remove(target)) ||
        !QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        throw EHistoryError(
            HistoryFault::Unreadable,
            QStringLiteral("The backup %1 could not be written.").arg(Native(target)));
    }
}

void THistoryStore::CheckBackup(const QString& backup) {
    QFile f(backup);
    if (!f.open(QIODevice::ReadOnly) || f.read(16) != QByteArray("SQLite format 3\0", 16)) {
        Refuse(backup, QStringLiteral("it is not a Voltisk history file."));
    }
    f.close();
    const Look look(backup);
    if (!look.Ok() ||
        look.Value(QStringLiteral("PRAGMA integrity_check")).toString() != QLatin1String("ok")) {
        Refuse(backup, QStringLiteral("the file is damaged."));
    }
    const int id = look.Value(QStringLiteral("PRAGMA application_id")).toInt();
    const bool periods =
        look.Value(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                  "name = 'period'"))
            .toInt() == 1;
    if (id != kHistoryApplicationId && !(id == 0 && periods)) {
        Refuse(backup, QStringLiteral("it is not a Voltisk history file."));
    }
    if (look.Value(QStringLiteral("PRAGMA user_version")).toInt() > HistorySchemaVersion()) {
        Refuse(backup, QStringLiteral("it was written by a newer version of Voltisk."));
    }
}

QString THistoryStore::Restore(const QString& backup) {
    CheckBackup(backup);
    const QString incoming = fileName_ + QStringLiteral(".restore~");
    QFile::remove(incoming);
    if (!QFile::copy(backup, incoming)) {
        throw EHistoryError(HistoryFault::Unreadable,
                            QStringLiteral("%1 could not be copied beside the history file %2.")
                                .arg(Native(backup), Native(fileName_)));
    }
    // The log's contents go into the file that is kept, so removing the log
    // afterwards loses nothing.
    bool flushed = false;
    if (IsOpen()) {
        QSqlQuery q(Db());
        flushed = q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")) && q.next() &&
                  q.value(0).toInt() == 0;
    }
    Close();
    QString kept;
    if (QFileInfo::exists(fileName_)) {
        kept = KeptBeforeRestore(fileName_);
        if (!QFile::rename(fileName_, kept)) {
            QFile::remove(incoming);
            Open();
            throw EHistoryError(HistoryFault::Unreadable,
                                QStringLiteral("The history file %1 could not be renamed, so "
                                               "nothing was restored.")
                                    .arg(Native(fileName_)));
        }
    }
    if (!flushed && !kept.isEmpty()) {
        // The log still holds changes: it goes with the file it belongs to.
        for (const char* companion : {"-wal", "-shm"}) {
            QFile::rename(fileName_ + QLatin1String(companion), kept + QLatin1String(companion));
        }
    }
    if (!QFile::rename(incoming, fileName_)) {
        if (!kept.isEmpty()) {
            QFile::rename(kept, fileName_);
        }
        QFile::remove(incoming);
        Open();
        throw EHistoryError(HistoryFault::Unreadable,
                            QStringLiteral("The backup could not be put in place of %1, so "
                                           "nothing was restored.")
                                .arg(Native(fileName_)));
    }
    // Only now: a log left beside the restored file would be read into it.
    for (const char* companion : {"-wal", "-shm"}) {
        QFile::remove(fileName_ + QLatin1String(companion));
    }
    Open();
    return kept;
}
