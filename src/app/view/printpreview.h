#pragma once
// The print preview (and the print dialog behind it) lives in a module loaded
// on the first print, so that Qt Print Support is not loaded at every start.

#include <QPageSize>
#include <QString>
#include <functional>

class QPagedPaintDevice;
class QWidget;

// What the program hands the module: the preview's parent and title, the
// paper, and the painting of the pages onto the printer it makes.
using PrintPainter = std::function<void(QPagedPaintDevice&)>;
using VoltiskPrintPreviewFn = void (*)(QWidget* parent, const QString& title,
                                       QPageSize::PageSizeId paper, const PrintPainter& paint);

// Where the module is looked for first (tests and benchmarks run from the build tree).
void SetPrintModulePath(const QString& path);
// Shows the preview modally; false with `why` set when the module cannot be loaded.
bool ShowPrintPreview(QWidget* parent, const QString& title, QPageSize::PageSizeId paper,
                      const PrintPainter& paint, QString* why);
