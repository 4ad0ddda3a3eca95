#pragma once
// The Usage page's widgets over TUsagePresenter: the meters and channels,
// the date range with its quick choices, "Import meter data…", "Add to
// history…", the figures and the three charts. Meter identifiers and channel
// names are shown as plain text everywhere.

#include "usage/usagepresenter.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QFormLayout;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class TFaultLine;
class TFileDialogs;
class TDailyChart;
class THeatMap;
class TTypicalDay;

class TUsagePage : public QWidget {
public:
    // The meter data's fault goes to `fault`, the tab's fault line; without
    // one the page keeps its own at its top.
    TUsagePage(TUsagePresenter& presenter, TReadingsPage& readings, TFileDialogs& files,
               QWidget* parent = nullptr, TFaultLine* fault = nullptr);

    // Reads the data again and shows it.
    void Refresh();
    // Runs the import dialog for a file; true when something was stored.
    bool ImportFile(const QString& path);
    // Asks for a file, then as ImportFile.
    void ChooseAndImport();

    // The shown figure text under a label ("Total import"), for tests.
    QString FigureText(const QString& label) const;
    QTreeWidget* ChannelList() const { return channels_; }
    QComboBox* MeterChoice() const { return meter_; }
    QComboBox* SpanChoice() const { return span_; }
    // What colours the heat map: "By use" or a time-of-use plan.
    QComboBox* HeatMapColouring() const { return colourBy_; }
    THeatMap* HeatMap() const { return heatMap_; }

private:
    void Show();
    void RangeEdited();

    TUsagePresenter& presenter_;
    TReadingsPage& readings_;
    TFileDialogs& files_;
    bool showing_ = false;
    TFaultLine* fault_;
    QComboBox* meter_;
    QComboBox* span_;
    QComboBox* colourBy_;
    QDateEdit* from_;
    QDateEdit* to_;
    QPushButton* import_;
    QPushButton* addToHistory_;
    QLabel* note_;
    QTreeWidget* channels_;
    QFormLayout* figures_;
    QTabWidget* charts_;
    TDailyChart* daily_;
    THeatMap* heatMap_;
    TTypicalDay* typical_;
};
