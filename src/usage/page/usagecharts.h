#pragma once
// The Usage page's three charts, painted with QPainter from a UsageSummary
// (no chart module: they are plain grids and lines):
// - TDailyChart: kWh a day, general and controlled load stacked above the
//   axis, export below it;
// - THeatMap: net kWh per half-hour (rows 00:00 to 23:30) and day (columns),
//   import warm, export cool, with its colour scale; or, given each cell's
//   rate type under a plan, the type as the hue and the use as the lightness
//   (darker: more kWh either way), with a legend of the types; hovering shows
//   the cell's day, time and kWh;
// - TTypicalDay: average kWh per half-hour of weekdays and of weekends.
// Each shows the summary it was last given; texts come from the caller.

#include "tariff/tariffplan.h"
#include "usage/usagefigures.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QPainter;

struct UsageChartTexts {
    std::function<QString(double kwh)> kwh;         // axis and legend numbers
    std::function<QString(int day)> day;            // column labels
    std::function<QString(int slot)> slot;          // row labels
    std::function<QString(int day, int slot)> cell; // the heat map's hover text
};

class TUsageChart : public QWidget {
public:
    explicit TUsageChart(QWidget* parent = nullptr);
    void Show(const UsageSummary* summary, UsageChartTexts texts);

protected:
    // The plotting area inside the axis labels.
    QRect PlotRect() const;
    const UsageSummary* summary_ = nullptr;
    UsageChartTexts texts_;
};

class TDailyChart : public TUsageChart {
public:
    using TUsageChart::TUsageChart;

protected:
    void paintEvent(QPaintEvent*) override;
};

class THeatMap : public TUsageChart {
public:
    explicit THeatMap(QWidget* parent = nullptr);
    // The day and half-hour under a point of the widget, if any.
    std::optional<std::pair<int, int>> CellAt(QPoint p) const;
    // The grid as one pixel per cell, coloured on the scale (rows are
    // half-hours from the top, columns days).
    // With `types` (one per cell, as RateTypeGrid gives them), coloured by
    // rate type.
    static QImage Picture(const UsageSummary& summary, const std::vector<qint8>* types = nullptr);
    static QColor Colour(float kwh, float importMax, float exportMax);
    // A rate type's colour at `share` (0..1) of the grid's highest kWh.
    static QColor TypeColour(RateType type, double share);
    // Colours by the cells' rate types; null or empty: by use. The vector
    // must outlive the next Show or SetRateTypes.
    void SetRateTypes(const std::vector<qint8>* types);

protected:
    void paintEvent(QPaintEvent*) override;
    bool event(QEvent* e) override;

private:
    QRect LegendRect() const;
    void TypeLegend(QPainter& p) const;

    const std::vector<qint8>* types_ = nullptr;
};

class TTypicalDay : public TUsageChart {
public:
    using TUsageChart::TUsageChart;

protected:
    void paintEvent(QPaintEvent*) override;
};
