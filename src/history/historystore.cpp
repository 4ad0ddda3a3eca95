#include "history/historystore.h"

#include "mylib/paths.h"
#include "storage/historyschema.h"
#include "storage/historysql.h"
#include "storage/transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlRecord>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <atomic>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList Columns() {
    QStringList c{QStringLiteral("date_from"), QStringLiteral("date_to"), QStringLiteral("days"),
                  QStringLiteral("solar"), QStringLiteral("hot_water")};
    for (const PeriodField& f : PeriodFields()) {
        c << QLatin1String(f.column) + QStringLiteral("_text") << QLatin1String(f.column);
    }
    c << QStringLiteral("kwh_general") << QStringLiteral("kwh_hot_water")
      << QStringLiteral("kwh_exported") << QStringLiteral("fixed_cost")
      << QStringLiteral("variable_cost") << QStringLiteral("income") << QStringLiteral("net_cost")
      << QStringLiteral("net_per_day") << QStringLiteral("currency_symbol")
      << QStringLiteral("money_decimals") << QStringLiteral("note") << QStringLiteral("saved_at");
    c << QStringLiteral("billed") << QStringLiteral("bill_date") << QStringLiteral("bill_reference")
      << QStringLiteral("estimated") << QStringLiteral("warnings")
      << QStringLiteral("kwh_from_meter_data");
    return c;
}

const QString& SelectSql() {
    static const QString sql = QStringLiteral("SELECT id, ") +
                               Columns().join(QStringLiteral(", ")) +
                               QStringLiteral(" FROM period");
    return sql;
}

// Null texts would be stored as NULL; the columns hold texts.
QString NotNull(const QString& s) {
    return s.isNull() ? QString(QLatin1String("")) : s;
}

QString IsoDate(QDate d) {
    return d.toString(Qt::ISODate);
}

void Bind(QSqlQuery& q, const HistoryPeriod& p) {
    q.addBindValue(IsoDate(p.from));
    q.addBindValue(IsoDate(p.to));
    q.addBindValue(p.days);
    q.addBindValue(p.typed.solar ? 1 : 0);
    q.addBindValue(p.typed.showHotWater ? 1 : 0);
    for (const PeriodField& f : PeriodFields()) {
        q.addBindValue(NotNull(p.typed.*f.text));
        q.addBindValue(p.numbers.*f.number);
    }
    for (double v : {p.kwhGeneral, p.kwhHotWater, p.kwhExported, p.fixed, p.variable, p.income,
                     p.net, p.netPerDay}) {
        q.addBindValue(v);
    }
    q.addBindValue(NotNull(p.currencySymbol));
    q.addBindValue(p.moneyDecimals);
    q.addBindValue(NotNull(p.note));
    q.addBindValue(p.savedAt.toUTC().toString(Qt::ISODateWithMs));
    q.addBindValue(p.billed ? QVariant(*p.billed) : QVariant(QMetaType::fromType<double>()));
    q.addBindValue(NotNull(IsoDate(p.billDate)));
    q.addBindValue(NotNull(p.billReference));
    q.addBindValue(NotNull(p.estimated.join(QLatin1Char('\n'))));
    q.addBindValue(NotNull(p.warnings.join(QLatin1Char('\n'))));
    q.addBindValue(p.kwhFromMeterData ? 1 : 0);
}

// One row's columns through Qt SQL: the single-row look-ups, and the whole
// history when the connection has no SQLite handle to lend.
struct QueryColumns {
    const QSqlQuery& q;
    bool IsNull(int i) const { return q.value(i).isNull(); }
    qint64 Int(int i) const { return q.value(i).toLongLong(); }
    double Double(int i) const { return q.value(i).toDouble(); }
    QString Text(int i) const { return q.value(i).toString(); }
};

// One row's columns straight from SQLite, for reading the whole history: no
// QVariant and no UTF-16 copy by SQLite per cell. The same conversions as
// Qt's driver gives: NULL reads as a null text, 0 or 0.0.
struct StatementColumns {
    sqlite3_stmt* st;
    bool IsNull(int i) const { return sqlite3_column_type(st, i) == SQLITE_NULL; }
    qint64 Int(int i) const { return sqlite3_column_int64(st, i); }
    double Double(int i) const { return sqlite3_column_double(st, i); }
    QString Text(int i) const {
        if (IsNull(i)) {
            return QString();
        }
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        return QString::fromUtf8(text, sqlite3_column_bytes(st, i));
    }
};

