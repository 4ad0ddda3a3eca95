#include "plans/planstore.h"

#include "plans/planinput.h"
#include "storage/historysql.h"
#include "storage/transaction.h"
#include "tariff/cdrplan.h"

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

bool HasTariffPlans(const QSqlDatabase& db) {
    return ExecSql(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND"
                                      " name = 'tariff_plans'"))
        .next();
}

// Keeps a flat plan's copy among the tariff plans (history version 5 on) in
// step with it, so a deleted or renamed plan leaves no copy behind and
// voltisk-cli prices the plans typed on the page. Inside the caller's
// transaction; `oldName` empty for a new plan, `now` null for a removed one.
void SyncTariffCopy(const QSqlDatabase& db, const QString& oldName, const StoredPlan* now) {
    if (!HasTariffPlans(db)) {
        return;
    }
    if (!oldName.isEmpty()) {
        ExecSql(db, QStringLiteral("DELETE FROM tariff_plans WHERE name = ? COLLATE NOCASE"),
                {oldName});
    }
    if (now) {
        const PlanRates& r = now->rates;
        const TariffPlan plan =
            FlatTariffPlan(now->name, r.generalDailyCharge, r.generalRate, r.hwDailyCharge,
                           r.hwRate, r.feedIn, r.taxPercent, r.taxOnIncome);
        ExecSql(db, QStringLiteral("INSERT INTO tariff_plans (name, document) VALUES (?, ?)"),
                {now->name, QString::fromUtf8(WriteCdrPlan(plan))});
    }
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
    QStringList others, flat;
    for (const StoredPlan& p : Plans()) {
        flat << p.name.toCaseFolded();
        if (p.id != exceptId) {
            others << p.name;
        }
    }
    // The tariff plans' names are taken too, but for the flat plans' own copies.
    if (HasTariffPlans(Db())) {
        QSqlQuery q = ExecSql(Db(), QStringLiteral("SELECT name FROM tariff_plans"));
        while (q.next()) {
            if (!flat.contains(q.value(0).toString().toCaseFolded())) {
                others << q.value(0).toString();
            }
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
    const StoredPlan now{id, clean, rates};
    SyncTariffCopy(Db(), clean, &now);
    t.Commit();
    return id;
}

void PlanStore::Edit(qint64 id, const QString& name, const PlanRates& rates) {
    const QString oldName = Plan(id).name;
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
    const StoredPlan now{id, clean, rates};
    SyncTariffCopy(Db(), oldName, &now);
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
    const QString name = Plan(id).name;
    TWriteTransaction t(Db());
    ExecSql(Db(), QStringLiteral("DELETE FROM plans WHERE id = ?"), {id});
    SyncTariffCopy(Db(), name, nullptr);
    t.Commit();
}
