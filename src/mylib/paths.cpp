#include "mylib/paths.h"

#include <QDir>
#include <QFileInfo>

namespace {}

QString AddTrailingBackslash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(PathDelim)) {
        return folder;
    }
    return folder + QChar(PathDelim);
}

QString JoinPath(const QString& folder, const QString& name) {
    return AddTrailingBackslash(folder) + name;
}

namespace {
// `xdgValue` when absolute, else `home` + "/" + `homeSubfolder` when `home` is
// absolute, else empty. Relative values are ignored, as the XDG rules say;
// cleanPath folds doubled separators ("/" + "/.config") and drops a trailing
// one.
QString XdgFolderFrom(const QString& xdgValue, const QString& home, const QString& homeSubfolder) {
    if (xdgValue.startsWith(PathDelim)) {
        return QDir::cleanPath(xdgValue);
    }
    if (home.startsWith(PathDelim)) {
        return QDir::cleanPath(home + QChar(PathDelim) + homeSubfolder);
    }
    return QString();
}
} // namespace

QString ConfigFolderFrom(const QString& xdgConfigHome, const QString& home) {
    return XdgFolderFrom(xdgConfigHome, home, QStringLiteral(".config"));
}

QString DataFolderFrom(const QString& xdgDataHome, const QString& home) {
    return XdgFolderFrom(xdgDataHome, home, QStringLiteral(".local/share"));
}

QString AppDataFolder() {
    return ConfigFolderFrom(qEnvironmentVariable("XDG_CONFIG_HOME"), qEnvironmentVariable("HOME"));
}

QString UserDataFolder() {
    return DataFolderFrom(qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME"));
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

QString ExeFolder(const QString& executablePath) {
    return ExtractFilePath(executablePath);
}

bool IsDeveloperMachine(const QString& markerPath) {
    return FileExists(markerPath);
}

QString HistoryFileName() {
    // As for the settings: without an absolute folder to go by, the name is
    // relative to the current folder rather than the file-system root.
    return JoinPath(UserDataFolder(), QStringLiteral("BrindleSoftware/voltisk/history.sqlite"));
}