template <typename Columns> HistoryPeriod ReadRow(const Columns& c) {
    HistoryPeriod p;
    int i = 0;
    p.id = c.Int(i++);
    p.from = QDate::fromString(c.Text(i++), Qt::ISODate);
    p.to = QDate::fromString(c.Text(i++), Qt::ISODate);
    p.days = c.Int(i++);
    p.typed.solar = static_cast<int>(c.Int(i++)) != 0;
    p.typed.showHotWater = static_cast<int>(c.Int(i++)) != 0;
    for (const PeriodField& f : PeriodFields()) {
        p.typed.*f.text = c.Text(i++);
        p.numbers.*f.number = c.Double(i++);
    }
    for (double* v : {&p.kwhGeneral, &p.kwhHotWater, &p.kwhExported, &p.fixed, &p.variable,
                      &p.income, &p.net, &p.netPerDay}) {
        *v = c.Double(i++);
    }
    p.currencySymbol = c.Text(i++);
    p.moneyDecimals = static_cast<int>(c.Int(i++));
    p.note = c.Text(i++);
    p.savedAt = QDateTime::fromString(c.Text(i++), Qt::ISODateWithMs);
    if (!c.IsNull(i)) {
        p.billed = c.Double(i);
    }
    ++i;
    p.billDate = QDate::fromString(c.Text(i++), Qt::ISODate);
    p.billReference = c.Text(i++);
    p.estimated = c.Text(i++).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    p.warnings = c.Text(i++).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    p.kwhFromMeterData = c.Int(i++) != 0;
    return p;
}

// SQLite's own connection under Qt's, or null when the driver is another.
sqlite3* SqliteHandle(const QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return nullptr;
    }
    return *static_cast<sqlite3* const*>(handle.constData());
}

// Throws as a failed QSqlQuery would have, with SQLite's code and message.
[[noreturn]] void ThrowSqliteError(const QSqlDatabase& db, sqlite3* handle, int code,
                                   const char* what) {
    ThrowSqlError(db, QSqlError(QLatin1String(what), QString::fromUtf8(sqlite3_errmsg(handle)),
                                QSqlError::StatementError, QString::number(code)));
}

QString KeptName(const QString& fileName) {
    const QFileInfo info(fileName);
    const QString stem = info.completeBaseName() + QLatin1Char('-') +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString suffix = QLatin1Char('.') + info.suffix();
    QString name = info.dir().filePath(stem + suffix);
    for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + QStringLiteral("-wal"));
         ++n) {
        name = info.dir().filePath(stem + QLatin1Char('-') + QString::number(n) + suffix);
    }
    return name;
}

// True when the file starts as every SQLite database does.
bool HasDatabaseHeader(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        return true; // the open that follows reports why it cannot be read
    }
    static const QByteArray header("SQLite format 3\0", 16);
    return f.read(header.size()) == header;
}

} // namespace

THistoryStore::THistoryStore(QString fileName, int busyTimeoutMs)
    : fileName_(std::move(fileName)), busyTimeoutMs_(busyTimeoutMs) {
    static std::atomic<int> counter{0};
    connection_ = QStringLiteral("voltisk-history-%1").arg(++counter);
}

THistoryStore::~THistoryStore() {
    Close();
}

bool THistoryStore::IsOpen() const {
    return QSqlDatabase::contains(connection_) && Db().isOpen();
}

QSqlDatabase THistoryStore::Db() const {
    return QSqlDatabase::database(connection_, false);
}

