#pragma once
// File and folder helpers. Paths use the platform separator ("/"); the names
// say "Backslash" because callers think of it as the folder separator.

#include <QString>

inline constexpr char16_t PathDelim = u'/';

// The folder text ending in the separator; an empty text stays empty.
QString AddTrailingBackslash(const QString& folder);

// AddTrailingBackslash(folder) + name; an empty folder gives the bare name.
QString JoinPath(const QString& folder, const QString& name);

// The per-user configuration folder without a trailing separator, or empty:
// ConfigFolderFrom($XDG_CONFIG_HOME, $HOME).
QString AppDataFolder();
// `xdgConfigHome` when absolute, else `home` + "/.config" when `home` is
// absolute, else empty; doubled separators folded.
QString ConfigFolderFrom(const QString& xdgConfigHome, const QString& home);

// The per-user data folder by the same rules, or empty:
// DataFolderFrom($XDG_DATA_HOME, $HOME), the fallback being
// `home` + "/.local/share".
QString UserDataFolder();
QString DataFolderFrom(const QString& xdgDataHome, const QString& home);

// The history file, <UserDataFolder()>/BrindleSoftware/voltisk/history.sqlite:
// an absolute XDG_DATA_HOME, else ~/.local/share, else relative to the current
// folder (the settings folder's rules).
QString HistoryFileName();

// True when the path names a file (a link counts when its target is a file).
bool FileExists(const QString& path);

// The folder part of a path, up to and including its last separator.
QString ExtractFilePath(const QString& path);

// The program's folder, with a trailing separator, from its full file name.
QString ExeFolder(const QString& executablePath);

// The developer marker file; its existence shows the "CSV Load" button.
inline constexpr const char* DeveloperMarkerPath = "/Ziroriza_identifier_5813076429918.txt";
bool IsDeveloperMachine(const QString& markerPath = QString::fromLatin1(DeveloperMarkerPath));
