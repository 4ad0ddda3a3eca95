#include "storage/tariffschema.h"

#include "storage/historysql.h"
#include "tariff/cdrplan.h"

void MigrateToVersion5(const QSqlDatabase& db) {
    ExecSql(db, QStringLiteral("CREATE TABLE tariff_plans ("
                               " id INTEGER PRIMARY KEY,"
                               " name TEXT NOT NULL CHECK (length(trim(name)) > 0),"
                               " document TEXT NOT NULL)"));
    ExecSql(db, QStringLiteral(
                    "CREATE UNIQUE INDEX tariff_plans_name ON tariff_plans (name COLLATE NOCASE)"));
    QSqlQuery flat = ExecSql(db, QStringLiteral("SELECT name, general_daily_charge, general_rate,"
                                                " hw_daily_charge, hw_rate, feed_in, tax_percent,"
                                                " tax_on_income FROM plans ORDER BY id"));
    while (flat.next()) {
        const TariffPlan plan = FlatTariffPlan(
            flat.value(0).toString(), flat.value(1).toDouble(), flat.value(2).toDouble(),
            flat.value(3).toDouble(), flat.value(4).toDouble(), flat.value(5).toDouble(),
            flat.value(6).toDouble(), flat.value(7).toInt() != 0);
        QSqlQuery insert(db);
        if (!insert.prepare(
                QStringLiteral("INSERT INTO tariff_plans (name, document) VALUES (?, ?)"))) {
            ThrowSqlError(db, insert.lastError());
        }
        insert.addBindValue(plan.name);
        insert.addBindValue(QString::fromUtf8(WriteCdrPlan(plan)));
        RunQuery(db, insert);
    }
}
