#pragma once
// The "Compare plans" page: lays out what TPlansPresenter works out (the
// period choice, the comparison table, the plan form with its messages, the
// year at a glance with its bar chart) and forwards the user's actions to it.
// It holds no figures of its own: after every action it reads the presenter
// again. Errors of an action reach the standard error box through the window
// model's Guard.

#include "plans/planspresenter.h"
#include "plans/tariffpresenter.h"

#include <QThreadPool>
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTableView;
class TFaultLine;
class TFileDialogs;
class TForm1;
class TPlansChart;
class TPlanTableModel;
class TTariffTableModel;

class TPlansPage : public QWidget {
public:
    // The history file's fault goes to `fault`, the tab's fault line.
    TPlansPage(TPlansPresenter& presenter, TTariffPresenter& tariffs, TFileDialogs& files,
               TForm1& model, TFaultLine& fault, QWidget* parent = nullptr);
    // Waits for pricing still running off the window's thread.
    ~TPlansPage() override;

    // Reads the readings page and the history again and shows the result.
    void Refresh();
    // Compares the stored period with these dates, as if chosen in the list.
    void ChooseStoredPeriod(QDate from, QDate to);
    // Whether the tariff plans are still being priced off the window's thread.
    bool PricingPending() const { return pending_ != 0; }

private:
    QWidget* BuildComparison();
    QWidget* BuildEditor();
    QLayout* BuildButtons(QWidget* box);
    QWidget* BuildYear();
    QWidget* BuildTariffs();
    void PriceTariffs();
    void ShowTariffs();
    void ShowTariffDetail();
    void ImportPlan();
    void ExportPlan();
    int SelectedTariff() const;
    void Show();
    void ShowTable();
    void ShowYear();
    void ShowErrors(const QList<PlanFieldError>& errors);
    void LoadEditor(int row);
    PlanTexts EditorTexts() const;
    int SelectedRow() const;
    void SelectRow(int row);
    template <class F> void Act(F&& f);

    TPlansPresenter& presenter_;
    TTariffPresenter& tariffs_;
    TFileDialogs& files_;
    TForm1& model_;
    TFaultLine& fault_; // the tab's: the history file's fault
    QCheckBox* useMeter_ = nullptr;
    QDateEdit *meterFrom_ = nullptr, *meterTo_ = nullptr;
    QLabel *tariffBasis_ = nullptr, *tariffNotice_ = nullptr, *tariffNote_ = nullptr;
    QLabel* tariffYear_ = nullptr;
    QTableView* tariffTable_ = nullptr;
    TTariffTableModel* tariffModel_ = nullptr;
    QTableView* breakdown_ = nullptr;
    TPlanTableModel* breakdownModel_ = nullptr;
    QPushButton *exportPlan_ = nullptr, *markMine_ = nullptr;
    QString selectedTariff_; // the plan selected in the tariff table, by name
    QThreadPool pool_;       // the pricing off the window's thread
    int generation_ = 0;     // the latest pricing asked for; older results are dropped
    int pending_ = 0;
    QComboBox* period_ = nullptr;
    QLabel *notice_ = nullptr, *cheapest_ = nullptr;
    QTableView* table_ = nullptr;
    TPlanTableModel* tableModel_ = nullptr;
    std::array<QLineEdit*, 7> fields_{};
    std::array<QLabel*, 7> errors_{};
    QCheckBox* taxOnIncome_ = nullptr;
    QPushButton *save_ = nullptr, *duplicate_ = nullptr, *delete_ = nullptr;
    QLabel* yearSummary_ = nullptr;
    QTableView* yearTable_ = nullptr;
    TPlanTableModel* yearModel_ = nullptr;
    TPlansChart* chart_ = nullptr; // null without the chart module
    bool showing_ = false;
};
