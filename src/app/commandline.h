#pragma once
// The two informational options. main() asks before anything else runs, so
// `voltisk --help` and `voltisk --version` open no window and touch neither
// the single-instance lock nor the settings nor a report. As for "CALC", only
// the first argument counts and it must match exactly; every other first
// argument starts the program as before.

#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

// The program's version from the build ("1.3").
QString ProgramVersion();

// The text to print on standard output for `arguments` (those after the
// program name), or nothing when the program is to start.
std::optional<QString> InformationRequest(const QStringList& arguments);

// Writes `text` to `out` as UTF-8 and flushes it. False when any of it could
// not be written (a closed pipe, a full disk), so the caller can fail.
bool PrintInformation(const QString& text, std::FILE* out);
