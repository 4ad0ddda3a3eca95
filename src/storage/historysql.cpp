#include "storage/historysql.h"

#include <QUrl>

namespace {
// SQLite's primary result codes that mean something to the user.
enum : int {
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteReadOnly = 8,
    SqliteIoErr = 10,
    SqliteCorrupt = 11,
    SqliteFull = 13,
    SqliteCantOpen = 14,
    SqlitePerm = 3,
    SqliteAuth = 23,
    SqliteNotADb = 26,
};
} // namespace

HistoryFault FaultOf(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    if (!ok) {
        return HistoryFault::Unreadable;
    }
    switch (code) {
    case SqliteBusy:
    case SqliteLocked:
        return HistoryFault::Locked;
    case SqliteReadOnly:
        return HistoryFault::ReadOnly;
    case SqliteFull:
        return HistoryFault::DiskFull;
    case SqliteCorrupt:
    case SqliteNotADb:
        return HistoryFault::Damaged;
    case SqliteIoErr:
    case SqliteCantOpen:
    case SqlitePerm:
    case SqliteAuth:
        return HistoryFault::Unreadable;
    default:
        return HistoryFault::Unreadable;
    }
}

void ThrowSqlError(const QSqlDatabase& db, const QSqlError& error) {
    const HistoryFault fault = FaultOf(error);
    // A file read as immutable is named by its URI.
    const QString name = db.databaseName().startsWith(QLatin1String("file:"))
                             ? QUrl(db.databaseName()).toLocalFile()
                             : db.databaseName();
    throw EHistoryError(fault, HistoryFaultText(fault, name) + QStringLiteral(" (") + error.text() +
                                   QStringLiteral(")"));
}

QSqlQuery ExecSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (values.isEmpty()) {
        if (!q.exec(sql)) {
            ThrowSqlError(db, q.lastError());
        }
        return q;
    }
    if (!q.prepare(sql)) {
        ThrowSqlError(db, q.lastError());
    }
    for (const QVariant& v : values) {
        q.addBindValue(v);
    }
    RunQuery(db, q);
    return q;
}

void RunQuery(const QSqlDatabase& db, QSqlQuery& query) {
    if (!query.exec()) {
        ThrowSqlError(db, query.lastError());
    }
}
