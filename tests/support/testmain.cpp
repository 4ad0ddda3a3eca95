#include "support/testenv.h"
#include "support/watchdog.h"

#ifdef VOLTISK_CHART_MODULE
#include "history/page/historychart.h"
#endif

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Every test starts from a new account in en_US.
class FreshEnvironment : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        TestEnv::ResetConfig();
        TestEnv::UseLocale("en_US");
    }
};
} // namespace

int main(int argc, char** argv) {
    QTemporaryDir root;
    TestEnv::SetRoot(root.path());
    qputenv("XDG_CONFIG_HOME", TestEnv::ConfigDir().toUtf8());
    qputenv("XDG_DATA_HOME", TestEnv::DataDir().toUtf8());
    qputenv("HOME", (root.path() + QStringLiteral("/home")).toUtf8());
    QDir().mkpath(root.path() + QStringLiteral("/home"));
    qputenv("XDG_RUNTIME_DIR", (root.path() + QStringLiteral("/run")).toUtf8());
    QDir().mkpath(root.path() + QStringLiteral("/run"));
    QFile::setPermissions(root.path() + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir().mkpath(TestEnv::ExeDir());
    qputenv("LC_ALL", "C.UTF-8");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    StartMessageBoxWatchdog();
#ifdef VOLTISK_CHART_MODULE
    // The History page's chart module as this build made it.
    SetHistoryChartModulePath(QStringLiteral(VOLTISK_CHART_MODULE));
#endif
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshEnvironment);
    TestEnv::ResetConfig();
    TestEnv::UseLocale("en_US");
    return RUN_ALL_TESTS();
}
