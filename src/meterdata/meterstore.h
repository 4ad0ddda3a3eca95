#pragma once
// The meter data kept in the history database (tables of history/meterschema.h):
// imports, channels with their roles, and each channel's days.
//
// An import reads the file to its end inside one transaction: a refused or
// cancelled file stores nothing. A day met again replaces the stored one
// interval by interval: within one import the later record wins; across
// imports the stored day stays only when both carry an update time and the
// stored one is newer. Removing an import removes the days it still owns.
//
// Works on the connection of an open THistoryStore (WAL, busy timeout);
// throws MeterDataError for a refused file and EHistoryError for the
// database's faults.

#include "meterdata/intervalarrays.h"
#include "meterdata/meterday.h"
#include "meterdata/meterfile.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct ChannelSummary {
    QString meter;
    QString channel;
    ChannelRole role = ChannelRole::General;
    int lengthMinutes = 0;
    QDate first;
    QDate last;
    qint64 intervals = 0;
    std::map<char, qint64> quality; // count per quality letter
};

struct ImportResult {
    qint64 id = 0;
    std::vector<ChannelSummary> channels; // stored or skipped
    std::vector<OtherChannel> others;     // listed, not energy
};

// Roles chosen for one meter's channels, by (meter, channel) in upper case.
using MeterChannelRoles = std::map<std::pair<QString, QString>, ChannelRole>;

// The key of `MeterChannelRoles` for a meter's channel.
std::pair<QString, QString> MeterChannelKey(const QString& meter, const QString& channel);

struct ImportOptions {
    // By channel (NMI suffix), upper case: that channel of every meter.
    std::map<QString, ChannelRole> roles;
    // One meter's channel; wins over `roles`.
    MeterChannelRoles meterRoles;
    const std::atomic_bool* cancel = nullptr;
    // Counts the intervals read so far, for a progress bar on another thread.
    std::atomic<qint64>* progress = nullptr;
    MeterReadOptions read;
};

struct MeterImport {
    qint64 id = 0;
    QString fileName;
    qint64 fileSize = 0;
    QDateTime fileTime;
    QDateTime importedAt;
    qint64 intervals = 0;
};

// A stored channel with the span of its days.
struct StoredChannel {
    qint64 id = 0;
    QString meter;
    QString channel;
    ChannelRole role = ChannelRole::General;
    int lengthMinutes = 0; // of its latest day
    QDate first;
    QDate last;
};

// One stored day of one channel, as kept: one value per interval of the day
// (MissingValue where absent) and one quality letter each.
struct StoredDay {
    qint64 channelId = 0;
    ChannelRole role = ChannelRole::General;
    QDate day;
    int lengthMinutes = 30;
    std::vector<double> kwh;
    std::string quality;
    qint64 startUtc = 0; // the first interval's instant, seconds since 1970 UTC
};

// The role `options` choose for a meter's channel, or nullopt when none.
std::optional<ChannelRole> ChosenRole(const ImportOptions& options, const QString& meter,
                                      const QString& channel);

// Reads a file to its end and sums up its channels as Import would, storing
// nothing: each channel with its default role, or the one `options` chooses.
// Throws MeterDataError for a refused or cancelled file.
ImportResult ScanMeterFile(const QString& path, const ImportOptions& options = ImportOptions());

struct UsageRow {
    QString date;              // YYYY-MM-DD or YYYY-MM
    double kwh[3] = {0, 0, 0}; // by ChannelRole
};

class MeterStore {
public:
    explicit MeterStore(const QSqlDatabase& db);

    ImportResult Import(const QString& path, const ImportOptions& options = ImportOptions());
    std::vector<MeterImport> Imports() const;
    // Removes an import and the days it owns; false when there is none of that id.
    bool RemoveImport(qint64 id);

    // The first and last stored day (invalid when there is none).
    std::pair<QDate, QDate> Range(const QString& meter = QString()) const;
    // kWh per role and day (or month), over every meter unless one is named.
    std::vector<UsageRow> Usage(QDate from, QDate to, bool byMonth,
                                const QString& meter = QString()) const;
    // The intervals of the days in [from, to], missing ones left out.
    IntervalArrays Intervals(QDate from, QDate to, const QString& meter = QString()) const;
    // Every stored channel, by meter and channel.
    std::vector<StoredChannel> Channels() const;
    // The stored days in [from, to], by day and channel, over every meter
    // unless one is named.
    std::vector<StoredDay> Days(QDate from, QDate to, const QString& meter = QString()) const;

private:
    QSqlDatabase Db() const;
    QString connection_;
};
