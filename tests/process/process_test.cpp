// The real program as a process: one copy per session, activation of the
// running copy, settings saved on SIGTERM.
#include "session.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <csignal>
#include <gtest/gtest.h>

TEST(Process, SigtermClosesTheWindowAndSavesEverySetting) {
    Session s;
    auto first = s.Start();
    ASSERT_TRUE(s.WaitUntilShown());
    EXPECT_FALSE(QFile::exists(s.ini())) << "no settings file until the window closes";
    first->terminate();
    ASSERT_TRUE(EndsCleanly(*first));
    QSettings ini(s.ini(), QSettings::IniFormat);
    ini.beginGroup("Settings");
    for (const QString& key : AllSettingsKeys()) {
        EXPECT_TRUE(ini.contains(key)) << key.toStdString();
    }
    EXPECT_FALSE(ini.contains("Width")) << "a fixed-size window stores no size";
    EXPECT_EQ(ini.value("DailyServiceCharge").toString(), "1.00326");
    EXPECT_EQ(ini.value("StandardReadings").toString(), "1");
}

TEST(Process, ASecondRunShowsAndKeepsEverythingTheFirstSaved) {
    Session s;
    QDir().mkpath(s.config() + "/BrindleSoftware/voltisk");
    QFile ini(s.ini());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(
        "[Settings]\r\nMaximized=0\r\nLeft=120\r\nTop=90\r\nDailyServiceCharge=1.1\r\n"
        "GeneralChargePerUnit=0.3\r\nHotWaterDailyMeterCharge=0.2\r\nHotWaterChargePerUnit=0.15\r\n"
        "FeedInTariff=0.07\r\nGeneralBefore=1000\r\nGeneralAfter=1300\r\nHotWaterBefore=500\r\n"
        "HotWaterAfter=560\r\nExportBefore=10\r\nExportAfter=20\r\nImportGeneralBefore=30\r\n"
        "ImportGeneralAfter=40\r\nImportHWBefore=50\r\nImportHWAfter=60\r\nStandardReadings=0\r\n"
        "ShowHotWater=0\r\nDateBefore=11/2/2026\r\nDateAfter=12/1/"
        "2026\r\nWatts=2000\r\nHours=3\r\n");
    ini.close();
    const QSettings before(s.ini(), QSettings::IniFormat);
    const QStringList keys = before.allKeys();
    auto p = s.Start();
    ASSERT_TRUE(s.WaitUntilShown());
    p->terminate();
    ASSERT_TRUE(EndsCleanly(*p));
    const QSettings after(s.ini(), QSettings::IniFormat);
    ASSERT_EQ(keys.size(), 24);
    for (const QString& key : keys) {
        EXPECT_EQ(after.value(key).toString(), before.value(key).toString()) << key.toStdString();
    }
    // The period those values describe was calculated and reported.
    EXPECT_EQ(QDir(s.config() + "/BrindleSoftware/voltisk").entryList({"report_*.html"}).size(), 1);
}

TEST(Process, SecondCopyActivatesTheFirstAndEnds) {
    Session s;
    auto first = s.Start();
    ASSERT_TRUE(s.WaitUntilShown());
    auto second = s.Start({"CALC"});
    ASSERT_TRUE(EndsCleanly(*second));
    EXPECT_FALSE(QFile::exists(s.ini())) << "the second copy neither reads nor writes settings";
    EXPECT_TRUE(WaitForErrorOutput(*first, "Activated by a second copy"));
    first->terminate();
    ASSERT_TRUE(EndsCleanly(*first));
}

TEST(Process, AKilledFirstCopyDoesNotBlockTheNextStart) {
    Session s;
    auto first = s.Start();
    ASSERT_TRUE(s.WaitUntilShown());
    first->kill();
    first->waitForFinished(10000);
    ASSERT_TRUE(QFile::exists(s.LockPath())) << "the killed copy left its lock behind";
    QFile::remove(s.socket());
    s.RemoveReports();
    auto next = s.Start();
    // The next start takes the lock over and answers a later copy.
    ASSERT_TRUE(s.WaitUntilShown());
    auto probe = s.Start();
    ASSERT_TRUE(EndsCleanly(*probe));
    ASSERT_EQ(next->state(), QProcess::Running);
    EXPECT_TRUE(WaitForErrorOutput(*next, "Activated by a second copy"));
    next->terminate();
    ASSERT_TRUE(EndsCleanly(*next));
    EXPECT_TRUE(QFile::exists(s.ini()));
}

