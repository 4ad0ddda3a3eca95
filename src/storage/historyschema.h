#pragma once
// The history database's schema, as an ordered list of migration steps.
//
// Contract:
// - `PRAGMA user_version` holds the version a database is at; a new file is
//   at 0. Step N brings a database from version N-1 to N.
// - The store runs every step above the file's version, in order, each in its
//   own transaction together with setting user_version to its number, so a
//   killed program leaves the file at a whole version and the next start
//   finishes the work.
// - A step throws (ExecSql does) when a statement fails; its transaction is
//   then rolled back and the file stays at the version before it.
// - Steps are never edited, removed or reordered once released: a database
//   made by any earlier program must reach the newest version through them.
//   A step may add tables and columns; it must not drop or change what an
//   earlier step made and this program reads.
// - To add version N: put `void MigrateToVersionN(QSqlDatabase&)` in a file
//   of its own under src/storage/ and append one line,
//   `{N, &MigrateToVersionN},`, to the list in historyschema.cpp.
// - A file whose user_version is above the newest step was written by a newer
//   program: the store refuses it (HistoryFault::Newer) and changes nothing.

#include <QSqlDatabase>
#include <vector>

struct HistoryMigration {
    int version;
    void (*apply)(const QSqlDatabase& db);
};

// Version 1: the periods table.
void MigrateToVersion1(const QSqlDatabase& db);

// The history file's PRAGMA application_id ("Vltk"), set by version 3, so
// that a file can be told to be a Voltisk history. Files of programs before
// it was set hold 0.
inline constexpr int kHistoryApplicationId = 0x566C746B;

// Version 3: triggers that refuse a period with a NULL or non-finite figure,
// whoever writes the file, and the application id.
void MigrateToVersion3(const QSqlDatabase& db);

const std::vector<HistoryMigration>& HistoryMigrations();

// The version of the newest step.
int HistorySchemaVersion();

// The file's user_version; throws EHistoryError when it cannot be read.
int ReadSchemaVersion(const QSqlDatabase& db);

// Runs the steps above the file's version up to `target`, each in one
// transaction. Throws EHistoryError (Newer when the file is above the newest
// step).
void MigrateHistory(const QSqlDatabase& db, int target = HistorySchemaVersion());
