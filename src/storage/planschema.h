#pragma once
// Version 2 of the history database: the plans table (plans/planstore.h).

#include <QSqlDatabase>

// Adds the plans table. The CHECK constraints refuse what the page refuses
// (a blank or taken name, a negative rate, a tax outside 0 to 100), whoever
// writes the file. Throws when a statement fails.
void MigrateToVersion2(const QSqlDatabase& db);
