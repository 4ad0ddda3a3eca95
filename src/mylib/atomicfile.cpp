#include "mylib/atomicfile.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

bool ReplaceFileContents(const QString& path, const QByteArray& bytes) {
    // A file without any write permission counts as read-only even for a
    // user (root) who could override that.
    const QFileInfo target(path);
    const auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (target.exists() &&
        (!target.isFile() || !target.isWritable() || !(target.permissions() & writeBits))) {
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
