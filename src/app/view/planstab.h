#pragma once
// The "Compare plans" tab after the described pages. Only an empty tab exists
// at start-up: the page, its presenter and the plan source (and so the
// history file) are made when the tab is first shown, and the page reads the
// readings page and the history again each time it is shown.

#include "app/historyplansource.h"
#include "app/planspresenter.h"

#include <QObject>
#include <functional>
#include <memory>

class QTabWidget;
class QWidget;
class TForm1;
class TPlansPage;

class TPlansTab : public QObject {
public:
    // `openStore` gives the open history store, opening it on first call.
    TPlansTab(QTabWidget* tabs, TForm1& model, std::function<THistoryStore&()> openStore);
    ~TPlansTab() override;

    QWidget* Tab() const { return tab_; }
    // Null until the tab is first shown.
    TPlansPage* Page() const { return page_; }
    TPlansPresenter* Presenter() const { return presenter_.get(); }

private:
    void Shown();

    QTabWidget* tabs_;
    TForm1& model_;
    std::function<THistoryStore&()> openStore_;
    QWidget* tab_;
    std::unique_ptr<THistoryPlanSource> source_;
    std::unique_ptr<TPlansPresenter> presenter_;
    TPlansPage* page_ = nullptr;
};
