#include "meterdata/meterstore.h"

#include "storage/historysql.h"
#include "storage/sqlitestatement.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// A day's kWh as stored: most files give at most three decimals of a kWh (or
// whole Wh), so a day is kept as 16- or 32-bit integers of 10^-d kWh when that
// gives back every value exactly, else as doubles. A quarter of the bytes
// for typical data, which is what an import of years spends its time writing.
// Layout: 'S' or 'I', then d, then the integers (the lowest value standing for
// a missing interval); or 'D' and the doubles. Native byte order.
constexpr double Scales[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};

// The integer nearest v × scale (v is not negative) as the check and the
// encoding both take it; -1 when it is out of reach of a 32-bit integer.
double Scaled(double v, double scale) {
    const double x = v * scale + 0.5;
    return x < 2147483647.0 ? static_cast<double>(static_cast<std::int64_t>(x)) : -1;
}

// The fewest decimals (0 to 6) that give back every value exactly; 7 when none do.
int DecimalsNeeded(const std::vector<double>& values) {
    int d = 0;
    for (double v : values) {
        if (std::isnan(v)) {
            continue;
        }
        if (!(v >= 0)) {
            return 7;
        }
        while (d <= 6 && Scaled(v, Scales[d]) / Scales[d] != v) {
            ++d;
        }
    }
    return d;
}

template <typename Int>
bool EncodeAs(const std::vector<double>& values, int decimals, char tag, std::string& out) {
    const double scale = Scales[decimals];
    out.resize(2 + values.size() * sizeof(Int));
    out[0] = tag;
    out[1] = static_cast<char>(decimals);
    for (std::size_t i = 0; i < values.size(); ++i) {
        Int n = std::numeric_limits<Int>::min();
        if (!std::isnan(values[i])) {
            const double r = Scaled(values[i], scale);
            if (r < 0 || r >= static_cast<double>(std::numeric_limits<Int>::max())) {
                return false;
            }
            n = static_cast<Int>(r);
        }
        std::memcpy(out.data() + 2 + i * sizeof(Int), &n, sizeof n);
    }
    return true;
}

// Into `out`, kept by the caller so that a day costs no allocation.
void Encode(const std::vector<double>& values, std::string& out) {
    const int decimals = DecimalsNeeded(values);
    if (decimals <= 6 && (EncodeAs<std::int16_t>(values, decimals, 'S', out) ||
                          EncodeAs<std::int32_t>(values, decimals, 'I', out))) {
        return;
    }
    out.assign(1, 'D');
    out.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(double));
}

// Days stored before this encoding kept their scale as a power of ten.
template <typename Int> std::vector<double> DecodeAs(const char* blob, std::size_t size) {
    const int decimals = size > 1 ? blob[1] : 0;
    const double scale =
        decimals >= 0 && decimals <= 6 ? Scales[decimals] : std::pow(10.0, decimals);
    std::vector<double> v(size > 2 ? (size - 2) / sizeof(Int) : 0);
    for (std::size_t i = 0; i < v.size(); ++i) {
        Int n{};
        std::memcpy(&n, blob + 2 + i * sizeof(Int), sizeof n);
        v[i] = n == std::numeric_limits<Int>::min() ? MissingValue : static_cast<double>(n) / scale;
    }
    return v;
}

std::vector<double> Values(const char* blob, std::size_t size) {
    if (size > 0 && blob[0] == 'S') {
        return DecodeAs<std::int16_t>(blob, size);
    }
    if (size > 0 && blob[0] == 'I') {
        return DecodeAs<std::int32_t>(blob, size);
    }
    std::vector<double> v(size == 0 ? 0 : (size - 1) / sizeof(double));
    if (!v.empty()) {
        std::memcpy(v.data(), blob + 1, v.size() * sizeof(double));
    }
    return v;
}

std::vector<double> Values(const QByteArray& blob) {
    return Values(blob.constData(), static_cast<std::size_t>(blob.size()));
}

