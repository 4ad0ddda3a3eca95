#pragma once
// The history's CSV export and import.
//
// Format: RFC 4180 (comma separator, double quotes around every text field,
// doubled quotes inside, CR LF line ends), UTF-8 without a byte-order mark,
// one header row holding the database's column names, one row per period,
// oldest first. Dates are ISO (2026-12-08), numbers use "." and as many digits
// as give the same double back, booleans are 0 or 1, saved_at is ISO UTC.
//
// So that a text survives byte for byte through the CSV reader (which joins
// the lines of a quoted field with CR LF and skips blank lines), texts are
// written with backslash escapes: "\\" for a backslash, "\n" for LF, "\r" for
// CR and "\xHH" for the other control characters below U+0020 except tab.
// Everything else (markup, quotes, commas, non-ASCII) is written as it is.
//
// The import reads through the project's CSV reader (mylib/ucsv) in strict
// mode and accepts only such an export (also one from before the bill
// columns, which ends at saved_at); any other file is refused with an
// EVoltiskError naming the line (lines counted as the reader counts them:
// blank lines do not count).

#include "history/periodrecord.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// The export's bytes for these periods, written in the order given.
QByteArray HistoryCsvText(const std::vector<HistoryPeriod>& periods);

// Writes the export, replacing `fileName` as a whole; throws EVoltiskError
// when it cannot be written (the file is then unchanged).
void ExportHistoryCsv(const QString& fileName, const std::vector<HistoryPeriod>& periods);

// Reads an export back; ids are 0. Throws EVoltiskError when the file cannot
// be read or is not such an export.
std::vector<HistoryPeriod> ReadHistoryCsv(const QString& fileName);

// The backslash escapes of a text field and their reverse; no value for a
// text with an unknown or cut-off escape.
QString EscapeCsvText(const QString& text);
std::optional<QString> UnescapeCsvText(const QString& text);
