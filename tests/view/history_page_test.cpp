// The History page in the real window, offscreen: built only when shown, the
// worked example added with the button and with Ctrl+S, read back from the
// real table and chart, and deleted after the confirmation.

#include "app/view/formview.h"
#include "history/historypresenter.h"
#include "history/historytablemodel.h"
#include "history/page/changebars.h"
#include "history/page/historychart.h"
#include "history/page/historyhook.h"
#include "history/page/historypage.h"
#include "support/focuswalk.h"
#include "support/formfixture.h"
#include "support/testenv.h"

#include <QApplication>
#include <QAreaSeries>
#include <QChartView>
#include <QDateTimeAxis>
#include <QGraphicsTextItem>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
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
    ASSERT_EQ(series.size(), 3); // net, kWh and price lines; no income, no income bars
    auto* bars = qobject_cast<QAreaSeries*>(series[0]);
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->upperSeries()->count(), 4); // one bar's corners
    EXPECT_DOUBLE_EQ(bars->upperSeries()->at(1).y(), 4.0);
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
              QStringLiteral("Delete the period from 11/8/2026 to 12/8/2026 (net $120.00) from "
                             "the history?"));
    EXPECT_EQ(table->model()->rowCount(), 0);
    // The chart was drawn again, without it.
    auto* after = qobject_cast<QAreaSeries*>(chart->chart()->series().value(0));
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->upperSeries()->count(), 0);
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

