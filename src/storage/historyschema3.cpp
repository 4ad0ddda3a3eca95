#include "storage/historyschema.h"

#include "storage/historysql.h"

#include <QStringList>

void MigrateToVersion3(const QSqlDatabase& db) {
    // SQLite stores a NaN as NULL and keeps infinities; the figure columns
    // are every REAL column of the periods table.
    QStringList refused;
    QSqlQuery columns = ExecSql(db, QStringLiteral("SELECT name FROM pragma_table_info('period') "
                                                   "WHERE type = 'REAL' ORDER BY cid"));
    while (columns.next()) {
        const QString c = columns.value(0).toString();
        refused << QStringLiteral("NEW.%1 IS NULL OR abs(NEW.%1) >= 9e999").arg(c);
    }
    const QString when = refused.join(QStringLiteral(" OR "));
    for (const char* event : {"INSERT", "UPDATE"}) {
        ExecSql(db, QStringLiteral("CREATE TRIGGER period_finite_%1 BEFORE %2 ON period "
                                   "WHEN %3 BEGIN SELECT RAISE(ABORT, 'figures not finite'); END")
                        .arg(QString::fromLatin1(event).toLower(), QLatin1String(event), when));
    }
    ExecSql(db, QStringLiteral("PRAGMA application_id = %1").arg(kHistoryApplicationId));
}
