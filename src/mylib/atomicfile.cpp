#include "mylib/atomicfile.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

bool ReplaceFileContents(const QString& path, const QByteArray& bytes) {
    const QFileInfo target(path);
    if (target.exists() && (!target.isFile() || !target.isWritable())) {
        return false;
    }
    QTemporaryFile temp(path + QStringLiteral(".XXXXXX"));
    if (!temp.open()) {
        return false;
    }
    if (temp.write(bytes) != bytes.size() || !temp.flush()) {
        return false;
    }
    temp.setPermissions(target.exists() ? target.permissions()
                                        : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ReadGroup | QFileDevice::ReadOther);
    temp.close();
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}
