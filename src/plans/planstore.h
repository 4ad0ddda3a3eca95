#pragma once
// The plans a household compares its bills with, kept in the history database
// (table `plans`, storage/planschema.h). The store works on a connection
// that its owner has opened and migrated; every change is one transaction, and
// a change that fails throws (EHistoryError for the file's faults, in plain
// words; EVoltiskError for a refused value) and leaves the table as it was. The store checks what
// it writes (names, rates, tax) as the page does, so nothing invalid is kept whoever calls it. The
// typed tariff
// ("As typed") is not a stored plan: the page puts it first itself.

#include "plans/plancalc.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

struct StoredPlan {
    qint64 id = 0;
    QString name;
    PlanRates rates;
};

class PlanStore {
public:
    // Works on `db`'s connection, looked up by name at each call, so the
    // store outlives a close and reopen of the history; the connection must
    // be open while the store is used.
    explicit PlanStore(const QSqlDatabase& db);

    // Every plan, in the order they were added (a duplicate goes last).
    QList<StoredPlan> Plans() const;
    QStringList Names() const;

    // Adds a plan and returns its id. The name is trimmed; a blank, taken or
    // reserved name (a tariff plan's too), a negative or non-finite rate or a
    // tax outside 0 to 100 throws. From history version 5 on, every change
    // keeps the plan's copy among the tariff plans (same name) in step.
    qint64 Add(const QString& name, const PlanRates& rates);
    // Replaces a plan's name and rates; throws when the plan is gone or the
    // values are refused as for Add.
    void Edit(qint64 id, const QString& name, const PlanRates& rates);
    // Copies a plan under the first free name of "<name> (copy)",
    // "<name> (copy 2)", ...; returns the new id.
    qint64 Duplicate(qint64 id);
    // Removes a plan; removing one that is gone throws.
    void Remove(qint64 id);

private:
    StoredPlan Plan(qint64 id) const;
    void Check(const QString& name, const PlanRates& rates, qint64 exceptId) const;

    QSqlDatabase Db() const;

    QString connection_;
};
