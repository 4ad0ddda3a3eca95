#include "storage/transaction.h"

#include "storage/historysql.h"

TWriteTransaction::TWriteTransaction(const QSqlDatabase& db) : db_(db) {
    ExecSql(db_, QStringLiteral("BEGIN IMMEDIATE"));
}

TWriteTransaction::~TWriteTransaction() {
    if (!done_) {
        QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
    }
}

void TWriteTransaction::Commit() {
    ExecSql(db_, QStringLiteral("COMMIT"));
    done_ = true;
}
