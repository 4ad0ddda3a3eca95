#include "plans/page/planstab.h"

#include "app/tform1.h"
#include "app/view/formview.h"
#include "app/view/lazytab.h"
#include "app/view/qtfiledialogs.h"
#include "history/historysession.h"
#include "history/page/historyhook.h"
#include "history/page/historypage.h"
#include "plans/page/planspage.h"
#include "plans/page/plansprint.h"

#include "plans/editor/planeditordialog.h"
#include "plans/planstore.h"
#include "plans/tariffplanstore.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// "My plan" is a setting of the household, kept beside the window's, by name.
QString ReadMyPlan(TForm1& model) {
    return model.IniSettings1->readstring(QStringLiteral("MyPlan"), QString(),
                                          QStringLiteral("ComparePlans"));
}
void WriteMyPlan(TForm1& model, const QString& name) {
    model.IniSettings1->writestring(QStringLiteral("MyPlan"), name, QStringLiteral("ComparePlans"));
}

// "New plan…" and "Edit plan…": the tariff plan editor on a plan of the
// history file's tariff plans. The flat plans' copies among them are not
// offered: the flat plans are edited on the page, which keeps their copies in
// step. An edited plan is replaced where it stands in one transaction, so a
// refused save keeps the old plan; a renamed plan stays "my plan" when it was.
void OpenPlanEditor(QWidget* parent, TForm1& model, THistoryStore& history, bool create) {
    TariffPlanStore store(history.Database());
    const QStringList flat = PlanStore(history.Database()).Names();
    QList<StoredTariffPlan> plans;
    QStringList names, taken = flat; // every name is taken but the edited plan's own
    for (const StoredTariffPlan& p : store.Plans()) {
        if (!flat.contains(p.plan.name, Qt::CaseInsensitive)) {
            plans.append(p);
            names.append(p.plan.name);
        }
    }
    TariffPlan plan;
    plan.zone = TariffZone::Local;
    int index = -1;
    if (!create) {
        if (plans.isEmpty()) {
            model.Platform().dialogs.ShowMessage(
                QStringLiteral("No tariff plan is stored yet: make one with New plan\u2026"));
            return;
        }
        bool ok = false;
        const QString chosen = QInputDialog::getItem(parent, QStringLiteral("Edit plan"),
                                                     QStringLiteral("Plan:"), names, 0, false, &ok);
        if (!ok) {
            return;
        }
        index = static_cast<int>(names.indexOf(chosen));
        plan = plans[index].plan;
        names.removeAt(index);
    }
    taken += names;
    const std::optional<TariffPlan> edited = EditTariffPlan(
        parent, create ? QStringLiteral("New plan") : QStringLiteral("Edit plan"), plan, taken);
    if (!edited) {
        return;
    }
    if (index < 0) {
        store.Add(*edited);
        return;
    }
    store.Update(plans[index].id, *edited);
    const QString oldName = plans[index].plan.name;
    const QString newName = edited->name.simplified();
    if (newName != oldName && ReadMyPlan(model) == oldName) {
        WriteMyPlan(model, newName);
    }
}

} // namespace

TPlansTab::TPlansTab(QTabWidget* tabs, TForm1& model, std::function<THistoryStore&()> openStore,
                     std::function<std::optional<DatePair>()> selectedInHistory)
    : model_(model), openStore_(std::move(openStore)),
      selectedInHistory_(std::move(selectedInHistory)),
      lazy_(new TLazyTab(tabs, model.Platform().dialogs, QStringLiteral("comparets"),
                         QStringLiteral("Compare plans"), QStringLiteral("planfault"), 4, this)),
      tab_(lazy_->Tab()) {
    lazy_->SetPage([this](QVBoxLayout* layout, TFaultLine& fault) { Build(layout, fault); },
                   [this] { Read(); });
}

TPlansTab::~TPlansTab() = default;

QWidget* TPlansTab::Tab() const {
    return tab_;
}

void TPlansTab::Build(QVBoxLayout* layout, TFaultLine& fault) {
    source_ = std::make_unique<THistoryPlanSource>(openStore_);
    presenter_ = std::make_unique<TPlansPresenter>(model_, *source_, model_.Platform().dialogs);
    // "My plan" is a setting of the household, kept beside the window's.
    TTariffPresenter::MyPlanSetting mine{
        [this] { return ReadMyPlan(model_); },
        [this](const QString& name) { WriteMyPlan(model_, name); }};
    tariffs_ = std::make_unique<TTariffPresenter>(model_, *presenter_, *source_, mine);
    if (!files_) {
        ownFiles_ = std::make_unique<QtFileDialogs>();
        files_ = ownFiles_.get();
    }
    page_ = new TPlansPage(*presenter_, *tariffs_, *files_, model_, fault, tab_);
    layout->addWidget(page_);
    auto* editorButtons = new QHBoxLayout;
    for (const bool create : {true, false}) {
        auto* button = new QPushButton(
            create ? QStringLiteral("New plan\u2026") : QStringLiteral("Edit plan\u2026"), tab_);
        button->setObjectName(create ? QStringLiteral("newplan") : QStringLiteral("editplan"));
        connect(button, &QPushButton::clicked, this, [this, create] {
            model_.Guard([&] { OpenPlanEditor(tab_, model_, openStore_(), create); });
            page_->Refresh();
        });
        editorButtons->addWidget(button);
    }
    editorButtons->addStretch();
    layout->addLayout(editorButtons);
    layout->addWidget(PrintButtons(
        tab_, model_,
        [this] { return ComparisonPage(*presenter_, ChartPicture(page_), tariffs_.get()); },
        QStringLiteral("voltisk-plans.pdf"), "plans"));
}

void TPlansTab::Read() {
    page_->Refresh();
    const std::optional<DatePair> selected =
        selectedInHistory_ ? selectedInHistory_() : std::nullopt;
    if (selected && selected != lastHistorySelection_) {
        page_->ChooseStoredPeriod(selected->first, selected->second);
    }
    lastHistorySelection_ = selected;
}

TPlansTab* AddPlansPage(TFormView& view, THistoryHook& history) {
    THistorySession& session = history.Session();
    auto openStore = [&session]() -> THistoryStore& { return session.OpenStore(); };
    auto selected = [&session] { return session.Selected(); };
    auto* tab = new TPlansTab(view.findChild<QTabWidget*>(), view.Model(), openStore, selected);
    tab->setParent(&view);
    return tab;
}
