#include "cli/climain.h"

#include "history/historystore.h"
#include "meterdata/meterstore.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

constexpr int Done = 0;
constexpr int Refused = 1;
constexpr int UsageError = 2;

const char* const Synopsis =
    "Usage:\n"
    "  voltisk-cli import FILE... [--role SUFFIX=general|controlled_load|export|skip]...\n"
    "  voltisk-cli usage [--meter NMI] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--by day|month] "
    "[--json]\n"
    "  voltisk-cli imports [--json]\n"
    "  voltisk-cli imports remove ID\n";

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
                           "history and reports the kWh."));
        parser_.addPositionalArgument(QStringLiteral("command"),
                                      QStringLiteral("import, usage or imports"));
        const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                      QStringLiteral("Shows this help."));
        const QCommandLineOption version(QStringLiteral("version"),
                                         QStringLiteral("Shows the version."));
        const QCommandLineOption role(QStringLiteral("role"),
                                      QStringLiteral("The role of a channel: general, "
                                                     "controlled_load, export or skip."),
                                      QStringLiteral("SUFFIX=ROLE"));
        const QCommandLineOption meter(QStringLiteral("meter"),
                                       QStringLiteral("Only this meter (NMI)."),
                                       QStringLiteral("NMI"));
        const QCommandLineOption from(QStringLiteral("from"), QStringLiteral("The first day."),
                                      QStringLiteral("YYYY-MM-DD"));
        const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("The last day."),
                                    QStringLiteral("YYYY-MM-DD"));
        const QCommandLineOption by(QStringLiteral("by"), QStringLiteral("Rows by day or month."),
                                    QStringLiteral("day|month"), QStringLiteral("day"));
        const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Writes JSON."));
        const QCommandLineOption database(
            QStringLiteral("database"), QStringLiteral("The history file (default: the window's)."),
            QStringLiteral("FILE"));
        parser_.addOptions({help, version, role, meter, from, to, by, json, database});
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
            for (const QCommandLineOption* o : {&role, &meter, &from, &to, &by, &json}) {
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
                if (parser_.isSet(from)) {
                    first = ParseDay(parser_.value(from), "from");
                }
                if (parser_.isSet(to)) {
                    last = ParseDay(parser_.value(to), "to");
                }
                if (first && last && *first > *last) {
                    throw UsageFault{QStringLiteral("--from is after --to")};
                }
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
    int Usage(const QString& message) {
        err_ << "voltisk-cli: " << message << '\n' << Synopsis;
        return UsageError;
    }

    MeterStore& Store() {
        if (!history_) {
            history_ = std::make_unique<THistoryStore>(dbFile_, 10000);
            if (history_->Open() == HistoryFault::ReadOnly) {
                readOnly_ = true;
            }
            store_ = std::make_unique<MeterStore>(history_->Database());
        }
        return *store_;
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
            const qsizetype eq = text.indexOf(u'=');
            ChannelRole r{};
            if (eq <= 0 || !ParseRole(text.mid(eq + 1), r)) {
                throw UsageFault{
                    QStringLiteral("--role takes SUFFIX=general|controlled_load|export|"
                                   "skip, not \"%1\"")
                        .arg(text.left(40))};
            }
            options.roles[text.left(eq).toUpper()] = r;
        }
        RequireWritable();
        int status = Done;
        for (const QString& file : files) {
            try {
                Report(file, Store().Import(file, options));
            } catch (const MeterDataError& e) {
                err_ << "voltisk-cli: " << e.Message() << '\n';
                status = Refused;
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

    QTextStream& out_;
    QTextStream& err_;
    QCommandLineParser parser_;
    QString dbFile_;
    std::unique_ptr<THistoryStore> history_;
    std::unique_ptr<MeterStore> store_;
    bool readOnly_ = false;
};

} // namespace

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    return Cli(out, err).Run(arguments);
}