HistoryFault THistoryStore::Open() {
    Close();
    const QFileInfo info(fileName_);
    if (!QDir().mkpath(info.absolutePath())) {
        throw EHistoryError(HistoryFault::Unreadable,
                            HistoryFaultText(HistoryFault::Unreadable, fileName_));
    }
    const QByteArray path = QFile::encodeName(fileName_);
    if (info.exists() && (!info.isFile() || ::access(path.constData(), R_OK) != 0)) {
        throw EHistoryError(HistoryFault::Unreadable,
                            HistoryFaultText(HistoryFault::Unreadable, fileName_));
    }
    if (info.exists() && info.size() > 0 && !HasDatabaseHeader(fileName_)) {
        // SQLite would still fold a journal beside it into the file and delete
        // the journal on closing; a file that is no database is left alone.
        throw EHistoryError(HistoryFault::Damaged,
                            HistoryFaultText(HistoryFault::Damaged, fileName_));
    }
    // A file without any write permission is read-only also for root, who
    // could override it (as for the settings file); so is one in a folder
    // that takes no new files, where the journal could not be written.
    struct stat st {};
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const bool folderLocked = ::access(folder.constData(), W_OK) != 0;
    readOnly_ = info.exists() && (::access(path.constData(), W_OK) != 0 || folderLocked ||
                                  (::stat(path.constData(), &st) == 0 && (st.st_mode & 0222) == 0));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(fileName_);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_);
    if (readOnly_) {
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    }
    if (readOnly_ && folderLocked && !QFileInfo::exists(fileName_ + QStringLiteral("-wal"))) {
        // Without a journal beside it the file is whole, and SQLite could not
        // create the shared-memory file it wants for reading one: read it as
        // a file nobody changes.
        options += QStringLiteral(";QSQLITE_OPEN_URI");
        db.setDatabaseName(QUrl::fromLocalFile(fileName_).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?immutable=1"));
    }
    db.setConnectOptions(options);
    try {
        if (!db.open()) {
            ThrowSqlError(db, db.lastError());
        }
        // A newer program's file is refused before anything, the journal mode
        // included, is written to it.
        const int version = ReadSchemaVersion(db);
        if (version > HistorySchemaVersion()) {
            throw EHistoryError(HistoryFault::Newer,
                                HistoryFaultText(HistoryFault::Newer, fileName_));
        }
        if (readOnly_) {
            if (version != HistorySchemaVersion()) {
                throw EHistoryError(HistoryFault::ReadOnly,
                                    HistoryFaultText(HistoryFault::ReadOnly, fileName_));
            }
            ExecSql(db, QStringLiteral("SELECT count(*) FROM period"));
            return HistoryFault::ReadOnly;
        }
        if (version == 0) {
            // Takes effect only in a file with nothing in it yet: meter days
            // of about a kilobyte each are written in a quarter of the pages
            // (and system calls) of SQLite's default 4 KB.
            ExecSql(db, QStringLiteral("PRAGMA page_size = 16384"));
        }
        ExecSql(db, QStringLiteral("PRAGMA journal_mode = WAL"));
        ExecSql(db, QStringLiteral("PRAGMA synchronous = FULL"));
        MigrateHistory(db);
    } catch (...) {
        Close();
        throw;
    }
    return HistoryFault::None;
}