void AddToSummary(ChannelSummary& s, const MeterDay& day, std::atomic<qint64>* progress) {
    s.lengthMinutes = day.lengthMinutes;
    if (!s.first.isValid() || day.day < s.first) {
        s.first = day.day;
    }
    if (!s.last.isValid() || day.day > s.last) {
        s.last = day.day;
    }
    qint64 read = 0;
    // Counted by runs of one letter (a day usually is one), then into the map.
    char letter = 0;
    qint64 run = 0;
    for (std::size_t i = 0; i < day.kwh.size(); ++i) {
        if (!std::isnan(day.kwh[i])) {
            ++read;
            if (day.quality[i] != letter) {
                if (run > 0) {
                    s.quality[letter] += run;
                }
                letter = day.quality[i];
                run = 0;
            }
            ++run;
        }
    }
    if (run > 0) {
        s.quality[letter] += run;
    }
    s.intervals += read;
    if (progress != nullptr) {
        progress->fetch_add(read, std::memory_order_relaxed);
    }
}

void ThrowIfCancelled(const ImportOptions& options) {
    if (options.cancel != nullptr && options.cancel->load()) {
        throw MeterDataError(QStringLiteral("The import was cancelled."));
    }
}

// A channel that is not energy, listed once however often the file names it.
void AddOther(ImportResult& result, const OtherChannel& other) {
    for (const OtherChannel& o : result.others) {
        if (o.meter == other.meter && o.channel == other.channel) {
            return;
        }
    }
    result.others.push_back(other);
}

// Sums up the channels of a file without a database.
class ScanSink : public MeterSink {
public:
    ScanSink(const ImportOptions& options, ImportResult& result)
        : options_(options), result_(result) {}

    void Other(const OtherChannel& other) override { AddOther(result_, other); }

    void Day(const MeterDay& day) override {
        ThrowIfCancelled(options_);
        const QString key = day.meter + u'\n' + day.channel;
        auto it = index_.find(key);
        if (it == index_.end()) {
            ChannelSummary s;
            s.meter = day.meter;
            s.channel = day.channel;
            s.role =
                ChosenRole(options_, day.meter, day.channel).value_or(DefaultRole(day.channel));
            it = index_.insert(key, result_.channels.size());
            result_.channels.push_back(s);
        }
        AddToSummary(result_.channels[*it], day, options_.progress);
    }

private:
    const ImportOptions& options_;
    ImportResult& result_;
    QHash<QString, std::size_t> index_;
};

QSqlQuery Prepare(const QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.prepare(sql)) {
        ThrowSqlError(db, q.lastError());
    }
    return q;
}

// The days the readers let through (1900 to 2100); a day outside is looked
// up in the file as if stored.
const qint64 FirstDay = QDate(1900, 1, 1).toJulianDay();
const std::size_t DaySpan = static_cast<std::size_t>(QDate(2101, 1, 1).toJulianDay() - FirstDay);
bool InSpan(qint64 jd) {
    return jd >= FirstDay && jd - FirstDay < static_cast<qint64>(DaySpan);
}
std::size_t Bit(qint64 jd) {
    return static_cast<std::size_t>(jd - FirstDay);
}

class ImportSink : public MeterSink {
public:
    ImportSink(const QSqlDatabase& db, qint64 importId, const ImportOptions& options,
               ImportResult& result)
        : db_(db), importId_(importId), options_(options), result_(result),
          find_(db, "SELECT kwh, quality, update_utc, import_id, length_min FROM meter_day WHERE "
                    "channel_id = ? AND day = ?"),
          // Bound with SQLite's own API: a QVariant and a parameter name per
          // value cost more than the row's write.
          write_(db, "INSERT OR REPLACE INTO meter_day (channel_id, day, start_utc, length_min, "
                     "kwh, quality, total, update_utc, import_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                     "?)") {}

    qint64 stored = 0;

    void Other(const OtherChannel& other) override { AddOther(result_, other); }

    void Day(const MeterDay& day) override {
        ThrowIfCancelled(options_);
        Channel& c = ChannelOf(day);
        AddToSummary(result_.channels[c.summary], day, options_.progress);
        if (c.role == ChannelRole::Skip) {
            return;
        }
        Store(c, day);
    }

private:
    struct Channel {
        qint64 id = 0;
        ChannelRole role = ChannelRole::General;
        std::size_t summary = 0;
        // The days stored already, in the file or by this import: one bit a
        // day of 1900 to 2100, so that a file of many years costs no more.
        std::vector<bool> days = std::vector<bool>(DaySpan, false);
        bool Has(qint64 jd) const { return !InSpan(jd) || days[Bit(jd)]; }
        void Add(qint64 jd) {
            if (InSpan(jd)) {
                days[Bit(jd)] = true;
            }
        }
    };

