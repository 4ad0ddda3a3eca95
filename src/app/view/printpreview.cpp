#include "app/view/printpreview.h"

#include "mylib/modules.h"

namespace {

QString& ModulePath() {
    static QString path;
    return path;
}

} // namespace

void SetPrintModulePath(const QString& path) {
    ModulePath() = path;
}

bool ShowPrintPreview(QWidget* parent, const QString& title, QPageSize::PageSizeId paper,
                      const PrintPainter& paint, QString* why) {
    // Never unloaded: Qt Print Support keeps global state once used.
    QString errors;
    if (auto show = reinterpret_cast<VoltiskPrintPreviewFn>(ResolveModule(
            QStringLiteral("libvoltisk_print.so"), ModulePath(), "VoltiskPrintPreview", &errors))) {
        show(parent, title, paper, paint);
        return true;
    }
    if (why) {
        *why = QStringLiteral("Printing is not available: %1").arg(errors);
    }
    return false;
}
