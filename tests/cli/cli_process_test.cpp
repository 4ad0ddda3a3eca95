// voltisk-cli as a process: its commands, its JSON and its exit statuses.

#include "history/historycsv.h"
#include "support/files.h"
#include "support/testenv.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun Cli(const QStringList& arguments) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), TestEnv::DataDir());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VOLTISK_CLI), arguments);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString Write(const QString& name, const QByteArray& bytes) {
    QDir().mkpath(TestEnv::DataDir() + QStringLiteral("/in"));
    const QString path = TestEnv::DataDir() + QStringLiteral("/in/") + name;
    EXPECT_TRUE(WriteBytes(path, bytes));
    return path;
}

QByteArray Day(const char* date, const char* value) {
    QByteArray line = QByteArray("300,") + date;
    for (int i = 0; i < 48; ++i) {
        line += QByteArray(",") + value;
    }
    return line + ",A,,,,\n";
}

const QByteArray Nem12 = "100,NEM12,200402011200,MDP1,Retail1\n"
                         "200,NEM1201009,E1B1,1,E1,N1,01009,kWh,30,20040202\n" +
                         Day("20040201", "1.111") +
                         "200,NEM1201009,E1B1,2,B1,N2,01009,kWh,30,20040202\n" +
                         Day("20040202", "0.5") + "900\n";

TEST(CliProcess, ImportsReportsAndRemoves) {
    TestEnv::ResetConfig();
    const CliRun imported = Cli({QStringLiteral("import"), Write(QStringLiteral("n.csv"), Nem12)});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.contains(QLatin1String("NEM1201009 E1 general, 30 minutes")));

    const CliRun day = Cli({QStringLiteral("usage"), QStringLiteral("--json"),
                            QStringLiteral("--to"), QStringLiteral("2004-02-01")});
    EXPECT_EQ(day.status, 0);
    EXPECT_EQ(
        day.out,
        QStringLiteral("{\"unit\": \"kWh\", \"from\": \"2004-02-01\", \"to\": \"2004-02-01\", "
                       "\"rows\": [{\"date\": \"2004-02-01\", \"general\": 53.328, "
                       "\"controlled_load\": 0, \"export\": 0}], \"total\": {\"general\": 53.328, "
                       "\"controlled_load\": 0, \"export\": 0}}\n"));
    const CliRun month =
        Cli({QStringLiteral("usage"), QStringLiteral("--json"), QStringLiteral("--by"),
             QStringLiteral("month"), QStringLiteral("--meter"), QStringLiteral("NEM1201009")});
    EXPECT_TRUE(
        month.out.contains(QLatin1String("\"rows\": [{\"date\": \"2004-02\", \"general\": 53.328, "
                                         "\"controlled_load\": 0, \"export\": 24}]")))
        << month.out.toStdString();

    const CliRun list = Cli({QStringLiteral("imports"), QStringLiteral("--json")});
    EXPECT_TRUE(list.out.startsWith(QLatin1String("[{\"id\": 1, \"file\": \"n.csv\", \"size\": ")))
        << list.out.toStdString();
    EXPECT_EQ(
        Cli({QStringLiteral("imports"), QStringLiteral("remove"), QStringLiteral("1")}).status, 0);
    EXPECT_EQ(
        Cli({QStringLiteral("imports"), QStringLiteral("remove"), QStringLiteral("1")}).status, 1);
    EXPECT_EQ(Cli({QStringLiteral("imports"), QStringLiteral("--json")}).out,
              QStringLiteral("[]\n"));
}

