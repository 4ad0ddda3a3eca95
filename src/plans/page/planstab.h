#pragma once
// The "Compare plans" tab after "History". Only an empty tab exists at
// start-up: the page, its presenter, the chart module and the history file
// are reached when the tab is first shown, and the page reads the readings
// page and the history again each time it is shown. When the History page
// has a period selected that was not offered before, the comparison switches
// to it.

#include "plans/historyplansource.h"
#include "plans/planspresenter.h"
#include "plans/tariffpresenter.h"

#include <QDate>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QTabWidget;
class TFileDialogs;
class QWidget;
class TForm1;
class TFormView;
class THistoryHook;
class TLazyTab;
class TPlansPage;
class TFaultLine;
class QVBoxLayout;

class TPlansTab : public QObject {
public:
    using DatePair = std::pair<QDate, QDate>;
    // `openStore` gives the open history store (opening it on first call);
    // `selectedInHistory` the dates of the period selected on the History
    // page, if any.
    TPlansTab(QTabWidget* tabs, TForm1& model, std::function<THistoryStore&()> openStore,
              std::function<std::optional<DatePair>()> selectedInHistory = {});
    ~TPlansTab() override;

    QWidget* Tab() const;
    TLazyTab& Lazy() const { return *lazy_; }
    // Null until the tab is first shown.
    TPlansPage* Page() const { return page_; }
    TPlansPresenter* Presenter() const { return presenter_.get(); }
    TTariffPresenter* Tariffs() const { return tariffs_.get(); }
    // The file dialogs of Import plan… and Export plan…; Qt's own unless set
    // before the tab is first shown.
    void SetFileDialogs(TFileDialogs& files) { files_ = &files; }

private:
    void Build(QVBoxLayout* layout, TFaultLine& fault);
    void Read();

    TForm1& model_;
    std::function<THistoryStore&()> openStore_;
    std::function<std::optional<DatePair>()> selectedInHistory_;
    std::optional<DatePair> lastHistorySelection_;
    TLazyTab* lazy_;
    QWidget* tab_;
    std::unique_ptr<THistoryPlanSource> source_;
    std::unique_ptr<TPlansPresenter> presenter_;
    std::unique_ptr<TTariffPresenter> tariffs_;
    std::unique_ptr<TFileDialogs> ownFiles_;
    TFileDialogs* files_ = nullptr;
    TPlansPage* page_ = nullptr;
};

// The one call the program makes, after AddHistoryPage: the tab shares the
// History page's store and follows its selection. The tab belongs to the view.
TPlansTab* AddPlansPage(TFormView& view, THistoryHook& history);
