#pragma once
// The meter data tables of the history database (meterdata/meterstore.h).

#include <QSqlDatabase>

// Imports, channels with their roles, and one row per channel and day
// holding that day's intervals.
void MigrateToVersion4(const QSqlDatabase& db);
