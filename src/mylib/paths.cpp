#include "mylib/paths.h"

#include <QDir>
#include <QFileInfo>

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

QString ConfigFolderFrom(const QString& xdgConfigHome, const QString& home) {
    // Relative values are ignored, as the XDG rules say; cleanPath folds
    // doubled separators ("/" + "/.config") and drops a trailing one.
    if (xdgConfigHome.startsWith(PathDelim)) {
        return QDir::cleanPath(xdgConfigHome);
    }
    if (home.startsWith(PathDelim)) {
        return QDir::cleanPath(home + QStringLiteral("/.config"));
    }
    return QString();
}

QString AppDataFolder() {
    return ConfigFolderFrom(qEnvironmentVariable("XDG_CONFIG_HOME"), qEnvironmentVariable("HOME"));
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
