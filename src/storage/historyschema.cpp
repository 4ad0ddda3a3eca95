#include "storage/historyschema.h"

#include "storage/billschema.h"
#include "storage/historysql.h"
#include "storage/meterperiodschema.h"
#include "storage/meterschema.h"
#include "storage/planschema.h"
#include "storage/tariffschema.h"
#include "storage/transaction.h"

#include <algorithm>

const std::vector<HistoryMigration>& HistoryMigrations() {
    static const std::vector<HistoryMigration> steps{
        {1, &MigrateToVersion1}, {2, &MigrateToVersion2}, {3, &MigrateToVersion3},
        {4, &MigrateToVersion4}, {5, &MigrateToVersion5}, {6, &MigrateToVersion6},
        {7, &MigrateToVersion7},
    };
    return steps;
}

int HistorySchemaVersion() {
    return HistoryMigrations().back().version;
}

void MigrateToVersion1(const QSqlDatabase& db) {
    // Field texts as typed beside the numbers the calculation read from them;
    // one period per pair of dates.
    ExecSql(db, QStringLiteral(R"(CREATE TABLE period (
        id INTEGER PRIMARY KEY,
        date_from TEXT NOT NULL, date_to TEXT NOT NULL, days INTEGER NOT NULL,
        solar INTEGER NOT NULL, hot_water INTEGER NOT NULL,
        general_daily_charge_text TEXT NOT NULL, general_daily_charge REAL NOT NULL,
        general_rate_text TEXT NOT NULL, general_rate REAL NOT NULL,
        hw_daily_charge_text TEXT NOT NULL, hw_daily_charge REAL NOT NULL,
        hw_rate_text TEXT NOT NULL, hw_rate REAL NOT NULL,
        feed_in_text TEXT NOT NULL, feed_in REAL NOT NULL,
        general_before_text TEXT NOT NULL, general_before REAL NOT NULL,
        general_after_text TEXT NOT NULL, general_after REAL NOT NULL,
        hot_water_before_text TEXT NOT NULL, hot_water_before REAL NOT NULL,
        hot_water_after_text TEXT NOT NULL, hot_water_after REAL NOT NULL,
        export_before_text TEXT NOT NULL, export_before REAL NOT NULL,
        export_after_text TEXT NOT NULL, export_after REAL NOT NULL,
        import_general_before_text TEXT NOT NULL, import_general_before REAL NOT NULL,
        import_general_after_text TEXT NOT NULL, import_general_after REAL NOT NULL,
        import_hw_before_text TEXT NOT NULL, import_hw_before REAL NOT NULL,
        import_hw_after_text TEXT NOT NULL, import_hw_after REAL NOT NULL,
        kwh_general REAL NOT NULL, kwh_hot_water REAL NOT NULL, kwh_exported REAL NOT NULL,
        fixed_cost REAL NOT NULL, variable_cost REAL NOT NULL, income REAL NOT NULL,
        net_cost REAL NOT NULL, net_per_day REAL NOT NULL,
        currency_symbol TEXT NOT NULL, money_decimals INTEGER NOT NULL,
        note TEXT NOT NULL DEFAULT '', saved_at TEXT NOT NULL,
        UNIQUE (date_from, date_to)))"));
}

int ReadSchemaVersion(const QSqlDatabase& db) {
    QSqlQuery q = ExecSql(db, QStringLiteral("PRAGMA user_version"));
    return q.next() ? q.value(0).toInt() : 0;
}

void MigrateHistory(const QSqlDatabase& db, int target) {
    const int current = ReadSchemaVersion(db);
    if (current > HistorySchemaVersion()) {
        throw EHistoryError(HistoryFault::Newer,
                            HistoryFaultText(HistoryFault::Newer, db.databaseName()));
    }
    if (current >= std::min(target, HistorySchemaVersion())) {
        return;
    }
    // Every step in one transaction: the file moves to the new version whole
    // or not at all, and a new file costs one sync instead of one a step.
    // Read again under the write lock: another process may have moved it on.
    TWriteTransaction transaction(db);
    const int locked = ReadSchemaVersion(db);
    for (const HistoryMigration& step : HistoryMigrations()) {
        if (step.version <= locked || step.version > target) {
            continue;
        }
        step.apply(db);
        ExecSql(db, QStringLiteral("PRAGMA user_version = %1").arg(step.version));
    }
    transaction.Commit();
}
