#include "support/files.h"

#include <QFile>
#include <gtest/gtest.h>

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray Golden(const char* name) {
    const QString path = QStringLiteral(VOLTISK_TEST_DATA "/") + QLatin1String(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}
