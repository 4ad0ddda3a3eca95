#pragma once
// Small helpers over Qt SQL that turn every failure into an EHistoryError
// with the fault it stands for (damaged, locked, read-only, unreadable).

#include "storage/historyerror.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

// The fault an SQLite error stands for (its primary result code).
HistoryFault FaultOf(const QSqlError& error);

// Throws EHistoryError for `error`, naming the database's file.
[[noreturn]] void ThrowSqlError(const QSqlDatabase& db, const QSqlError& error);

// Runs one statement with `values` bound to its "?" in order, forward only;
// throws on failure. The one way to run a statement once.
QSqlQuery ExecSql(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});
// Runs a query prepared once and kept for many runs; throws on failure.
void RunQuery(const QSqlDatabase& db, QSqlQuery& query);
