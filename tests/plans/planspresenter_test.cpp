// The "Compare plans" presenter on a real window model and a real plan store.
#include "mylib/errors.h"
#include "plans/planspresenter.h"
#include "storage/planschema.h"
#include "support/formfixture.h"
#include "support/testenv.h"

#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include <optional>

namespace {

// Stored periods in a list, plans in a throw-away database.
class TestSource : public TPlanSource {
public:
    TestSource() {
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db_.setDatabaseName(dir_.filePath(QStringLiteral("history.sqlite")));
        db_.open();
        MigrateToVersion2(db_);
        store_.emplace(db_);
    }
    ~TestSource() override {
        store_.reset();
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
    }
    QList<StoredUse> Periods() override {
        ++periodReads;
        return periods;
    }
    PlanStore& Plans() override { return *store_; }

    QList<StoredUse> periods;
    int periodReads = 0;

private:
    QTemporaryDir dir_;
    QString connection_ = QUuid::createUuid().toString();
    QSqlDatabase db_;
    std::optional<PlanStore> store_;
};

PeriodBasis Use(double generalKwh) {
    PeriodBasis n;
    n.generalKwh = generalKwh;
    n.showHotWater = false;
    return n;
}

PlanTexts Texts(const char* name, const char* daily, const char* rate, const char* tax = "0") {
    return {QString::fromUtf8(name), daily, rate, "0", "0", "0", tax, false};
}

class PlansPresenterTest : public testing::Test {
protected:
    void SetUp() override {
        form = &fx.Make();
        presenter.emplace(*form, source, fx.dialogs);
    }
    // The worked example of the readings page: 30 days, standard mode with
    // hot water, $120.00 in all.
    void TypeStandardExample() {
        form->dt1->SetDate(QDate(2026, 11, 8));
        form->dt2->SetDate(QDate(2026, 12, 8));
        form->Edit6->SetText("1000");
        form->Edit7->SetText("1300");
        form->Edit9->SetText("500");
        form->Edit10->SetText("560");
        form->generaldailyservicechargeed->SetText("1.00");
        form->generalrateed->SetText("0.25");
        form->hwdailyfixedchargeed->SetText("0.20");
        form->hwrateed->SetText("0.15");
        form->CalcAll();
    }
    QStringList Names() const {
        QStringList names;
        for (const PlanTableRow& r : presenter->Rows()) {
            names << r.texts.name;
        }
        return names;
    }

    FormFixture fx;
    TForm1* form = nullptr;
    TestSource source;
    std::optional<TPlansPresenter> presenter;
};

} // namespace

TEST_F(PlansPresenterTest, NothingIsReadBeforeTheFirstRefresh) {
    EXPECT_EQ(source.periodReads, 0);
    EXPECT_TRUE(presenter->Rows().isEmpty());
    presenter->Refresh();
    EXPECT_EQ(source.periodReads, 1);
}

TEST_F(PlansPresenterTest, AsTypedShowsTheReadingsPageFigures) {
    TypeStandardExample();
    form->solarcb->SetChecked(false);
    presenter->Refresh();
    ASSERT_EQ(presenter->Rows().size(), 1);
    PlanRowTexts t = presenter->Rows()[0].texts;
    EXPECT_EQ(t.name, "As typed");
    EXPECT_EQ(t.fixed, form->fresult->Caption());
    EXPECT_EQ(t.variable, form->vresult->Caption());
    EXPECT_EQ(t.income, form->exportedincome->Caption());
    EXPECT_EQ(t.net, form->tresult->Caption());
    EXPECT_EQ(t.net, "$120.00");
    EXPECT_EQ(t.perDay, "$4.00");
    EXPECT_EQ(t.tax, "$0.00");
    EXPECT_EQ(presenter->PeriodChoices().front(), "Readings page (11/8/2026 to 12/8/2026)");

    // Solar mode with hot water hidden, and an odd feed-in tariff.
    form->solarcb->SetChecked(true);
    form->showhwcb->SetChecked(false);
    form->exportoriged->SetText("0");
    form->exportlater->SetText("512.3");
    form->importgenoriged->SetText("200");
    form->importgenlatered->SetText("311.7");
    form->feedined->SetText("0.0713");
    form->CalcAll();
    presenter->Refresh();
    t = presenter->Rows()[0].texts;
    EXPECT_EQ(t.fixed, form->fresult->Caption());
    EXPECT_EQ(t.variable, form->vresult->Caption());
    EXPECT_EQ(t.income, form->exportedincome->Caption());
    EXPECT_EQ(t.net, form->tresult->Caption());
}

