// The pricing rules, each on a small plan and a few intervals worked by hand.
#include "plans/plancalc.h"
#include "tariff/tariffpricing.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <functional>

namespace {

constexpr quint8 kWeekdays = 0x1F, kWeekend = 0x60, kEveryDay = 0x7F;

SteppedRate Rate(double price) {
    return {{RateStep{price, {}}}, StepPeriod::Year};
}
SteppedRate Steps(double first, double volume, double rest, StepPeriod period) {
    return {{RateStep{first, volume}, RateStep{rest, {}}}, period};
}
TouRate Tou(RateType type, double price, QList<TimeWindow> windows) {
    return {type, {}, Rate(price), windows};
}

TariffPlan Single(double supply, SteppedRate rate, TariffZone zone = TariffZone::Aest) {
    TariffPlan p;
    p.name = "Plan";
    p.zone = zone;
    TariffSeason s;
    s.name = "All year";
    s.dailySupply = supply;
    s.usage.single = rate;
    p.seasons = {s};
    return p;
}

// Peak 0.50 from 07:00 to 22:00, off-peak 0.20 overnight, every day.
TariffPlan PeakOffPeak(TariffZone zone) {
    TariffPlan p = Single(1.00, Rate(0), zone);
    p.seasons[0].usage.timeOfUse = true;
    p.seasons[0].usage.tou = {Tou(RateType::Peak, 0.50, {{kEveryDay, 420, 1320}}),
                              Tou(RateType::OffPeak, 0.20, {{kEveryDay, 1320, 420}})};
    return p;
}

// A plan with a controlled load (0.10, 0.20 a day) and a 0.05 feed-in.
TariffPlan WithExtras(std::function<void(TariffPlan&)> change) {
    TariffPlan p = Single(1.00, Rate(0.30));
    p.controlledLoad = {true, "Hot water", {false, Rate(0.10), {}}, 0.20};
    p.feedIn.present = true;
    p.feedIn.single = Rate(0.05);
    change(p);
    return p;
}

qint64 At(const char* when) {
    return QDateTime::fromString(when, Qt::ISODate).toSecsSinceEpoch();
}

struct Reading {
    const char* when; // ISO date-time with its offset
    double kwh;
    IntervalRole role = IntervalRole::General;
};

IntervalSeries Series(const QList<Reading>& readings) {
    IntervalSeries s;
    for (const Reading& r : readings) {
        s.add(QDateTime::fromString(r.when, Qt::ISODate).toSecsSinceEpoch(), 30, r.kwh, r.role);
    }
    return s;
}

struct Worked {
    const char* what;
    TariffPlan plan;
    QList<Reading> readings;
    qint64 days;
    double supply, usage, controlledLoad, discounts, tax, feedIn, total;
};

const Reading kHome[] = {{"2024-01-08T12:00:00+10:00", 10},
                         {"2024-01-08T03:00:00+10:00", 10, IntervalRole::ControlledLoad},
                         {"2024-01-08T12:30:00+10:00", 20, IntervalRole::Export}};

// Each row's figures by hand. kHome on one day: supply 1.00 + 0.20 for the
// controlled load = 1.20; usage 10 x 0.30 = 3.00; controlled load 10 x 0.10 =
// 1.00; feed-in 20 x 0.05 = 1.00 credit; bill before discounts 5.20.
QList<Worked> WorkedRows() {
    const QList<Reading> home(std::begin(kHome), std::end(kHome));
    TariffDiscount useTen{"Ten off use", true, TariffDiscount::Method::PercentOfUse, 10, {}};
    TariffDiscount billTen{"Ten off the bill", true, TariffDiscount::Method::PercentOfBill, 10, {}};
    TariffDiscount onTime{"Pay on time", false, TariffDiscount::Method::PercentOfBill, 5, {}};
    TariffPlan midnight = Single(1.00, Rate(0));
    midnight.seasons[0].usage.timeOfUse = true;
    midnight.seasons[0].usage.tou = {
        Tou(RateType::Peak, 0.50, {{kWeekdays, 420, 1320}}),
        Tou(RateType::OffPeak, 0.20, {{kWeekdays, 1320, 420}, {kWeekend, 0, 0}})};
    TariffPlan seasons = Single(1.00, Rate(0.25));
    seasons.seasons[0] = {"Winter", 4, 1, 10, 31, 1.00, {false, Rate(0.25), {}}, {}};
    seasons.seasons.append({"Summer", 11, 1, 3, 31, 1.50, {false, Rate(0.40), {}}, {}});
    TariffPlan touSteps = PeakOffPeak(TariffZone::Aest);
    touSteps.seasons[0].usage.tou[0].rate = Steps(0.50, 1, 1.00, StepPeriod::Day);
    touSteps.seasons[0].usage.tou[1].rate = Steps(0.10, 1, 0.20, StepPeriod::Day);
    return {
        // Fri 23:30 off-peak 0.20; Sat 06:30 weekend off-peak 2 x 0.20; Mon
        // 06:30 (before the end of Monday's own 22:00-07:00) 0.20; Mon 07:00
        // and 21:30 peak 0.50 each; Mon 22:00 off-peak 0.20. Fri to Mon: 4 days.
        {"a window across midnight",
         midnight,
         {{"2024-01-05T23:30:00+10:00", 1},
          {"2024-01-06T06:30:00+10:00", 2},
          {"2024-01-08T06:30:00+10:00", 1},
          {"2024-01-08T07:00:00+10:00", 1},
          {"2024-01-08T21:30:00+10:00", 1},
          {"2024-01-08T22:00:00+10:00", 1}},
         4,
         4.00,
         2.00,
         0,
         0,
         0,
         0,
         6.00},
        // 31 Mar summer 10 x 0.40, 1 Apr winter 10 x 0.25, 31 Dec summer 10 x
        // 0.40 = 10.50. Days 31 Mar to 31 Dec: 62 summer x 1.50 + 214 winter.
        {"a season wrapping the year end",
         seasons,
         {{"2024-03-31T12:00:00+10:00", 10},
          {"2024-04-01T12:00:00+10:00", 10},
          {"2024-12-31T12:00:00+10:00", 10}},
         276,
         307.00,
         10.50,
         0,
         0,
         0,
         0,
         317.50},
        // First 10 kWh a day at 0.20: day one 12 kWh = 2.00 + 2 x 0.30; day
        // two 4 kWh = 0.80.
        {"a daily step",
         Single(0, Steps(0.20, 10, 0.30, StepPeriod::Day)),
         {{"2024-01-01T10:00:00+10:00", 6},
          {"2024-01-01T11:00:00+10:00", 6},
          {"2024-01-02T10:00:00+10:00", 4}},
         2,
         0,
         3.40,
         0,
         0,
         0,
         0,
         3.40},
        // First 100 kWh a month at 0.20: January 120 kWh = 20 + 20 x 0.30;
        // February starts again: 50 x 0.20.
        {"a monthly step",
         Single(0, Steps(0.20, 100, 0.30, StepPeriod::Month)),
         {{"2024-01-31T23:00:00+10:00", 80},
          {"2024-01-31T23:30:00+10:00", 40},
          {"2024-02-01T00:00:00+10:00", 50}},
         2,
         0,
         36.00,
         0,
         0,
         0,
         0,
         36.00},
        // Peak and off-peak count apart: peak 1.5 kWh = 0.50 + 0.5 x 1.00;
        // off-peak 3 kWh = 0.10 + 2 x 0.20.
        {"each type steps on its own",
         touSteps,
         {{"2024-01-01T08:00:00+10:00", 1.5},
          {"2024-01-01T02:00:00+10:00", 1},
          {"2024-01-01T23:00:00+10:00", 2}},
         1,
         1.00,
         1.50,
         0,
         0,
         0,
         0,
         2.50},
        {"percent of use: 10 % of 4.00", WithExtras([&](TariffPlan& p) { p.discounts = {useTen}; }),
         home, 1, 1.20, 3.00, 1.00, -0.40, 0, -1.00, 3.80},
        {"percent of the bill: 10 % of 5.20",
         WithExtras([&](TariffPlan& p) { p.discounts = {billTen}; }), home, 1, 1.20, 3.00, 1.00,
         -0.52, 0, -1.00, 3.68},
        {"a conditional discount is not applied",
         WithExtras([&](TariffPlan& p) { p.discounts = {onTime}; }), home, 1, 1.20, 3.00, 1.00, 0,
         0, -1.00, 4.20},
        // 10 % of 5.20; the credit untaxed.
        {"tax on the charges", WithExtras([](TariffPlan& p) { p.taxPercent = 10; }), home, 1, 1.20,
         3.00, 1.00, 0, 0.52, -1.00, 4.72},
        // 0.52 less 10 % of the 1.00 credit.
        {"tax on the feed-in too", WithExtras([](TariffPlan& p) {
             p.taxPercent = 10;
             p.taxOnFeedIn = true;
         }),
         home, 1, 1.20, 3.00, 1.00, 0, 0.42, -1.00, 4.62},
        // 10 % of (5.20 - 0.52).
        {"tax after a discount", WithExtras([&](TariffPlan& p) {
             p.taxPercent = 10;
             p.discounts = {billTen};
         }),
         home, 1, 1.20, 3.00, 1.00, -0.52, 0.468, -1.00, 4.148},
    };
}

void ExpectFigures(const TariffPrice& got, const Worked& w) {
    constexpr double eps = 1e-9;
    EXPECT_EQ(got.days, w.days);
    EXPECT_NEAR(got.supply, w.supply, eps);
    EXPECT_NEAR(got.usage, w.usage, eps);
    EXPECT_NEAR(got.controlledLoad, w.controlledLoad, eps);
    EXPECT_NEAR(got.discounts, w.discounts, eps);
    EXPECT_NEAR(got.tax, w.tax, eps);
    EXPECT_NEAR(got.feedIn, w.feedIn, eps);
    EXPECT_NEAR(got.total, w.total, eps);
    EXPECT_NEAR(got.supply + got.usage + got.controlledLoad + got.discounts + got.tax + got.feedIn,
                got.total, eps);
}

// Sets TZ for the scope and puts the old value back.
class ZoneScope {
public:
    explicit ZoneScope(const char* tz)
        : had_(qEnvironmentVariableIsSet("TZ")), old_(qgetenv("TZ")) {
        qputenv("TZ", tz);
        tzset();
    }
    ~ZoneScope() {
        if (had_) {
            qputenv("TZ", old_);
        } else {
            qunsetenv("TZ");
        }
        tzset();
    }

private:
    bool had_;
    QByteArray old_;
};

} // namespace

