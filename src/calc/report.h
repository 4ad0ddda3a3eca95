#pragma once
// The HTML period report. CalcAll (app/formperiod.cpp) gathers what the report
// shows once per run into a PeriodReport: the field texts as typed, the two
// reading dates and, for a positive day count, the very label texts it shows
// in the window. ReportText turns that into the report, one fragment a line,
// with every inserted value HTML-escaped and every fixed fragment kept byte for
// byte; WriteReport then replaces the report file in one step, so a reader (or
// a crash) never sees half a report.

#include "calc/periodcalc.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

struct PeriodReport {
    // The field texts and the two switches, as the window holds them. The
    // readings section shows the readings of the mode (hot water always); the
    // charge-rates section shows the four charge texts with a fixed "$".
    PeriodInputs inputs;
    // The two reading dates, already in the locale's short date form.
    QString firstDate, laterDate;
    // The result label texts of a positive day count; without them (a day
    // count of 0 or less) the report ends after the results heading. An empty
    // split label gives an empty cell.
    std::optional<PeriodLabels> labels;
};

// `text` with &, <, > and " replaced by their character references.
QString HtmlEscape(const QString& text);

// The whole report: every line ended by CR LF.
QString ReportText(const PeriodReport& report);
// The file content: ReportText in UTF-8 without a byte-order mark.
QByteArray ReportBytes(const PeriodReport& report);

// "report_YYYYMMDD.html".
QString ReportFileName(QDate date);
// The report's full name: the folder part of `settingsFileName`, or
// `exeFolder` when that name is empty, joined with ReportFileName(date).
// With both empty the bare file name is returned.
QString ReportPath(const QString& settingsFileName, const QString& exeFolder, QDate date);

// Replaces the file at `path` with `bytes`, creating its folder when missing.
// The old file stays untouched unless the new one was written in full.
// Returns true only when the whole file reached the disk; never throws.
bool WriteReport(const QString& path, const QByteArray& bytes);