TEST_F(PlansPresenterTest, AsTypedTakesTheFeedInTariffWhateverTheLayoutShows) {
    TypeStandardExample();
    form->feedined->SetText("0.10");
    form->solarcb->SetChecked(false);
    PeriodBasis solar = Use(100);
    solar.solar = true;
    solar.exportedKwh = 500;
    source.periods = {{QDate(2026, 10, 8), QDate(2026, 11, 8), solar, 0}};
    presenter->Refresh();
    ASSERT_TRUE(presenter->SelectStoredPeriod(QDate(2026, 10, 8), QDate(2026, 11, 8)));
    EXPECT_EQ(presenter->Rows()[0].texts.income, "$50.00");
    EXPECT_EQ(presenter->TextsOf(0).feedIn, "0.1");
}

TEST_F(PlansPresenterTest, BadFieldsAreNotStoredGoodPlansRankAgainstAsTyped) {
    TypeStandardExample();
    presenter->Refresh();
    EXPECT_EQ(presenter->CheapestText(), "Add a plan to see what this period would cost on it.");

    QList<PlanFieldError> e = presenter->AddPlan(Texts("Saver", "0.9", "-0.2", "101"));
    ASSERT_EQ(e.size(), 2);
    EXPECT_EQ(e[0].field, PlanField::GeneralRate);
    EXPECT_EQ(e[1].field, PlanField::TaxPercent);
    EXPECT_TRUE(source.Plans().Plans().isEmpty());
    EXPECT_EQ(presenter->Rows().size(), 1);

    // 30 x 0.90 + 300 x 0.20 = 87, plus 10 % = 95.70 against 120.00.
    EXPECT_TRUE(presenter->AddPlan(Texts("Saver", "0.9", "0.2", "10")).isEmpty());
    EXPECT_TRUE(presenter->AddPlan(Texts("Dear", "1.5", "0.3")).isEmpty());
    EXPECT_EQ(Names(), (QStringList{"As typed", "Saver", "Dear"}));
    const QList<PlanTableRow>& rows = presenter->Rows();
    EXPECT_EQ(rows[1].texts.net, "$95.70");
    EXPECT_EQ(rows[1].texts.tax, "$8.70");
    EXPECT_EQ(rows[1].texts.difference, "$24.30 cheaper");
    EXPECT_TRUE(rows[1].cheaper);
    EXPECT_TRUE(rows[1].cheapest);
    EXPECT_FALSE(rows[2].cheaper);
    EXPECT_FALSE(rows[0].cheapest);
    EXPECT_EQ(presenter->CheapestText(),
              "Cheapest for this period: Saver, $24.30 less than as typed.");

    e = presenter->AddPlan(Texts(" saver ", "1", "1"));
    ASSERT_EQ(e.size(), 1);
    EXPECT_EQ(e[0].message, "A plan named \"Saver\" already exists.");
    e = presenter->SavePlan(2, Texts("SAVER", "1", "1"));
    ASSERT_EQ(e.size(), 1);
    EXPECT_EQ(source.Plans().Names(), (QStringList{"Saver", "Dear"}));
}

TEST_F(PlansPresenterTest, EditDuplicateDeleteAfterAsking) {
    TypeStandardExample();
    presenter->Refresh();
    ASSERT_TRUE(presenter->AddPlan(Texts("Saver", "0.9", "0.2", "10")).isEmpty());
    EXPECT_FALSE(presenter->IsStoredPlan(0));
    EXPECT_THROW(presenter->DeletePlan(0), EVoltiskError);
    EXPECT_THROW(presenter->SavePlan(0, Texts("X", "1", "1")), EVoltiskError);

    EXPECT_TRUE(presenter->SavePlan(1, Texts("Saver", "0.9", "0.2", "0")).isEmpty());
    EXPECT_EQ(presenter->Rows()[1].texts.net, "$87.00");
    EXPECT_EQ(presenter->DuplicatePlan(1), 2);
    EXPECT_EQ(Names(), (QStringList{"As typed", "Saver", "Saver (copy)"}));
    EXPECT_EQ(presenter->Rows()[2].texts.net, "$87.00");
    // Equal plans are both the cheapest.
    EXPECT_TRUE(presenter->Rows()[1].cheapest);
    EXPECT_TRUE(presenter->Rows()[2].cheapest);

    fx.dialogs.answers = {false};
    EXPECT_FALSE(presenter->DeletePlan(1));
    EXPECT_EQ(fx.dialogs.questions.back(), "Delete the plan \"Saver\"?");
    EXPECT_EQ(presenter->Rows().size(), 3);
    fx.dialogs.answers = {true};
    EXPECT_TRUE(presenter->DeletePlan(1));
    EXPECT_EQ(Names(), (QStringList{"As typed", "Saver (copy)"}));
}

