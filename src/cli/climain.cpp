#include "cli/climain.h"

#include "history/changeexplain.h"
#include "history/historycsv.h"
#include "history/historyjson.h"
#include "history/historystore.h"
#include "meterdata/meterseries.h"
#include "meterdata/meterstore.h"
#include "plans/tariffplanstore.h"
#include "tariff/cdrplan.h"
#include "tariff/tariffpricing.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <set>

namespace {

constexpr int Done = 0;
constexpr int Refused = 1;
constexpr int UsageError = 2;

const char* const Synopsis =
    "Usage:\n"
    "  voltisk-cli import FILE... [--role [NMI:]SUFFIX=general|controlled_load|export|skip]...\n"
    "  voltisk-cli usage [--meter NMI] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--by day|month] "
    "[--json]\n"
    "  voltisk-cli imports [--json]\n"
    "  voltisk-cli imports remove ID\n"
    "  voltisk-cli history [--json]\n"
    "  voltisk-cli history explain --from YYYY-MM-DD [--json]\n"
    "  voltisk-cli history import|export FILE\n"
    "  voltisk-cli plans import FILE.json\n"
    "  voltisk-cli plans list [--json]\n"
    "  voltisk-cli plans export NAME\n"
    "  voltisk-cli price --plan NAME|FILE.json [--plan ...] [--meter NMI] [--from YYYY-MM-DD] "
    "[--to YYYY-MM-DD] [--json]\n";

struct UsageFault {
    QString message;
};

// kWh as JSON: float noise below a nano-kWh taken off, then the shortest text
// that reads back as the same number.
QString Number(double kwh) {
    const double v = std::round(kwh * 1e9) / 1e9;
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v == 0 ? 0.0 : v);
    return QString::fromLatin1(buffer, r.ptr - buffer);
}

// Money as JSON: unrounded, the shortest text that reads back as the same
// double, so the printed components add up as the engine's did.
QString Money(double value) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value == 0 ? 0.0 : value);
    return QString::fromLatin1(buffer, r.ptr - buffer);
}

QString JsonText(const QString& text) {
    QString s;
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\') {
            s += u'\\';
            s += c;
        } else if (c.unicode() < 0x20) {
            s += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            s += c;
        }
    }
    return u'"' + s + u'"';
}

QString RolesJson(const double kwh[3]) {
    return QStringLiteral("\"general\": %1, \"controlled_load\": %2, \"export\": %3")
        .arg(Number(kwh[0]), Number(kwh[1]), Number(kwh[2]));
}

QDate ParseDay(const QString& text, const char* option) {
    const QDate d = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid()) {
        throw UsageFault{QStringLiteral("--%1 takes a date as YYYY-MM-DD, not \"%2\"")
                             .arg(QLatin1String(option), text.left(40))};
    }
    return d;
}

class Cli {
public:
    Cli(QTextStream& out, QTextStream& err) : out_(out), err_(err) {}

