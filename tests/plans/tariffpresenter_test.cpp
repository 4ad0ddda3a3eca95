// The tariff plans of the Compare plans page on a real window model, a real
// history file and meter intervals handed over by the test.
#include "mylib/errors.h"
#include "plans/tariffpresenter.h"
#include "storage/historyschema.h"
#include "support/formfixture.h"
#include "tariff/cdrplan.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QUuid>
#include <gtest/gtest.h>

#include <ctime>
#include <optional>

namespace {

// The flat plans read their days in the system zone: Brisbane keeps UTC+10.
struct BrisbaneTz {
    BrisbaneTz() {
        qputenv("TZ", "Australia/Brisbane");
        tzset();
    }
    ~BrisbaneTz() {
        qunsetenv("TZ");
        tzset();
    }
};

class Source : public TPlanSource, public TTariffSource {
public:
    Source() {
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db_.setDatabaseName(dir_.filePath(QStringLiteral("history.sqlite")));
        db_.open();
        MigrateHistory(db_, HistorySchemaVersion());
        flat.emplace(db_);
        tariff.emplace(db_);
    }
    ~Source() override {
        flat.reset();
        tariff.reset();
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
    }
    QList<StoredUse> Periods() override { return {}; }
    PlanStore& Plans() override { return *flat; }
    TariffPlanStore& TariffPlans() override { return *tariff; }
    std::pair<QDate, QDate> MeterRange() override { return range; }
    IntervalSeries Intervals(QDate, QDate) override { return series; }

    std::optional<PlanStore> flat;
    std::optional<TariffPlanStore> tariff;
    std::pair<QDate, QDate> range;
    IntervalSeries series;

private:
    QTemporaryDir dir_;
    QString connection_ = QUuid::createUuid().toString();
    QSqlDatabase db_;
};

SteppedRate Rate(double price) {
    return {{RateStep{price, {}}}, StepPeriod::Year};
}

// AEST peak 15:00 to 21:00 at 0.50, off-peak 0.10, $1.00 a day, feed-in 0.05,
// a guaranteed 10 % off usage.
TariffPlan TimeOfUse() {
    TariffPlan p;
    p.name = QStringLiteral("Time of use");
    TariffSeason all;
    all.dailySupply = 1.00;
    all.usage.timeOfUse = true;
    all.usage.tou = {{RateType::Peak, {}, Rate(0.50), {{0x7F, 900, 1260}}},
                     {RateType::OffPeak, {}, Rate(0.10), {{0x7F, 1260, 900}}}};
    p.seasons = {all};
    p.feedIn.present = true;
    p.feedIn.single = Rate(0.05);
    p.discounts = {
        {QStringLiteral("Guaranteed"), true, TariffDiscount::Method::PercentOfUse, 10, {}}};
    return p;
}

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
        flat.emplace(*form, source, fx.dialogs);
        tariffs.emplace(*form, *flat, source,
                        TTariffPresenter::MyPlanSetting{[this] { return myPlan; },
                                                        [this](const QString& n) { myPlan = n; }});
        // "Saver": $1.00 a day, 0.25 a kWh, 0.07 feed-in; the history's copy of
        // it from before tariff plans has other rates and is not shown.
        source.flat->Add(QStringLiteral("Saver"), PlanRates{1.00, 0.25, 0, 0, 0.07, 0, false});
        source.tariff->Add(FlatTariffPlan(QStringLiteral("saver"), 9, 9, 0, 0, 0, 0, false));
        source.tariff->Add(TimeOfUse());
    }
    void Refresh() {
        flat->Refresh();
        tariffs->Refresh();
        if (std::optional<IntervalRanking> work = tariffs->Prepare()) {
            tariffs->Take(RankOnIntervals(*work));
        }
    }
    QStringList Column(QString TariffRowTexts::*field) const {
        QStringList out;
        for (const TariffRowTexts& r : tariffs->Rows()) {
            out << r.*field;
        }
        return out;
    }

    BrisbaneTz tz;
    FormFixture fx;
    TForm1* form = nullptr;
    Source source;
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

TEST_F(TariffPresenterTest, MeterDataRanksBreaksDownAndComparesTheYearWithMyPlan) {
    // Each of two days: 3 kWh at 02:00, 1 kWh at 16:00, 1 kWh exported at 12:00.
    for (int day : {1, 2}) {
        auto at = [&](int hour) {
            return QDateTime(QDate(2024, 1, day), QTime(hour, 0), QTimeZone(36000))
                .toSecsSinceEpoch();
        };
        source.series.add(at(2), 30, 3, IntervalRole::General);
        source.series.add(at(16), 30, 1, IntervalRole::General);
        source.series.add(at(12), 30, 1, IntervalRole::Export);
    }
    source.range = {QDate(2024, 1, 1), QDate(2024, 1, 2)};
    tariffs->UseMeterData(true);
    Refresh();
    // Time of use: 2 × (1 + 0.30 + 0.50 - 0.08 - 0.05) = 3.34; Saver:
    // 2 × (1 + 4 × 0.25 - 0.07) = 3.86.
    EXPECT_EQ(Column(&TariffRowTexts::name), QStringList({"Time of use", "Saver"}));
    EXPECT_EQ(Column(&TariffRowTexts::total), QStringList({"$3.34", "$3.86"}));
    EXPECT_EQ(Column(&TariffRowTexts::difference), QStringList({"", "+$0.52"}));
    QStringList lines;
    for (const BreakdownTexts& t : tariffs->BreakdownOf(0)) {
        lines << QStringList{t.item, t.kwh, t.rate, t.cost}.join(u'|');
    }
    EXPECT_EQ(lines, QStringList({"Supply|||$2.00", "Peak|2.00|$0.5000|$1.00",
                                  "Off-peak|6.00|$0.1000|$0.60", "Feed-in|2.00|$0.0500|($0.10)",
                                  "Discounts|||($0.16)", "Tax|||$0.00", "Total|||$3.34"}))
        << lines.join(u'\n').toStdString();

    tariffs->MarkMyPlan(1);
    EXPECT_EQ(myPlan, "Saver");
    EXPECT_EQ(Column(&TariffRowTexts::myPlan), QStringList({"", "My plan"}));
    const QString year = tariffs->YearText(0);
    EXPECT_TRUE(year.contains("$3.34. The cheapest plan. It saves $0.52 against my plan, Saver."))
        << year.toStdString();
    EXPECT_TRUE(tariffs->YearText(1).contains("Choosing the cheapest, Time of use, would have "
                                              "saved $0.52."));
    tariffs->MarkMyPlan(1);
    EXPECT_EQ(myPlan, "");
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

} // namespace
