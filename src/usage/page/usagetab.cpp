#include "usage/page/usagetab.h"

#include "app/tform1.h"
#include "app/view/deferredpages.h"
#include "app/view/formview.h"
#include "app/view/lazytab.h"
#include "history/page/historyhook.h"
#include "usage/page/usagepage.h"

#include <QTabWidget>
#include <QVBoxLayout>

TUsageTab::TUsageTab(QTabWidget* tabs, TReadingsPage& readings, THistorySession& session,
                     TDialogs& dialogs, TFileDialogs& files)
    : readings_(readings), session_(session), dialogs_(dialogs), files_(files),
      lazy_(new TLazyTab(tabs, dialogs, QStringLiteral("usagets"), QStringLiteral("Usage"),
                         QStringLiteral("usagefault"), 4, this)) {
    lazy_->SetPage([this](QVBoxLayout* layout, TFaultLine& fault) { Build(layout, fault); },
                   [this] { page_->Refresh(); });
}

TUsageTab::~TUsageTab() = default;

QWidget* TUsageTab::Tab() const {
    return lazy_->Tab();
}

void TUsageTab::Build(QVBoxLayout* layout, TFaultLine& fault) {
    presenter_ = std::make_unique<TUsagePresenter>(readings_, session_, dialogs_);
    page_ = new TUsagePage(*presenter_, readings_, files_, Tab(), &fault);
    layout->addWidget(page_);
}

void TUsageTab::ImportFile(const QString& path) {
    lazy_->Show();
    if (page_) {
        page_->ImportFile(path);
    }
}

void TUsageTab::TakeDropsOn(QWidget* window) {
    new TFileDropTarget(window, [this](const QString& path) { ImportFile(path); }, this);
}

TUsageTab* AddUsagePage(TFormView& view, THistoryHook& history, TFileDialogs& files) {
    TForm1& model = view.Model();
    auto* tab = new TUsageTab(view.findChild<QTabWidget*>(), model, history.Session(),
                              model.Platform().dialogs, files);
    tab->setParent(&view);
    tab->TakeDropsOn(&view);
    return tab;
}
