#pragma once
// A private session for the real program: its own configuration and runtime
// folders, en_US, offscreen, and waits that poll instead of sleeping.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

class Session {
public:
    Session() {
        env.insert("XDG_CONFIG_HOME", config());
        env.insert("XDG_RUNTIME_DIR", runtime());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("LC_ALL", "en_US.UTF-8");
        env.insert("QT_LOGGING_RULES", "voltisk.instance.info=true");
        QDir().mkpath(config());
        QDir().mkpath(runtime());
        QFile::setPermissions(runtime(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
    }
    // The environment each start gets; tests change it before Start.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    QString root() const { return dir_.path(); }
    QString folder() const { return config() + "/BrindleSoftware/voltisk"; }
    QString config() const { return dir_.path() + "/config"; }
    QString runtime() const { return dir_.path() + "/run"; }
    QString ini() const { return config() + "/BrindleSoftware/voltisk/voltisk.ini"; }
    QString socket() const { return runtime() + "/VOLTISK"; }
    QString LockPath() const { return runtime() + "/Voltisk IS RUNNING.lock"; }

    std::unique_ptr<QProcess> Start(const QStringList& args = {}) const {
        auto p = std::make_unique<QProcess>();
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

inline bool EndsCleanly(QProcess& p) {
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Every key the program saves, in its order.
inline QStringList AllSettingsKeys() {
    return {"Maximized",
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
            "DateBeforeIso",
            "DateAfter",
            "DateAfterIso",
            "Watts",
            "Hours"};
}

// Waits until the process has written `text` to its error output, which stays
// there for a later readAllStandardError. The activation is logged from the
// event loop, so after it a SIGTERM closes the window instead of ending a
// start-up half-way.
inline bool WaitForErrorOutput(QProcess& p, const QByteArray& text) {
    p.setReadChannel(QProcess::StandardError);
    for (int i = 0; i < 200; ++i) {
        if (p.peek(1 << 20).contains(text)) {
            return true;
        }
        p.waitForReadyRead(100);
    }
    return false;
}
