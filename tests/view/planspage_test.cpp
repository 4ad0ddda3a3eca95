// The "Compare plans" page in the real window, offscreen, driven through its
// widgets as a user would: typing, clicking, choosing a stored period.
#include "app/view/formview.h"
#include "history/historypresenter.h"
#include "history/historystore.h"
#include "history/page/historyhook.h"
#include "meterdata/meterstore.h"
#include "plans/page/planspage.h"
#include "plans/page/planstab.h"
#include "plans/tariffplanstore.h"
#include "support/files.h"
#include "support/focuswalk.h"
#include "support/formfixture.h"
#include "support/peakplan.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QBrush>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace {

// The readings page's worked example: 30 days, hot water shown, $120.00.
PeriodInputs WorkedExample() {
    PeriodInputs in;
    in.generalDailyCharge = "1.00";
    in.generalRate = "0.25";
    in.hwDailyCharge = "0.20";
    in.hwRate = "0.15";
    in.generalBefore = "1000";
    in.generalAfter = "1300";
    in.hotWaterBefore = "500";
    in.hotWaterAfter = "560";
    return in;
}

struct PlansFixture {
    FormFixture fx;
    FakeFileDialogs files;
    TForm1* form = nullptr;
    std::unique_ptr<TFormView> view;
    THistoryStore ownStore{HistoryFileName()};
    std::optional<TPlansTab> ownTab;
    THistoryHook* hook = nullptr;
    TPlansTab* tab = nullptr;
    QTabWidget* tabs = nullptr;
    int opens = 0;

    // The tab on its own with a counting opener, or (`program`) after the
    // History page as the program adds it.
    explicit PlansFixture(bool program = false) {
        form = &fx.Make(false);
        view = std::make_unique<TFormView>(*form);
        tabs = view->findChild<QTabWidget*>();
        if (program) {
            hook = AddHistoryPage(*view, fx.dialogs, files, HistoryFileName());
            tab = AddPlansPage(*view, *hook);
        } else {
            ownTab.emplace(tabs, *form, [this]() -> THistoryStore& {
                ++opens;
                if (!ownStore.IsOpen()) {
                    ownStore.Open();
                }
                return ownStore;
            });
            tab = &*ownTab;
        }
        form->Show();
        view->show();
        QApplication::setActiveWindow(view.get());
        // A new period on the readings page, 16 days, at the worked
        // example's tariff.
        form->dt1->SetDate(QDate(2026, 11, 22));
        form->dt2->UserSetDate(QDate(2026, 12, 8));
        form->generaldailyservicechargeed->SetText("1.00");
        form->generalrateed->SetText("0.25");
        form->hwdailyfixedchargeed->SetText("0.20");
        form->hwrateed->SetText("0.15");
        form->Edit6->SetText("41230");
        form->Edit7->SetText("41390");
        form->Edit9->SetText("9120");
        form->Edit10->SetText("9120");
    }
    THistoryStore& Store() {
        THistoryStore& store = hook ? hook->Presenter().Store() : ownStore;
        if (!store.IsOpen()) {
            store.Open();
        }
        return store;
    }
    void ShowPage() {
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(tabs->indexOf(tab->Tab())).center());
        QApplication::processEvents();
    }
    template <class W> W* Find(const char* name) {
        auto* w = view->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Type(const char* field, const char* text) {
        QLineEdit* e = Find<QLineEdit>(field);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, QString::fromUtf8(text));
    }
    void Click(const char* button) {
        QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
        QApplication::processEvents();
    }
    QVariant Cell(int row, int column, int role, const char* table = "plantable") {
        QAbstractItemModel* m = Find<QTableView>(table)->model();
        const QModelIndex i = m->index(row, column);
        return i.isValid() ? i.data(role) : QVariant(QStringLiteral("(no item)"));
    }
    QString Cell(int row, int column) { return Cell(row, column, Qt::DisplayRole).toString(); }
    int Rows(const char* table = "plantable") {
        return Find<QTableView>(table)->model()->rowCount();
    }
    QStringList BoldNames() {
        QStringList names;
        for (int r = 0; r < Rows(); ++r) {
            if (Cell(r, 0, Qt::FontRole).value<QFont>().bold()) {
                names << Cell(r, 0);
            }
        }
        return names;
    }
};

} // namespace

