#pragma once
// Version 5 of the history database: retail tariff plans
// (history/tariffplanstore.h), each kept whole as its plan-detail JSON
// document (tariff/cdrplan.h), beside the flat plans of version 2.

#include <QSqlDatabase>

// Adds the tariff_plans table and copies every flat plan into it as a tariff
// plan of the same name (a single rate, the hot water as a controlled load
// with its daily charge, a flat feed-in, its tax and "tax on the feed-in
// income too"), so each prices exactly as before. The plans table stays as
// it was. Throws when a statement fails.
void MigrateToVersion5(const QSqlDatabase& db);
