// The real program as a process: one copy per session, activation of the
// running copy, settings saved on SIGTERM.
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace {

class Session {
public:
    Session() {
        QDir().mkpath(config());
        QDir().mkpath(runtime());
        QFile::setPermissions(runtime(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
    }
    QString config() const { return dir_.path() + "/config"; }
    QString runtime() const { return dir_.path() + "/run"; }
    QString ini() const { return config() + "/BrindleSoftware/voltisk/voltisk.ini"; }
    QString socket() const { return runtime() + "/VOLTISK"; }
    QString LockPath() const { return runtime() + "/Voltisk IS RUNNING.lock"; }

    std::unique_ptr<QProcess> Start(const QStringList& args = {}) const {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config());
        env.insert("XDG_RUNTIME_DIR", runtime());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("LC_ALL", "en_US.UTF-8");
        env.insert("QT_LOGGING_RULES", "voltisk.instance.info=true");
        p->setProcessEnvironment(env);
        p->setProgram(QString::fromUtf8(VOLTISK_BINARY));
        p->setArguments(args);
        p->start();
        EXPECT_TRUE(p->waitForStarted(10000));
        return p;
    }

    // The first copy listens as soon as it holds the lock, before its window
    // exists.
    bool WaitUntilListening() const {
        return WaitFor([this] { return QFile::exists(socket()); });
    }
    // The window is up once the first calculation has written its report.
    bool WaitUntilShown() const {
        return WaitFor([this] {
            return !QDir(config() + "/BrindleSoftware/voltisk")
                        .entryList({"report_*.html"})
                        .isEmpty();
        });
    }
    void RemoveReports() const {
        QDir folder(config() + "/BrindleSoftware/voltisk");
        for (const QString& name : folder.entryList({"report_*.html"})) {
            folder.remove(name);
        }
    }
    // Polls for up to 20 s: generous for a loaded machine, no fixed sleep.
    template <class F> static bool WaitFor(F done) {
        for (int i = 0; i < 800; ++i) {
            if (done()) {
                return true;
            }
            QThread::msleep(25);
        }
        return false;
    }

private:
    QTemporaryDir dir_;
};

bool EndsCleanly(QProcess& p) {
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

TEST(Process, SigtermClosesTheWindowAndSavesEverySetting) {
    Session s;
    auto first = s.Start();
    ASSERT_TRUE(s.WaitUntilShown());
    EXPECT_FALSE(QFile::exists(s.ini())) << "no settings file until the window closes";
    first->terminate();
    ASSERT_TRUE(EndsCleanly(*first));
    QSettings ini(s.ini(), QSettings::IniFormat);
    ini.beginGroup("Settings");
    for (const char* key : {"Maximized",
                            "Left",
                            "Top",
                            "DailyServiceCharge",
                            "GeneralChargePerUnit",
                            "HotWaterDailyMeterCharge",
                            "HotWaterChargePerUnit",
                            "FeedInTariff",
                            "GeneralBefore",
                            "GeneralAfter",
                            "HotWaterBefore",
                            "HotWaterAfter",
                            "ExportBefore",
                            "ExportAfter",
                            "ImportGeneralBefore",
                            "ImportGeneralAfter",
                            "ImportHWBefore",
                            "ImportHWAfter",
                            "StandardReadings",
                            "ShowHotWater",
                            "DateBefore",
                            "DateAfter",
                            "Watts",
                            "Hours"}) {
        EXPECT_TRUE(ini.contains(key)) << key;
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
    first->terminate();
    ASSERT_TRUE(EndsCleanly(*first));
    EXPECT_TRUE(first->readAllStandardError().contains("Activated by a second copy"));
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
    next->terminate();
    ASSERT_TRUE(EndsCleanly(*next));
    EXPECT_TRUE(next->readAllStandardError().contains("Activated by a second copy"));
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