    Channel& ChannelOf(const MeterDay& day) {
        const QString key = day.meter + u'\n' + day.channel;
        auto it = channels_.find(key);
        if (it != channels_.end()) {
            return *it;
        }
        Channel c;
        const std::optional<ChannelRole> chosen = ChosenRole(options_, day.meter, day.channel);
        QSqlQuery q =
            Prepare(db_, QStringLiteral("SELECT id, role FROM meter_channel WHERE meter = ? "
                                        "AND channel = ?"));
        q.addBindValue(day.meter);
        q.addBindValue(day.channel);
        RunQuery(db_, q);
        if (q.next()) {
            c.id = q.value(0).toLongLong();
            c.role = static_cast<ChannelRole>(q.value(1).toInt());
            QSqlQuery days =
                Prepare(db_, QStringLiteral("SELECT day FROM meter_day WHERE channel_id = ?"));
            days.addBindValue(c.id);
            RunQuery(db_, days);
            while (days.next()) {
                c.Add(days.value(0).toLongLong());
            }
        } else {
            c.role = DefaultRole(day.channel);
        }
        if (chosen) {
            c.role = *chosen;
        }
        if (c.role != ChannelRole::Skip) {
            QSqlQuery w =
                Prepare(db_, c.id != 0 ? QStringLiteral("UPDATE meter_channel SET role = ? "
                                                        "WHERE meter = ? AND channel = ?")
                                       : QStringLiteral("INSERT INTO meter_channel (role, "
                                                        "meter, channel) VALUES (?, ?, ?)"));
            w.addBindValue(static_cast<int>(c.role));
            w.addBindValue(day.meter);
            w.addBindValue(day.channel);
            RunQuery(db_, w);
            if (c.id == 0) {
                c.id = w.lastInsertId().toLongLong();
            }
        }
        c.summary = result_.channels.size();
        ChannelSummary s;
        s.meter = day.meter;
        s.channel = day.channel;
        s.role = c.role;
        result_.channels.push_back(s);
        return *channels_.insert(key, c);
    }

    void Store(Channel& c, const MeterDay& day) {
        const qint64 channelId = c.id;
        const qint64 jd = day.day.toJulianDay();
        // Only a day stored before is looked up, to merge with.
        const bool known = c.Has(jd);
        if (known) {
            find_.Reset();
            find_.Bind(1, channelId);
            find_.Bind(2, jd);
        } else {
            c.Add(jd);
        }
        kwh_ = day.kwh;
        quality_ = day.quality;
        std::vector<double>& kwh = kwh_;
        std::string& quality = quality_;
        qint64 owner = importId_;
        qint64 update = day.updateUtc;
        if (known && find_.Step() && find_.Int(4) == day.lengthMinutes) {
            std::size_t size = 0;
            const char* blob = find_.Blob(0, size);
            std::vector<double> old = Values(blob, size);
            blob = find_.Blob(1, size);
            const QByteArray oldQuality(blob, static_cast<qsizetype>(size));
            const qint64 oldUpdate = find_.Int(2);
            const qint64 oldOwner = find_.Int(3);
            const bool newWins = oldOwner == importId_ ||
                                 !(oldUpdate > 0 && day.updateUtc > 0 && oldUpdate > day.updateUtc);
            if (old.size() == kwh.size() &&
                oldQuality.size() == static_cast<qsizetype>(kwh.size())) {
                for (std::size_t i = 0; i < kwh.size(); ++i) {
                    const bool takeOld = std::isnan(kwh[i]) || (!newWins && !std::isnan(old[i]));
                    if (takeOld) {
                        kwh[i] = old[i];
                        quality[i] = oldQuality[static_cast<qsizetype>(i)];
                    }
                }
                if (!newWins) {
                    owner = oldOwner;
                    update = oldUpdate;
                }
            } else if (!newWins) {
                find_.Reset();
                return;
            }
        }
        find_.Reset();
        double total = 0;
        for (double v : kwh) {
            if (!std::isnan(v)) {
                total += v;
            }
        }
        Encode(kwh, blob_);
        write_.Reset();
        write_.Bind(1, channelId);
        write_.Bind(2, jd);
        write_.Bind(3, day.startUtc);
        write_.Bind(4, qint64{day.lengthMinutes});
        write_.BindBlob(5, blob_.data(), blob_.size());
        write_.BindBlob(6, quality.data(), quality.size());
        write_.Bind(7, total);
        write_.Bind(8, update);
        write_.Bind(9, owner);
        write_.Step();
        ++stored;
    }

