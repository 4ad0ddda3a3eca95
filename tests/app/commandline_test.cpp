// The informational options and how they share the first argument with CALC.
#include "app/commandline.h"
#include "app/startuppage.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

TEST(CommandLine, HelpAndVersionAnswerOnlyAsTheExactFirstArgument) {
    const std::optional<QString> help = InformationRequest({"--help"});
    ASSERT_TRUE(help.has_value());
    EXPECT_TRUE(help->startsWith("Usage: voltisk [CALC]\n"));
    EXPECT_EQ(InformationRequest({"--help", "CALC"}), help) << "later arguments do not count";

    const std::optional<QString> version = InformationRequest({"--version"});
    ASSERT_TRUE(version.has_value());
    EXPECT_TRUE(version->startsWith("Voltisk " + ProgramVersion() + "\n"));
    EXPECT_NE(version, help);

    for (const QStringList& starts :
         {QStringList{}, QStringList{"CALC", "--help"}, QStringList{"calc", "--version"},
          QStringList{""}, QStringList{"--HELP"}, QStringList{"--Version"}, QStringList{"-h"},
          QStringList{"-v"}, QStringList{"help"}, QStringList{"--help=1"}, QStringList{"--helpme"},
          QStringList{" --help"}, QStringList{"--versio"}}) {
        EXPECT_FALSE(InformationRequest(starts).has_value()) << starts.join(' ').toStdString();
    }
}

TEST(CommandLine, CalcKeepsItsMeaningBesideTheNewOptions) {
    EXPECT_TRUE(StartOnCalculatorPage({"CALC", "--help"}));
    EXPECT_TRUE(StartOnCalculatorPage({"cAlC", "--version"}));
    EXPECT_FALSE(StartOnCalculatorPage({"--help", "CALC"}));
    EXPECT_FALSE(StartOnCalculatorPage({"--version"}));
}

TEST(CommandLine, VersionIsANumberedRelease) {
    EXPECT_TRUE(QRegularExpression(R"(^\d+\.\d+(\.\d+)?$)").match(ProgramVersion()).hasMatch())
        << ProgramVersion().toStdString();
}

TEST(CommandLine, HelpFitsATerminalAndNamesEveryFile) {
    const QString help = *InformationRequest({"--help"});
    for (const QString& line : help.split('\n')) {
        EXPECT_LE(line.size(), 80) << line.toStdString();
    }
    for (const char* file : {"~/.config/BrindleSoftware/voltisk/voltisk.ini",
                             "~/.config/BrindleSoftware/voltisk/report_YYYYMMDD.html",
                             "~/.local/share/BrindleSoftware/voltisk/history.sqlite"}) {
        EXPECT_TRUE(help.contains(file)) << file;
    }
}

TEST(CommandLine, PrintingReportsWhetherTheTextArrived) {
    QTemporaryDir dir;
    const QByteArray path = (dir.path() + "/out.txt").toLocal8Bit();
    std::FILE* out = std::fopen(path.constData(), "w");
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(PrintInformation(QStringLiteral("Voltisk \u00e9\n"), out));
    std::fclose(out);
    QFile written(QString::fromLocal8Bit(path));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("Voltisk \xc3\xa9\n"));

    // A full disk shows only when the buffered text is flushed.
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    EXPECT_FALSE(PrintInformation(QStringLiteral("Voltisk\n"), full));
    std::fclose(full);

    // A stream that cannot be written at all.
    std::FILE* readOnly = std::fopen(path.constData(), "r");
    ASSERT_NE(readOnly, nullptr);
    EXPECT_FALSE(PrintInformation(QStringLiteral("Voltisk\n"), readOnly));
    std::fclose(readOnly);
}
