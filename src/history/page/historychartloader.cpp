#include "history/page/historychart.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

QString& ModulePath() {
    static QString path;
    return path;
}

QStringList Candidates() {
    const QString name = QStringLiteral("libvoltisk_historychart.so");
    QStringList c;
    if (!ModulePath().isEmpty()) {
        c << ModulePath();
    }
    // The build tree keeps it beside the program; an installation under
    // <libdir>/voltisk, found from the program's own folder whatever the prefix.
    const QString bin = QCoreApplication::applicationDirPath();
    c << bin + u'/' + name
      << bin + u'/' + QStringLiteral(VOLTISK_CHART_MODULE_RELDIR) + u'/' + name;
    return c;
}

} // namespace

void SetHistoryChartModulePath(const QString& path) {
    ModulePath() = path;
}

QFunctionPointer ResolveChartModule(const char* symbol, QString* why) {
    QString errors;
    for (const QString& path : Candidates()) {
        // Never unloaded: the chart's code must outlive its widgets.
        QLibrary library(path);
        if (QFunctionPointer f = library.resolve(symbol)) {
            return f;
        }
        errors = library.errorString();
    }
    if (why) {
        *why = QStringLiteral("The chart could not be shown: %1").arg(errors);
    }
    return nullptr;
}

THistoryChart* LoadHistoryChart(QWidget* parent, QString* why) {
    auto create = reinterpret_cast<VoltiskCreateHistoryChartFn>(
        ResolveChartModule("VoltiskCreateHistoryChart", why));
    return create ? create(parent) : nullptr;
}
