#pragma once
// The bill columns of the history database (history/historyschema.h).

#include <QSqlDatabase>

// Version 3: the billed amount, its date and reference, the readings marked
// estimated and the reading warnings a period was stored with.
void MigrateToVersion3(const QSqlDatabase& db);