    QSqlDatabase db_;
    qint64 importId_;
    const ImportOptions& options_;
    ImportResult& result_;
    SqliteStatement find_;
    SqliteStatement write_;
    QHash<QString, Channel> channels_;
    // Reused day by day.
    std::vector<double> kwh_;
    std::string quality_;
    std::string blob_;
};

QString DayText(qint64 jd) {
    return QDate::fromJulianDay(jd).toString(Qt::ISODate);
}

} // namespace

QString RoleName(ChannelRole role) {
    switch (role) {
    case ChannelRole::General:
        return QStringLiteral("general");
    case ChannelRole::ControlledLoad:
        return QStringLiteral("controlled_load");
    case ChannelRole::Export:
        return QStringLiteral("export");
    case ChannelRole::Skip:
        break;
    }
    return QStringLiteral("skip");
}

bool ParseRole(const QString& text, ChannelRole& role) {
    for (ChannelRole r : {ChannelRole::General, ChannelRole::ControlledLoad, ChannelRole::Export,
                          ChannelRole::Skip}) {
        if (text == RoleName(r)) {
            role = r;
            return true;
        }
    }
    return false;
}

ChannelRole DefaultRole(const QString& suffix) {
    const QString s = suffix.toUpper();
    if (s.startsWith(u'B')) {
        return ChannelRole::Export;
    }
    return s == QLatin1String("E2") ? ChannelRole::ControlledLoad : ChannelRole::General;
}

std::pair<QString, QString> MeterChannelKey(const QString& meter, const QString& channel) {
    return {meter.toUpper(), channel.toUpper()};
}

std::optional<ChannelRole> ChosenRole(const ImportOptions& options, const QString& meter,
                                      const QString& channel) {
    const auto one = options.meterRoles.find(MeterChannelKey(meter, channel));
    if (one != options.meterRoles.end()) {
        return one->second;
    }
    const auto every = options.roles.find(channel.toUpper());
    if (every != options.roles.end()) {
        return every->second;
    }
    return std::nullopt;
}

MeterStore::MeterStore(const QSqlDatabase& db) : connection_(db.connectionName()) {}

QSqlDatabase MeterStore::Db() const {
    return QSqlDatabase::database(connection_, false);
}