TEST(TariffPricing, WorkedTable) {
    for (const Worked& w : WorkedRows()) {
        SCOPED_TRACE(w.what);
        ASSERT_EQ(ValidateTariffPlan(w.plan), "");
        ExpectFigures(PriceTariff(w.plan, Series(w.readings)), w);
    }
}

TEST(TariffPricing, ConditionalDiscountShowsItsSavingWithTax) {
    TariffPlan p = WithExtras([](TariffPlan& p) {
        p.taxPercent = 10;
        p.discounts = {{"Pay on time", false, TariffDiscount::Method::PercentOfBill, 5, {}}};
    });
    const TariffPrice got =
        PriceTariff(p, Series(QList<Reading>(std::begin(kHome), std::end(kHome))));
    ASSERT_EQ(got.conditional.size(), 1);
    EXPECT_NEAR(got.conditional[0].saving, 0.05 * 5.20 * 1.1, 1e-9); // 0.286
    EXPECT_EQ(got.discounts, 0.0);
}

// Sydney moved to UTC+11 at 02:00 on 6 October 2024. 20:30Z is 07:30 there on
// Monday (peak, 1 kWh 0.50) but 06:30 AEST (off-peak 0.20); 11:30Z is 22:30
// (off-peak, 3 kWh 0.60) against 21:30 AEST (peak 1.50); 13:30Z is 00:30 on
// Tuesday there, 23:30 on Monday AEST (off-peak either way, 0.20). So the
// LOCAL plan: 2 days, usage 1.30, total 3.30; the AEST plan: 1 day, usage
// 1.90, total 2.90.
TEST(TariffPricing, DaylightSavingSeenThroughTheZone) {
    const ZoneScope sydney("Australia/Sydney");
    const IntervalSeries s = Series(
        {{"2024-10-06T20:30:00Z", 1}, {"2024-10-07T11:30:00Z", 3}, {"2024-10-07T13:30:00Z", 1}});
    const TariffPrice local = PriceTariff(PeakOffPeak(TariffZone::Local), s);
    EXPECT_EQ(local.days, 2);
    EXPECT_NEAR(local.usage, 1.30, 1e-9);
    EXPECT_NEAR(local.total, 3.30, 1e-9);
    const TariffPrice aest = PriceTariff(PeakOffPeak(TariffZone::Aest), s);
    EXPECT_EQ(aest.days, 1);
    EXPECT_NEAR(aest.usage, 1.90, 1e-9);
    EXPECT_NEAR(aest.total, 2.90, 1e-9);
}

