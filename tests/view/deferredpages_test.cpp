// The History, Compare plans and Usage pages come with their module on first
// use: start-up makes only their tabs; the first tab shown, Ctrl+S or a
// dropped file loads it, once; a module that cannot be loaded is reported
// where the user looks and is tried again next time.
#include "app/view/deferredpages.h"
#include "app/view/formview.h"
#include "app/view/lazytab.h"
#include "program/pages.h"
#include "support/formfixture.h"
#include "support/testenv.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

TEST(DeferredPages, EachWayInLoadsThePagesOnceAndAFailureIsTriedAgain) {
    const QString cannot = QStringLiteral("This installation cannot show this page: not there");
    const struct {
        const char* way; // a tab's name, or "Ctrl+S"
        QString builtPart;
    } cases[] = {
        {"history", "historytable"},
        {"comparets", "plantable"},
        {"usagets", "usagepage"},
        {"Ctrl+S", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        FormFixture fx;
        FakeFileDialogs files;
        TForm1& form = fx.Make(false);
        form.dt1->SetDate(QDate(2026, 11, 8));
        form.dt2->UserSetDate(QDate(2026, 12, 8));
        TFormView view(form);
        int loads = 0;
        bool available = false;
        TDeferredPages deferred(
            view, fx.dialogs, files, TestEnv::DataDir() + QStringLiteral("/history.sqlite"),
            [&](QString* why) -> VoltiskAddPagesFn {
                ++loads;
                *why = QStringLiteral("not there");
                return available ? &AddPages : nullptr;
            });
        form.Show();
        view.show();
        QApplication::setActiveWindow(&view);
        auto* tabs = view.findChild<QTabWidget*>();
        ASSERT_EQ(tabs->count(), 6);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(tabs->widget(3 + i)->objectName(), kPageTabs[i].name);
            EXPECT_EQ(tabs->tabText(3 + i), kPageTabs[i].title);
        }
        const auto use = [&] {
            if (QWidget* tab = tabs->findChild<QWidget*>(c.way)) {
                tabs->setCurrentWidget(tab);
            } else {
                tabs->setCurrentIndex(0);
                QTest::keyClick(view.findChild<QLineEdit*>("Edit7"), Qt::Key_S,
                                Qt::ControlModifier);
            }
            QApplication::processEvents();
        };
        EXPECT_EQ(loads, 0);
        // Not there: the tab says so, a key says so in the error box.
        use();
        EXPECT_EQ(loads, 1);
        EXPECT_EQ(deferred.Pages(), nullptr);
        const auto* fault = view.findChild<QLabel*>("pagesfault");
        const bool byKey = c.builtPart.isEmpty();
        EXPECT_EQ(fault ? fault->text() : QString(), byKey ? QString() : cannot);
        EXPECT_EQ(fx.dialogs.errors, byKey ? QStringList{cannot + u'.'} : QStringList{});
        // There next time: the page is built in the same tab, whose fault
        // line went; later uses load nothing more.
        available = true;
        tabs->setCurrentIndex(0);
        use();
        EXPECT_EQ(loads, 2);
        EXPECT_NE(deferred.Pages(), nullptr);
        EXPECT_EQ(view.findChild<QLabel*>("pagesfault"), nullptr);
        if (c.builtPart.isEmpty()) {
            EXPECT_EQ(form.sb1->SimpleText(), QStringLiteral("    Period added to the history."));
        } else {
            EXPECT_NE(view.findChild<QWidget*>(c.builtPart), nullptr);
        }
        EXPECT_EQ(tabs->count(), 6);
        tabs->setCurrentIndex(0);
        use();
        EXPECT_EQ(loads, 2);
    }
}
