#pragma once
// The editors of one part's rates, shown by the plan editor dialog for a
// tariff period's usage, the controlled load and the feed-in: a single rate
// with its steps, or time-of-use windows in a table (type, days, start, end,
// rate) with the steps of the selected row's rate and the week grid. Every
// edit goes to PlanEditorPresenter; a refused text is reported through
// `report` and the cell shows the plan's value again; `changed` follows every
// edit.

#include "plans/editor/planeditorpresenter.h"

#include <QWidget>

#include <functional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QStackedWidget;
class QTableWidget;
class WeekGridWidget;

class StepsEditor : public QWidget {
public:
    using Report = std::function<void(const QString&)>;
    StepsEditor(PlanEditorPresenter& presenter, Report report, QWidget* parent = nullptr);

    // Edits the steps of `rate` of `part` (-1: the single rate).
    void SetTarget(RatePart part, int rate);
    void Refresh();

private:
    PlanEditorPresenter& presenter_;
    Report report_;
    RatePart part_;
    int rate_ = -1;
    QTableWidget* table_;
    QComboBox* period_;
};

class RateBlockEditor : public QWidget {
public:
    RateBlockEditor(PlanEditorPresenter& presenter, StepsEditor::Report report,
                    const QString& timeOfUseText, QWidget* parent = nullptr);

    void SetPart(RatePart part);
    void Refresh();
    WeekGridWidget* Grid() const { return grid_; }
    QTableWidget* WindowsTable() const { return windows_; }

private:
    void RefreshWindows();
    void SelectRow(int row);
    int SelectedRow() const;
    void Edited(int row, int column);

    PlanEditorPresenter& presenter_;
    StepsEditor::Report report_;
    RatePart part_;
    QButtonGroup* mode_;
    QStackedWidget* pages_;
    StepsEditor* single_;
    QTableWidget* windows_;
    QLabel* stepsOf_;
    StepsEditor* touSteps_;
    WeekGridWidget* grid_;
};
