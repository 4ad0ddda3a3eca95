// The chart module's part for the compare-plans page: Qt Charts behind
// TPlansChart.
#include "plans/page/planschart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QHorizontalBarSeries>
#include <QValueAxis>
#include <algorithm>

namespace {

class PlansChartView : public QChartView, public TPlansChart {
public:
    explicit PlansChartView(QWidget* parent) : QChartView(parent) {
        setObjectName(QStringLiteral("planyearchart"));
        setAccessibleName(QStringLiteral("Year totals by plan"));
        setRenderHint(QPainter::Antialiasing);
    }
    QWidget* Widget() override { return this; }
    void SetBars(const std::vector<PlansChartBar>& bars, const QLocale& locale) override;
};

void PlansChartView::SetBars(const std::vector<PlansChartBar>& bars, const QLocale& locale) {
    // A new chart each time: axes removed from a shown chart can leave their
    // labels behind.
    auto* c = new QChart;
    c->setLocale(locale);
    c->setLocalizeNumbers(true);
    c->legend()->hide();
    c->setMargins(QMargins(0, 0, 0, 0));
    c->layout()->setContentsMargins(0, 0, 0, 0);
    c->setBackgroundRoundness(0);
    // Bars across keep the plans' names readable; the first category is drawn
    // at the bottom, so the bars go in reverse to read from the top.
    QStringList names;
    auto* set = new QBarSet(QStringLiteral("Year total"));
    set->setColor(QColor(0x2e, 0x6f, 0xb5));
    double low = 0, high = 0;
    for (auto it = bars.rbegin(); it != bars.rend(); ++it) {
        // Qt Charts draws labels as rich text: a name is escaped to show as
        // typed. The axis keeps one of equal names, so a repeat gets an
        // invisible mark to keep its own bar.
        QString name = it->name.toHtmlEscaped();
        while (names.contains(name)) {
            name += QChar(0x200B);
        }
        names << name;
        set->append(it->total);
        low = std::min(low, it->total);
        high = std::max(high, it->total);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    c->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(names);
    categories->setTruncateLabels(false);
    auto* amounts = new QValueAxis;
    amounts->setRange(low, high > low ? high * 1.05 : low + 1);
    amounts->applyNiceNumbers();
    amounts->setLabelFormat(QStringLiteral("%.0f"));
    c->addAxis(categories, Qt::AlignLeft);
    c->addAxis(amounts, Qt::AlignBottom);
    series->attachAxis(categories);
    series->attachAxis(amounts);
    QChart* old = chart();
    setChart(c);
    delete old;
}

} // namespace

extern "C" Q_DECL_EXPORT TPlansChart* VoltiskCreatePlansChart(QWidget* parent) {
    return new PlansChartView(parent);
}
