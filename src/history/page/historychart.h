#pragma once
// The History page's chart. Qt Charts (with the OpenGL libraries it pulls in)
// lives in a module of its own, libvoltisk_historychart.so, loaded when the
// page is first shown, so the program's start-up never loads it.

#include <QDate>
#include <QLocale>
#include <QString>
#include <QWidget>
#include <vector>

struct HistoryChartPoint {
    QDate from, to; // the bar spans the days from `from` up to `to`
    double netPerDay = 0;
    double kwhPerDay = 0;
    double incomePerDay = 0;
    double pricePerKwh = 0; // without the daily charges
    QString tooltip;        // shown while the pointer is over the period
};

class THistoryChart {
public:
    virtual ~THistoryChart() = default;
    // The chart's widget; its Qt parent owns it (and this object with it).
    virtual QWidget* Widget() = 0;
    // On a date axis: net cost a day as a bar across each period's own days,
    // kWh a day as a line through the periods' middles on a second axis, and
    // income a day beside the net where any period has income, and the price a kWh as a line
    // on the money axis. Oldest first.
    // Axis labels are written in `locale`; every text is shown as plain text.
    virtual void SetPoints(const std::vector<HistoryChartPoint>& points,
                           const QString& moneyAxisTitle, const QLocale& locale) = 0;
};

// The module's one entry point, VoltiskCreateHistoryChart (extern "C").
using VoltiskCreateHistoryChartFn = THistoryChart* (*)(QWidget* parent);

// Loads the module and makes a chart in `parent`; null when the module is
// missing or broken (`why` then says so).
THistoryChart* LoadHistoryChart(QWidget* parent, QString* why = nullptr);

// A function of the chart module (any of its charts' entry points); null when
// the module is missing or broken (`why` then says so).
QFunctionPointer ResolveChartModule(const char* symbol, QString* why = nullptr);

// Where the module is looked for first (tests and benchmarks point at the
// build tree); by default the program's own folder, then the installed
// library folder.
void SetHistoryChartModulePath(const QString& path);
