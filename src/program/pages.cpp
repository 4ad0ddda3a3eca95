#include "program/pages.h"

#include "app/view/lazytab.h"
#include "history/page/historyhook.h"
#include "plans/page/planstab.h"
#include "usage/page/usagetab.h"

namespace {

class TAddedPages final : public TPages {
public:
    TAddedPages(THistoryHook* history, TPlansTab* plans, TUsageTab* usage)
        : history_(history), plans_(plans), usage_(usage) {}

    void Show(QWidget* tab) override {
        for (TLazyTab* lazy : {&history_->Tab(), &plans_->Lazy(), &usage_->Lazy()}) {
            if (lazy->Tab() == tab) {
                lazy->Show();
            }
        }
    }
    void AddCurrentPeriod() override { history_->AddCurrentPeriod(); }
    void ImportFile(const QString& path) override { usage_->ImportFile(path); }

private:
    // All three belong to the window, which outlives this object.
    THistoryHook* history_;
    TPlansTab* plans_;
    TUsageTab* usage_;
};

} // namespace

TPages* AddPages(TFormView& view, TDialogs& dialogs, TFileDialogs& files,
                 const QString& historyFile) {
    THistoryHook* history = AddHistoryPage(view, dialogs, files, historyFile);
    TPlansTab* plans = AddPlansPage(view, *history);
    TUsageTab* usage = AddUsagePage(view, *history, files);
    return new TAddedPages(history, plans, usage);
}
