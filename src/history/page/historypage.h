#pragma once
// The History page: the ways out of a fault (beside the tab's fault line), the buttons, the bill of
// the selected period, the table, the chart, the summary line, why the selected period's cost
// changed (a sentence and two bars per comparison) and the forecast for the readings page's running
// period. It lays them out and forwards user actions to the presenter (history/historypresenter.h),
// and redraws when the presenter says its periods or its fault changed. It holds no state of its
// own.

#include <QWidget>

class TFaultLine;
class THistoryPresenter;
class THistoryChart;
class THistoryChangeBars;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QLayout;
class QPushButton;
class QTableView;

class THistoryPage : public QWidget {
public:
    // The chart shows the latest periods only; the table shows them all.
    static constexpr int ChartPeriods = 36;

    // The file's fault goes to `fault`, the tab's fault line.
    THistoryPage(THistoryPresenter& presenter, TFaultLine& fault, QWidget* parent = nullptr);

private:
    QPushButton* Button(const QString& text, const char* name);
    void BuildFaultButtons();
    QLayout* BuildButtons();
    QWidget* BuildBillPanel();
    void SaveBill();
    void showEvent(QShowEvent* event) override;
    QWidget* BuildTable(QWidget* parent);
    void Connect();
    void Refresh();
    void RefreshSelection();
    void RefreshChart();
    QList<int> SelectedRows() const;

    THistoryPresenter& presenter_;
    TFaultLine& fault_;
    QPushButton *add_, *open_, *delete_, *export_, *import_, *tryAgain_, *newHistory_, *backUp_,
        *restore_;
    QTableView* table_;
    THistoryChart* chart_ = nullptr;
    QLabel* summary_;
    QWidget* billPanel_;
    QLineEdit *billed_, *billReference_;
    QDateEdit* billDate_;
    QCheckBox *startEstimated_, *endEstimated_;
    QPushButton* saveBill_;
    QLabel *change_, *forecast_;
    THistoryChangeBars* changeBars_;
};
