#pragma once
// A statement prepared once with SQLite's own API on the connection under a
// Qt SQL database, for writing or reading many rows: values are bound and
// read without a QVariant or a text per value. Every failure throws
// EHistoryError as a failed QSqlQuery would (historysql.h).

#include <QSqlDatabase>
#include <cstddef>

struct sqlite3;
struct sqlite3_stmt;

class SqliteStatement {
public:
    // Throws when the database is not SQLite or the statement is refused.
    SqliteStatement(const QSqlDatabase& db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters count from 1, as "?" stand in the statement. A blob's bytes
    // must stay until the statement has run.
    void Bind(int index, qint64 value);
    void Bind(int index, double value);
    void BindBlob(int index, const void* data, std::size_t size);
    // Runs it to its next row: true while there is one. Reset() makes it ready again.
    bool Step();
    void Reset();

    // Columns of the present row, from 0.
    qint64 Int(int column) const;
    // The blob's bytes (null when empty), valid until the next Step or Reset.
    const char* Blob(int column, std::size_t& size) const;

private:
    [[noreturn]] void Fail(int code) const;

    QSqlDatabase db_;
    sqlite3* handle_ = nullptr;
    sqlite3_stmt* st_ = nullptr;
};
