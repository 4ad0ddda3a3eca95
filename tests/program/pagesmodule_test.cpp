// The pages' module as the program loads it: this test program is linked as
// the program is (the window's code exported, none of the pages'), so the
// module built beside it must find all it needs here and add working pages.
#include "app/view/deferredpages.h"
#include "app/view/formview.h"
#include "support/formfixture.h"
#include "support/testenv.h"

#include <QApplication>
#include <QTabWidget>
#include <gtest/gtest.h>

TEST(PagesModule, ThePagesComeFromItAndAreBuiltWhenShown) {
    SetPagesModulePath(QStringLiteral(VOLTISK_PAGES_MODULE));
    FormFixture fx;
    FakeFileDialogs files;
    TForm1& form = fx.Make(false);
    TFormView view(form);
    TDeferredPages deferred(view, fx.dialogs, files,
                            TestEnv::DataDir() + QStringLiteral("/history.sqlite"));
    form.Show();
    view.show();
    auto* tabs = view.findChild<QTabWidget*>();
    const std::pair<const char*, const char*> pages[] = {
        {"usagets", "usagepage"}, {"history", "historytable"}, {"comparets", "plantable"}};
    for (const auto& [tab, part] : pages) {
        SCOPED_TRACE(tab);
        tabs->setCurrentWidget(tabs->findChild<QWidget*>(tab));
        QApplication::processEvents();
        ASSERT_NE(deferred.Pages(), nullptr);
        EXPECT_NE(tabs->findChild<QWidget*>(part), nullptr);
    }
    EXPECT_EQ(tabs->count(), 6);
    EXPECT_EQ(view.findChild<QWidget*>("pagesfault"), nullptr);
}
