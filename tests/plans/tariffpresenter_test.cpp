// The tariff plans of the Compare plans page on a real window model and a
// real history file, without meter data (the page test has it).
#include "mylib/errors.h"
#include "plans/historyplansource.h"
#include "plans/tariffpresenter.h"
#include "support/formfixture.h"
#include "support/peakplan.h"
#include "tariff/cdrplan.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

QByteArray CdrPlan(const char* name, const char* supply) {
    return QByteArray(R"({"data": {"displayName": "NAME", "fuelType": "ELECTRICITY",
 "electricityContract": {"pricingModel": "SINGLE_RATE", "timeZone": "AEST",
  "tariffPeriod": [{"startDate": "01-01", "endDate": "12-31", "dailySupplyCharge": "SUPPLY",
   "rateBlockUType": "singleRate", "singleRate": {"rates": [{"unitPrice": "0.2000"}]}}],
  "fees": [{"type": "MEMBERSHIP", "term": "MONTHLY"}]}}})")
        .replace("NAME", name)
        .replace("SUPPLY", supply);
}

class TariffPresenterTest : public testing::Test {
protected:
    void SetUp() override {
        form = &fx.Make();
        store.Open();
        flat.emplace(*form, source, fx.dialogs);
        tariffs.emplace(*form, *flat, source,
                        TTariffPresenter::MyPlanSetting{[this] { return myPlan; },
                                                        [this](const QString& n) { myPlan = n; }});
        // "Saver": $1.00 a day, 0.25 a kWh; its copy among the tariff plans is
        // not listed twice.
        source.Plans().Add(QStringLiteral("Saver"), PlanRates{1.00, 0.25, 0, 0, 0, 0, false});
        source.TariffPlans().Add(PeakPlan());
    }
    void Refresh() {
        flat->Refresh();
        tariffs->Refresh();
        EXPECT_FALSE(tariffs->Prepare()); // nothing to price on intervals
    }
    QStringList Column(QString TariffRowTexts::*field) const {
        QStringList out;
        for (const TariffRowTexts& r : tariffs->Rows()) {
            out << r.*field;
        }
        return out;
    }

    FormFixture fx;
    TForm1* form = nullptr;
    QTemporaryDir dir;
    THistoryStore store{dir.filePath(QStringLiteral("history.sqlite"))};
    THistoryPlanSource source{[this]() -> THistoryStore& { return store; }};
    QString myPlan;
    std::optional<TPlansPresenter> flat;
    std::optional<TTariffPresenter> tariffs;
};

TEST_F(TariffPresenterTest, APeriodWithoutMeterDataPricesFlatPlansAndSaysTimeOfUseNeedsIt) {
    // 30 days, 300 kWh general and 60 kWh hot water (no hot-water rate).
    form->dt1->SetDate(QDate(2026, 11, 8));
    form->dt2->SetDate(QDate(2026, 12, 8));
    form->Edit6->SetText("1000");
    form->Edit7->SetText("1300");
    form->Edit9->SetText("500");
    form->Edit10->SetText("560");
    form->CalcAll();
    Refresh();
    EXPECT_EQ(Column(&TariffRowTexts::name), QStringList({"Saver", "Time of use"}));
    // 30 × 1.00 + 300 × 0.25 = 105.00.
    EXPECT_EQ(Column(&TariffRowTexts::total), QStringList({"$105.00", ""}));
    EXPECT_EQ(Column(&TariffRowTexts::note), QStringList({"", "needs meter data"}));
    EXPECT_TRUE(tariffs->BreakdownOf(1).isEmpty());
    EXPECT_EQ(tariffs->YearText(0), "Import meter data to see what each plan would have cost "
                                    "over the last 12 months.");
}

TEST_F(TariffPresenterTest, ImportNamesTheBadFieldRefusesATakenNameAndListsWhatIsNotPriced) {
    Refresh();
    const struct {
        QByteArray json;
        const char* refusal; // empty: imported
    } cases[] = {
        {CdrPlan("Basic", "abc"), "dailySupplyCharge"},
        {CdrPlan(" SAVER ", "1.0"), "A plan named \"Saver\" already exists"},
        {"[1, 2]", "not a plan"},
        {CdrPlan("Basic", "1.0"), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal);
        try {
            const QString summary = tariffs->ImportPlan(c.json);
            EXPECT_STREQ(c.refusal, "");
            EXPECT_TRUE(summary.startsWith("Plan \"Basic\" imported.\nNot priced:\n- "))
                << summary.toStdString();
        } catch (const EVoltiskError& e) {
            EXPECT_TRUE(e.Message().contains(QLatin1String(c.refusal)))
                << e.Message().toStdString();
        }
    }
    Refresh();
    const int basic = static_cast<int>(Column(&TariffRowTexts::name).indexOf("Basic"));
    ASSERT_GE(basic, 0);
    const CdrImport back = ReadCdrPlan(tariffs->ExportPlan(basic));
    EXPECT_EQ(back.plan.name, "Basic");
    EXPECT_DOUBLE_EQ(back.plan.seasons.at(0).dailySupply, 1.0);
}

TEST_F(TariffPresenterTest, MyPlanFollowsAFlatPlanRenamedOnThePage) {
    source.Plans().Add(QStringLiteral("Other"), PlanRates{1.10, 0.24, 0, 0, 0, 0, false});
    const struct {
        const char* mine;
        const char* renamed; // the plan in row 1, "Saver" at first
        const char* after;
    } cases[] = {
        {"Saver", "Saver Plus", "Saver Plus"},
        {"Saver Plus", "Saver Plus", "Saver Plus"}, // saved unrenamed
        {"Other", "Saver", "Other"},                // another plan renamed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.renamed);
        Refresh();
        myPlan = c.mine;
        PlanTexts texts = flat->TextsOf(1);
        texts.name = c.renamed;
        EXPECT_TRUE(flat->SavePlan(1, texts).isEmpty());
        EXPECT_EQ(myPlan, c.after);
    }
}

} // namespace
