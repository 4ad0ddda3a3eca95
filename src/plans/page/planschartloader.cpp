#include "history/page/historychart.h"
#include "plans/page/planschart.h"

TPlansChart* LoadPlansChart(QWidget* parent, QString* why) {
    auto create = reinterpret_cast<VoltiskCreatePlansChartFn>(
        ResolveChartModule("VoltiskCreatePlansChart", why));
    return create ? create(parent) : nullptr;
}
