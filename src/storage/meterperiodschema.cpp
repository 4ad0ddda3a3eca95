#include "storage/meterperiodschema.h"

#include "storage/historysql.h"

void MigrateToVersion7(const QSqlDatabase& db) {
    ExecSql(db, QStringLiteral("ALTER TABLE period ADD COLUMN kwh_from_meter_data INTEGER NOT "
                               "NULL DEFAULT 0"));
}
