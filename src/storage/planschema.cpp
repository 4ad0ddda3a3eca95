#include "storage/planschema.h"

#include "storage/historysql.h"

void MigrateToVersion2(const QSqlDatabase& db) {
    ExecSql(db, QStringLiteral(
                    "CREATE TABLE plans ("
                    " id INTEGER PRIMARY KEY,"
                    " name TEXT NOT NULL CHECK (length(trim(name)) > 0),"
                    " general_daily_charge REAL NOT NULL CHECK (general_daily_charge >= 0),"
                    " general_rate REAL NOT NULL CHECK (general_rate >= 0),"
                    " hw_daily_charge REAL NOT NULL CHECK (hw_daily_charge >= 0),"
                    " hw_rate REAL NOT NULL CHECK (hw_rate >= 0),"
                    " feed_in REAL NOT NULL CHECK (feed_in >= 0),"
                    " tax_percent REAL NOT NULL CHECK (tax_percent BETWEEN 0 AND 100),"
                    " tax_on_income INTEGER NOT NULL DEFAULT 0 CHECK (tax_on_income IN (0, 1)))"));
    ExecSql(db, QStringLiteral("CREATE UNIQUE INDEX plans_name ON plans (name COLLATE NOCASE)"));
}
