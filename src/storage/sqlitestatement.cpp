#include "storage/sqlitestatement.h"

#include "storage/historysql.h"

#include <QSqlDriver>
#include <sqlite3.h>

SqliteStatement::SqliteStatement(const QSqlDatabase& db, const char* sql) : db_(db) {
    const QVariant handle = db.driver() != nullptr ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        ThrowSqlError(db, QSqlError(QStringLiteral("Not an SQLite database"), QString(),
                                    QSqlError::ConnectionError));
    }
    handle_ = *static_cast<sqlite3* const*>(handle.constData());
    if (const int rc = sqlite3_prepare_v2(handle_, sql, -1, &st_, nullptr); rc != SQLITE_OK) {
        Fail(rc);
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(st_);
}

void SqliteStatement::Fail(int code) const {
    ThrowSqlError(db_, QSqlError(QStringLiteral("Unable to execute statement"),
                                 QString::fromUtf8(sqlite3_errmsg(handle_)),
                                 QSqlError::StatementError, QString::number(code)));
}

void SqliteStatement::Bind(int index, qint64 value) {
    if (const int rc = sqlite3_bind_int64(st_, index, value); rc != SQLITE_OK) {
        Fail(rc);
    }
}

void SqliteStatement::Bind(int index, double value) {
    if (const int rc = sqlite3_bind_double(st_, index, value); rc != SQLITE_OK) {
        Fail(rc);
    }
}

void SqliteStatement::BindBlob(int index, const void* data, std::size_t size) {
    if (const int rc =
            sqlite3_bind_blob64(st_, index, data != nullptr ? data : "", size, SQLITE_STATIC);
        rc != SQLITE_OK) {
        Fail(rc);
    }
}

bool SqliteStatement::Step() {
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc != SQLITE_DONE) {
        const int code = sqlite3_extended_errcode(handle_);
        sqlite3_reset(st_);
        Fail(code);
    }
    return false;
}

void SqliteStatement::Reset() {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
}

qint64 SqliteStatement::Int(int column) const {
    return sqlite3_column_int64(st_, column);
}

const char* SqliteStatement::Blob(int column, std::size_t& size) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(st_, column));
    size = static_cast<std::size_t>(sqlite3_column_bytes(st_, column));
    return data;
}