// Two meters with an E1 each: a role for one meter's E1 leaves the other's
// alone; a meter the file does not hold is named, and the import stands.
TEST(CliProcess, RoleOfOneMetersChannel) {
    const QByteArray two = "200,AAA,E1,1,E1,N1,1,kWh,30,\n" + Day("20040201", "1") +
                           "200,BBB,E1,1,E1,N1,1,kWh,30,\n" + Day("20040201", "2") + "900\n";
    struct Case {
        QStringList roles;
        const char* a; // meter AAA's kWh in the `usage --json` total
        const char* b;
        const char* warning;
    };
    const Case cases[] = {
        {{QStringLiteral("bbb:e1=controlled_load")},
         "48, \"controlled_load\": 0",
         "0, \"controlled_load\": 96",
         ""},
        {{QStringLiteral("E1=controlled_load"), QStringLiteral("BBB:E1=skip")},
         "0, \"controlled_load\": 48",
         "0, \"controlled_load\": 0",
         ""},
        {{QStringLiteral("CCC:E1=skip")},
         "48, \"controlled_load\": 0",
         "96, \"controlled_load\": 0",
         "--role CCC:E1=skip matched no channel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.roles.join(u' ').toStdString());
        TestEnv::ResetConfig();
        QStringList arguments{QStringLiteral("import"), Write(QStringLiteral("two.csv"), two)};
        for (const QString& role : c.roles) {
            arguments << QStringLiteral("--role") << role;
        }
        const CliRun imported = Cli(arguments);
        ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
        EXPECT_EQ(
            imported.err.trimmed(),
            QString::fromUtf8(c.warning).isEmpty()
                ? QString()
                : QStringLiteral("voltisk-cli: %1 of the files").arg(QLatin1String(c.warning)));
        for (const auto& [meter, total] : {std::pair{"AAA", c.a}, std::pair{"BBB", c.b}}) {
            const CliRun usage = Cli({QStringLiteral("usage"), QStringLiteral("--json"),
                                      QStringLiteral("--meter"), QLatin1String(meter)});
            EXPECT_TRUE(usage.out.contains(
                QStringLiteral("\"total\": {\"general\": %1").arg(QLatin1String(total))))
                << meter << ": " << usage.out.toStdString();
        }
    }
}

// January: 31 days at $1 plus 100 kWh at $0.30 = $61. February: 28 days at $1
// plus 120 kWh at $0.35 = $70. Against January: +$9, from use 20 x 0.30 - 3
// days x $1 = $3, from prices 120 x 0.05 = $6.
HistoryPeriod Month(QDate from, QDate to, const char* rate, const char* before, const char* after) {
    PeriodInputs in;
    in.showHotWater = false;
    in.generalDailyCharge = QStringLiteral("1");
    in.generalRate = QLatin1String(rate);
    in.generalBefore = QLatin1String(before);
    in.generalAfter = QLatin1String(after);
    return MakeHistoryPeriod(from, to, in, QLocale(QStringLiteral("en_US")), 2,
                             QDateTime(QDate(2025, 3, 2), QTime(9, 0), Qt::UTC));
}

TEST(CliProcess, HistoryListsExplainsAndRoundTripsItsCsv) {
    TestEnv::ResetConfig();
    const QByteArray csv =
        HistoryCsvText({Month(QDate(2025, 1, 1), QDate(2025, 2, 1), "0.30", "1000", "1100"),
                        Month(QDate(2025, 2, 1), QDate(2025, 3, 1), "0.35", "1100", "1220")});
    const QString in = Write(QStringLiteral("history.csv"), csv);
    EXPECT_EQ(Cli({QStringLiteral("history"), QStringLiteral("import"), in}).out,
              QStringLiteral("2 periods added, 0 already stored.\n"));

    const QJsonArray list =
        QJsonDocument::fromJson(
            Cli({QStringLiteral("history"), QStringLiteral("--json")}).out.toUtf8())
            .array();
    ASSERT_EQ(list.size(), 2);
    const QJsonObject january = list[0].toObject();
    EXPECT_EQ(january.keys(),
              QStringList({"billed", "days", "difference", "from", "kwh_exported", "kwh_general",
                           "kwh_hot_water", "net", "price_per_kwh", "to", "warnings"}));
    EXPECT_EQ(january[QStringLiteral("from")].toString(), QStringLiteral("2025-01-01"));
    EXPECT_EQ(january[QStringLiteral("net")].toDouble(), 61.0);
    EXPECT_TRUE(january[QStringLiteral("billed")].isNull());

    EXPECT_EQ(Cli({QStringLiteral("history"), QStringLiteral("explain"), QStringLiteral("--from"),
                   QStringLiteral("2025-02-01"), QStringLiteral("--json")})
                  .out,
              QStringLiteral("[{\"against\":{\"from\":\"2025-01-01\",\"kind\":\"previous\",\"to\":"
                             "\"2025-02-01\"},\"change\":9,\"from_prices\":6,\"from_use\":3}]\n"));

    const QString out = TestEnv::DataDir() + QStringLiteral("/in/out.csv");
    EXPECT_EQ(Cli({QStringLiteral("history"), QStringLiteral("export"), out}).status, 0);
    EXPECT_EQ(ReadBytes(out), csv);
    EXPECT_EQ(Cli({QStringLiteral("history"), QStringLiteral("import"), out}).out,
              QStringLiteral("0 periods added, 2 already stored.\n"));
}

// Night Owl on 2024-01-08 (AEST): 24 kWh used, 16 of them 07:00-22:59 at
// $0.30 = 4.80 and 8 at $0.10 = 0.80; supply $1; GST 10 % of 6.60 = 0.66;
// 12 kWh exported at $0.05 = -0.60: $6.66. Flat Out: 24 x 0.25 + 0.90 = 6.90,
// GST 0.69, feed-in -0.60: $6.99, so it comes second.
const QByteArray Plan =
    R"({"data": {"planId": "T1", "displayName": "Night Owl", "brand": "t", "brandName": "T",
 "fuelType": "ELECTRICITY", "type": "MARKET", "electricityContract": {"pricingModel": "TIME_OF_USE",
  "timeZone": "AEST", "tariffPeriod": [{"displayName": "All year", "startDate": "01-01",
   "endDate": "12-31", "dailySupplyChargeType": "SINGLE", "dailySupplyCharge": "1.00",
   "rateBlockUType": "timeOfUseRates", "timeOfUseRates": [
    {"displayName": "Peak", "type": "PEAK", "rates": [{"unitPrice": "0.30"}], "timeOfUse": [{"days":
     ["MON","TUE","WED","THU","FRI","SAT","SUN"], "startTime": "07:00", "endTime": "22:59"}]},
    {"displayName": "Off peak", "type": "OFF_PEAK", "rates": [{"unitPrice": "0.10"}], "timeOfUse":
     [{"days": ["MON","TUE","WED","THU","FRI","SAT","SUN"], "startTime": "23:00", "endTime": "06:59"}]}]}],
  "solarFeedInTariff": [{"displayName": "Solar", "scheme": "CURRENT", "payerType": "RETAILER",
   "tariffUType": "singleTariff", "singleTariff": {"rates": [{"unitPrice": "0.05"}]}}]}}})";