    int Run(const QStringList& arguments) {
        parser_.setApplicationDescription(
            QStringLiteral("Imports smart-meter interval data (NEM12, Green Button) into Voltisk's "
                           "history, reports the kWh, keeps the bill history and tariff plans "
                           "and prices the intervals on plans."));
        parser_.addPositionalArgument(
            QStringLiteral("command"),
            QStringLiteral("import, usage, imports, history, plans or price"));
        const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                      QStringLiteral("Shows this help."));
        const QCommandLineOption version(QStringLiteral("version"),
                                         QStringLiteral("Shows the version."));
        const QCommandLineOption role(QStringLiteral("role"),
                                      QStringLiteral("The role of a channel: general, "
                                                     "controlled_load, export or skip; SUFFIX "
                                                     "alone is that channel of every meter, "
                                                     "NMI:SUFFIX of one meter only."),
                                      QStringLiteral("[NMI:]SUFFIX=ROLE"));
        const QCommandLineOption meter(QStringLiteral("meter"),
                                       QStringLiteral("Only this meter (NMI)."),
                                       QStringLiteral("NMI"));
        const QCommandLineOption from(QStringLiteral("from"), QStringLiteral("The first day."),
                                      QStringLiteral("YYYY-MM-DD"));
        const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("The last day."),
                                    QStringLiteral("YYYY-MM-DD"));
        const QCommandLineOption by(QStringLiteral("by"), QStringLiteral("Rows by day or month."),
                                    QStringLiteral("day|month"), QStringLiteral("day"));
        const QCommandLineOption plan(
            QStringLiteral("plan"),
            QStringLiteral("A stored plan's name or a plan-detail JSON file; repeatable."),
            QStringLiteral("NAME|FILE.json"));
        const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Writes JSON."));
        const QCommandLineOption database(
            QStringLiteral("database"), QStringLiteral("The history file (default: the window's)."),
            QStringLiteral("FILE"));
        parser_.addOptions({help, version, role, meter, from, to, by, plan, json, database});
        if (!parser_.parse(QStringList{QStringLiteral("voltisk-cli")} + arguments)) {
            return Usage(parser_.errorText());
        }
        if (parser_.isSet(help)) {
            out_ << parser_.helpText() << '\n' << Synopsis;
            return Done;
        }
        if (parser_.isSet(version)) {
            out_ << "voltisk-cli " << VOLTISK_VERSION << '\n';
            return Done;
        }
        const QStringList args = parser_.positionalArguments();
        if (args.isEmpty()) {
            return Usage(QStringLiteral("a command is needed"));
        }
        const QString command = args.first();
        const auto allowed = [&](const QList<const QCommandLineOption*>& options) {
            for (const QCommandLineOption* o : {&role, &meter, &from, &to, &by, &plan, &json}) {
                if (parser_.isSet(*o) && !options.contains(o)) {
                    throw UsageFault{QStringLiteral("--%1 does not go with %2")
                                         .arg(o->names().first(), command)};
                }
            }
        };
        try {
            dbFile_ = parser_.isSet(database) ? parser_.value(database) : HistoryFileName();
            if (command == QLatin1String("import")) {
                allowed({&role});
                if (args.size() < 2) {
                    throw UsageFault{QStringLiteral("import needs at least one file")};
                }
                return Import(args.mid(1), parser_.values(role));
            }
            if (command == QLatin1String("usage")) {
                allowed({&meter, &from, &to, &by, &json});
                if (args.size() != 1) {
                    throw UsageFault{QStringLiteral("usage takes no other arguments")};
                }
                const QString step = parser_.value(by);
                if (step != QLatin1String("day") && step != QLatin1String("month")) {
                    throw UsageFault{QStringLiteral("--by takes day or month")};
                }
                std::optional<QDate> first;
                std::optional<QDate> last;
                ReadRange(first, last);
                return UsageReport(parser_.value(meter), first, last,
                                   step == QLatin1String("month"), parser_.isSet(json));
            }
            if (command == QLatin1String("imports")) {
                allowed({&json});
                if (args.size() == 1) {
                    return ListImports(parser_.isSet(json));
                }
                bool ok = false;
                const qint64 id = args.size() == 3 ? args[2].toLongLong(&ok) : 0;
                if (args[1] != QLatin1String("remove") || !ok) {
                    throw UsageFault{QStringLiteral("use: imports remove ID")};
                }
                return RemoveImport(id);
            }
            if (command == QLatin1String("history")) {
                const QString sub = args.value(1);
                if (args.size() == 1) {
                    allowed({&json});
                    return ListHistory(parser_.isSet(json));
                }
                if (sub == QLatin1String("explain") && args.size() == 2) {
                    allowed({&from, &json});
                    if (!parser_.isSet(from)) {
                        throw UsageFault{QStringLiteral("history explain needs --from")};
                    }
                    return ExplainHistory(ParseDay(parser_.value(from), "from"),
                                          parser_.isSet(json));
                }
                allowed({});
                if (sub == QLatin1String("import") && args.size() == 3) {
                    return ImportHistory(args[2]);
                }
                if (sub == QLatin1String("export") && args.size() == 3) {
                    return ExportHistory(args[2]);
                }
                throw UsageFault{QStringLiteral("use: history [explain|import FILE|export FILE]")};
            }
            if (command == QLatin1String("plans")) {
                const QString sub = args.value(1);
                if (sub == QLatin1String("list") && args.size() == 2) {
                    allowed({&json});
                    return ListPlans(parser_.isSet(json));
                }
                allowed({});
                if (sub == QLatin1String("import") && args.size() == 3) {
                    return ImportPlan(args[2]);
                }
                if (sub == QLatin1String("export") && args.size() == 3) {
                    return ExportPlan(args[2]);
                }
                throw UsageFault{QStringLiteral("use: plans list|import FILE.json|export NAME")};
            }
            if (command == QLatin1String("price")) {
                allowed({&plan, &meter, &from, &to, &json});
                if (args.size() != 1 || !parser_.isSet(plan)) {
                    throw UsageFault{QStringLiteral("price needs --plan and no other arguments")};
                }
                std::optional<QDate> first;
                std::optional<QDate> last;
                ReadRange(first, last);
                return Price(parser_.values(plan), parser_.value(meter), first, last,
                             parser_.isSet(json));
            }
            return Usage(QStringLiteral("unknown command \"%1\"").arg(command.left(40)));
        } catch (const UsageFault& f) {
            return Usage(f.message);
        } catch (const MeterDataError& e) {
            err_ << "voltisk-cli: " << e.Message() << '\n';
            return Refused;
        } catch (const EVoltiskError& e) {
            err_ << "voltisk-cli: " << e.Message() << '\n';
            return Refused;
        }
    }

