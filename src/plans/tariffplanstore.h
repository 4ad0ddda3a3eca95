#pragma once
// The retail tariff plans kept in the history database (table tariff_plans,
// history/tariffschema.h), each as its plan-detail JSON document. Works on a
// connection its owner has opened and migrated; every change is one
// statement, and a refused or failed change throws (EVoltiskError for a
// refused plan, EHistoryError for the file's faults) and stores nothing.

#include "tariff/tariffplan.h"

#include <QList>
#include <QSqlDatabase>

struct StoredTariffPlan {
    qint64 id = 0;
    TariffPlan plan;
};

class TariffPlanStore {
public:
    explicit TariffPlanStore(const QSqlDatabase& db);

    // Every plan in the order added. A document that no longer reads as a
    // plan is skipped rather than shown wrong.
    QList<StoredTariffPlan> Plans() const;
    // Stores a plan under its trimmed name and returns its id; a blank name,
    // a name already taken (ignoring letter case) or a plan that
    // ValidateTariffPlan refuses throws, naming why.
    qint64 Add(const TariffPlan& plan);
    // Replaces plan `id` with `plan` in one transaction, keeping its id and so
    // its place in the list. The name is checked as for Add against every
    // other plan; a plan that is gone throws.
    void Update(qint64 id, const TariffPlan& plan);
    // Removes a plan; removing one that is gone throws.
    void Remove(qint64 id);

private:
    // The plan as stored (its name trimmed), or throws as Add does; the plan
    // `exceptId` may keep its own name.
    TariffPlan Checked(const TariffPlan& plan, qint64 exceptId) const;
    QSqlDatabase Db() const;
    QString connection_;
};