TEST(PlansPage, NothingIsBuiltOrOpenedUntilTheTabIsShown) {
    PlansFixture p;
    EXPECT_EQ(p.tabs->tabText(p.tabs->count() - 1), "Compare plans");
    EXPECT_EQ(p.tab->Page(), nullptr);
    EXPECT_EQ(p.opens, 0);
    EXPECT_FALSE(QFile::exists(HistoryFileName()));
    p.ShowPage();
    ASSERT_NE(p.tab->Page(), nullptr);
    EXPECT_TRUE(p.tab->Page()->isVisible());
    EXPECT_GE(p.opens, 1);
    EXPECT_TRUE(QFile::exists(HistoryFileName()));
    // No stored periods: the year needs them, and says so.
    EXPECT_EQ(p.Find<QLabel>("planyearsummary")->text(),
              "The yearly comparison needs saved periods: add periods on the History page.");
    EXPECT_FALSE(p.Find<QChartView>("planyearchart")->isVisible());
}

TEST(PlansPage, AddAPlanChooseAStoredPeriodReadTheCheapestAndTheSaving) {
    PlansFixture p;
    p.Store().Add(MakeHistoryPeriod(QDate(2026, 10, 23), QDate(2026, 11, 22), WorkedExample(),
                                    QLocale("en_US"), 2,
                                    QDateTime(QDate(2026, 11, 22), QTime(8, 0), Qt::UTC)));
    p.ShowPage();
    EXPECT_EQ(p.Cell(0, 0), "As typed");
    // The readings page's period: 16 days at 1.20, 160 kWh at 0.25.
    EXPECT_EQ(p.Cell(0, 5), "$59.20");
    EXPECT_EQ(p.Cell(0, 5), p.form->tresult->Caption());

    // A bad rate is refused at its field and nothing is stored.
    p.Type("planname", "Saver");
    p.Type("plangeneraldaily", "0.90");
    p.Type("plangeneralrate", "0.2x");
    p.Type("planhwdaily", "0.10");
    p.Type("planhwrate", "0.12");
    p.Type("planfeedin", "0");
    p.Type("plantax", "10");
    p.Click("planadd");
    QLabel* rateError = p.Find<QLabel>("plangeneralrateerror");
    EXPECT_TRUE(rateError->isVisible());
    EXPECT_EQ(rateError->text(), "\"0.2x\" is not a number.");
    EXPECT_EQ(p.Rows(), 1);

    p.Type("plangeneralrate", "0.20");
    p.Click("planadd");
    EXPECT_FALSE(rateError->isVisible());
    ASSERT_EQ(p.Rows(), 2);
    EXPECT_EQ(p.Cell(1, 0), "Saver");

    // Choose the stored period (the worked example) with the keyboard.
    QComboBox* period = p.Find<QComboBox>("planperiod");
    ASSERT_EQ(period->count(), 2);
    EXPECT_EQ(period->itemText(1), "10/23/2026 to 11/22/2026, 30 days");
    period->setFocus();
    QTest::keyClick(period, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(period->currentIndex(), 1);
    EXPECT_EQ(p.Cell(0, 5), "$120.00");
    // Saver: 30 x (0.90 + 0.10) + 300 x 0.20 + 60 x 0.12 = 97.20, plus 10 %.
    EXPECT_EQ(p.Cell(1, 4), "$9.72");
    EXPECT_EQ(p.Cell(1, 5), "$106.92");
    EXPECT_EQ(p.Cell(1, 7), "$13.08 cheaper");
    EXPECT_EQ(p.Cell(1, 7, Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 128, 0));
    EXPECT_EQ(p.BoldNames(), QStringList{"Saver"});
    EXPECT_EQ(p.Find<QLabel>("plancheapest")->text(),
              "Cheapest for this period: Saver, $13.08 less than as typed.");

    // The year at a glance: one stored period, and a bar per plan beside it.
    EXPECT_EQ(p.Find<QLabel>("planyearsummary")->text(),
              "The last 12 months: 1 period saved over 30 days cost $120.00.");
    ASSERT_EQ(p.Rows("planyeartable"), 2);
    EXPECT_EQ(p.Cell(1, 1, Qt::DisplayRole, "planyeartable").toString(), "$106.92");
    EXPECT_TRUE(p.Find<QChartView>("planyearchart")->isVisible());
    EXPECT_EQ(p.Find<QChartView>("planyearchart")->chart()->series().size(), 1);
}

// In the program the tab follows "History", shares its file and takes over
// the period selected there.
TEST(PlansPage, FollowsThePeriodSelectedOnTheHistoryPage) {
    FormFixture fx;
    FakeFileDialogs files;
    TForm1& form = fx.Make(false);
    TFormView view(form);
    THistoryHook* history = AddHistoryPage(view, fx.dialogs, files, HistoryFileName());
    TPlansTab* plans = AddPlansPage(view, *history);
    form.Show();
    view.show();
    auto* tabs = view.findChild<QTabWidget*>();
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(3), "History");
    EXPECT_EQ(tabs->tabText(4), "Compare plans");
    EXPECT_EQ(plans->Page(), nullptr);

    // Two periods added on the History page, the older one selected there.
    const PeriodInputs in = WorkedExample();
    form.generaldailyservicechargeed->SetText(in.generalDailyCharge);
    form.generalrateed->SetText(in.generalRate);
    form.Edit6->SetText(in.generalBefore);
    form.Edit7->SetText(in.generalAfter);
    tabs->setCurrentIndex(3);
    fx.dialogs.answers = {true}; // the same readings twice: stored anyway
    for (const auto& [from, to] : {std::pair(QDate(2026, 9, 8), QDate(2026, 10, 8)),
                                   std::pair(QDate(2026, 10, 8), QDate(2026, 11, 9))}) {
        form.dt1->SetDate(from);
        form.dt2->UserSetDate(to);
        QTest::mouseClick(view.findChild<QPushButton*>("historyaddbtn"), Qt::LeftButton);
    }
    auto* table = view.findChild<QTableView*>("historytable");
    ASSERT_EQ(table->model()->rowCount(), 2);
    table->selectRow(1); // newest first: the September period
    QApplication::processEvents();

    tabs->setCurrentIndex(4);
    QApplication::processEvents();
    ASSERT_NE(plans->Page(), nullptr);
    auto* period = view.findChild<QComboBox*>("planperiod");
    ASSERT_EQ(period->count(), 3);
    EXPECT_EQ(period->currentText(), "9/8/2026 to 10/8/2026, 30 days");
    // The user's own choice stands until the History selection changes.
    period->setFocus();
    QTest::keyClick(period, Qt::Key_Up);
    QTest::keyClick(period, Qt::Key_Up);
    EXPECT_EQ(period->currentIndex(), 0);
    tabs->setCurrentIndex(0);
    tabs->setCurrentIndex(4);
    EXPECT_EQ(period->currentIndex(), 0);
    tabs->setCurrentIndex(3);
    table->selectRow(0);
    tabs->setCurrentIndex(4);
    EXPECT_EQ(period->currentIndex(), 1);
    EXPECT_EQ(period->currentText(), "10/8/2026 to 11/9/2026, 32 days");
}

