// The History and Compare plans pages share one history file in the real
// window: whichever page is shown first opens it, and the other shows the same
// periods and the same fault.

#include "app/view/formview.h"
#include "app/view/lazytab.h"
#include "history/historystore.h"
#include "history/page/historyhook.h"
#include "plans/page/planstab.h"
#include "storage/historyerror.h"
#include "support/formfixture.h"
#include "support/unprivileged.h"
#include "usage/page/usagetab.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

constexpr int HistoryTab = 3;
constexpr int PlansTab = 4;

// A history of two periods at the worked example's tariff, closed.
void MakeHistory(const QString& file) {
    PeriodInputs in;
    in.generalDailyCharge = "1.00";
    in.generalRate = "0.25";
    in.generalBefore = "1000";
    in.generalAfter = "1300";
    THistoryStore store(file);
    store.Open();
    for (const auto& [from, to] : {std::pair(QDate(2026, 9, 8), QDate(2026, 10, 8)),
                                   std::pair(QDate(2026, 10, 8), QDate(2026, 11, 9))}) {
        store.Add(MakeHistoryPeriod(from, to, in, QLocale("en_US"), 2,
                                    QDateTime(to.startOfDay(Qt::UTC))));
    }
}

// The window as the program builds it, its pages chosen in `order`; what the
// History page then shows: "<rows>|<fault shown>|<add enabled>|<fault text>".
// A forked child must not paint (the raster engine's threads stay behind in
// the parent), so there the window is built but not put on the screen.
QByteArray ShowPages(FormFixture& fx, const QString& file, std::initializer_list<int> order,
                     bool onScreen = true) {
    FakeFileDialogs files;
    TForm1& form = fx.Make(false);
    TFormView view(form);
    THistoryHook* history = AddHistoryPage(view, fx.dialogs, files, file);
    AddPlansPage(view, *history);
    form.Show();
    if (onScreen) {
        view.show();
    }
    auto* tabs = view.findChild<QTabWidget*>();
    for (int tab : order) {
        tabs->setCurrentIndex(tab);
        QApplication::processEvents();
    }
    const auto* table = view.findChild<QTableView*>("historytable");
    const auto* fault = view.findChild<QLabel*>("historyfault");
    const auto* add = view.findChild<QPushButton*>("historyaddbtn");
    if (!table || !fault || !add) {
        return "the History page was not built";
    }
    return (QString::number(table->model()->rowCount()) + u'|' +
            (fault->isVisibleTo(&view) ? u'1' : u'0') + u'|' + (add->isEnabled() ? u'1' : u'0') +
            u'|' + fault->text())
        .toUtf8();
}

TEST(HistorySessionView, ComparePlansFirstThenHistoryListsTheStoredPeriods) {
    const Unprivileged::Dir dir;
    const QString file = dir.path() + QStringLiteral("/history.sqlite");
    MakeHistory(file);
    FormFixture fx;
    EXPECT_EQ(ShowPages(fx, file, {PlansTab, HistoryTab}), "2|0|1|");
}

TEST(HistorySessionView, AReadOnlyFileIsShownAsReadOnlyWhicheverPageOpenedIt) {
    const Unprivileged::Dir dir;
    const QString file = dir.path() + QStringLiteral("/history.sqlite");
    MakeHistory(file);
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0444), 0);
    for (const auto order : {std::initializer_list<int>{PlansTab, HistoryTab},
                             std::initializer_list<int>{HistoryTab, PlansTab, HistoryTab}}) {
        FormFixture fx;
        const QByteArray seen =
            Unprivileged::Run([&] { return ShowPages(fx, file, order, false); });
        EXPECT_TRUE(seen.startsWith("2|1|0|")) << seen.constData();
        EXPECT_TRUE(seen.contains("is read-only")) << seen.constData();
    }
}

// A damaged file: History, Compare plans and Usage each say so in the same
// words, in the fault line at the top of their tab.
TEST(HistorySessionView, EveryPageReportsAFileFaultTheSameWay) {
    const Unprivileged::Dir dir;
    const QString file = dir.path() + QStringLiteral("/history.sqlite");
    {
        QFile junk(file);
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("not a database at all");
    }
    FormFixture fx;
    FakeFileDialogs files;
    TForm1& form = fx.Make(false);
    TFormView view(form);
    THistoryHook* history = AddHistoryPage(view, fx.dialogs, files, file);
    TPlansTab* plans = AddPlansPage(view, *history);
    TUsageTab* usage = AddUsagePage(view, *history, files);
    form.Show();
    view.show();
    const struct {
        TLazyTab& tab;
        const char* faultName;
    } pages[] = {{history->Tab(), "historyfault"},
                 {plans->Lazy(), "planfault"},
                 {usage->Lazy(), "usagefault"}};
    const QString expected = HistoryFaultText(HistoryFault::Damaged, file);
    for (const auto& page : pages) {
        SCOPED_TRACE(page.faultName);
        page.tab.Show();
        QApplication::processEvents();
        ASSERT_NE(page.tab.Fault(), nullptr);
        auto* text = page.tab.Tab()->findChild<QLabel*>(QLatin1String(page.faultName));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->text(), expected);
        EXPECT_TRUE(text->isVisibleTo(&view));
        EXPECT_EQ(text->parentWidget(), page.tab.Fault());
        // First in the tab, above the page.
        EXPECT_EQ(page.tab.Tab()->layout()->itemAt(0)->widget(), page.tab.Fault());
    }
    EXPECT_TRUE(fx.dialogs.errors.isEmpty());
}

} // namespace
