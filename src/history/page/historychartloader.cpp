#include "history/page/historychart.h"

#include "mylib/modules.h"

namespace {

QString& ModulePath() {
    static QString path;
    return path;
}

} // namespace

void SetHistoryChartModulePath(const QString& path) {
    ModulePath() = path;
}

QFunctionPointer ResolveChartModule(const char* symbol, QString* why) {
    // Never unloaded: the chart's code must outlive its widgets.
    QString errors;
    QFunctionPointer f =
        ResolveModule(QStringLiteral("libvoltisk_historychart.so"), ModulePath(), symbol, &errors);
    if (!f && why) {
        *why = QStringLiteral("The chart could not be shown: %1").arg(errors);
    }
    return f;
}

THistoryChart* LoadHistoryChart(QWidget* parent, QString* why) {
    auto create = reinterpret_cast<VoltiskCreateHistoryChartFn>(
        ResolveChartModule("VoltiskCreateHistoryChart", why));
    return create ? create(parent) : nullptr;
}
