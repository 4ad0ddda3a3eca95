// The write transaction every store uses: all or nothing, and a file another
// writer holds is refused before any work.

#include "storage/historysql.h"
#include "storage/transaction.h"

#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

struct Connection {
    QString name = QUuid::createUuid().toString();
    QSqlDatabase db;
    Connection(const QString& file, const QString& options = {}) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(options);
        EXPECT_TRUE(db.open());
    }
    ~Connection() {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    int Rows() {
        QSqlQuery q = ExecSql(db, QStringLiteral("SELECT count(*) FROM t"));
        return q.next() ? q.value(0).toInt() : -1;
    }
};

TEST(WriteTransaction, CommitsWholeOrRollsBackWhenLeftByAnException) {
    QTemporaryDir dir;
    Connection c(dir.filePath(QStringLiteral("t.sqlite")));
    ExecSql(c.db, QStringLiteral("CREATE TABLE t (v INTEGER)"));
    EXPECT_THROW(InWriteTransaction(c.db,
                                    [&]() -> int {
                                        ExecSql(c.db, QStringLiteral("INSERT INTO t VALUES (?)"),
                                                {1});
                                        throw std::runtime_error("midway");
                                    }),
                 std::runtime_error);
    EXPECT_EQ(c.Rows(), 0);
    EXPECT_EQ(InWriteTransaction(c.db,
                                 [&] {
                                     ExecSql(c.db, QStringLiteral("INSERT INTO t VALUES (?)"), {2});
                                     return 7;
                                 }),
              7);
    EXPECT_EQ(c.Rows(), 1);

    // Another writer holds the file: refused at the start, as Locked.
    Connection other(dir.filePath(QStringLiteral("t.sqlite")),
                     QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
    TWriteTransaction held(c.db);
    try {
        TWriteTransaction refused(other.db);
        ADD_FAILURE() << "a second writer began";
    } catch (const EHistoryError& e) {
        EXPECT_EQ(e.Fault(), HistoryFault::Locked);
    }
}

} // namespace
