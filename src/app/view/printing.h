#pragma once
// Printing and PDF of the period report, the history and the plan comparison.
// Each page is put together from the texts its model or presenter shows (every
// one of them escaped: a note or a plan name prints as its characters), a
// title naming the period or the plans, the date printed and, where the page
// has one, its chart as a picture. The same document goes to the print
// preview (and from there to the print dialog) and to "Save as PDF…"; it is
// laid out for the page size chosen, so A4 and Letter both fit.

#include <QAbstractItemModel>
#include <QDate>
#include <QImage>
#include <QLocale>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QTextDocument;
class QWidget;
class TForm1;

struct PrintPage {
    QString title;    // plain text: names the period or the plans
    QString bodyHtml; // already escaped
    QImage chart;     // may be null
};

// `text` escaped as a paragraph; empty for an empty text.
QString PrintParagraph(const QString& text);
// A table as HTML: `headings` then `rows`, every cell escaped; the columns
// after the first are right-aligned (figures).
QString PrintTableHtml(const QStringList& headings, const QList<QStringList>& rows);
// Every row and column of `model` as shown (DisplayRole).
QString PrintTableHtml(const QAbstractItemModel& model);

// The printable pages, from what the models and presenters show.
PrintPage PeriodReportPage(const TForm1& form);
PrintPage HistoryPage(const QAbstractItemModel& table, const QString& summary, const QImage& chart);

// The page size a locale's paper is: Letter where US measures are used, else A4.
QPageSize::PageSizeId LocalPaper(const QLocale& locale);

// The document laid out for a page `pageWidthPt` points wide (within margins):
// title, "Printed <date>" in `locale`'s long date, body, chart.
std::unique_ptr<QTextDocument> PrintDocument(const PrintPage& page, QDate printed,
                                             const QLocale& locale, qreal pageWidthPt);
// Writes the document as a PDF of `paper`; false when the file cannot be written.
bool WritePdf(const PrintPage& page, QDate printed, const QLocale& locale, const QString& path,
              QPageSize::PageSizeId paper);

// The user's actions: the print preview with its print dialog, and "Save as
// PDF…" through a save dialog. `page` is made when the action runs; `form`
// gives today's date and the locale.
void PrintWithPreview(QWidget* parent, const TForm1& form, const std::function<PrintPage()>& page);
void SaveAsPdf(QWidget* parent, const TForm1& form, const std::function<PrintPage()>& page,
               const QString& suggestedName);
// "Print…" and "Save as PDF…" buttons in a row, for a page's button bar.
QWidget* PrintButtons(QWidget* parent, const TForm1& form, std::function<PrintPage()> page,
                      const QString& suggestedName, const char* namePrefix);
// The picture of a chart widget on the page (the first chart view found in
// `page`); null when there is none.
QImage ChartPicture(QWidget* page);