const QByteArray FlatPlan =
    R"({"data": {"planId": "F1", "displayName": "Flat Out", "brand": "t", "brandName": "T",
 "fuelType": "ELECTRICITY", "type": "MARKET", "electricityContract": {"pricingModel": "SINGLE_RATE",
  "timeZone": "AEST", "tariffPeriod": [{"displayName": "All year", "startDate": "01-01",
   "endDate": "12-31", "dailySupplyChargeType": "SINGLE", "dailySupplyCharge": "0.90",
   "rateBlockUType": "singleRate", "singleRate": {"displayName": "Anytime", "rates": [{"unitPrice": "0.25"}]}}],
  "solarFeedInTariff": [{"displayName": "Solar", "scheme": "CURRENT", "payerType": "RETAILER",
   "tariffUType": "singleTariff", "singleTariff": {"rates": [{"unitPrice": "0.05"}]}}]}}})";

TEST(CliProcess, PlansAreStoredListedExportedAndPricedCheapestFirst) {
    TestEnv::ResetConfig();
    const QByteArray meter = "100,NEM12,202401090000,MDP1,Retail1\n"
                             "200,NEM1201009,E1B1,1,E1,N1,01009,kWh,30,20240109\n" +
                             Day("20240108", "0.5") +
                             "200,NEM1201009,E1B1,2,B1,N2,01009,kWh,30,20240109\n" +
                             Day("20240108", "0.25") + "900\n";
    ASSERT_EQ(Cli({QStringLiteral("import"), Write(QStringLiteral("m.csv"), meter)}).status, 0);
    const QString plan = Write(QStringLiteral("owl.json"), Plan);
    EXPECT_EQ(Cli({QStringLiteral("plans"), QStringLiteral("import"), plan}).out,
              QStringLiteral("Plan \"Night Owl\" stored.\n"));
    const CliRun clash = Cli({QStringLiteral("plans"), QStringLiteral("import"), plan});
    EXPECT_EQ(clash.status, 1);
    EXPECT_TRUE(clash.err.contains(plan + QLatin1String(": "))) << clash.err.toStdString();
    EXPECT_EQ(
        Cli({QStringLiteral("plans"), QStringLiteral("list"), QStringLiteral("--json")}).out,
        QStringLiteral("[{\"name\": \"Night Owl\", \"time_of_use\": true, \"not_priced\": []}]\n"));

    // The export reads back as the same plan: priced from the file, it costs the same.
    const CliRun exported =
        Cli({QStringLiteral("plans"), QStringLiteral("export"), QStringLiteral("night owl")});
    EXPECT_EQ(exported.status, 0);
    const QString again = Write(QStringLiteral("again.json"), exported.out.toUtf8());
    const CliRun fromFile =
        Cli({QStringLiteral("price"), QStringLiteral("--plan"), again, QStringLiteral("--json")});
    EXPECT_TRUE(fromFile.out.contains(QLatin1String("\"total\": 6.66,")))
        << fromFile.out.toStdString();

    const CliRun priced =
        Cli({QStringLiteral("price"), QStringLiteral("--plan"),
             Write(QStringLiteral("flat.json"), FlatPlan), QStringLiteral("--plan"),
             QStringLiteral("Night Owl"), QStringLiteral("--json")});
    EXPECT_EQ(priced.status, 0);
    EXPECT_EQ(priced.out,
              QStringLiteral(
                  "{\"from\": \"2024-01-08\", \"to\": \"2024-01-08\", \"days\": 1, \"plans\": ["
                  "{\"name\": \"Night Owl\", \"total\": 6.66, \"components\": {\"supply\": 1, "
                  "\"usage\": 5.6, \"controlled_load\": 0, \"discounts\": 0, \"tax\": 0.66, "
                  "\"feed_in\": -0.6000000000000001}, \"kwh\": {\"general\": 24, "
                  "\"controlled_load\": 0, \"export\": 12}, \"not_priced\": []}, "
                  "{\"name\": \"Flat Out\", \"total\": 6.99, \"components\": {\"supply\": 0.9, "
                  "\"usage\": 6, \"controlled_load\": 0, \"discounts\": 0, \"tax\": "
                  "0.6900000000000001, \"feed_in\": -0.6000000000000001}, \"kwh\": {\"general\": "
                  "24, \"controlled_load\": 0, \"export\": 12}, \"not_priced\": []}]}\n"));
}