// The page with a year of monthly periods and three plans, saved as
// plans.png when pictures are asked for (scripts/screenshots.sh).
TEST(Screenshots, ComparePlans) {
    PlansFixture p(true);
    QDate from(2025, 12, 8);
    for (int month = 0; month < 12; ++month) {
        PeriodInputs in = WorkedExample();
        // Winter months use more.
        const int kwh = 280 + 12 * std::abs(6 - month) * 5;
        in.generalAfter = QString::number(1000 + kwh);
        in.generalRate = "0.27";
        const QDate to = from.addMonths(1);
        p.Store().Add(MakeHistoryPeriod(from, to, in, QLocale("en_US"), 2,
                                        QDateTime(to.startOfDay(Qt::UTC))));
        from = to;
    }
    p.ShowPage();
    const struct {
        const char *name, *daily, *rate, *hwDaily, *hwRate, *tax;
    } plans[] = {{"Saver 12", "1.10", "0.22", "0.15", "0.12", "10"},
                 {"Flat rate", "0.85", "0.29", "0.10", "0.15", "10"},
                 {"Green 100", "1.20", "0.31", "0.20", "0.17", "10"}};
    for (const auto& plan : plans) {
        p.Type("planname", plan.name);
        p.Type("plangeneraldaily", plan.daily);
        p.Type("plangeneralrate", plan.rate);
        p.Type("planhwdaily", plan.hwDaily);
        p.Type("planhwrate", plan.hwRate);
        p.Type("planfeedin", "0");
        p.Type("plantax", plan.tax);
        p.Click("planadd");
    }
    ASSERT_EQ(p.Rows(), 4);
    QComboBox* period = p.Find<QComboBox>("planperiod");
    period->setFocus();
    QTest::keyClick(period, Qt::Key_Down);
    QApplication::processEvents();
    const QPixmap picture = p.view->grab();
    ASSERT_FALSE(picture.isNull());
    const QString folder = qEnvironmentVariable("VOLTISK_SCREENSHOTS");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(picture.save(folder + QStringLiteral("/plans.png")));
    }
}