TEST(Process, TwoCopiesStartedTogetherEndWithOneWindow) {
    Session s;
    auto a = s.Start();
    auto b = s.Start();
    ASSERT_TRUE(s.WaitUntilShown());
    // One of them hands over and ends; the other keeps its window.
    QProcess* ended = nullptr;
    for (int i = 0; i < 400 && !ended; ++i) {
        if (a->state() == QProcess::NotRunning) {
            ended = a.get();
        } else if (b->state() == QProcess::NotRunning) {
            ended = b.get();
        } else {
            // Each process notices its own end only while it is waited on.
            a->waitForFinished(10);
            b->waitForFinished(10);
        }
    }
    ASSERT_NE(ended, nullptr);
    EXPECT_EQ(ended->exitCode(), 0);
    QProcess* running = ended == a.get() ? b.get() : a.get();
    EXPECT_EQ(running->state(), QProcess::Running);
    running->terminate();
    EXPECT_TRUE(EndsCleanly(*running));
}

TEST(Process, OddArgumentsStartNormally) {
    Session s;
    auto p = s.Start({"", QString(5000, 'x'), QString::fromLatin1("\xff\xfe")});
    ASSERT_TRUE(s.WaitUntilShown());
    p->terminate();
    EXPECT_TRUE(EndsCleanly(*p));
}

TEST(Process, AStoppedFirstCopyIsNamedAndTheSecondStartFails) {
    Session s;
    auto first = s.Start();
    ASSERT_TRUE(s.WaitUntilShown());
    ASSERT_EQ(::kill(pid_t(first->processId()), SIGSTOP), 0);
    // Its listen queue still takes the request; no answer comes.
    auto second = s.Start();
    const QByteArray said = "Another Voltisk (process " + QByteArray::number(first->processId()) +
                            ") is running but not answering.";
    EXPECT_TRUE(WaitForErrorOutput(*second, said));
    // The same words stay on screen in a box until the user (here SIGTERM) closes it.
    second->terminate();
    ASSERT_TRUE(second->waitForFinished(20000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 1);
    ::kill(pid_t(first->processId()), SIGCONT);
    first->terminate();
    EXPECT_TRUE(EndsCleanly(*first));
}

TEST(Process, TheDesktopActionSwitchesARunningWindowToTheCalculator) {
    Session s;
    s.env.insert("QT_LOGGING_RULES", "voltisk.instance.info=true;voltisk.program.info=true");
    auto first = s.Start({"calculate"});
    ASSERT_TRUE(s.WaitUntilShown());
    // "CALC" from a second copy is ignored; the desktop action's option is passed on.
    auto ignored = s.Start({"CALC"});
    ASSERT_TRUE(EndsCleanly(*ignored));
    EXPECT_TRUE(WaitForErrorOutput(*first, "Showing page \"readingsts\""));
    auto action = s.Start({"--show-usage-calculator"});
    ASSERT_TRUE(EndsCleanly(*action));
    EXPECT_TRUE(WaitForErrorOutput(*first, "Showing page \"calc\""));
    first->terminate();
    ASSERT_TRUE(EndsCleanly(*first));
}

TEST(Process, SigtermWhileABoxIsOpenClosesItAndSavesTheSettings) {
    Session s;
    s.env.insert("QT_LOGGING_RULES", "voltisk.dialogs.info=true");
    QDir().mkpath(s.folder());
    QFile ini(s.ini());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Settings]\r\nGeneralAfter=1300\r\nDateBefore=not a date\r\n");
    ini.close();
    auto p = s.Start();
    ASSERT_TRUE(WaitForErrorOutput(*p, "is not a valid date"));
    p->terminate();
    ASSERT_TRUE(EndsCleanly(*p));
    const QSettings after(s.ini(), QSettings::IniFormat);
    EXPECT_EQ(after.value("Settings/GeneralAfter").toString(), "1300");
    EXPECT_NE(after.value("Settings/DateBefore").toString(), "not a date");
}

// The pages' module (SQL, meter data, tariffs) stays out of the started
// window, and every name it needs from the program is there: bound at once
// with the module preloaded, the program starts.
TEST(Process, ThePagesModuleWaitsAndFindsTheWindowsCodeInTheProgram) {
    Session s;
    auto first = s.Start();
    ASSERT_TRUE(s.WaitUntilShown());
    QFile maps(QStringLiteral("/proc/%1/maps").arg(first->processId()));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    for (const char* library : {"libvoltisk_pages", "libQt6Sql", "libsqlite3"}) {
        EXPECT_FALSE(mapped.contains(library)) << library;
    }
    first->terminate();
    ASSERT_TRUE(EndsCleanly(*first));

    s.env.insert("LD_BIND_NOW", "1");
    s.env.insert("LD_PRELOAD", QStringLiteral(VOLTISK_PAGES_MODULE));
    // A sanitizer build's runtime would otherwise insist on coming first.
    s.env.insert("ASAN_OPTIONS", "verify_asan_link_order=0");
    auto preloaded = s.Start({"--version"});
    ASSERT_TRUE(preloaded->waitForFinished(20000));
    EXPECT_EQ(preloaded->exitCode(), 0) << preloaded->readAllStandardError().toStdString();
}
