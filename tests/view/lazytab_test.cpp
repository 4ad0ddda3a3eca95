// A page built when first shown: a failure while building or reading reaches
// the error box (never the event loop), and a failed build is tried again.
#include "app/view/lazytab.h"
#include "mylib/errors.h"
#include "support/servicefakes.h"

#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(LazyTab, AFailureShowsTheErrorBoxAndAFailedBuildIsTriedAgain) {
    const struct {
        const char* name;
        bool buildFails, readFails;
        QStringList errors;
        bool builtAfterFirstShow;
    } cases[] = {
        {"build fails", true, false, {"Cannot build."}, false},
        {"read fails", false, true, {"Cannot read."}, true},
        {"both work", false, false, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDialogs dialogs;
        QTabWidget tabs;
        tabs.addTab(new QWidget, QStringLiteral("Readings"));
        QObject owner;
        TLazyTab tab(&tabs, dialogs, "sometab", "Some", "somefault", 0, &owner);
        int builds = 0, reads = 0;
        bool buildFails = c.buildFails;
        tab.SetPage(
            [&](QVBoxLayout* layout, TFaultLine&) {
                ++builds;
                if (buildFails) {
                    throw EVoltiskError(QStringLiteral("Cannot build"));
                }
                layout->addWidget(new QLabel(QStringLiteral("page")));
            },
            [&] {
                ++reads;
                if (c.readFails) {
                    throw EVoltiskError(QStringLiteral("Cannot read"));
                }
            });
        EXPECT_EQ(builds, 0);
        EXPECT_EQ(tab.Tab()->objectName(), "sometab");
        tabs.setCurrentIndex(1);
        EXPECT_EQ(dialogs.errors, c.errors);
        EXPECT_EQ(tab.Built(), c.builtAfterFirstShow);
        EXPECT_EQ(reads, c.builtAfterFirstShow ? 1 : 0);
        // Shown again after the cause went away: built once, read each time.
        buildFails = false;
        tabs.setCurrentIndex(0);
        tabs.setCurrentIndex(1);
        EXPECT_TRUE(tab.Built());
        EXPECT_EQ(builds, c.buildFails ? 2 : 1);
        EXPECT_EQ(reads, c.builtAfterFirstShow ? 2 : 1);
        ASSERT_NE(tab.Fault(), nullptr);
        EXPECT_TRUE(tab.Fault()->isHidden());
    }
}
