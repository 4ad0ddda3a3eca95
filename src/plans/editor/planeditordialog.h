#pragma once
// The plan editor: a dialog over PlanEditorPresenter that edits every part of
// a retail plan (name, tax, time zone, tariff periods with their supply
// charge and rates, controlled load, feed-in, discounts). A line under the
// tabs names what stops the plan being saved; OK is refused while anything
// does (a gap or overlap in a week grid names its day and time).

#include "plans/editor/planeditorpresenter.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;
class RateBlockEditor;

class PlanEditorDialog : public QDialog {
public:
    // `takenNames`: the names of the other stored plans. Numbers are read and
    // written in the parent's locale.
    PlanEditorDialog(const TariffPlan& plan, const QStringList& takenNames,
                     QWidget* parent = nullptr);
    ~PlanEditorDialog() override;

    const TariffPlan& Plan() const { return presenter_.Plan(); }
    void accept() override;

private:
    QWidget* BuildSeasons();
    QWidget* BuildControlledLoad();
    QWidget* BuildFeedIn();
    QWidget* BuildDiscounts();
    void Report(const QString& refused);
    void ShowSeason(int season);
    void ShowSeasons();
    void ShowDiscounts();
    void ShowAll();

    PlanEditorPresenter presenter_;
    QLineEdit *name_, *tax_;
    QComboBox* zone_;
    QCheckBox* taxOnFeedIn_;
    QListWidget* seasons_ = nullptr;
    QLineEdit *seasonName_ = nullptr, *from_ = nullptr, *to_ = nullptr, *supply_ = nullptr;
    QComboBox* seasonZone_ = nullptr;
    RateBlockEditor* usage_ = nullptr;
    QCheckBox* controlled_ = nullptr;
    QLineEdit* controlledCharge_ = nullptr;
    RateBlockEditor* controlledRates_ = nullptr;
    QCheckBox* feedIn_ = nullptr;
    RateBlockEditor* feedInRates_ = nullptr;
    QTableWidget* discounts_ = nullptr;
    QLabel* problem_;
};

// Opens the editor on `plan` and returns the edited plan when the user saves
// it, nothing when cancelled.
std::optional<TariffPlan> EditTariffPlan(QWidget* parent, const QString& title,
                                         const TariffPlan& plan, const QStringList& takenNames);
