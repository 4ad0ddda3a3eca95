#include "support/testenv.h"

#include "app/view/historychart.h"
#include "mylib/money.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QTemporaryDir* g_root = nullptr;
}

QString TestEnv::ConfigDir() {
    return g_root->path() + QStringLiteral("/config");
}
QString TestEnv::DataDir() {
    return g_root->path() + QStringLiteral("/data");
}
QString TestEnv::ExeDir() {
    return g_root->path() + QStringLiteral("/bin");
}

void TestEnv::ResetConfig() {
    QDir(ConfigDir()).removeRecursively();
    QDir().mkpath(ConfigDir());
    QDir(DataDir()).removeRecursively();
    QDir().mkpath(DataDir());
}

void TestEnv::UseLocale(const char* name) {
    QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    ReadMoneyDecimals(QLocale());
}

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
    g_root = &root;
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
    SetHistoryChartModulePath(QStringLiteral(VOLTISK_CHART_MODULE));
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshEnvironment);
    TestEnv::ResetConfig();
    TestEnv::UseLocale("en_US");
    return RUN_ALL_TESTS();
}
