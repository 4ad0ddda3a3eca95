#pragma once
// The "Compare plans" page: lays out what TPlansPresenter works out (the
// period choice, the comparison table, the plan form with its messages, the
// year at a glance with its bar chart) and forwards the user's actions to it.
// It holds no figures of its own: after every action it reads the presenter
// again. Errors of an action reach the standard error box through the window
// model's Guard.

#include "plans/planspresenter.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;
class TForm1;
class TPlansChart;

class TPlansPage : public QWidget {
public:
    TPlansPage(TPlansPresenter& presenter, TForm1& model, QWidget* parent = nullptr);

    // Reads the readings page and the history again and shows the result.
    void Refresh();
    // Compares the stored period with these dates, as if chosen in the list.
    void ChooseStoredPeriod(QDate from, QDate to);

private:
    QWidget* BuildComparison();
    QWidget* BuildEditor();
    QLayout* BuildButtons(QWidget* box);
    QWidget* BuildYear();
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
    TForm1& model_;
    QComboBox* period_ = nullptr;
    QLabel *fault_ = nullptr, *notice_ = nullptr, *cheapest_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::array<QLineEdit*, 7> fields_{};
    std::array<QLabel*, 7> errors_{};
    QCheckBox* taxOnIncome_ = nullptr;
    QPushButton *save_ = nullptr, *duplicate_ = nullptr, *delete_ = nullptr;
    QLabel* yearSummary_ = nullptr;
    QTableWidget* yearTable_ = nullptr;
    TPlansChart* chart_ = nullptr; // null without the chart module
    bool showing_ = false;
};