TEST(CliProcess, ExitStatusTellsRefusalFromMisuse) {
    TestEnv::ResetConfig();
    const QString bad = Write(QStringLiteral("bad.csv"), Nem12 + Day("20040231", "1"));
    const CliRun refused = Cli({QStringLiteral("import"), bad});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(
        refused.err.contains(bad + QLatin1String(", line 7: the date 20040231 does not exist")))
        << refused.err.toStdString();
    EXPECT_EQ(Cli({QStringLiteral("imports"), QStringLiteral("--json")}).out,
              QStringLiteral("[]\n"));

    for (const QStringList& misuse :
         {QStringList{}, QStringList{QStringLiteral("frobnicate")},
          QStringList{QStringLiteral("usage"), QStringLiteral("--by"), QStringLiteral("week")},
          QStringList{QStringLiteral("usage"), QStringLiteral("--from"),
                      QStringLiteral("2004-13-01")},
          QStringList{QStringLiteral("import"), bad, QStringLiteral("--role"),
                      QStringLiteral("E1=heater")},
          QStringList{QStringLiteral("import"), bad, QStringLiteral("--role"),
                      QStringLiteral(":E1=general")},
          QStringList{QStringLiteral("import"), bad, QStringLiteral("--role"),
                      QStringLiteral("NMI:=general")},
          QStringList{QStringLiteral("imports"), QStringLiteral("--nonsense")},
          QStringList{QStringLiteral("history"), QStringLiteral("explain")},
          QStringList{QStringLiteral("history"), QStringLiteral("export")},
          QStringList{QStringLiteral("plans")}, QStringList{QStringLiteral("price")},
          QStringList{QStringLiteral("price"), QStringLiteral("--plan"), QStringLiteral("x"),
                      QStringLiteral("--by"), QStringLiteral("day")}}) {
        SCOPED_TRACE(misuse.join(u' ').toStdString());
        const CliRun r = Cli(misuse);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(QLatin1String("Usage:")));
    }
    // Refused, naming what: a file that is not a plan, a plan that is not
    // stored, a CSV that is not an export, a period that is not stored.
    const QString notPlan = Write(QStringLiteral("p.json"), R"({"data": {"displayName": 1}})");
    const QString notCsv = Write(QStringLiteral("h.csv"), "from,to\n");
    for (const auto& [arguments, named] : std::initializer_list<std::pair<QStringList, QString>>{
             {{QStringLiteral("import"), notCsv + u'x'},
              notCsv + QLatin1String("x: cannot be read")},
             {{QStringLiteral("plans"), QStringLiteral("import"), notPlan}, notPlan + u':'},
             {{QStringLiteral("price"), QStringLiteral("--plan"), notPlan}, notPlan + u':'},
             {{QStringLiteral("plans"), QStringLiteral("export"), QStringLiteral("Nope")},
              QStringLiteral("\"Nope\"")},
             {{QStringLiteral("price"), QStringLiteral("--plan"), QStringLiteral("Nope")},
              QStringLiteral("\"Nope\"")},
             {{QStringLiteral("history"), QStringLiteral("import"), notCsv},
              QStringLiteral("h.csv is not a Voltisk history export: line 1")},
             {{QStringLiteral("history"), QStringLiteral("explain"), QStringLiteral("--from"),
               QStringLiteral("2025-02-01")},
              QStringLiteral("2025-02-01")}}) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const CliRun r = Cli(arguments);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(named)) << r.err.toStdString();
    }
    const CliRun help = Cli({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(QLatin1String("voltisk-cli imports remove ID")));
    EXPECT_TRUE(help.out.contains(QLatin1String("--role [NMI:]SUFFIX=general")));
    EXPECT_TRUE(help.out.contains(QLatin1String("voltisk-cli price --plan NAME|FILE.json")));
}

} // namespace
