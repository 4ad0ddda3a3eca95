#include "app/view/planstab.h"

#include "app/tform1.h"
#include "app/view/planspage.h"

#include <QTabWidget>
#include <QVBoxLayout>

TPlansTab::TPlansTab(QTabWidget* tabs, TForm1& model, std::function<THistoryStore&()> openStore)
    : tabs_(tabs), model_(model), openStore_(std::move(openStore)), tab_(new QWidget) {
    tab_->setObjectName(QStringLiteral("comparets"));
    tabs_->addTab(tab_, QStringLiteral("Compare plans"));
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (tabs_->widget(index) == tab_) {
            Shown();
        }
    });
}

TPlansTab::~TPlansTab() = default;

void TPlansTab::Shown() {
    if (!page_) {
        source_ = std::make_unique<THistoryPlanSource>(openStore_);
        presenter_ =
            std::make_unique<TPlansPresenter>(model_, *source_, *model_.Platform().dialogs);
        page_ = new TPlansPage(*presenter_, model_, tab_);
        auto* layout = new QVBoxLayout(tab_);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addWidget(page_);
    }
    page_->Refresh();
}
