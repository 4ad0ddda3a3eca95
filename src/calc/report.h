#pragma once
// The HTML period report. The report steps of CalcAll (app/formreport.cpp)
// read the window's texts into the plain values below; the Report*Lines
// functions turn them into the report's lines, one fragment a line, with every
// inserted value HTML-escaped and every fixed fragment kept byte for byte;
// WriteReport then replaces the report file in one step, so a reader (or a
// crash) never sees half a report.

#include "calc/periodcalc.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

// What the readings section (report step 2) shows, as the window shows it:
// the field texts of the period and the two reading dates.
struct ReportReadingTexts : PeriodInputs {
    // The two reading dates, already in the locale's short date form.
    QString firstDate, laterDate;
};

// What the results and charge-rates sections (report step 4) show.
struct ReportResultTexts {
    bool solar = false;
    bool showHotWater = true;
    // Result label texts as shown; an empty split label gives an empty cell.
    QString exportedlabel, used, usedwk, dused, dcost, dcostwk, tdcost, tdcostwk, exportedincome,
        fresult, fresultwk, vresult, vresultwk, tresult, tresultwk;
    // Charge field texts as typed; the report puts a fixed "$" before each.
    QString generalDailyCharge, generalRate, hwDailyCharge, hwRate;
};

// `text` with &, <, > and " replaced by their character references.
QString HtmlEscape(const QString& text);

// Step 1: the opening lines.
QStringList ReportOpeningLines();
// Step 2: the reading dates, the meter readings of the mode (hot water always)
// and the results heading.
QStringList ReportReadingLines(const ReportReadingTexts& texts);
// Step 3: the day-count line; `days` is the text of the day-count label.
QString ReportDaysLine(const QString& days);
// Step 4: the results table, the charge rates and the closing lines.
QStringList ReportResultLines(const ReportResultTexts& texts);

// "report_YYYYMMDD.html".
QString ReportFileName(QDate date);
// The report's full name: the folder part of `settingsFileName`, or
// `exeFolder` when that name is empty, joined with ReportFileName(date).
// With both empty the bare file name is returned.
QString ReportPath(const QString& settingsFileName, const QString& exeFolder, QDate date);

// The file content: every line ended by CR LF, UTF-8 without a byte-order mark.
QByteArray ReportBytes(const QStringList& lines);

// Replaces the file at `path` with ReportBytes(lines), creating its folder
// when missing. The old file stays untouched unless the new one was written in
// full. Returns true only when the whole file reached the disk; never throws.
bool WriteReport(const QString& path, const QStringList& lines);