namespace {

// A stored period and a plan named `name`, on the shown page.
void PageWithAPlan(PlansFixture& p, const char* name) {
    p.Store().Add(MakeHistoryPeriod(QDate(2026, 10, 23), QDate(2026, 11, 22), WorkedExample(),
                                    QLocale("en_US"), 2, QDateTime::currentDateTimeUtc()));
    p.ShowPage();
    const std::pair<const char*, const char*> fields[] = {
        {"planname", name},      {"plangeneraldaily", "0.90"}, {"plangeneralrate", "0.20"},
        {"planhwdaily", "0.10"}, {"planhwrate", "0.12"},       {"planfeedin", "0"},
        {"plantax", "10"}};
    for (const auto& [field, text] : fields) {
        p.Type(field, text);
    }
    p.Click("planadd");
}

TEST(PlansPage, TabLeavesBothTablesAndEveryControlIsNamed) {
    PlansFixture p;
    PageWithAPlan(p, "Saver");
    auto* period = p.Find<QComboBox>("planperiod");
    EXPECT_EQ(AccessibleName(period), "Period");
    for (const char* name : {"plantable", "planyeartable"}) {
        for (bool back : {false, true}) {
            SCOPED_TRACE(std::string(name) + (back ? " Shift+Tab" : " Tab"));
            const QList<QWidget*> walk = TabWalk(p.Find<QTableView>(name), back);
            EXPECT_TRUE(walk.contains(period));
            EXPECT_TRUE(walk.contains(p.Find<QLineEdit>("planname")));
            EXPECT_TRUE(walk.contains(p.Find<QPushButton>("planadd")));
            for (QWidget* w : walk) {
                if (p.tab->Tab()->isAncestorOf(w)) {
                    EXPECT_FALSE(AccessibleName(w).isEmpty())
                        << w->metaObject()->className() << " " << w->objectName().toStdString();
                }
            }
        }
    }
}

TEST(PlansPage, APlanNameThatLooksLikeMarkupShowsAsItsCharacters) {
    PlansFixture p;
    const QString name = QStringLiteral("<b>Saver</b> <img src=\"/x\">");
    PageWithAPlan(p, name.toUtf8().constData());
    auto* chart = p.Find<QChartView>("planyearchart");
    chart->resize(700, 300);
    QApplication::processEvents();
    QStringList texts;
    for (QGraphicsItem* item : chart->scene()->items()) {
        if (auto* t = dynamic_cast<QGraphicsTextItem*>(item)) {
            texts << t->toPlainText();
        }
    }
    EXPECT_TRUE(texts.contains(name)) << texts.join(u'|').toStdString();
    EXPECT_EQ(p.Cell(1, 0), name);
}

// A day of meter data (2004-02-01, AEST market time: 48 half-hours of 0.5
// kWh), a time-of-use plan stored and a single-rate plan imported through the
// button; the meter range is ranked off the window's thread.
TEST(PlansPage, TariffPlansAreRankedOnMeterDataWithTheSelectedPlansBreakdown) {
    PlansFixture p;
    p.tab->SetFileDialogs(p.files);
    QTemporaryDir dir;
    auto write = [&](const char* name, const QByteArray& bytes) {
        EXPECT_TRUE(WriteBytes(dir.filePath(QLatin1String(name)), bytes));
        return dir.filePath(QLatin1String(name));
    };
    QByteArray day = "300,20040201";
    for (int i = 0; i < 48; ++i) {
        day += ",0.5";
    }
    MeterStore(p.Store().Database())
        .Import(write("day.csv", "100,NEM12,200402011200,MDP1,Retail1\n"
                                 "200,NEM1201009,E1,1,E1,N1,01009,kWh,30,\n" +
                                     day + ",A,,,,\n900\n"));
    TariffPlanStore(p.Store().Database()).Add(PeakPlan());
    p.files.openAnswer = write("basic.json", R"({"data": {"displayName": "Basic",
 "fuelType": "ELECTRICITY", "electricityContract": {"pricingModel": "SINGLE_RATE",
  "timeZone": "AEST", "tariffPeriod": [{"startDate": "01-01", "endDate": "12-31",
   "dailySupplyCharge": "1.0", "rateBlockUType": "singleRate",
   "singleRate": {"rates": [{"unitPrice": "0.2"}]}}],
  "fees": [{"type": "MEMBERSHIP", "term": "MONTHLY"}]}}})");
    p.ShowPage();
    p.Click("tariffimport");
    ASSERT_FALSE(p.fx.dialogs.messages.isEmpty());
    EXPECT_TRUE(p.fx.dialogs.messages.back().startsWith("Plan \"Basic\" imported.\nNot priced:"));

    QTest::mouseClick(p.Find<QCheckBox>("planmeter"), Qt::LeftButton);
    TPlansPage* page = p.tab->Page();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !page->PricingPending(); }, 10000));
    EXPECT_TRUE(p.Find<QLabel>("tariffnotice")->isHidden()); // "Pricing the plans…" gone
    // Each row of a table as "cell|cell|...", its first `columns` cells.
    auto cells = [&](const char* name, int columns) {
        QAbstractItemModel* m = p.Find<QAbstractItemView>(name)->model();
        QStringList out;
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < columns; ++c) {
                row << m->index(r, c).data().toString();
            }
            out << row.join(u'|');
        }
        return out;
    };
    auto breakdown = [&] { return cells("tariffbreakdown", 4); };
    // Time of use: 1 + 6 kWh × 0.50 + 18 × 0.10 - 10 % of 4.80 = 5.32.
    // Basic: (1 + 24 × 0.20) + 10 % GST = 6.38.
    EXPECT_EQ(cells("tarifftable", 3), QStringList({"Time of use|$5.32|", "Basic|$6.38|+$1.06"}));
    EXPECT_EQ(breakdown(), QStringList({"Supply|||$1.00", "Peak|6.00|$0.5000|$3.00",
                                        "Off-peak|18.00|$0.1000|$1.80", "Discounts|||($0.48)",
                                        "Tax|||$0.00", "Total|||$5.32"}))
        << breakdown().join(u'\n').toStdString();
    auto* table = p.Find<QTableView>("tarifftable");
    table->selectRow(1);
    EXPECT_EQ(breakdown(), QStringList({"Supply|||$1.00", "Usage|24.00|$0.2000|$4.80",
                                        "Tax|||$0.58", "Total|||$6.38"}));
    EXPECT_TRUE(p.Find<QLabel>("tariffnote")->text().startsWith("not fully priced: "));
    p.Click("tariffmine");
    EXPECT_EQ(p.form->IniSettings1->readstring("MyPlan", "", "ComparePlans"), "Basic");
    EXPECT_EQ(table->model()->index(1, 3).data().toString(), "My plan");
    EXPECT_TRUE(p.Find<QLabel>("tariffyear")
                    ->text()
                    .contains("Choosing the cheapest, Time of use, would have saved $1.06."));
    table->selectRow(0);
    EXPECT_TRUE(p.Find<QLabel>("tariffyear")
                    ->text()
                    .endsWith("$5.32. The cheapest plan. It saves $1.06 against my plan, Basic."));
}

} // namespace
