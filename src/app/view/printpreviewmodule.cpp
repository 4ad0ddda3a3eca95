// The print module: Qt Print Support behind ShowPrintPreview.
#include "app/view/printpreview.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT void VoltiskPrintPreview(QWidget* parent, const QString& title,
                                                  QPageSize::PageSizeId paper,
                                                  const PrintPainter& paint) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(paper));
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    printer.setDocName(title);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("Print preview - %1").arg(title));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&paint](QPrinter* p) { paint(*p); });
    preview.exec();
}