TEST_F(PlansPresenterTest, FormTextsFollowTheLocale) {
    TestEnv::UseLocale("de_DE");
    TypeStandardExample();
    form->generalrateed->SetText("0,25");
    form->hwdailyfixedchargeed->SetText("0,2");
    presenter->Refresh();
    const PlanTexts typed = presenter->TextsOf(0);
    EXPECT_EQ(typed.name, "As typed");
    EXPECT_EQ(typed.generalRate, "0,25");
    EXPECT_EQ(typed.hwDailyCharge, "0,2");
    ASSERT_TRUE(presenter->AddPlan(Texts("Spar", "0,9", "0,215", "19")).isEmpty());
    const PlanTexts stored = presenter->TextsOf(1);
    EXPECT_EQ(stored.name, "Spar");
    EXPECT_EQ(stored.generalDailyCharge, "0,9");
    EXPECT_EQ(stored.generalRate, "0,215");
    EXPECT_EQ(stored.taxPercent, "19");
    // What the form shows is accepted back unchanged.
    EXPECT_TRUE(presenter->SavePlan(1, stored).isEmpty());
    EXPECT_EQ(source.Plans().Plans()[0].rates.generalRate, 0.215);
}

TEST_F(PlansPresenterTest, AStoredPeriodIsComparedAndStaysChosen) {
    TypeStandardExample();
    source.periods = {{QDate(2026, 10, 9), QDate(2026, 11, 8), Use(600), 180},
                      {QDate(2026, 9, 9), QDate(2026, 10, 9), Use(300), 105}};
    presenter->Refresh();
    EXPECT_EQ(presenter->PeriodChoices().size(), 3);
    EXPECT_EQ(presenter->PeriodChoices()[1], "10/9/2026 to 11/8/2026, 30 days");
    ASSERT_TRUE(presenter->SelectStoredPeriod(QDate(2026, 10, 9), QDate(2026, 11, 8)));
    EXPECT_EQ(presenter->SelectedPeriod(), 1);
    // The typed tariff on the stored use: 30 x 1.00 + 600 x 0.25 (hot water hidden).
    EXPECT_EQ(presenter->Rows()[0].texts.net, "$180.00");
    ASSERT_TRUE(presenter->AddPlan(Texts("Saver", "0.9", "0.2")).isEmpty());
    EXPECT_EQ(presenter->SelectedPeriod(), 1);
    EXPECT_EQ(presenter->Rows()[1].texts.net, "$147.00");
    // A newer stored period moves the chosen one down; the choice follows it.
    source.periods.prepend({QDate(2026, 11, 8), QDate(2026, 12, 8), Use(10), 32.5});
    presenter->Refresh();
    EXPECT_EQ(presenter->SelectedPeriod(), 2);
    EXPECT_FALSE(presenter->SelectStoredPeriod(QDate(2026, 1, 1), QDate(2026, 2, 1)));
    presenter->SelectPeriod(0);
    EXPECT_EQ(presenter->Rows()[0].texts.net, "$120.00");
}

TEST_F(PlansPresenterTest, NoDaysOnTheReadingsPageGivesANoticeAndNoFigures) {
    form->dt1->SetDate(QDate(2026, 12, 8));
    form->dt2->SetDate(QDate(2026, 12, 5));
    presenter->Refresh();
    EXPECT_TRUE(presenter->Rows().isEmpty());
    EXPECT_EQ(presenter->PeriodNotice(), "The readings page has no period to compare: date the "
                                         "later reading after the original one.");
}

TEST_F(PlansPresenterTest, TheYearAtAGlance) {
    TypeStandardExample();
    presenter->Refresh();
    EXPECT_TRUE(presenter->YearRows().isEmpty());
    EXPECT_EQ(presenter->YearSummary(),
              "The yearly comparison needs saved periods: add periods on the History page.");
    // The year ends at the latest stored date, 12/8/2026; the second period
    // ended just before it began.
    source.periods = {{QDate(2026, 6, 11), QDate(2026, 12, 8), Use(1800), 630},
                      {QDate(2025, 11, 8), QDate(2025, 12, 8), Use(300), 105}};
    ASSERT_TRUE(presenter->AddPlan(Texts("Saver", "0.8", "0.2", "10")).isEmpty());
    EXPECT_EQ(presenter->YearSummary(), "The last 12 months: 1 period saved over 180 days cost "
                                        "$630.00.");
    ASSERT_EQ(presenter->YearRows().size(), 2);
    const YearRow& typed = presenter->YearRows()[0];
    EXPECT_EQ(typed.name, "As typed");
    EXPECT_EQ(typed.total, "$630.00");
    EXPECT_EQ(typed.savingPerYear, "$0.00");
    EXPECT_FALSE(typed.cheaper);
    // (180 x 0.80 + 1800 x 0.20) x 1.1 = 554.40; 75.60 saved in 180 of 365 days.
    const YearRow& saver = presenter->YearRows()[1];
    EXPECT_EQ(saver.total, "$554.40");
    EXPECT_DOUBLE_EQ(saver.totalValue, 554.4);
    EXPECT_EQ(saver.savingPerYear, "$153.30");
    EXPECT_TRUE(saver.cheaper);
    EXPECT_DOUBLE_EQ(presenter->YearPaid(), 630);
}