TEST(HistoryPage, WhyItChangedIsDrawnAsUseAndPriceBars) {
    PageFixture p;
    p.ShowHistory();
    // 322 kWh at $0.25 and $1.30 a day over 30 days, then 400 kWh at $0.26875
    // and $1.35 over 32 days a year later: +$31.20 = $22.10 use + $9.10 prices.
    const QLocale us(QStringLiteral("en_US"));
    auto add = [&](QDate from, QDate to, const char* kwh, const char* rate, const char* daily) {
        PeriodInputs in;
        in.showHotWater = false;
        in.generalBefore = QStringLiteral("0");
        in.generalAfter = QLatin1String(kwh);
        in.generalRate = QLatin1String(rate);
        in.generalDailyCharge = QLatin1String(daily);
        p.hook->Presenter().Store().Add(
            MakeHistoryPeriod(from, to, in, us, us, 2, QDateTime::currentDateTimeUtc()));
    };
    add(QDate(2025, 1, 1), QDate(2025, 1, 31), "322", "0.25", "1.30");
    add(QDate(2026, 1, 1), QDate(2026, 2, 2), "400", "0.26875", "1.35");
    p.hook->Session().Reload();
    auto* bars = dynamic_cast<THistoryChangeBars*>(p.Find<QWidget>("historychangebars"));
    ASSERT_NE(bars, nullptr);
    EXPECT_FALSE(bars->isVisibleTo(p.view.get()));
    p.Find<QTableView>("historytable")->selectRow(0); // the newer, sorted first
    QApplication::processEvents();                    // laid out for the bars
    // January 2025 is both the year before and the previous period.
    ASSERT_EQ(bars->Bars().size(), 2u);
    EXPECT_EQ(bars->Bars()[0].title, QStringLiteral("A year before: +$31.20"));
    EXPECT_EQ(bars->Bars()[1].title, QStringLiteral("The previous period: +$31.20"));
    EXPECT_NEAR(bars->Bars()[0].fromUse, 22.10, 1e-9);
    EXPECT_NEAR(bars->Bars()[0].fromPrices, 9.10, 1e-9);
    EXPECT_EQ(bars->Bars()[0].texts.useAmount, QStringLiteral("+$22.10"));
    EXPECT_EQ(bars->Bars()[0].texts.prices, QStringLiteral("$9.10 from higher prices"));
    EXPECT_TRUE(p.Find<QLabel>("historychange")->text().startsWith(bars->Bars()[0].sentence));
    // Drawn to scale from one zero line, in the colour of a rise.
    ASSERT_TRUE(bars->isVisibleTo(p.view.get()));
    const QRectF use = bars->BarRect(0, false), prices = bars->BarRect(0, true);
    EXPECT_EQ(use.left(), prices.left());
    EXPECT_NEAR(use.width() / prices.width(), 22.10 / 9.10, 0.01);
    const QImage image = bars->grab().toImage();
    EXPECT_EQ(image.pixelColor(use.center().toPoint()), THistoryChangeBars::MoreColor());
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

namespace {

PeriodInputs Readings(int kwh) {
    PeriodInputs in;
    in.generalDailyCharge = "1.00";
    in.generalRate = "0.25";
    in.generalBefore = "1000";
    in.generalAfter = QString::number(1000 + kwh);
    return in;
}

// Stores the periods straight into the page's file and shows them.
void Store(PageFixture& p, const std::vector<std::pair<QDate, QDate>>& periods,
           const QString& note = QString()) {
    p.ShowHistory();
    for (const auto& [from, to] : periods) {
        HistoryPeriod period = MakeHistoryPeriod(from, to, Readings(300), QLocale("en_US"), 2,
                                                 QDateTime::currentDateTimeUtc());
        period.note = note;
        p.hook->Presenter().Store().Add(period);
    }
    p.hook->Presenter().TryAgain();
}

// Every text the chart draws (axis labels, titles, legend).
QStringList ChartTexts(QChartView* chart) {
    chart->resize(900, 400);
    chart->show();
    QApplication::processEvents();
    QStringList texts;
    for (QGraphicsItem* item : chart->scene()->items()) {
        if (auto* t = dynamic_cast<QGraphicsTextItem*>(item); t && t->isVisible()) {
            texts << t->toPlainText();
        }
    }
    return texts;
}

TEST(HistoryPage, EachPeriodIsABarOverItsOwnDaysOnADateAxis) {
    PageFixture p;
    // Two end in April: they were one bar named "Apr 25" on a month axis.
    const QDate jan(2025, 1, 1), apr1(2025, 4, 1), apr28(2025, 4, 28), apr30(2025, 4, 30),
        may30(2025, 5, 30);
    Store(p, {{jan, apr1}, {apr28, apr30}, {apr30, may30}});
    auto* chart = p.view->findChild<QChartView*>();
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(qobject_cast<QDateTimeAxis*>(chart->chart()->axes(Qt::Horizontal).value(0)));
    auto* bars = qobject_cast<QAreaSeries*>(chart->chart()->series().value(0));
    auto* kwh = qobject_cast<QLineSeries*>(chart->chart()->series().value(1));
    ASSERT_TRUE(bars && kwh);
    const QList<QPointF> corners = bars->upperSeries()->points();
    ASSERT_EQ(corners.size(), 12);
    ASSERT_EQ(kwh->count(), 3);
    const std::pair<QDate, QDate> expected[] = {{jan, apr1}, {apr28, apr30}, {apr30, may30}};
    for (int i = 0; i < 3; ++i) {
        const auto day = [](double x) {
            return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(x)).date();
        };
        const double from = corners[4 * i].x(), to = corners[4 * i + 3].x();
        EXPECT_EQ(day(from), expected[i].first) << i;
        EXPECT_EQ(day(to), expected[i].second) << i;
        EXPECT_DOUBLE_EQ(
            corners[4 * i + 1].y(),
            300 * 0.25 / static_cast<double>(expected[i].first.daysTo(expected[i].second)) + 1.0)
            << i;
        EXPECT_DOUBLE_EQ(kwh->at(i).x(), (from + to) / 2) << i;
    }
}

TEST(HistoryPage, ChartAxesAreWrittenInTheWindowsLocale) {
    TestEnv::UseLocale("de_DE");
    PageFixture p;
    Store(p, {{QDate(2025, 1, 1), QDate(2025, 1, 31)}});
    const QStringList texts = ChartTexts(p.view->findChild<QChartView*>());
    const QRegularExpression comma(QStringLiteral("^\\d+,\\d+$")),
        point(QStringLiteral("\\d\\.\\d"));
    EXPECT_TRUE(texts.indexOf(comma) >= 0) << texts.join(u'|').toStdString();
    EXPECT_EQ(texts.indexOf(point), -1) << texts.join(u'|').toStdString();
}

TEST(HistoryPage, ANoteThatLooksLikeMarkupShowsAsItsCharactersInTheTooltip) {
    PageFixture p;
    const QString note = QStringLiteral("<img src=\"/nonexistent\"> <b>a</b>\n& more");
    Store(p, {{QDate(2025, 1, 1), QDate(2025, 1, 31)}}, note);
    auto* table = p.Find<QTableView>("historytable");
    table->resize(1200, 300);
    QApplication::processEvents();
    const QRect cell = table->visualRect(table->model()->index(0, M::Note));
    QHelpEvent help(QEvent::ToolTip, cell.center(), table->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(table->viewport(), &help);
    const QString tip = QToolTip::text();
    ASSERT_FALSE(tip.isEmpty());
    QTextDocument shown;
    if (Qt::mightBeRichText(tip)) {
        shown.setHtml(tip);
    } else {
        shown.setPlainText(tip);
    }
    EXPECT_EQ(shown.toPlainText(), note);
    QToolTip::hideText();
}

} // namespace

namespace {

TEST(HistoryPage, TabLeavesTheTableEveryControlIsNamedAndCtrlTabTurnsThePage) {
    PageFixture p;
    Store(p, {{QDate(2025, 1, 1), QDate(2025, 2, 1)}, {QDate(2025, 2, 1), QDate(2025, 3, 1)}});
    auto* table = p.Find<QTableView>("historytable");
    table->selectRow(0);
    for (bool back : {false, true}) {
        SCOPED_TRACE(back ? "Shift+Tab" : "Tab");
        const QList<QWidget*> walk = TabWalk(table, back);
        EXPECT_TRUE(walk.contains(p.Find<QPushButton>("historydeletebtn")));
        EXPECT_TRUE(walk.contains(p.view->findChild<QChartView*>()));
        for (QWidget* w : walk) {
            if (p.hook->Page()->isAncestorOf(w)) {
                EXPECT_FALSE(AccessibleName(w).isEmpty()) << w->metaObject()->className();
            }
        }
    }
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_Tab, Qt::CTRL | Qt::Key_PageDown}) {
        p.ShowHistory();
        table->setFocus();
        QTest::keyClick(table, key.key(), key.keyboardModifiers());
        EXPECT_EQ(p.Tabs()->currentIndex(), 0);
    }
}

} // namespace
