#pragma once
// Date helpers: day counts, compact stamps and the locale's short date form.

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

// a - b in days, rounded to the nearest whole number, halves to even.
qint64 RoundedDifference(const QDateTime& a, const QDateTime& b);
qint64 RoundedDifference(QDate a, QDate b);

// "YYYYMMDD", or "YYYY" sep "MM" sep "DD" with a separator.
QString DateStamp(const QString& separator, QDate date);

// The locale's short date format with a two-digit year widened to four, so
// the text is unambiguous when read back.
QString ShortDateFormat(const QLocale& locale);
QString FormatShortDate(QDate date, const QLocale& locale);
// The dates the program holds: the four-digit years 100 to 9999. The date
// pickers offer exactly these, so what they show is what is counted.
inline const QDate FirstDate{100, 1, 1};
inline const QDate LastDate{9999, 12, 31};

// Reads a text written by FormatShortDate, in the locale's digits or in ASCII
// digits; no value when it is not a date between FirstDate and LastDate.
std::optional<QDate> ParseShortDate(const QString& text, const QLocale& locale);
