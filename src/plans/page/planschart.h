#pragma once
// The compare-plans page's bar chart of yearly totals. Like the History
// chart it lives in the chart module (historychart.h), loaded when the page is
// first shown, so start-up never loads Qt Charts.

#include <QLocale>
#include <QString>
#include <QWidget>
#include <vector>

struct PlansChartBar {
    QString name;
    double total = 0; // finite
};

class TPlansChart {
public:
    virtual ~TPlansChart() = default;
    // The chart's widget; its Qt parent owns it (and this object with it).
    virtual QWidget* Widget() = 0;
    // One bar across per entry, the first at the top; the amounts axis is
    // written in `locale`, the names as plain text.
    virtual void SetBars(const std::vector<PlansChartBar>& bars, const QLocale& locale) = 0;
};

// The module's entry point for this chart, VoltiskCreatePlansChart (extern "C").
using VoltiskCreatePlansChartFn = TPlansChart* (*)(QWidget* parent);

// Loads the module and makes a chart in `parent`; null when the module is
// missing or broken (`why` then says so).
TPlansChart* LoadPlansChart(QWidget* parent, QString* why = nullptr);
