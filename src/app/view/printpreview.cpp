#include "app/view/printpreview.h"

#include <QCoreApplication>
#include <QLibrary>

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
    const QString name = QStringLiteral("libvoltisk_print.so");
    const QString bin = QCoreApplication::applicationDirPath();
    // The build tree keeps it beside the program; an installation under
    // <libdir>/voltisk, found from the program's own folder whatever the prefix.
    QStringList candidates{bin + u'/' + name,
                           bin + u'/' + QStringLiteral(VOLTISK_MODULE_RELDIR) + u'/' + name};
    if (!ModulePath().isEmpty()) {
        candidates.prepend(ModulePath());
    }
    QString errors;
    for (const QString& path : candidates) {
        // Never unloaded: Qt Print Support keeps global state once used.
        QLibrary library(path);
        if (auto show =
                reinterpret_cast<VoltiskPrintPreviewFn>(library.resolve("VoltiskPrintPreview"))) {
            show(parent, title, paper, paint);
            return true;
        }
        errors = library.errorString();
    }
    if (why) {
        *why = QStringLiteral("Printing is not available: %1").arg(errors);
    }
    return false;
}
