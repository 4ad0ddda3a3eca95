#include "plans/tariffplanstore.h"

#include "mylib/errors.h"
#include "storage/historysql.h"
#include "storage/transaction.h"
#include "tariff/cdrplan.h"

#include <QVariant>

TariffPlanStore::TariffPlanStore(const QSqlDatabase& db) : connection_(db.connectionName()) {}

QSqlDatabase TariffPlanStore::Db() const {
    return QSqlDatabase::database(connection_, false);
}

QList<StoredTariffPlan> TariffPlanStore::Plans() const {
    QSqlQuery q =
        ExecSql(Db(), QStringLiteral("SELECT id, name, document FROM tariff_plans ORDER BY id"));
    QList<StoredTariffPlan> plans;
    while (q.next()) {
        CdrImport read = ReadCdrPlan(q.value(2).toString().toUtf8());
        if (read.error.isEmpty()) {
            read.plan.name = q.value(1).toString();
            plans.append({q.value(0).toLongLong(), read.plan});
        }
    }
    return plans;
}

TariffPlan TariffPlanStore::Checked(const TariffPlan& plan, qint64 exceptId) const {
    TariffPlan clean = plan;
    clean.name = plan.name.simplified();
    if (clean.name.isEmpty()) {
        throw EVoltiskError(QStringLiteral("Enter a name for the plan."));
    }
    // Every stored name counts, the flat plans' copies among them.
    QSqlQuery q = ExecSql(Db(), QStringLiteral("SELECT id, name FROM tariff_plans ORDER BY id"));
    while (q.next()) {
        const QString name = q.value(1).toString();
        if (q.value(0).toLongLong() != exceptId &&
            name.compare(clean.name, Qt::CaseInsensitive) == 0) {
            throw EVoltiskError(QStringLiteral("A plan named \"%1\" already exists.").arg(name));
        }
    }
    if (const QString e = ValidateTariffPlan(clean); !e.isEmpty()) {
        throw EVoltiskError(e);
    }
    return clean;
}

qint64 TariffPlanStore::Add(const TariffPlan& plan) {
    const TariffPlan clean = Checked(plan, -1);
    const QSqlDatabase db = Db();
    QSqlQuery q(db);
    if (!q.prepare(QStringLiteral("INSERT INTO tariff_plans (name, document) VALUES (?, ?)"))) {
        ThrowSqlError(db, q.lastError());
    }
    q.addBindValue(clean.name);
    q.addBindValue(QString::fromUtf8(WriteCdrPlan(clean)));
    RunQuery(db, q);
    return q.lastInsertId().toLongLong();
}

void TariffPlanStore::Update(qint64 id, const TariffPlan& plan) {
    TWriteTransaction t(Db());
    const TariffPlan clean = Checked(plan, id);
    const QSqlQuery q =
        ExecSql(Db(), QStringLiteral("UPDATE tariff_plans SET name = ?, document = ? WHERE id = ?"),
                {clean.name, QString::fromUtf8(WriteCdrPlan(clean)), id});
    if (q.numRowsAffected() < 1) {
        throw EVoltiskError(QStringLiteral("The plan is no longer stored"));
    }
    t.Commit();
}

void TariffPlanStore::Remove(qint64 id) {
    const QSqlDatabase db = Db();
    QSqlQuery q(db);
    if (!q.prepare(QStringLiteral("DELETE FROM tariff_plans WHERE id = ?"))) {
        ThrowSqlError(db, q.lastError());
    }
    q.addBindValue(id);
    RunQuery(db, q);
    if (q.numRowsAffected() < 1) {
        throw EVoltiskError(QStringLiteral("The plan is no longer stored"));
    }
}
