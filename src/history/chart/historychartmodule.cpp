// The chart module: Qt Charts behind THistoryChart.
#include "history/page/historychart.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <tuple>

namespace {

// A day on the date axis: its first instant, in the chart's local time.
double At(QDate day) {
    return static_cast<double>(day.startOfDay().toMSecsSinceEpoch());
}

class ChartView : public QChartView, public THistoryChart {
public:
    explicit ChartView(QWidget* parent) : QChartView(parent) {
        setObjectName(QStringLiteral("historychart"));
        setAccessibleName(QStringLiteral("Net cost and kWh a day by period"));
        setRenderHint(QPainter::Antialiasing);
    }
    QWidget* Widget() override { return this; }
    void SetPoints(const std::vector<HistoryChartPoint>& points, const QString& moneyAxisTitle,
                   const QLocale& locale) override;

private:
    // Bars as one outlined polygon along the zero line: each period's bar
    // runs from its first day to its last, `inset` of its width in from both
    // sides, so every period is a bar of its own whatever its length.
    QAreaSeries* Bars(const QString& name, QColor colour, double inset,
                      double HistoryChartPoint::*value) const;
    void AddAxes(QChart* c, const std::vector<QAbstractSeries*>& money, QLineSeries* kwh,
                 const QString& moneyAxisTitle) const;
    // The period under the date `x` (an axis value), or -1.
    int PeriodAt(double x) const {
        for (std::size_t i = points_.size(); i-- > 0;) {
            if (x >= At(points_[i].from) && x <= At(points_[i].to)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    void ShowTip(bool on, int index) {
        if (on && index >= 0 && index < static_cast<int>(points_.size())) {
            // Plain text: a tooltip that looks like markup would be drawn as it.
            QToolTip::showText(
                QCursor::pos(),
                QStringLiteral("<p style='white-space:pre'>%1</p>")
                    .arg(points_[static_cast<std::size_t>(index)].tooltip.toHtmlEscaped()),
                this);
        } else {
            QToolTip::hideText();
        }
    }
    std::vector<HistoryChartPoint> points_;
};

QAreaSeries* ChartView::Bars(const QString& name, QColor colour, double inset,
                             double HistoryChartPoint::*value) const {
    auto* top = new QLineSeries;
    for (const HistoryChartPoint& p : points_) {
        const double from = At(p.from), to = At(p.to), in = (to - from) * inset;
        top->append({{from + in, 0}, {from + in, p.*value}, {to - in, p.*value}, {to - in, 0}});
    }
    // The lower edge along zero, so bars below zero hang from it.
    auto* zero = new QLineSeries;
    if (!points_.empty()) {
        zero->append({{top->at(0).x(), 0}, {top->at(top->count() - 1).x(), 0}});
    }
    auto* bars = new QAreaSeries(top, zero);
    // An area series does not own its edges.
    top->setParent(bars);
    zero->setParent(bars);
    bars->setName(name);
    bars->setColor(colour);
    bars->setBorderColor(Qt::white);
    return bars;
}

void ChartView::SetPoints(const std::vector<HistoryChartPoint>& points,
                          const QString& moneyAxisTitle, const QLocale& locale) {
    points_ = points;
    // A new chart each time: axes removed from a shown chart can leave their
    // labels behind.
    auto* c = new QChart;
    c->setLocale(locale);
    c->setLocalizeNumbers(true);
    c->legend()->setAlignment(Qt::AlignRight);
    c->setMargins(QMargins(2, 2, 2, 2));
    c->layout()->setContentsMargins(0, 0, 0, 0);
    c->setBackgroundRoundness(0);
    std::vector<QAbstractSeries*> money{Bars(QStringLiteral("Net a day"), QColor(0x2e, 0x6f, 0xb5),
                                             0, &HistoryChartPoint::netPerDay)};
    const bool anyIncome =
        std::any_of(points.begin(), points.end(),
                    [](const HistoryChartPoint& p) { return p.incomePerDay != 0; });
    if (anyIncome) {
        // In front of the net, half as wide.
        money.push_back(Bars(QStringLiteral("Income a day"), QColor(0x4c, 0xa6, 0x4c), 0.25,
                             &HistoryChartPoint::incomePerDay));
    }
    auto* kwh = new QLineSeries;
    kwh->setName(QStringLiteral("kWh a day"));
    kwh->setPointsVisible(true);
    // The price a kWh shares the money axis: a rise shows apart from the use.
    auto* price = new QLineSeries;
    price->setName(QStringLiteral("Price a kWh"));
    price->setColor(QColor(0xb0, 0x3a, 0x2e));
    kwh->setColor(QColor(0xe0, 0x8a, 0x1e));
    std::vector<std::tuple<double, double, double>> middles;
    for (const HistoryChartPoint& p : points) {
        middles.emplace_back((At(p.from) + At(p.to)) / 2, p.kwhPerDay, p.pricePerKwh);
    }
    std::sort(middles.begin(), middles.end());
    for (const auto& [x, y, perKwh] : middles) {
        kwh->append(x, y);
        price->append(x, perKwh);
    }
    for (QAbstractSeries* s : money) {
        c->addSeries(s);
    }
    c->addSeries(kwh);
    c->addSeries(price);
    AddAxes(c, money, kwh, moneyAxisTitle);
    price->attachAxis(c->axes(Qt::Horizontal).first());
    price->attachAxis(c->axes(Qt::Vertical).first());
    QChart* old = chart();
    setChart(c);
    delete old;
    for (QAbstractSeries* s : money) {
        connect(static_cast<QAreaSeries*>(s), &QAreaSeries::hovered, this,
                [this](const QPointF& p, bool on) { ShowTip(on, PeriodAt(p.x())); });
    }
    connect(kwh, &QLineSeries::hovered, this,
            [this](const QPointF& p, bool on) { ShowTip(on, PeriodAt(p.x())); });
}

// The date axis under the bars, money on the left, kWh on the right.
void ChartView::AddAxes(QChart* c, const std::vector<QAbstractSeries*>& money, QLineSeries* kwh,
                        const QString& moneyAxisTitle) const {
    double moneyMin = 0, moneyMax = 0, kwhMax = 0;
    QDate first, last;
    for (const HistoryChartPoint& p : points_) {
        moneyMin = std::min({moneyMin, p.netPerDay, p.incomePerDay, p.pricePerKwh});
        moneyMax = std::max({moneyMax, p.netPerDay, p.incomePerDay, p.pricePerKwh});
        kwhMax = std::max(kwhMax, p.kwhPerDay);
        first = first.isValid() ? std::min(first, p.from) : p.from;
        last = last.isValid() ? std::max(last, p.to) : p.to;
    }
    if (!first.isValid()) {
        last = QDate::currentDate();
        first = last.addMonths(-1);
    }
    const qint64 span = first.daysTo(last);
    auto* x = new QDateTimeAxis;
    x->setFormat(span < 400 ? QStringLiteral("d MMM yy") : QStringLiteral("MMM yyyy"));
    x->setTickCount(7);
    x->setLabelsAngle(-45);
    const qint64 margin = std::max<qint64>(1, span / 50);
    x->setRange(first.addDays(-margin).startOfDay(), last.addDays(margin).startOfDay());
    auto* amounts = new QValueAxis;
    // Axis titles and labels are drawn as rich text by Qt Charts.
    amounts->setTitleText(moneyAxisTitle.toHtmlEscaped());
    amounts->setRange(moneyMin, moneyMax > moneyMin ? moneyMax * 1.1 : moneyMin + 1);
    amounts->setLabelFormat(QStringLiteral("%.2f"));
    auto* energy = new QValueAxis;
    energy->setTitleText(QStringLiteral("kWh a day"));
    energy->setRange(0, kwhMax > 0 ? kwhMax * 1.1 : 1);
    energy->setLabelFormat(QStringLiteral("%.1f"));
    amounts->applyNiceNumbers();
    energy->applyNiceNumbers();
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(amounts, Qt::AlignLeft);
    c->addAxis(energy, Qt::AlignRight);
    for (QAbstractSeries* s : money) {
        s->attachAxis(x);
        s->attachAxis(amounts);
    }
    kwh->attachAxis(x);
    kwh->attachAxis(energy);
}

} // namespace

extern "C" Q_DECL_EXPORT THistoryChart* VoltiskCreateHistoryChart(QWidget* parent) {
    return new ChartView(parent);
}