// The rate type each start falls in, as the heat map shows it: the same three
// instants as above, read in the plan's zone or in its tariff period's own.
TEST(TariffPricing, UsageTypesFollowThePricedWindows) {
    const ZoneScope sydney("Australia/Sydney");
    const IntervalSeries s = Series(
        {{"2024-10-06T20:30:00Z", 1}, {"2024-10-07T11:30:00Z", 3}, {"2024-10-07T13:30:00Z", 1}});
    constexpr RateType P = RateType::Peak, O = RateType::OffPeak;
    const struct {
        TariffZone plan;
        std::optional<TariffZone> season;
        std::vector<RateType> types;
    } rows[] = {
        {TariffZone::Local, std::nullopt, {P, O, O}},
        {TariffZone::Aest, std::nullopt, {O, P, O}},
        {TariffZone::Aest, TariffZone::Local, {P, O, O}},
        {TariffZone::Local, TariffZone::Aest, {O, P, O}},
    };
    for (const auto& row : rows) {
        TariffPlan plan = PeakOffPeak(row.plan);
        plan.seasons[0].zone = row.season;
        EXPECT_EQ(CompiledTariff(plan).usageTypes(ZonedSeries(s)), row.types)
            << static_cast<int>(row.plan) << " " << row.season.has_value();
    }
}

