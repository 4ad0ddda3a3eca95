#include "storage/historyerror.h"

#include <QDir>

QString HistoryFaultText(HistoryFault fault, const QString& fileName) {
    const QString name = QDir::toNativeSeparators(fileName);
    switch (fault) {
    case HistoryFault::None:
        break;
    case HistoryFault::Damaged:
        return QStringLiteral("The history file %1 is damaged and cannot be read.").arg(name);
    case HistoryFault::Unreadable:
        return QStringLiteral("The history file %1 cannot be opened or read. Check that it is a "
                              "file and that you may read it.")
            .arg(name);
    case HistoryFault::ReadOnly:
        return QStringLiteral("The history file %1 is read-only: periods can be shown but not "
                              "added, changed or deleted.")
            .arg(name);
    case HistoryFault::Locked:
        return QStringLiteral("The history file %1 is in use by another program, so it cannot "
                              "be changed now. Try again in a moment.")
            .arg(name);
    case HistoryFault::DiskFull:
        return QStringLiteral("The history file %1 could not be changed because the disk is "
                              "full. Free some space and try again; nothing was lost.")
            .arg(name);
    case HistoryFault::Newer:
        return QStringLiteral("The history file %1 was written by a newer version of Voltisk "
                              "and cannot be used by this one.")
            .arg(name);
    }
    return QString();
}