TEST(PlansPresenterFault, AnUnreadableHistoryLeavesTheTypedTariffAndSaysWhy) {
    struct BrokenSource : TPlanSource {
        QList<StoredUse> Periods() override { throw EVoltiskError("The history file is damaged."); }
        PlanStore& Plans() override { throw EVoltiskError("The history file is damaged."); }
    } broken;
    FormFixture fx;
    TForm1& form = fx.Make();
    form.dt1->SetDate(QDate(2026, 11, 8));
    form.generalrateed->SetText("0.25");
    TPlansPresenter presenter(form, broken, fx.dialogs);
    presenter.Refresh();
    EXPECT_EQ(presenter.FaultText(), "The history file is damaged.");
    ASSERT_EQ(presenter.Rows().size(), 1);
    EXPECT_EQ(presenter.Rows()[0].texts.name, "As typed");
    EXPECT_EQ(presenter.PeriodChoices().size(), 1);
    EXPECT_TRUE(presenter.YearRows().isEmpty());
    EXPECT_THROW(presenter.AddPlan(Texts("Saver", "1", "0.2")), EVoltiskError);
}

TEST_F(PlansPresenterTest, OverflowingFiguresShowADashNeverInfOrNan) {
    TypeStandardExample();
    source.periods = {{QDate(2026, 11, 8), QDate(2026, 12, 8), Use(1e308), 180}};
    ASSERT_TRUE(presenter->AddPlan(Texts("Huge", "1", "100")).isEmpty());
    ASSERT_TRUE(presenter->SelectStoredPeriod(QDate(2026, 11, 8), QDate(2026, 12, 8)));
    const PlanRowTexts t = presenter->Rows()[1].texts;
    for (const QString& s : {t.fixed, t.variable, t.tax, t.net, t.perDay, t.difference}) {
        EXPECT_EQ(s, "-");
    }
    const YearRow& year = presenter->YearRows()[1];
    EXPECT_EQ(year.total, "-");
    EXPECT_EQ(year.savingPerYear, "-");
    EXPECT_EQ(year.totalValue, 0.0);
    EXPECT_FALSE(year.cheaper);
    for (const PlanTableRow& r : presenter->Rows()) {
        for (const QString& s : {r.texts.net, r.texts.difference, r.texts.perDay}) {
            EXPECT_FALSE(s.contains("inf", Qt::CaseInsensitive) ||
                         s.contains("nan", Qt::CaseInsensitive))
                << s.toStdString();
        }
    }
}

// Numbers, money and dates may follow different locales (LC_NUMERIC,
// LC_MONETARY, LC_TIME); the page reads and writes each as the readings page does.
TEST(PlansPresenterLocales, EachPartFollowsItsOwnLocale) {
    FormFixture fx;
    fx.platform.locales = TLocales{QLocale("de_DE"), QLocale("en_US"), QLocale("en_AU")};
    TForm1& form = fx.Make();
    form.dt1->SetDate(QDate(2026, 11, 8));
    form.dt2->SetDate(QDate(2026, 12, 8));
    form.showhwcb->SetChecked(false);
    form.Edit6->SetText("1000,5");
    form.Edit7->SetText("1300,5");
    form.generaldailyservicechargeed->SetText("1,5");
    form.generalrateed->SetText("0,25");
    form.CalcAll();
    TestSource source;
    TPlansPresenter presenter(form, source, fx.dialogs);
    presenter.Refresh();
    EXPECT_EQ(presenter.PeriodChoices().front(), "Readings page (8/11/2026 to 8/12/2026)");
    EXPECT_EQ(presenter.Rows()[0].texts.net, form.tresult->Caption());
    EXPECT_EQ(presenter.Rows()[0].texts.net, "$120.00");
    EXPECT_EQ(presenter.TextsOf(0).generalDailyCharge, "1,5");
    EXPECT_TRUE(presenter.AddPlan(Texts("Spar", "1,2", "0,2")).isEmpty());
    EXPECT_EQ(presenter.Rows()[1].texts.net, "$96.00");
}
