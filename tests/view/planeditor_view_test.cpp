// "New plan…" and "Edit plan…" on the Compare plans page open the plan editor
// and store what it saves among the tariff plans; an edit replaces the plan.
#include "app/view/formview.h"
#include "history/historystore.h"
#include "plans/editor/planeditordialog.h"
#include "plans/page/planstab.h"
#include "plans/planstore.h"
#include "plans/tariffplanstore.h"
#include "support/formfixture.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Types into the open editor's field and saves it.
void TypeInEditorAndSave(const char* field, const char* text) {
    auto* dialog = dynamic_cast<PlanEditorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(field));
    edit->setText(QString::fromLatin1(text));
    emit edit->editingFinished();
    dialog->accept();
}

} // namespace

TEST(PlanEditorHook, NewThenEditStoresThroughTheTariffPlans) {
    FormFixture fx;
    TForm1& form = fx.Make(false);
    TFormView view(form);
    THistoryStore store{HistoryFileName()};
    auto* tabs = view.findChild<QTabWidget*>();
    TPlansTab tab(tabs, form, [&store]() -> THistoryStore& {
        if (!store.IsOpen()) {
            store.Open();
        }
        return store;
    });
    form.Show();
    view.show();
    tabs->setCurrentWidget(tab.Tab());
    QApplication::processEvents();

    QTimer::singleShot(0, [] { TypeInEditorAndSave("editorname", "Evening Saver"); });
    QTest::mouseClick(view.findChild<QPushButton*>("newplan"), Qt::LeftButton);
    QTimer::singleShot(0, [] {
        auto* choose = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(choose, nullptr);
        QTimer::singleShot(0, [] { TypeInEditorAndSave("editortax", "12.5"); });
        choose->accept();
    });
    QTest::mouseClick(view.findChild<QPushButton*>("editplan"), Qt::LeftButton);

    const QList<StoredTariffPlan> plans = TariffPlanStore(store.Database()).Plans();
    ASSERT_EQ(plans.size(), 1);
    EXPECT_EQ(plans[0].plan.name, "Evening Saver");
    EXPECT_EQ(plans[0].plan.taxPercent, 12.5);
}

// A renamed plan keeps its place in the list, and "my plan" follows it; a
// flat plan's copy is not offered (the page edits the flat plans).
TEST(PlanEditorHook, ARenamedPlanKeepsItsPlaceAndMyPlan) {
    FormFixture fx;
    TForm1& form = fx.Make(false);
    TFormView view(form);
    THistoryStore store{HistoryFileName()};
    store.Open();
    PlanStore(store.Database()).Add("Flat", {1, 0.3, 0, 0, 0, 10, false}); // not offered
    TariffPlanStore(store.Database()).Add(FlatTariffPlan("Evening Saver", 1, 0.3, 0, 0, 0, 0, 0));
    TariffPlanStore(store.Database()).Add(FlatTariffPlan("Day Plan", 1, 0.3, 0, 0, 0, 0, 0));
    form.IniSettings1->writestring("MyPlan", "Evening Saver", "ComparePlans");
    auto* tabs = view.findChild<QTabWidget*>();
    TPlansTab tab(tabs, form, [&store]() -> THistoryStore& { return store; });
    form.Show();
    view.show();
    tabs->setCurrentWidget(tab.Tab());
    QApplication::processEvents();
    QTimer::singleShot(0, [] {
        QTimer::singleShot(0, [] { TypeInEditorAndSave("editorname", "Night Owl"); });
        qobject_cast<QInputDialog*>(QApplication::activeModalWidget())->accept();
    });
    QTest::mouseClick(view.findChild<QPushButton*>("editplan"), Qt::LeftButton);

    const QList<StoredTariffPlan> plans = TariffPlanStore(store.Database()).Plans();
    ASSERT_EQ(plans.size(), 3);
    EXPECT_EQ(plans[0].plan.name, "Flat");
    EXPECT_EQ(plans[1].plan.name, "Night Owl");
    EXPECT_EQ(plans[2].plan.name, "Day Plan");
    EXPECT_EQ(form.IniSettings1->readstring("MyPlan", "", "ComparePlans"), "Night Owl");
}