void THistoryStore::Close() {
    insert_.reset();
    findKey_.reset();
    if (!QSqlDatabase::contains(connection_)) {
        return;
    }
    {
        QSqlDatabase db = Db();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

void THistoryStore::RequireWritable() const {
    if (!IsOpen()) {
        throw EHistoryError(HistoryFault::Unreadable,
                            HistoryFaultText(HistoryFault::Unreadable, fileName_));
    }
    if (readOnly_) {
        throw EHistoryError(HistoryFault::ReadOnly,
                            HistoryFaultText(HistoryFault::ReadOnly, fileName_));
    }
}

std::vector<HistoryPeriod> THistoryStore::Periods() const {
    const QSqlDatabase db = Db();
    const QString sql = SelectSql() + QStringLiteral(" ORDER BY date_to DESC, date_from DESC");
    sqlite3* handle = SqliteHandle(db);
    std::vector<HistoryPeriod> periods;
    if (!handle) {
        QSqlQuery q = ExecSql(db, sql);
        while (q.next()) {
            periods.push_back(ReadRow(QueryColumns{q}));
        }
        if (q.lastError().isValid()) {
            ThrowSqlError(db, q.lastError());
        }
        return periods;
    }
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    if (const int rc = sqlite3_prepare_v2(handle, utf8.constData(), -1, &st, nullptr);
        rc != SQLITE_OK) {
        sqlite3_finalize(st);
        ThrowSqliteError(db, handle, rc, "Unable to execute statement");
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owned(st, sqlite3_finalize);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        periods.push_back(ReadRow(StatementColumns{st}));
    }
    if (rc != SQLITE_DONE) {
        ThrowSqliteError(db, handle, rc, "Unable to fetch row");
    }
    return periods;
}

std::optional<HistoryPeriod> THistoryStore::Find(QDate from, QDate to) const {
    QSqlQuery q =
        ExecSql(Db(), SelectSql() + QStringLiteral(" WHERE date_from = ? AND date_to = ?"),
                {IsoDate(from), IsoDate(to)});
    if (!q.next()) {
        return std::nullopt;
    }
    return ReadRow(QueryColumns{q});
}

std::optional<std::pair<qint64, QString>> THistoryStore::FindKey(QDate from, QDate to) const {
    const QSqlDatabase db = Db();
    if (!findKey_) {
        findKey_ = std::make_unique<QSqlQuery>(db);
        findKey_->prepare(
            QStringLiteral("SELECT id, note FROM period WHERE date_from = ? AND date_to = ?"));
    }
    QSqlQuery& q = *findKey_;
    q.addBindValue(IsoDate(from));
    q.addBindValue(IsoDate(to));
    RunQuery(db, q);
    std::optional<std::pair<qint64, QString>> key;
    if (q.next()) {
        key.emplace(q.value(0).toLongLong(), q.value(1).toString());
    }
    q.finish();
    return key;
}

qint64 THistoryStore::Insert(const HistoryPeriod& period) {
    if (!HasStorableFigures(period)) {
        throw EVoltiskError(FiguresTooLargeText());
    }
    const QSqlDatabase db = Db();
    if (!insert_) {
        const QStringList columns = Columns();
        insert_ = std::make_unique<QSqlQuery>(db);
        insert_->prepare(
            QStringLiteral("INSERT INTO period (") + columns.join(QStringLiteral(", ")) +
            QStringLiteral(") VALUES (") +
            QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")) +
            QStringLiteral(")"));
    }
    QSqlQuery& q = *insert_;
    Bind(q, period);
    RunQuery(db, q);
    const qint64 id = q.lastInsertId().toLongLong();
    q.finish();
    return id;
}

qint64 THistoryStore::Add(const HistoryPeriod& period) {
    RequireWritable();
    return InWriteTransaction(Db(), [&] {
        HistoryPeriod p = period;
        if (const auto old = FindKey(period.from, period.to)) {
            if (p.note.isEmpty()) {
                p.note = old->second;
            }
            // The bill belongs to the dates, not to the readings typed again.
            if (!p.billed) {
                if (const auto kept = Find(period.from, period.to)) {
                    p.billed = kept->billed;
                    p.billDate = kept->billDate;
                    p.billReference = kept->billReference;
                    p.estimated = kept->estimated;
                }
            }
            DeleteRow(old->first);
        }
        return Insert(p);
    });
}

THistoryStore::ImportCount THistoryStore::Import(const std::vector<HistoryPeriod>& periods) {
    RequireWritable();
    return InWriteTransaction(Db(), [&] {
        ImportCount count;
        for (const HistoryPeriod& p : periods) {
            if (FindKey(p.from, p.to)) {
                ++count.skipped;
            } else {
                Insert(p);
                ++count.added;
            }
        }
        return count;
    });
}

int THistoryStore::DeleteRow(qint64 id) {
    return ExecSql(Db(), QStringLiteral("DELETE FROM period WHERE id = ?"), {id}).numRowsAffected();
}

int THistoryStore::Remove(const std::vector<qint64>& ids) {
    RequireWritable();
    return InWriteTransaction(Db(), [&] {
        int removed = 0;
        for (qint64 id : ids) {
            removed += DeleteRow(id);
        }
        return removed;
    });
}

void THistoryStore::SetNote(qint64 id, const QString& note) {
    RequireWritable();
    InWriteTransaction(Db(), [&] {
        ExecSql(Db(), QStringLiteral("UPDATE period SET note = ? WHERE id = ?"),
                {NotNull(note), id});
        return 0;
    });
}

void THistoryStore::SetBill(qint64 id, std::optional<double> billed, QDate billDate,
                            const QString& reference, const QStringList& estimated) {
    RequireWritable();
    const QSqlDatabase db = Db();
    InWriteTransaction(db, [&] {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("UPDATE period SET billed = ?, bill_date = ?, bill_reference = "
                                 "?, estimated = ? WHERE id = ?"));
        q.addBindValue(billed ? QVariant(*billed) : QVariant(QMetaType::fromType<double>()));
        q.addBindValue(NotNull(IsoDate(billDate)));
        q.addBindValue(NotNull(reference));
        q.addBindValue(NotNull(estimated.join(QLatin1Char('\n'))));
        q.addBindValue(id);
        RunQuery(db, q);
        return 0;
    });
}

void THistoryStore::SetWarnings(qint64 id, const QStringList& warnings) {
    RequireWritable();
    const QSqlDatabase db = Db();
    InWriteTransaction(db, [&] {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("UPDATE period SET warnings = ? WHERE id = ?"));
        q.addBindValue(NotNull(warnings.join(QLatin1Char('\n'))));
        q.addBindValue(id);
        RunQuery(db, q);
        return 0;
    });
}

QString THistoryStore::StartNewHistory() {
    Close();
    QString kept;
    if (QFileInfo::exists(fileName_) || QFileInfo(fileName_).isSymLink()) {
        kept = KeptName(fileName_);
        if (!QFile::rename(fileName_, kept)) {
            throw EHistoryError(HistoryFault::Unreadable,
                                QStringLiteral("The history file %1 could not be renamed, so no "
                                               "new history was started.")
                                    .arg(QDir::toNativeSeparators(fileName_)));
        }
        // The journal belongs to the file it was written for.
        for (const char* companion : {"-wal", "-shm", "-journal"}) {
            const QString from = fileName_ + QLatin1String(companion);
            if (QFileInfo::exists(from)) {
                QFile::rename(from, kept + QLatin1String(companion));
            }
        }
    }
    Open();
    return kept;
}
