#pragma once
// The bill columns of the history database (history/historyschema.h).

#include <QSqlDatabase>

// Version 6: the billed amount, its date and reference, the readings marked
// estimated and the reading warnings a period was stored with.
void MigrateToVersion6(const QSqlDatabase& db);
