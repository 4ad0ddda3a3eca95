#include "storage/billschema.h"

#include "storage/historysql.h"

void MigrateToVersion6(const QSqlDatabase& db) {
    // billed is NULL while no bill was typed; the lists are texts, one entry
    // a line.
    for (const char* column :
         {"billed REAL", "bill_date TEXT NOT NULL DEFAULT ''",
          "bill_reference TEXT NOT NULL DEFAULT ''", "estimated TEXT NOT NULL DEFAULT ''",
          "warnings TEXT NOT NULL DEFAULT ''"}) {
        ExecSql(db, QStringLiteral("ALTER TABLE period ADD COLUMN ") + QLatin1String(column));
    }
}
