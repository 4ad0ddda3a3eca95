#pragma once
// Version 7 of the history database: a period remembers whether its kWh were
// read off the meter by the user or summed from stored meter intervals.

#include <QSqlDatabase>

// Adds period.kwh_from_meter_data (0 for every period stored before). Throws
// when the statement fails.
void MigrateToVersion7(const QSqlDatabase& db);
