#pragma once
// The bill file's contents as the import reads them. The reader (mylib/ucsv)
// gives one flat cell list with H cells per row; the readings and the end
// date are found by name and flat offsets from it, then checked here before
// the window asks the user and writes them.

#include <QDate>
#include <QLatin1String>
#include <QLocale>
#include <QString>
#include <QStringList>

inline constexpr QLatin1String BillFilePattern("*.csv");
inline constexpr QLatin1String ExportTariffName("Legacy Feed-In (X1I) - 110");
inline constexpr QLatin1String GeneralTariffName("Residential - 31");
inline constexpr QLatin1String HotWaterTariffName("Hot Water - 41");
inline constexpr QLatin1String EndDateFieldName("End_Date");

// The messages of the import, shown in a plain message box.
QString NoBillFileMessage(const QString& folder);
QString BillFileVanishedMessage(const QString& path);
inline constexpr QLatin1String BillValuesMissingMessage("Failed to get values from CSV file.");
inline constexpr QLatin1String BillDateMissingMessage("Failed to get date value from CSV file.");
inline constexpr QLatin1String BillImportDoneMessage("Values successfully inserted.");

// The reading for a tariff: the cell two columns right of the name's first
// occurrence, one row of `headerCount` cells further on, cut before its first
// ".". Empty when the name or the cell is missing. Not checked to be a number.
QString TariffReading(const QStringList& cells, int headerCount, const QString& name);

// The end-date text: the cell four rows below the first "End_Date" cell.
QString BillDateText(const QStringList& cells, int headerCount);

// Reads an 8-character DDMMYYYY text (callers check the length). Each part is
// a whole number (leading blanks, an optional sign, digits); the first part
// that is not throws EVoltiskError "''<part>'' is not a valid integer value",
// and parts that form no date of the years 1 to 9999 throw "Invalid argument
// to date encode".
QDate ParseBillDate(const QString& text);

// The confirmation question; the date in the locale's short date format.
QString ImportQuestion(QDate date, const QLocale& locale, const QString& exportReading,
                       const QString& generalReading, const QString& hotWaterReading);