private:
    void ReadRange(std::optional<QDate>& first, std::optional<QDate>& last) {
        if (parser_.isSet(QStringLiteral("from"))) {
            first = ParseDay(parser_.value(QStringLiteral("from")), "from");
        }
        if (parser_.isSet(QStringLiteral("to"))) {
            last = ParseDay(parser_.value(QStringLiteral("to")), "to");
        }
        if (first && last && *first > *last) {
            throw UsageFault{QStringLiteral("--from is after --to")};
        }
    }

    int Usage(const QString& message) {
        err_ << "voltisk-cli: " << message << '\n' << Synopsis;
        return UsageError;
    }

    THistoryStore& History() {
        if (!history_) {
            history_ = std::make_unique<THistoryStore>(dbFile_, 10000);
            if (history_->Open() == HistoryFault::ReadOnly) {
                readOnly_ = true;
            }
        }
        return *history_;
    }

    MeterStore& Store() {
        if (!store_) {
            store_ = std::make_unique<MeterStore>(History().Database());
        }
        return *store_;
    }

    TariffPlanStore& PlanStore() {
        if (!plans_) {
            plans_ = std::make_unique<TariffPlanStore>(History().Database());
        }
        return *plans_;
    }

    void RequireWritable() {
        Store();
        if (readOnly_) {
            throw EHistoryError(HistoryFault::ReadOnly,
                                HistoryFaultText(HistoryFault::ReadOnly, dbFile_));
        }
    }

    int Import(const QStringList& files, const QStringList& roleTexts) {
        ImportOptions options;
        for (const QString& text : roleTexts) {
            // The role names hold no '=' and a suffix no ':', while a Green
            // Button meter's name may hold either.
            const qsizetype eq = text.lastIndexOf(u'=');
            const QString channel = text.left(std::max<qsizetype>(eq, 0));
            const qsizetype colon = channel.lastIndexOf(u':');
            ChannelRole r{};
            if (eq <= 0 || colon == 0 || colon + 1 == channel.size() ||
                !ParseRole(text.mid(eq + 1), r)) {
                throw UsageFault{
                    QStringLiteral("--role takes [NMI:]SUFFIX=general|controlled_load|export|"
                                   "skip, not \"%1\"")
                        .arg(text.left(40))};
            }
            if (colon < 0) {
                options.roles[channel.toUpper()] = r;
            } else {
                options.meterRoles[MeterChannelKey(channel.left(colon), channel.mid(colon + 1))] =
                    r;
            }
        }
        RequireWritable();
        int status = Done;
        std::set<std::pair<QString, QString>> seen;
        for (const QString& file : files) {
            try {
                const ImportResult result = Store().Import(file, options);
                Report(file, result);
                for (const ChannelSummary& c : result.channels) {
                    seen.insert(MeterChannelKey(c.meter, c.channel));
                }
            } catch (const MeterDataError& e) {
                err_ << "voltisk-cli: " << e.Message() << '\n';
                status = Refused;
            }
        }
        // A mistyped meter or channel would otherwise pass in silence.
        for (const auto& [key, role] : options.meterRoles) {
            if (status == Done && seen.count(key) == 0) {
                err_ << "voltisk-cli: --role " << key.first << ':' << key.second << '='
                     << RoleName(role) << " matched no channel of the files\n";
            }
        }
        return status;
    }

    void Report(const QString& file, const ImportResult& r) {
        out_ << QFileInfo(file).fileName() << ": import " << r.id << '\n';
        for (const ChannelSummary& c : r.channels) {
            QStringList quality;
            for (const auto& [letter, count] : c.quality) {
                quality << QStringLiteral("%1 %2").arg(QLatin1Char(letter)).arg(count);
            }
            out_ << "  " << c.meter << ' ' << c.channel << ' ' << RoleName(c.role) << ", "
                 << c.lengthMinutes << " minutes, " << c.first.toString(Qt::ISODate) << " to "
                 << c.last.toString(Qt::ISODate) << ", " << c.intervals << " intervals ("
                 << quality.join(QStringLiteral(", ")) << ")"
                 << (c.role == ChannelRole::Skip ? " not stored" : "") << '\n';
        }
        for (const OtherChannel& o : r.others) {
            out_ << "  " << o.meter << ' ' << o.channel << " (" << o.unit
                 << ") listed, not stored\n";
        }
    }

    int UsageReport(const QString& meter, std::optional<QDate> first, std::optional<QDate> last,
                    bool byMonth, bool json) {
        MeterStore& store = Store();
        const auto [low, high] = store.Range(meter);
        const QDate from = first.value_or(low);
        const QDate to = last.value_or(high);
        std::vector<UsageRow> rows;
        if (from.isValid() && to.isValid()) {
            rows = store.Usage(from, to, byMonth, meter);
        }
        double total[3] = {0, 0, 0};
        for (const UsageRow& r : rows) {
            for (int i = 0; i < 3; ++i) {
                total[i] += r.kwh[i];
            }
        }
        const auto dateText = [](QDate d) {
            return d.isValid() ? JsonText(d.toString(Qt::ISODate)) : QStringLiteral("null");
        };
        if (json) {
            QStringList items;
            for (const UsageRow& r : rows) {
                items
                    << QStringLiteral("{\"date\": %1, %2}").arg(JsonText(r.date), RolesJson(r.kwh));
            }
            out_ << "{\"unit\": \"kWh\", \"from\": " << dateText(from)
                 << ", \"to\": " << dateText(to) << ", \"rows\": ["
                 << items.join(QStringLiteral(", ")) << "], \"total\": {" << RolesJson(total)
                 << "}}\n";
            return Done;
        }
        out_ << QStringLiteral("%1 %2 %3 %4\n")
                    .arg(QStringLiteral("date"), -10)
                    .arg(QStringLiteral("general kWh"), 16)
                    .arg(QStringLiteral("controlled kWh"), 16)
                    .arg(QStringLiteral("export kWh"), 16);
        const auto line = [&](const QString& label, const double kwh[3]) {
            out_ << QStringLiteral("%1 %2 %3 %4\n")
                        .arg(label, -10)
                        .arg(kwh[0], 16, 'f', 3)
                        .arg(kwh[1], 16, 'f', 3)
                        .arg(kwh[2], 16, 'f', 3);
        };
        for (const UsageRow& r : rows) {
            line(r.date, r.kwh);
        }
        line(QStringLiteral("total"), total);
        return Done;
    }

    int ListImports(bool json) {
        const std::vector<MeterImport> list = Store().Imports();
        if (json) {
            QStringList items;
            for (const MeterImport& m : list) {
                items << QStringLiteral(
                             "{\"id\": %1, \"file\": %2, \"size\": %3, \"file_time\": %4, "
                             "\"imported_at\": %5, \"intervals\": %6}")
                             .arg(m.id)
                             .arg(JsonText(m.fileName))
                             .arg(m.fileSize)
                             .arg(JsonText(m.fileTime.toString(Qt::ISODate)),
                                  JsonText(m.importedAt.toString(Qt::ISODate)))
                             .arg(m.intervals);
            }
            out_ << '[' << items.join(QStringLiteral(", ")) << "]\n";
            return Done;
        }
        for (const MeterImport& m : list) {
            out_ << m.id << '\t' << m.importedAt.toString(Qt::ISODate) << '\t' << m.fileName << '\t'
                 << m.fileSize << " bytes\t" << m.intervals << " intervals\n";
        }
        return Done;
    }

    int RemoveImport(qint64 id) {
        RequireWritable();
        if (!Store().RemoveImport(id)) {
            err_ << "voltisk-cli: there is no import " << id << '\n';
            return Refused;
        }
        out_ << "Import " << id << " removed.\n";
        return Done;
    }

    // The periods oldest first, as the CSV export writes them.
    std::vector<HistoryPeriod> PeriodsOldestFirst() {
        std::vector<HistoryPeriod> periods = History().Periods();
        std::reverse(periods.begin(), periods.end());
        return periods;
    }

    int ListHistory(bool json) {
        const std::vector<HistoryPeriod> periods = PeriodsOldestFirst();
        if (json) {
            out_ << QJsonDocument(HistoryJson(periods)).toJson(QJsonDocument::Compact) << '\n';
            return Done;
        }
        for (const HistoryPeriod& p : periods) {
            const int d = p.moneyDecimals;
            out_ << p.from.toString(Qt::ISODate) << " to " << p.to.toString(Qt::ISODate) << '\t'
                 << p.days << " days\t" << QString::number(p.Kwh(), 'f', 3) << " kWh\tnet "
                 << p.currencySymbol << QString::number(p.net, 'f', d);
            if (p.billed) {
                out_ << "\tbilled " << p.currencySymbol << QString::number(*p.billed, 'f', d);
            }
            for (const QString& w : p.warnings) {
                out_ << "\n  " << w;
            }
            out_ << '\n';
        }
        return Done;
    }

    int ExplainHistory(QDate from, bool json) {
        const std::vector<HistoryPeriod> periods = PeriodsOldestFirst();
        const std::optional<QJsonArray> answers = HistoryExplainJson(from, periods);
        if (!answers) {
            err_ << "voltisk-cli: no stored period starts on " << from.toString(Qt::ISODate)
                 << '\n';
            return Refused;
        }
        if (json) {
            out_ << QJsonDocument(*answers).toJson(QJsonDocument::Compact) << '\n';
            return Done;
        }
        for (const HistoryPeriod& p : periods) {
            if (p.from == from) {
                const QLocale locale = QLocale::system();
                const QString text = ChangeText(p, periods, locale, locale, p.moneyDecimals);
                out_ << (text.isEmpty() ? QStringLiteral("No earlier period to compare with.")
                                        : text)
                     << '\n';
                break;
            }
        }
        return Done;
    }

    int ImportHistory(const QString& file) {
        RequireWritable();
        const THistoryStore::ImportCount n = History().Import(ReadHistoryCsv(file));
        out_ << n.added << " periods added, " << n.skipped << " already stored.\n";
        return Done;
    }

    int ExportHistory(const QString& file) {
        const std::vector<HistoryPeriod> periods = PeriodsOldestFirst();
        ExportHistoryCsv(file, periods);
        out_ << periods.size() << " periods written to " << file << ".\n";
        return Done;
    }

    int ListPlans(bool json) {
        QStringList items;
        for (const StoredTariffPlan& s : PlanStore().Plans()) {
            if (!json) {
                out_ << s.plan.name << '\n';
                continue;
            }
            QStringList notPriced;
            for (const QString& n : s.plan.notPriced) {
                notPriced << JsonText(n);
            }
            items << QStringLiteral("{\"name\": %1, \"time_of_use\": %2, \"not_priced\": [%3]}")
                         .arg(JsonText(s.plan.name),
                              IsTimeOfUse(s.plan) ? QStringLiteral("true")
                                                  : QStringLiteral("false"),
                              notPriced.join(QStringLiteral(", ")));
        }
        if (json) {
            out_ << '[' << items.join(QStringLiteral(", ")) << "]\n";
        }
        return Done;
    }

    // A plan-detail file read into a plan; a file that is not one is refused
    // naming the file and the element.
    TariffPlan ReadPlanFile(const QString& file, QStringList* summary = nullptr) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            throw EVoltiskError(
                QStringLiteral("%1: cannot be read (%2)").arg(file, f.errorString()));
        }
        CdrImport read = ReadCdrPlan(f.readAll());
        if (!read.error.isEmpty()) {
            throw EVoltiskError(QStringLiteral("%1: %2").arg(file, read.error));
        }
        if (summary) {
            *summary = read.summary;
        }
        return read.plan;
    }

    std::optional<TariffPlan> StoredPlan(const QString& name) {
        for (const StoredTariffPlan& s : PlanStore().Plans()) {
            if (s.plan.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0) {
                return s.plan;
            }
        }
        return std::nullopt;
    }

    int ImportPlan(const QString& file) {
        RequireWritable();
        QStringList summary;
        const TariffPlan plan = ReadPlanFile(file, &summary);
        try {
            PlanStore().Add(plan);
        } catch (const EHistoryError&) {
            throw;
        } catch (const EVoltiskError& e) {
            throw EVoltiskError(QStringLiteral("%1: %2").arg(file, e.Message()));
        }
        out_ << "Plan \"" << plan.name.trimmed() << "\" stored.\n";
        for (const QString& line : summary) {
            out_ << "  " << line << '\n';
        }
        return Done;
    }

    int ExportPlan(const QString& name) {
        const std::optional<TariffPlan> plan = StoredPlan(name);
        if (!plan) {
            err_ << "voltisk-cli: there is no stored plan \"" << name << "\"\n";
            return Refused;
        }
        out_ << WriteCdrPlan(*plan);
        return Done;
    }

    int Price(const QStringList& planArgs, const QString& meter, std::optional<QDate> first,
              std::optional<QDate> last, bool json) {
        std::vector<TariffPlan> plans;
        for (const QString& arg : planArgs) {
            if (const std::optional<TariffPlan> stored = StoredPlan(arg)) {
                plans.push_back(*stored);
            } else if (QFileInfo(arg).isFile()) {
                TariffPlan plan = ReadPlanFile(arg);
                if (const QString why = ValidateTariffPlan(plan); !why.isEmpty()) {
                    throw EVoltiskError(QStringLiteral("%1: %2").arg(arg, why));
                }
                plans.push_back(std::move(plan));
            } else {
                err_ << "voltisk-cli: \"" << arg << "\" is neither a stored plan nor a file\n";
                return Refused;
            }
        }
        MeterStore& store = Store();
        const auto [low, high] = store.Range(meter);
        const QDate from = first.value_or(low);
        const QDate to = last.value_or(high);
        if (!from.isValid() || !to.isValid() || from > to) {
            err_ << "voltisk-cli: there is no meter data to price\n";
            return Refused;
        }
        // A day's intervals start in the plan's zone within a day of the
        // meter's day, so read one day either side and let the engine cut.
        const IntervalSeries series =
            ToIntervalSeries(store.Intervals(from.addDays(-1), to.addDays(1), meter));
        const ZonedSeries zoned(series);
        PriceOptions options;
        options.from = from;
        options.to = to;
        std::vector<std::pair<QString, TariffPrice>> priced;
        for (const TariffPlan& plan : plans) {
            priced.emplace_back(plan.name, CompiledTariff(plan).price(zoned, options));
        }
        std::stable_sort(priced.begin(), priced.end(), [](const auto& a, const auto& b) {
            return a.second.total < b.second.total;
        });
        const qint64 days = from.daysTo(to) + 1;
        if (!json) {
            out_ << from.toString(Qt::ISODate) << " to " << to.toString(Qt::ISODate) << ", " << days
                 << (days == 1 ? " day\n" : " days\n");
            for (const auto& [name, p] : priced) {
                out_ << QString::number(p.total, 'f', 2) << '\t' << name;
                if (const QString note = PriceNote(p); !note.isEmpty()) {
                    out_ << " (" << note << ')';
                }
                out_ << '\n';
            }
            return Done;
        }
        QStringList items;
        for (const auto& [name, p] : priced) {
            QStringList notPriced;
            for (const QString& n : p.notPriced) {
                notPriced << JsonText(n);
            }
            items << QStringLiteral("{\"name\": %1, \"total\": %2, \"components\": {\"supply\": "
                                    "%3, \"usage\": %4, \"controlled_load\": %5, \"discounts\": "
                                    "%6, \"tax\": %7, \"feed_in\": %8}, \"kwh\": {%9}, "
                                    "\"not_priced\": [%10]}")
                         .arg(JsonText(name), Money(p.total), Money(p.supply), Money(p.usage),
                              Money(p.controlledLoad), Money(p.discounts), Money(p.tax),
                              Money(p.feedIn))
                         .arg(QStringLiteral("\"general\": %1, \"controlled_load\": %2, "
                                             "\"export\": %3")
                                  .arg(Number(p.generalKwh), Number(p.controlledKwh),
                                       Number(p.exportKwh)),
                              notPriced.join(QStringLiteral(", ")));
        }
        out_ << "{\"from\": " << JsonText(from.toString(Qt::ISODate))
             << ", \"to\": " << JsonText(to.toString(Qt::ISODate)) << ", \"days\": " << days
             << ", \"plans\": [" << items.join(QStringLiteral(", ")) << "]}\n";
        return Done;
    }

    QTextStream& out_;
    QTextStream& err_;
    QCommandLineParser parser_;
    QString dbFile_;
    std::unique_ptr<THistoryStore> history_;
    std::unique_ptr<MeterStore> store_;
    std::unique_ptr<TariffPlanStore> plans_;
    bool readOnly_ = false;
};

} // namespace

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    return Cli(out, err).Run(arguments);
}
