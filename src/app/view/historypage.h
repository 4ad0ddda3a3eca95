#pragma once
// The History page: the fault panel, the buttons, the table, the chart and
// the summary line. It lays them out and forwards user actions to the
// presenter (app/historypresenter.h), and redraws when the presenter says
// its periods or its fault changed. It holds no state of its own.

#include <QWidget>

class THistoryPresenter;
class THistoryChart;
class QLabel;
class QLayout;
class QPushButton;
class QTableView;

class THistoryPage : public QWidget {
public:
    // The chart shows the latest periods only; the table shows them all.
    static constexpr int ChartPeriods = 36;

    THistoryPage(THistoryPresenter& presenter, QWidget* parent = nullptr);

private:
    QPushButton* Button(const QString& text, const char* name);
    QWidget* BuildFaultPanel();
    QLayout* BuildButtons();
    QWidget* BuildTable(QWidget* parent);
    void Connect();
    void Refresh();
    void RefreshSelection();
    void RefreshChart();
    QList<int> SelectedRows() const;

    THistoryPresenter& presenter_;
    QWidget* faultPanel_;
    QLabel* faultText_;
    QPushButton *add_, *open_, *delete_, *export_, *import_, *tryAgain_, *newHistory_, *backUp_,
        *restore_;
    QTableView* table_;
    THistoryChart* chart_ = nullptr;
    QLabel* summary_;
};
