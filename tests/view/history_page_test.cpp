// The History page in the real window, offscreen: built only when shown, the
// worked example added with the button and with Ctrl+S, read back from the
// real table and chart, and deleted after the confirmation.

#include "app/view/formview.h"
#include "history/historypresenter.h"
#include "history/historytablemodel.h"
#include "history/page/historychart.h"
#include "history/page/historyhook.h"
#include "history/page/historypage.h"
#include "support/formfixture.h"
#include "support/testenv.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using M = THistoryTableModel;

struct PageFixture {
    FormFixture fx;
    FakeFileDialogs files;
    TForm1* form = nullptr;
    std::unique_ptr<TFormView> view;
    THistoryHook* hook = nullptr;
    QString file = TestEnv::DataDir() + QStringLiteral("/BrindleSoftware/voltisk/history.sqlite");

    PageFixture() {
        form = &fx.Make(false);
        view = std::make_unique<TFormView>(*form);
        hook = AddHistoryPage(*view, fx.dialogs, files, file);
        form->Show();
        view->show();
        QApplication::setActiveWindow(view.get());
    }
    QTabWidget* Tabs() { return view->findChild<QTabWidget*>(); }
    void ShowHistory() {
        Tabs()->setCurrentIndex(3);
        QApplication::processEvents();
    }
    template <class W> W* Find(const char* name) {
        auto* w = view->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* button) {
        QPushButton* b = Find<QPushButton>(button);
        ASSERT_TRUE(b->isEnabled()) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // The worked example, typed into the real fields.
    void TypeWorkedExample() {
        form->dt1->SetDate(QDate(2026, 11, 8));
        form->dt2->UserSetDate(QDate(2026, 12, 8));
        const std::pair<const char*, const char*> fields[] = {
            {"Edit6", "1000"},
            {"Edit7", "1300"},
            {"Edit9", "500"},
            {"Edit10", "560"},
            {"generaldailyservicechargeed", "1.00"},
            {"generalrateed", "0.25"},
            {"hwdailyfixedchargeed", "0.20"},
            {"hwrateed", "0.15"}};
        for (const auto& [name, text] : fields) {
            auto* edit = Find<QLineEdit>(name);
            edit->selectAll();
            QTest::keyClicks(edit, QString::fromLatin1(text));
        }
    }
};

TEST(HistoryPage, ComesAfterHelpAndIsBuiltOnlyWhenShown) {
    PageFixture p;
    ASSERT_EQ(p.Tabs()->count(), 4);
    EXPECT_EQ(p.Tabs()->tabText(2), QStringLiteral("Help"));
    EXPECT_EQ(p.Tabs()->tabText(3), QStringLiteral("History"));
    // Typing on the readings page never touches the history.
    p.TypeWorkedExample();
    EXPECT_EQ(p.form->tresult->Caption(), QStringLiteral("$120.00"));
    EXPECT_EQ(p.hook->Page(), nullptr);
    EXPECT_EQ(p.view->findChild<QChartView*>(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(p.file));
    p.ShowHistory();
    ASSERT_NE(p.hook->Page(), nullptr);
    EXPECT_TRUE(QFileInfo::exists(p.file));
    EXPECT_EQ(p.Find<QLabel>("historysummary")->text(), QStringLiteral("No periods stored yet."));
    EXPECT_FALSE(p.Find<QWidget>("historyfault")->isVisibleTo(p.view.get()));
}

TEST(HistoryPage, TheWorkedExampleInTheTableAndTheChartThenDeleted) {
    PageFixture p;
    p.TypeWorkedExample();
    p.ShowHistory();
    p.Click("historyaddbtn");
    auto* table = p.Find<QTableView>("historytable");
    ASSERT_EQ(table->model()->rowCount(), 1);
    EXPECT_EQ(table->model()->index(0, M::Net).data().toString(), QStringLiteral("$120.00"));
    EXPECT_EQ(table->model()->index(0, M::NetPerDay).data().toString(), QStringLiteral("$4.00"));
    EXPECT_EQ(table->model()->index(0, M::From).data().toString(), QStringLiteral("11/8/2026"));

    auto* chart = p.view->findChild<QChartView*>();
    ASSERT_NE(chart, nullptr);
    const auto series = chart->chart()->series();
    ASSERT_EQ(series.size(), 3);
    auto* bars = qobject_cast<QBarSeries*>(series[0]);
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->barSets().size(), 1); // no income, no income bars
    ASSERT_EQ(bars->barSets()[0]->count(), 1);
    EXPECT_DOUBLE_EQ(bars->barSets()[0]->at(0), 4.0);
    auto* line = qobject_cast<QLineSeries*>(series[1]);
    ASSERT_NE(line, nullptr);
    ASSERT_EQ(line->count(), 1);
    EXPECT_DOUBLE_EQ(line->at(0).y(), 12.0);
    auto* price = qobject_cast<QLineSeries*>(series[2]); // (120 - 36) / 360 kWh
    ASSERT_NE(price, nullptr);
    EXPECT_NEAR(price->at(0).y(), 84.0 / 360.0, 1e-12);

    table->selectRow(0);
    EXPECT_TRUE(p.Find<QLabel>("historysummary")
                    ->text()
                    .endsWith(QStringLiteral(
                        "Selected period: the same as your 12-month average of $4.00 a day.")));
    // The bill typed for the selected period: $12.40 over, flagged; the
    // selection stays on it.
    QTest::keyClicks(p.Find<QLineEdit>("historybilled"), QStringLiteral("132.40"));
    p.Click("historysavebillbtn");
    EXPECT_EQ(table->model()->index(0, M::Billed).data().toString(), QStringLiteral("$132.40"));
    EXPECT_EQ(table->model()->index(0, M::Check).data().toString(), QStringLiteral("Check bill"));
    EXPECT_EQ(table->selectionModel()->selectedRows().size(), 1);
    p.fx.dialogs.answers = {true};
    p.Click("historydeletebtn");
    ASSERT_EQ(p.fx.dialogs.questions.size(), 1);
    EXPECT_EQ(p.fx.dialogs.questions[0],
              QStringLiteral("Delete the selected period from the history?"));
    EXPECT_EQ(table->model()->rowCount(), 0);
    // The chart was drawn again, without it.
    auto* after = qobject_cast<QBarSeries*>(chart->chart()->series().value(0));
    ASSERT_NE(after, nullptr);
    ASSERT_EQ(after->barSets().size(), 1);
    EXPECT_EQ(after->barSets()[0]->count(), 0);
}

TEST(HistoryPage, CtrlSAddsFromTheReadingsPage) {
    PageFixture p;
    p.TypeWorkedExample();
    QTest::keyClick(p.Find<QLineEdit>("Edit7"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(p.form->sb1->SimpleText(), QStringLiteral("    Period added to the history."));
    EXPECT_EQ(p.hook->Presenter().Model().rowCount(), 1);
    EXPECT_EQ(p.Tabs()->currentIndex(), 0); // still on the readings page
    p.ShowHistory();
    EXPECT_EQ(p.Find<QTableView>("historytable")->model()->rowCount(), 1);
}

TEST(HistoryPage, ADamagedFileShowsItsFaultAndTheWayOut) {
    PageFixture p;
    QDir().mkpath(QFileInfo(p.file).absolutePath());
    {
        QFile junk(p.file);
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("junk");
    }
    p.ShowHistory();
    auto* fault = p.Find<QLabel>("historyfault");
    EXPECT_TRUE(fault->isVisibleTo(p.view.get()));
    EXPECT_TRUE(fault->text().contains(QStringLiteral("is damaged and cannot be read")));
    EXPECT_FALSE(p.Find<QPushButton>("historyaddbtn")->isEnabled());
    p.fx.dialogs.answers = {true};
    p.Click("historynewbtn");
    EXPECT_FALSE(fault->isVisibleTo(p.view.get()));
    EXPECT_TRUE(p.Find<QPushButton>("historyaddbtn")->isEnabled());
}

} // namespace

namespace {

TEST(HistoryPage, WithoutItsChartModuleThePageStillWorksAndSaysWhy) {
    SetHistoryChartModulePath(TestEnv::DataDir() + QStringLiteral("/missing/chart.so"));
    QString why;
    QWidget parent;
    EXPECT_EQ(LoadHistoryChart(&parent, &why), nullptr);
    EXPECT_TRUE(why.startsWith(QStringLiteral("The chart could not be shown: ")))
        << why.toStdString();
    {
        PageFixture p;
        p.TypeWorkedExample();
        p.ShowHistory();
        EXPECT_EQ(p.view->findChild<QChartView*>(), nullptr);
        p.Click("historyaddbtn");
        EXPECT_EQ(p.Find<QTableView>("historytable")->model()->rowCount(), 1);
    }
    SetHistoryChartModulePath(QStringLiteral(VOLTISK_CHART_MODULE));
    QWidget other;
    THistoryChart* chart = LoadHistoryChart(&other);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->Widget()->parent(), &other);
}

} // namespace
