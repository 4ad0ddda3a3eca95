#include "plans/planstore.h"

#include "plans/planinput.h"
#include "storage/historysql.h"
#include "storage/transaction.h"

#include <QVariant>

#include <cmath>

namespace {

QVariantList Values(const QString& name, const PlanRates& r) {
    return {name,     r.generalDailyCharge, r.generalRate,        r.hwDailyCharge, r.hwRate,
            r.feedIn, r.taxPercent,         r.taxOnIncome ? 1 : 0};
}

bool IsRate(double v) {
    return std::isfinite(v) && v >= 0;
}

} // namespace

PlanStore::PlanStore(const QSqlDatabase& db) : connection_(db.connectionName()) {}

QSqlDatabase PlanStore::Db() const {
    return QSqlDatabase::database(connection_, false);
}

QList<StoredPlan> PlanStore::Plans() const {
    QSqlQuery q =
        ExecSql(Db(), QStringLiteral("SELECT id, name, general_daily_charge, general_rate,"
                                     " hw_daily_charge, hw_rate, feed_in, tax_percent,"
                                     " tax_on_income FROM plans ORDER BY id"));
    QList<StoredPlan> plans;
    while (q.next()) {
        StoredPlan p;
        p.id = q.value(0).toLongLong();
        p.name = q.value(1).toString();
        p.rates.generalDailyCharge = q.value(2).toDouble();
        p.rates.generalRate = q.value(3).toDouble();
        p.rates.hwDailyCharge = q.value(4).toDouble();
        p.rates.hwRate = q.value(5).toDouble();
        p.rates.feedIn = q.value(6).toDouble();
        p.rates.taxPercent = q.value(7).toDouble();
        p.rates.taxOnIncome = q.value(8).toInt() != 0;
        plans.append(p);
    }
    return plans;
}

QStringList PlanStore::Names() const {
    QStringList names;
    for (const StoredPlan& p : Plans()) {
        names << p.name;
    }
    return names;
}

StoredPlan PlanStore::Plan(qint64 id) const {
    for (const StoredPlan& p : Plans()) {
        if (p.id == id) {
            return p;
        }
    }
    throw EVoltiskError(QStringLiteral("The plan is no longer stored"));
}

void PlanStore::Check(const QString& name, const PlanRates& r, qint64 exceptId) const {
    QStringList others;
    for (const StoredPlan& p : Plans()) {
        if (p.id != exceptId) {
            others << p.name;
        }
    }
    if (const auto e = NameError(name, others)) {
        throw EVoltiskError(*e);
    }
    for (double v : {r.generalDailyCharge, r.generalRate, r.hwDailyCharge, r.hwRate, r.feedIn}) {
        if (!IsRate(v)) {
            throw EVoltiskError(QStringLiteral("A charge or rate must be a number of 0 or more"));
        }
    }
    if (!(r.taxPercent >= 0 && r.taxPercent <= 100)) {
        throw EVoltiskError(QStringLiteral("The tax must be from 0 to 100 percent"));
    }
}

qint64 PlanStore::Add(const QString& name, const PlanRates& rates) {
    const QString clean = CleanPlanName(name);
    Check(clean, rates, -1);
    TWriteTransaction t(Db());
    QSqlQuery q =
        ExecSql(Db(),
                QStringLiteral("INSERT INTO plans (name, general_daily_charge, general_rate,"
                               " hw_daily_charge, hw_rate, feed_in, tax_percent,"
                               " tax_on_income) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                Values(clean, rates));
    const qint64 id = q.lastInsertId().toLongLong();
    t.Commit();
    return id;
}

void PlanStore::Edit(qint64 id, const QString& name, const PlanRates& rates) {
    Plan(id);
    const QString clean = CleanPlanName(name);
    Check(clean, rates, id);
    TWriteTransaction t(Db());
    QVariantList values = Values(clean, rates);
    values << id;
    ExecSql(Db(),
            QStringLiteral("UPDATE plans SET name = ?, general_daily_charge = ?, general_rate = ?,"
                           " hw_daily_charge = ?, hw_rate = ?, feed_in = ?, tax_percent = ?,"
                           " tax_on_income = ? WHERE id = ?"),
            values);
    t.Commit();
}

qint64 PlanStore::Duplicate(qint64 id) {
    const StoredPlan p = Plan(id);
    const QStringList names = Names();
    QString name = QStringLiteral("%1 (copy)").arg(p.name);
    for (int n = 2; NameError(name, names); ++n) {
        name = QStringLiteral("%1 (copy %2)").arg(p.name).arg(n);
    }
    return Add(name, p.rates);
}

void PlanStore::Remove(qint64 id) {
    Plan(id);
    TWriteTransaction t(Db());
    ExecSql(Db(), QStringLiteral("DELETE FROM plans WHERE id = ?"), {id});
    t.Commit();
}
