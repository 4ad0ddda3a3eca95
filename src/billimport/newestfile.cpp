#include "billimport/newestfile.h"

#include "mylib/paths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

// Local wall-clock seconds halved: the resolution of a packed file date.
qint64 TwoSecondStep(const QDateTime& modified) {
    const QDateTime local = modified.toLocalTime();
    const qint64 seconds =
        local.date().toJulianDay() * 86400 + local.time().msecsSinceStartOfDay() / 1000;
    return seconds / 2;
}

} // namespace

QString FindNewestFile(const QString& folder, const QString& pattern) {
    const QString dir = AddTrailingBackslash(folder);
    if (dir.isEmpty()) {
        // An empty name would list the working folder.
        return QString();
    }
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QStringList{pattern}, QDir::Files | QDir::Hidden, QDir::Name);
    QString result;
    qint64 best = -1;
    for (const QFileInfo& entry : entries) {
        const QDateTime modified = entry.lastModified();
        if (!modified.isValid()) {
            continue;
        }
        const qint64 step = TwoSecondStep(modified);
        if (step > best) {
            best = step;
            result = JoinPath(dir, entry.fileName());
        }
    }
    return result;
}
