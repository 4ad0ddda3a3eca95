// `voltisk --help` and `voltisk --version` as a user runs them: they print and
// end before the program starts, even while another copy is running.
#include "app/commandline.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace {

class Account {
public:
    Account() {
        for (const QString& dir : {config(), runtime(), data(), home()}) {
            QDir().mkpath(dir);
        }
        QFile::setPermissions(runtime(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
    }
    QString config() const { return dir_.path() + "/config"; }
    QString runtime() const { return dir_.path() + "/run"; }
    QString data() const { return dir_.path() + "/data"; }
    QString home() const { return dir_.path() + "/home"; }

    // `display`: with false, no platform can open a window, so a program that
    // tried would fail instead of quietly drawing offscreen.
    std::unique_ptr<QProcess> Start(const QStringList& args, bool display = true) const {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env;
        env.insert("PATH", qEnvironmentVariable("PATH"));
        env.insert("HOME", home());
        env.insert("XDG_CONFIG_HOME", config());
        env.insert("XDG_DATA_HOME", data());
        env.insert("XDG_RUNTIME_DIR", runtime());
        env.insert("LC_ALL", "en_US.UTF-8");
        env.insert("QT_LOGGING_RULES", "voltisk.instance.info=true");
        env.insert("QT_QPA_PLATFORM", display ? "offscreen" : "xcb");
        p->setProcessEnvironment(env);
        p->setProgram(QString::fromUtf8(VOLTISK_BINARY));
        p->setArguments(args);
        p->start();
        EXPECT_TRUE(p->waitForStarted(10000));
        return p;
    }

    // Every file and folder the program left below the account's folders.
    QStringList Traces() const {
        QStringList found;
        for (const QString& root : {config(), runtime(), data(), home()}) {
            QDirIterator it(root,
                            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                found << it.next();
            }
        }
        return found;
    }

    bool WaitUntilListening() const {
        for (int i = 0; i < 400; ++i) {
            if (QFile::exists(runtime() + "/VOLTISK")) {
                return true;
            }
            QThread::msleep(25);
        }
        return false;
    }

private:
    QTemporaryDir dir_;
};

bool EndsWith(QProcess& p, int code) {
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit &&
           p.exitCode() == code;
}

} // namespace

TEST(Options, HelpAndVersionPrintAndTouchNothing) {
    for (const char* option : {"--help", "--version"}) {
        SCOPED_TRACE(option);
        Account a;
        auto p = a.Start({option, "CALC"}, /*display=*/false);
        ASSERT_TRUE(EndsWith(*p, 0)) << p->readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(p->readAllStandardOutput()), InformationRequest({option}));
        EXPECT_EQ(a.Traces(), QStringList()) << "no lock, socket, settings or report";
    }
}

TEST(Options, OtherFirstArgumentsStillStartTheProgram) {
    // Without a display the program itself cannot start, which shows it tried.
    Account a;
    auto p = a.Start({"--helpme"}, /*display=*/false);
    ASSERT_TRUE(p->waitForFinished(20000));
    EXPECT_TRUE(p->exitStatus() == QProcess::CrashExit || p->exitCode() != 0);
    EXPECT_TRUE(p->readAllStandardOutput().isEmpty());
}

TEST(Options, VersionBesideARunningCopyNeitherHandsOverNorTakesTheLock) {
    Account a;
    auto first = a.Start({});
    ASSERT_TRUE(a.WaitUntilListening());
    auto version = a.Start({"--version"});
    ASSERT_TRUE(EndsWith(*version, 0));
    EXPECT_TRUE(
        version->readAllStandardOutput().startsWith("Voltisk " + ProgramVersion().toUtf8() + "\n"));
    // A real second copy still finds the first one holding the lock.
    auto second = a.Start({});
    ASSERT_TRUE(EndsWith(*second, 0));
    // The first copy listens before its window exists; once it has logged the
    // activation, its window is up and SIGTERM closes it.
    first->setReadChannel(QProcess::StandardError);
    for (int i = 0; i < 200 && !first->peek(1 << 20).contains("Activated"); ++i) {
        first->waitForReadyRead(100);
    }
    first->terminate();
    ASSERT_TRUE(EndsWith(*first, 0));
    const QByteArray log = first->readAllStandardError();
    EXPECT_EQ(log.count("Activated by a second copy"), 1) << log.toStdString();
}

TEST(Options, HelpThatCannotBeWrittenFails) {
    Account a;
    auto p = std::make_unique<QProcess>();
    p->setProgram(QString::fromUtf8(VOLTISK_BINARY));
    p->setArguments({"--help"});
    p->setStandardOutputFile("/dev/full");
    p->start();
    ASSERT_TRUE(p->waitForStarted(10000));
    EXPECT_TRUE(EndsWith(*p, 1));
}
