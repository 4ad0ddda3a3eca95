// The chart module: Qt Charts behind THistoryChart.
#include "history/page/historychart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>

namespace {

class ChartView : public QChartView, public THistoryChart {
public:
    explicit ChartView(QWidget* parent) : QChartView(parent) {
        setObjectName(QStringLiteral("historychart"));
        setRenderHint(QPainter::Antialiasing);
    }
    QWidget* Widget() override { return this; }
    void SetPoints(const std::vector<HistoryChartPoint>& points,
                   const QString& moneyAxisTitle) override;

private:
    static void AddAxes(QChart* c, QBarSeries* bars, QLineSeries* kwh, const QStringList& labels,
                        const QString& moneyAxisTitle, std::pair<double, double> moneyRange,
                        double kwhMax);
    void ShowTip(bool on, int index) {
        if (on && index >= 0 && index < static_cast<int>(points_.size())) {
            QToolTip::showText(QCursor::pos(), points_[static_cast<std::size_t>(index)].tooltip,
                               this);
        } else {
            QToolTip::hideText();
        }
    }
    std::vector<HistoryChartPoint> points_;
};

void ChartView::SetPoints(const std::vector<HistoryChartPoint>& points,
                          const QString& moneyAxisTitle) {
    points_ = points;
    // A new chart each time: axes removed from a shown chart can leave their
    // labels behind.
    auto* c = new QChart;
    c->legend()->setAlignment(Qt::AlignRight);
    c->setMargins(QMargins(2, 2, 2, 2));
    c->layout()->setContentsMargins(0, 0, 0, 0);
    c->setBackgroundRoundness(0);
    auto* bars = new QBarSeries;
    auto* net = new QBarSet(QStringLiteral("Net a day"));
    auto* income = new QBarSet(QStringLiteral("Income a day"));
    auto* kwh = new QLineSeries;
    kwh->setName(QStringLiteral("kWh a day"));
    kwh->setPointsVisible(true);
    // The price a kWh shares the money axis: a rise shows apart from the use.
    auto* price = new QLineSeries;
    price->setName(QStringLiteral("Price a kWh"));
    price->setColor(QColor(0xb0, 0x3a, 0x2e));
    QStringList labels;
    double moneyMin = 0, moneyMax = 0, kwhMax = 0;
    bool anyIncome = false;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const HistoryChartPoint& p = points[i];
        net->append(p.netPerDay);
        income->append(p.incomePerDay);
        kwh->append(static_cast<double>(i), p.kwhPerDay);
        price->append(static_cast<double>(i), p.pricePerKwh);
        labels << p.label;
        anyIncome = anyIncome || p.incomePerDay != 0;
        moneyMin = std::min({moneyMin, p.netPerDay, p.incomePerDay, p.pricePerKwh});
        moneyMax = std::max({moneyMax, p.netPerDay, p.incomePerDay, p.pricePerKwh});
        kwhMax = std::max(kwhMax, p.kwhPerDay);
    }
    net->setColor(QColor(0x2e, 0x6f, 0xb5));
    income->setColor(QColor(0x4c, 0xa6, 0x4c));
    kwh->setColor(QColor(0xe0, 0x8a, 0x1e));
    bars->append(net);
    if (anyIncome) {
        bars->append(income);
    } else {
        delete income;
    }
    c->addSeries(bars);
    c->addSeries(kwh);
    c->addSeries(price);
    AddAxes(c, bars, kwh, labels, moneyAxisTitle, {moneyMin, moneyMax}, kwhMax);
    price->attachAxis(c->axes(Qt::Horizontal).first());
    price->attachAxis(c->axes(Qt::Vertical).first());
    QChart* old = chart();
    setChart(c);
    delete old;
    connect(bars, &QBarSeries::hovered, this,
            [this](bool on, int index, QBarSet*) { ShowTip(on, index); });
    connect(kwh, &QLineSeries::hovered, this, [this](const QPointF& p, bool on) {
        ShowTip(on, static_cast<int>(std::lround(p.x())));
    });
}

// The period axis under the bars, money on the left, kWh on the right.
void ChartView::AddAxes(QChart* c, QBarSeries* bars, QLineSeries* kwh, const QStringList& labels,
                        const QString& moneyAxisTitle, std::pair<double, double> moneyRange,
                        double kwhMax) {
    const auto [moneyMin, moneyMax] = moneyRange;
    auto* x = new QBarCategoryAxis;
    x->append(labels);
    if (labels.size() > 12) {
        x->setLabelsAngle(-90);
    }
    auto* money = new QValueAxis;
    money->setTitleText(moneyAxisTitle);
    money->setRange(moneyMin, moneyMax > moneyMin ? moneyMax * 1.1 : moneyMin + 1);
    money->setLabelFormat(QStringLiteral("%.2f"));
    auto* energy = new QValueAxis;
    energy->setTitleText(QStringLiteral("kWh a day"));
    energy->setRange(0, kwhMax > 0 ? kwhMax * 1.1 : 1);
    energy->setLabelFormat(QStringLiteral("%.1f"));
    money->applyNiceNumbers();
    energy->applyNiceNumbers();
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(money, Qt::AlignLeft);
    c->addAxis(energy, Qt::AlignRight);
    bars->attachAxis(x);
    bars->attachAxis(money);
    kwh->attachAxis(x);
    kwh->attachAxis(energy);
}

} // namespace

extern "C" Q_DECL_EXPORT THistoryChart* VoltiskCreateHistoryChart(QWidget* parent) {
    return new ChartView(parent);
}
