#include "mylib/paths.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString g_exeFolder;
}

QString AddTrailingBackslash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(PathDelim)) {
        return folder;
    }
    return folder + QChar(PathDelim);
}

QString JoinPath(const QString& folder, const QString& name) {
    return AddTrailingBackslash(folder) + name;
}

QString AppDataFolder() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    while (dir.size() > 1 && dir.endsWith(PathDelim)) {
        dir.chop(1);
    }
    return dir;
}

bool FileExists(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QString ExtractFilePath(const QString& path) {
    const qsizetype at = path.lastIndexOf(PathDelim);
    return at < 0 ? QString() : path.left(at + 1);
}

void StoreExeFolder(const QString& executablePath) {
    g_exeFolder = ExtractFilePath(executablePath);
}

QString ExeFolder() {
    return g_exeFolder;
}

bool IsDeveloperMachine(const QString& markerPath) {
    return FileExists(markerPath);
}
