#include "app/view/printing.h"

#include "app/tform1.h"
#include "app/view/printpreview.h"
#include "calc/report.h"

#include <QFile>
#include <QFileDialog>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTextDocument>

QString PrintParagraph(const QString& text) {
    return text.isEmpty() ? QString() : QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped());
}

namespace {

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// The report file's own markup is a whole page; the body is what follows its head.
QString ReportBody(const QString& report) {
    QString body = report;
    const QString head = QStringLiteral("<HTML><HEAD></HEAD>");
    if (body.startsWith(head)) {
        body.remove(0, head.size());
    }
    return body.remove(QStringLiteral("</HTML>"), Qt::CaseInsensitive);
}

// Lays the document out on `printer`'s page and prints it there.
void PrintOn(QPagedPaintDevice& device, const PrintPage& page, QDate printed,
             const QLocale& locale) {
    const QRectF area = device.pageLayout().paintRect(QPageLayout::Point);
    const auto doc = PrintDocument(page, printed, locale, area.width());
    // Points to device pixels: the document is laid out in points.
    const qreal scale = device.logicalDpiX() / 72.0;
    doc->setPageSize(QSizeF(area.width(), area.height()));
    QPainter painter(&device);
    painter.scale(scale, scale);
    const int pages = doc->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0) {
            device.newPage();
        }
        painter.save();
        painter.translate(0, -i * area.height());
        doc->drawContents(&painter, QRectF(0, i * area.height(), area.width(), area.height()));
        painter.restore();
    }
}

} // namespace

QString PrintTableHtml(const QStringList& headings, const QList<QStringList>& rows) {
    QString html = QStringLiteral(
        "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    for (const QString& h : headings) {
        html += QStringLiteral("<th>%1</th>").arg(Escaped(h));
    }
    html += QStringLiteral("</tr>");
    for (const QStringList& row : rows) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < row.size(); ++c) {
            html += (c == 0 ? QStringLiteral("<td>%1</td>")
                            : QStringLiteral("<td align=\"right\">%1</td>"))
                        .arg(Escaped(row[c]));
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString PrintTableHtml(const QAbstractItemModel& model) {
    QStringList headings;
    for (int c = 0; c < model.columnCount(); ++c) {
        headings << model.headerData(c, Qt::Horizontal).toString();
    }
    QList<QStringList> rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model.columnCount(); ++c) {
            row << model.data(model.index(r, c)).toString();
        }
        rows << row;
    }
    return PrintTableHtml(headings, rows);
}

PrintPage PeriodReportPage(const TForm1& form) {
    const PeriodReport report = form.CurrentReport();
    return {QStringLiteral("Electricity report: %1 to %2").arg(report.firstDate, report.laterDate),
            ReportBody(ReportText(report)), QImage()};
}

PrintPage HistoryPage(const QAbstractItemModel& table, const QString& summary,
                      const QImage& chart) {
    return {QStringLiteral("Bill history: %1 stored periods").arg(table.rowCount()),
            PrintParagraph(summary) + PrintTableHtml(table), chart};
}

QPageSize::PageSizeId LocalPaper(const QLocale& locale) {
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                   : QPageSize::A4;
}

std::unique_ptr<QTextDocument> PrintDocument(const PrintPage& page, QDate printed,
                                             const QLocale& locale, qreal pageWidthPt) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDocumentMargin(0);
    // The document's units are printed as points.
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(10);
    doc->setDefaultFont(font);
    QString html =
        QStringLiteral("<h2>%1</h2><p><i>Printed %2 by Voltisk</i></p>")
            .arg(Escaped(page.title), Escaped(locale.toString(printed, QLocale::LongFormat)));
    html += page.bodyHtml;
    if (!page.chart.isNull()) {
        // Scaled to the page's width, never wider than drawn.
        const qreal width = std::min<qreal>(pageWidthPt, page.chart.width() * 0.75);
        doc->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("chart:picture")),
                         page.chart);
        html += QStringLiteral("<p><img src=\"chart:picture\" width=\"%1\" height=\"%2\"></p>")
                    .arg(int(width))
                    .arg(int(width * page.chart.height() / std::max(1, page.chart.width())));
    }
    doc->setHtml(html);
    doc->setTextWidth(pageWidthPt);
    return doc;
}

bool WritePdf(const PrintPage& page, QDate printed, const QLocale& locale, const QString& path,
              QPageSize::PageSizeId paper) {
    QFile::remove(path);
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(paper));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(page.title);
        writer.setCreator(QStringLiteral("Voltisk"));
        PrintOn(writer, page, printed, locale);
    }
    // The writer reports no failure of its own: look at what reached the file.
    QFile written(path);
    return written.open(QIODevice::ReadOnly) && written.read(5) == "%PDF-";
}

void PrintWithPreview(QWidget* parent, const TForm1& form, const std::function<PrintPage()>& make) {
    const PrintPage page = make();
    const QLocale locale = form.Locales().dates;
    const QDate printed = form.Today();
    QString why;
    if (!ShowPrintPreview(
            parent, page.title, LocalPaper(locale),
            [&page, printed, locale](QPagedPaintDevice& p) { PrintOn(p, page, printed, locale); },
            &why)) {
        form.Platform().dialogs.ShowMessage(why);
    }
}

void SaveAsPdf(QWidget* parent, const TForm1& form, const std::function<PrintPage()>& make,
               const QString& suggestedName) {
    const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save as PDF"),
                                                      suggestedName, QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) {
        return;
    }
    const QLocale locale = form.Locales().dates;
    if (!WritePdf(make(), form.Today(), locale, path, LocalPaper(locale))) {
        form.Platform().dialogs.ShowMessage(
            QStringLiteral("The PDF could not be written to %1.").arg(path));
    }
}

QWidget* PrintButtons(QWidget* parent, const TForm1& form, std::function<PrintPage()> page,
                      const QString& suggestedName, const char* namePrefix) {
    auto* bar = new QWidget(parent);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto* print = new QPushButton(QStringLiteral("Print…"), bar);
    auto* pdf = new QPushButton(QStringLiteral("Save as PDF…"), bar);
    print->setObjectName(QLatin1String(namePrefix) + QStringLiteral("print"));
    pdf->setObjectName(QLatin1String(namePrefix) + QStringLiteral("pdf"));
    row->addStretch();
    row->addWidget(print);
    row->addWidget(pdf);
    QObject::connect(print, &QPushButton::clicked, bar,
                     [bar, &form, page] { PrintWithPreview(bar->window(), form, page); });
    QObject::connect(pdf, &QPushButton::clicked, bar, [bar, &form, page, suggestedName] {
        SaveAsPdf(bar->window(), form, page, suggestedName);
    });
    return bar;
}

QImage ChartPicture(QWidget* page) {
    auto* chart = page ? page->findChild<QGraphicsView*>() : nullptr;
    if (!chart || chart->isHidden()) {
        return QImage();
    }
    return chart->grab().toImage();
}