// $0.3009 a kWh and $1.3684 a day with 10 % GST are 0.3009 / 1.1 and
// 1.3684 / 1.1 before it: 365 x 1.3684 + 10,000 x 0.3009 = 3,508.466.
TEST(TariffPricing, PublishedFlatExample) {
    const TariffPlan p = [] {
        TariffPlan p = Single(1.3684 / 1.1, Rate(0.3009 / 1.1));
        p.taxPercent = 10;
        return p;
    }();
    const TariffPrice period =
        PricePeriodKwh(p, QDate(2023, 7, 1), QDate(2024, 6, 29), 10000, 0, 0, false);
    EXPECT_EQ(period.days, 365);
    EXPECT_EQ(std::round(period.total * 100) / 100, 3508.47);
    IntervalSeries year;
    const qint64 start = At("2023-07-01T00:00:00+10:00");
    for (int i = 0; i < 365 * 48; ++i) {
        year.add(start + i * 1800LL, 30, 10000.0 / (365 * 48), IntervalRole::General);
    }
    EXPECT_EQ(std::round(PriceTariff(p, year).total * 100) / 100, 3508.47);
}

// A flat plan of the Compare plans page gives the figures plancalc gives.
TEST(TariffPricing, FlatPlansPriceAsBefore) {
    struct Row {
        bool solar, hotWater;
        double g, h, e;
        PlanRates rates;
    };
    const Row rows[] = {
        {false, true, 300, 60, 0, {1.10, 0.22, 0.15, 0.12, 0, 10, false}},
        {false, false, 300, 0, 0, {1.00, 0.25, 0.20, 0.50, 0, 15, false}},
        {true, false, 100, 0, 500, {1.00, 0.30, 0.20, 0.50, 0.10, 10, true}},
        {true, true, 150, 40, 200, {0.90, 0.20, 0.10, 0.15, 0.05, 100, false}},
        {false, false, -40, 0, 0, {0.50, 0.25, 0, 0, 0, 10, false}},
    };
    for (const Row& r : rows) {
        PeriodBasis use;
        use.solar = r.solar;
        use.showHotWater = r.hotWater;
        use.generalKwh = r.g;
        use.hwKwh = r.h;
        use.exportedKwh = r.e;
        const PlanFigures before = ComputePlan(30, use, r.rates);
        const PlanRates& x = r.rates;
        const TariffPlan flat =
            FlatTariffPlan("Flat", x.generalDailyCharge, x.generalRate, x.hwDailyCharge, x.hwRate,
                           x.feedIn, x.taxPercent, x.taxOnIncome);
        ASSERT_EQ(ValidateTariffPlan(flat), "");
        const TariffPrice now =
            PricePeriodKwh(flat, QDate(2024, 1, 1), QDate(2024, 1, 30), r.g, r.h, r.e, r.hotWater);
        EXPECT_NEAR(now.supply, before.period.fixed, 1e-9);
        EXPECT_NEAR(now.usage + now.controlledLoad, before.period.variable, 1e-9);
        EXPECT_NEAR(now.feedIn, -before.period.income, 1e-9);
        EXPECT_NEAR(now.tax, before.tax, 1e-9);
        EXPECT_NEAR(now.total, before.net, 1e-9);
    }
}

// 450 kWh over 30 days is 15 a day: 10 x 0.20 + 5 x 0.30 = 3.50 a day.
TEST(TariffPricing, PeriodKwhSpreadsOverTheDays) {
    const TariffPlan stepped = Single(0, Steps(0.20, 10, 0.30, StepPeriod::Day));
    const TariffPrice p =
        PricePeriodKwh(stepped, QDate(2024, 4, 1), QDate(2024, 4, 30), 450, 0, 0, false);
    EXPECT_NEAR(p.total, 105.0, 1e-9);
    EXPECT_EQ(PriceNote(p), "");
    const TariffPrice tou = PricePeriodKwh(PeakOffPeak(TariffZone::Aest), QDate(2024, 4, 1),
                                           QDate(2024, 4, 30), 450, 0, 0, false);
    EXPECT_TRUE(tou.needsMeterData);
    EXPECT_EQ(PriceNote(tou), "needs meter data");
    EXPECT_EQ(tou.total, 0.0);
}

TEST(TariffPricing, UnpricedPartsAreNamed) {
    TariffPlan p = Single(1, Rate(0.3));
    p.notPriced = {"demand charges"};
    const TariffPrice got =
        PriceTariff(p, Series({{"2024-01-01T10:00:00+10:00", 1, IntervalRole::ControlledLoad}}));
    EXPECT_EQ(PriceNote(got),
              "not fully priced: demand charges, controlled load (the plan has no rate for it)");
}
