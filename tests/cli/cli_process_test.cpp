// voltisk-cli as a process: its commands, its JSON and its exit statuses.

#include "support/files.h"
#include "support/testenv.h"

#include <QDir>
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
          QStringList{QStringLiteral("imports"), QStringLiteral("--nonsense")}}) {
        SCOPED_TRACE(misuse.join(u' ').toStdString());
        const CliRun r = Cli(misuse);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(QLatin1String("Usage:")));
    }
    const CliRun help = Cli({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(QLatin1String("voltisk-cli imports remove ID")));
}

} // namespace
