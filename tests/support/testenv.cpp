#include "support/testenv.h"

#include <QDir>
#include <QLocale>

namespace {
QString g_root;
}

void TestEnv::SetRoot(const QString& folder) {
    g_root = folder;
}

QString TestEnv::ConfigDir() {
    return g_root + QStringLiteral("/config");
}
QString TestEnv::DataDir() {
    return g_root + QStringLiteral("/data");
}
QString TestEnv::ExeDir() {
    return g_root + QStringLiteral("/bin");
}

void TestEnv::ResetConfig() {
    QDir(ConfigDir()).removeRecursively();
    QDir().mkpath(ConfigDir());
    QDir(DataDir()).removeRecursively();
    QDir().mkpath(DataDir());
}

void TestEnv::UseLocale(const char* name) {
    QLocale::setDefault(QLocale(QString::fromLatin1(name)));
}
