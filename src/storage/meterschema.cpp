#include "storage/meterschema.h"

#include "storage/historysql.h"

void MigrateToVersion4(const QSqlDatabase& db) {
    ExecSql(db, QStringLiteral("CREATE TABLE meter_import ("
                               " id INTEGER PRIMARY KEY,"
                               " file_name TEXT NOT NULL,"
                               " file_size INTEGER NOT NULL,"
                               " file_time TEXT NOT NULL,"
                               " imported_at TEXT NOT NULL,"
                               " intervals INTEGER NOT NULL DEFAULT 0)"));
    ExecSql(db, QStringLiteral("CREATE TABLE meter_channel ("
                               " id INTEGER PRIMARY KEY,"
                               " meter TEXT NOT NULL,"
                               " channel TEXT NOT NULL,"
                               " role INTEGER NOT NULL CHECK (role BETWEEN 0 AND 2),"
                               " UNIQUE (meter, channel))"));
    // One row per channel and day, as the files hold them: the day's kWh as
    // one array (encoded by meterdata/meterstore.cpp) and one quality letter
    // per interval; `total` lets the daily and monthly sums skip the arrays.
    ExecSql(db, QStringLiteral("CREATE TABLE meter_day ("
                               " channel_id INTEGER NOT NULL REFERENCES meter_channel (id),"
                               " day INTEGER NOT NULL,"
                               " start_utc INTEGER NOT NULL,"
                               " length_min INTEGER NOT NULL,"
                               " kwh BLOB NOT NULL,"
                               " quality BLOB NOT NULL,"
                               " total REAL NOT NULL,"
                               " update_utc INTEGER NOT NULL,"
                               " import_id INTEGER NOT NULL REFERENCES meter_import (id),"
                               " PRIMARY KEY (channel_id, day)) WITHOUT ROWID"));
    ExecSql(db, QStringLiteral("CREATE INDEX meter_day_import ON meter_day (import_id)"));
}