ImportResult MeterStore::Import(const QString& path, const ImportOptions& options) {
    QSqlDatabase db = Db();
    const QFileInfo info(path);
    if (!info.exists()) { // else its import row would fail for want of a file time
        throw MeterDataError(QStringLiteral("%1: cannot be read (no such file)").arg(path));
    }
    ImportResult result;
    ExecSql(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        QSqlQuery add =
            Prepare(db, QStringLiteral("INSERT INTO meter_import (file_name, file_size, "
                                       "file_time, imported_at) VALUES (?, ?, ?, ?)"));
        add.addBindValue(info.fileName());
        add.addBindValue(info.size());
        add.addBindValue(info.lastModified().toUTC().toString(Qt::ISODate));
        add.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
        RunQuery(db, add);
        result.id = add.lastInsertId().toLongLong();
        ImportSink sink(db, result.id, options, result);
        ReadMeterFile(path, sink, options.read);
        if (sink.stored == 0) {
            throw MeterDataError(
                QStringLiteral("%1: the file holds no energy intervals to store").arg(path));
        }
        qint64 intervals = 0;
        for (const ChannelSummary& c : result.channels) {
            intervals += c.role == ChannelRole::Skip ? 0 : c.intervals;
        }
        QSqlQuery count =
            Prepare(db, QStringLiteral("UPDATE meter_import SET intervals = ? WHERE id = ?"));
        count.addBindValue(intervals);
        count.addBindValue(result.id);
        RunQuery(db, count);
        ExecSql(db, QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
    return result;
}

std::vector<MeterImport> MeterStore::Imports() const {
    std::vector<MeterImport> list;
    QSqlQuery q =
        ExecSql(Db(), QStringLiteral("SELECT id, file_name, file_size, file_time, "
                                     "imported_at, intervals FROM meter_import ORDER BY id"));
    while (q.next()) {
        MeterImport m;
        m.id = q.value(0).toLongLong();
        m.fileName = q.value(1).toString();
        m.fileSize = q.value(2).toLongLong();
        m.fileTime = QDateTime::fromString(q.value(3).toString(), Qt::ISODate);
        m.importedAt = QDateTime::fromString(q.value(4).toString(), Qt::ISODateWithMs);
        m.intervals = q.value(5).toLongLong();
        list.push_back(m);
    }
    return list;
}

bool MeterStore::RemoveImport(qint64 id) {
    QSqlDatabase db = Db();
    ExecSql(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        QSqlQuery days = Prepare(db, QStringLiteral("DELETE FROM meter_day WHERE import_id = ?"));
        days.addBindValue(id);
        RunQuery(db, days);
        QSqlQuery row = Prepare(db, QStringLiteral("DELETE FROM meter_import WHERE id = ?"));
        row.addBindValue(id);
        RunQuery(db, row);
        const bool removed = row.numRowsAffected() > 0;
        ExecSql(db, QStringLiteral("COMMIT"));
        return removed;
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

std::pair<QDate, QDate> MeterStore::Range(const QString& meter) const {
    QSqlQuery q =
        Prepare(Db(), QStringLiteral("SELECT MIN(day), MAX(day) FROM meter_day d JOIN "
                                     "meter_channel c ON c.id = d.channel_id WHERE ? = '' "
                                     "OR c.meter = ?"));
    q.addBindValue(meter.isNull() ? QStringLiteral("") : meter);
    q.addBindValue(meter.isNull() ? QStringLiteral("") : meter);
    RunQuery(Db(), q);
    if (!q.next() || q.value(0).isNull()) {
        return {};
    }
    return {QDate::fromJulianDay(q.value(0).toLongLong()),
            QDate::fromJulianDay(q.value(1).toLongLong())};
}

namespace {

// Binds the day range (Julian days) and the meter (every meter when empty)
// of the usage and interval queries.
void BindDaysAndMeter(QSqlQuery& q, QDate from, QDate to, const QString& meter) {
    const QString m = meter.isNull() ? QStringLiteral("") : meter;
    for (const QVariant& v :
         {QVariant(from.toJulianDay()), QVariant(to.toJulianDay()), QVariant(m), QVariant(m)}) {
        q.addBindValue(v);
    }
}

} // namespace

std::vector<UsageRow> MeterStore::Usage(QDate from, QDate to, bool byMonth,
                                        const QString& meter) const {
    QSqlQuery q =
        Prepare(Db(), QStringLiteral("SELECT d.day, c.role, SUM(d.total) FROM meter_day d "
                                     "JOIN meter_channel c ON c.id = d.channel_id WHERE "
                                     "d.day BETWEEN ? AND ? AND (? = '' OR c.meter = ?) "
                                     "GROUP BY d.day, c.role ORDER BY d.day"));
    BindDaysAndMeter(q, from, to, meter);
    RunQuery(Db(), q);
    std::vector<UsageRow> rows;
    while (q.next()) {
        QString date = DayText(q.value(0).toLongLong());
        if (byMonth) {
            date.truncate(7);
        }
        if (rows.empty() || rows.back().date != date) {
            rows.push_back({date, {0, 0, 0}});
        }
        const int role = q.value(1).toInt();
        if (role >= 0 && role < 3) {
            rows.back().kwh[role] += q.value(2).toDouble();
        }
    }
    return rows;
}

IntervalArrays MeterStore::Intervals(QDate from, QDate to, const QString& meter) const {
    QSqlQuery q =
        Prepare(Db(), QStringLiteral("SELECT d.start_utc, d.length_min, d.kwh, d.quality, "
                                     "c.role FROM meter_day d JOIN meter_channel c ON c.id "
                                     "= d.channel_id WHERE d.day BETWEEN ? AND ? AND (? = "
                                     "'' OR c.meter = ?) ORDER BY d.start_utc, c.id"));
    BindDaysAndMeter(q, from, to, meter);
    q.setForwardOnly(true);
    RunQuery(Db(), q);
    IntervalArrays out;
    while (q.next()) {
        const qint64 start = q.value(0).toLongLong();
        const int length = q.value(1).toInt();
        const std::vector<double> kwh = Values(q.value(2).toByteArray());
        const QByteArray quality = q.value(3).toByteArray();
        const auto role = static_cast<ChannelRole>(q.value(4).toInt());
        for (std::size_t i = 0; i < kwh.size(); ++i) {
            if (!std::isnan(kwh[i])) {
                out.push_back(start + static_cast<qint64>(i) * length * 60, length, kwh[i],
                              static_cast<qsizetype>(i) < quality.size()
                                  ? quality.at(static_cast<qsizetype>(i))
                                  : 'N',
                              role);
            }
        }
    }
    return out;
}

ImportResult ScanMeterFile(const QString& path, const ImportOptions& options) {
    ImportResult result;
    ScanSink sink(options, result);
    ReadMeterFile(path, sink, options.read);
    return result;
}

std::vector<StoredChannel> MeterStore::Channels() const {
    QSqlQuery q = ExecSql(
        // Each look-up walks the primary key (channel, day) rather than every day.
        Db(), QStringLiteral("SELECT * FROM (SELECT c.id, c.meter, c.channel, c.role, (SELECT "
                             "MIN(day) FROM meter_day WHERE channel_id = c.id) AS first, (SELECT "
                             "MAX(day) FROM meter_day WHERE channel_id = c.id), (SELECT "
                             "length_min FROM meter_day WHERE channel_id = c.id ORDER BY day "
                             "DESC LIMIT 1) FROM meter_channel c) WHERE first IS NOT NULL "
                             "ORDER BY meter, channel"));
    std::vector<StoredChannel> list;
    while (q.next()) {
        StoredChannel c;
        c.id = q.value(0).toLongLong();
        c.meter = q.value(1).toString();
        c.channel = q.value(2).toString();
        c.role = static_cast<ChannelRole>(q.value(3).toInt());
        c.first = QDate::fromJulianDay(q.value(4).toLongLong());
        c.last = QDate::fromJulianDay(q.value(5).toLongLong());
        c.lengthMinutes = q.value(6).toInt();
        list.push_back(c);
    }
    return list;
}

std::vector<StoredDay> MeterStore::Days(QDate from, QDate to, const QString& meter) const {
    QSqlQuery q =
        Prepare(Db(), QStringLiteral("SELECT d.channel_id, c.role, d.day, d.length_min, d.kwh, "
                                     "d.quality, d.start_utc FROM meter_day d JOIN meter_channel c "
                                     "ON c.id "
                                     "= d.channel_id WHERE d.day BETWEEN ? AND ? AND (? = "
                                     "'' OR c.meter = ?) ORDER BY d.day, c.id"));
    BindDaysAndMeter(q, from, to, meter);
    q.setForwardOnly(true);
    RunQuery(Db(), q);
    std::vector<StoredDay> days;
    while (q.next()) {
        StoredDay d;
        d.channelId = q.value(0).toLongLong();
        d.role = static_cast<ChannelRole>(q.value(1).toInt());
        d.day = QDate::fromJulianDay(q.value(2).toLongLong());
        d.lengthMinutes = q.value(3).toInt();
        d.kwh = Values(q.value(4).toByteArray());
        const QByteArray quality = q.value(5).toByteArray();
        d.quality.assign(quality.constData(), static_cast<std::size_t>(quality.size()));
        d.quality.resize(d.kwh.size(), 'N');
        d.startUtc = q.value(6).toLongLong();
        days.push_back(std::move(d));
    }
    return days;
}
