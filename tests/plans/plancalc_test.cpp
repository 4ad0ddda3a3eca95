// A plan's figures: the period calculation with the plan's rates, plus its tax.
#include "mylib/money.h"
#include "plans/plancalc.h"
#include "plans/planinput.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

PeriodBasis Standard(double generalKwh, double hwKwh, bool showHotWater = true) {
    PeriodBasis n;
    n.generalKwh = generalKwh;
    n.hwKwh = hwKwh;
    n.showHotWater = showHotWater;
    return n;
}

PeriodBasis Solar(double exported, double generalKwh, double hwKwh, bool showHotWater) {
    PeriodBasis n = Standard(generalKwh, hwKwh, showHotWater);
    n.solar = true;
    n.exportedKwh = exported;
    return n;
}

PlanRates Rates(double gDaily, double gRate, double hwDaily, double hwRate, double feedIn,
                double taxPercent, bool taxOnIncome) {
    return {gDaily, gRate, hwDaily, hwRate, feedIn, taxPercent, taxOnIncome};
}

struct Worked {
    const char* what;
    qint64 days;
    PeriodBasis use;
    PlanRates rates;
    double fixed, variable, income, tax, net;
};

// Figures worked out by hand, one row per situation.
const Worked kWorked[] = {
    {"standard, hot water, 10 % on the charges", 30, Standard(300, 60),
     Rates(1.10, 0.22, 0.15, 0.12, 0, 10, false), 37.5, 73.2, 0, 11.07, 121.77},
    {"standard, hot water hidden: its charge and kWh count nothing", 30, Standard(300, 60, false),
     Rates(1.00, 0.25, 0.20, 0.50, 0, 15, false), 30, 75, 0, 15.75, 120.75},
    {"standard mode ignores a feed-in tariff and any export", 30,
     [] {
         PeriodBasis n = Standard(300, 0, false);
         n.exportedKwh = 500;
         return n;
     }(),
     Rates(1.00, 0.25, 0, 0, 0.10, 0, true), 30, 75, 0, 0, 105},
    {"solar, 10 % on the charges only", 10, Solar(500, 100, 999, false),
     Rates(1.00, 0.30, 0.20, 0.50, 0.10, 10, false), 10, 30, 50, 4, -6},
    {"solar, 10 % on the income as well", 10, Solar(500, 100, 999, false),
     Rates(1.00, 0.30, 0.20, 0.50, 0.10, 10, true), 10, 30, 50, -1, -11},
    {"solar, 0 % with tax on income", 10, Solar(500, 100, 999, false),
     Rates(1.00, 0.30, 0.20, 0.50, 0.10, 0, true), 10, 30, 50, 0, -10},
    {"solar with hot water, 100 % on charges and income", 10, Solar(200, 150, 40, true),
     Rates(0.90, 0.20, 0.10, 0.15, 0.05, 100, true), 10, 36, 10, 36, 72},
    {"solar with hot water, 100 % on the charges only", 10, Solar(200, 150, 40, true),
     Rates(0.90, 0.20, 0.10, 0.15, 0.05, 100, false), 10, 36, 10, 46, 82},
    {"a later reading below the original gives a credit, taxed as it stands", 20,
     Standard(-40, 0, false), Rates(0.50, 0.25, 0, 0, 0, 10, false), 10, -10, 0, 0, 0},
};

} // namespace

TEST(PlanFigures, WorkedTable) {
    constexpr double eps = 1e-9;
    for (const Worked& w : kWorked) {
        SCOPED_TRACE(w.what);
        const PlanFigures f = ComputePlan(w.days, w.use, w.rates);
        EXPECT_NEAR(f.period.fixed, w.fixed, eps);
        EXPECT_NEAR(f.period.variable, w.variable, eps);
        EXPECT_NEAR(f.period.income, w.income, eps);
        EXPECT_NEAR(f.tax, w.tax, eps);
        EXPECT_NEAR(f.net, w.net, eps);
        EXPECT_NEAR(f.netPerDay, w.net / static_cast<double>(w.days), eps);
        EXPECT_NEAR(f.taxOnCharges - f.taxOnIncome, f.tax, eps);
        EXPECT_TRUE(IsShowable(f));
    }
}

// The typed tariff run as a plan must give the readings page's figures bit for
// bit: there is one calculation, not a copy of it.
TEST(PlanFigures, TypedTariffAsAPlanMatchesTheReadingsPage) {
    const QLocale de("de_DE");
    PeriodInputs in;
    in.generalBefore = "1000,3";
    in.generalAfter = "1312,7";
    in.hotWaterBefore = "500";
    in.hotWaterAfter = "561,1";
    in.generalDailyCharge = "1,0731";
    in.generalRate = "0,28283";
    in.hwDailyCharge = "0,2";
    in.hwRate = "0,1577";
    in.feedIn = "0,08";
    in.exportBefore = "12";
    in.exportAfter = "345,6";
    in.importGeneralBefore = "7";
    in.importGeneralAfter = "88,8";
    in.importHwBefore = "1";
    in.importHwAfter = "3";
    for (bool solar : {false, true}) {
        for (bool hw : {false, true}) {
            SCOPED_TRACE(testing::Message() << "solar " << solar << " hot water " << hw);
            in.solar = solar;
            in.showHotWater = hw;
            const PeriodFigures page = ComputePeriod(31, in, de);
            const PeriodBasis typed = ReadPeriodBasis(in, de);
            const PlanFigures plan = ComputePlan(31, typed, RatesOf(typed));
            const PeriodFigures& p = plan.period;
            EXPECT_EQ(p.fixed, page.fixed);
            EXPECT_EQ(p.generalFixed, page.generalFixed);
            EXPECT_EQ(p.hwFixed, page.hwFixed);
            EXPECT_EQ(p.variable, page.variable);
            EXPECT_EQ(p.generalVariable, page.generalVariable);
            EXPECT_EQ(p.hwVariable, page.hwVariable);
            EXPECT_EQ(p.income, page.income);
            EXPECT_EQ(p.exportedKwh, page.exportedKwh);
            EXPECT_EQ(p.generalKwh, page.generalKwh);
            EXPECT_EQ(p.hwKwh, page.hwKwh);
            EXPECT_EQ(plan.net, page.totalNet);
            EXPECT_EQ(plan.tax, 0.0);
        }
    }
}

// Tax is worked out on the exact decimal amounts, halves away from zero.
TEST(PlanFigures, TaxRoundsHalfCentsAsAPersonWould) {
    const struct {
        double amount, percent;
        int decimals;
        double tax;
    } cases[] = {
        {205.90, 15, 2, 30.89},   // 30.885; the binary product gives 30.88
        {-205.90, 15, 2, -30.89}, // away from zero below it too
        {1.05, 10, 2, 0.11},      // 0.105
        {2.675, 100, 2, 2.68},    // 2.675 is 2.67499999... in binary
        {0.1, 5, 2, 0.01},        // 0.005
        {0.1, 4.9, 2, 0.0},
        {5, 10, 0, 1},           // half a yen
        {1234.5, 19, 2, 234.56}, // 234.555
        {0, 15, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.amount << " " << c.percent);
        EXPECT_EQ(PercentOf(c.amount, c.percent, c.decimals), c.tax);
    }
    const PlanFigures f = ComputePlan(1, Standard(0, 0), Rates(205.90, 0, 0, 0, 0, 15, false), 2);
    EXPECT_EQ(f.tax, 30.89);
    EXPECT_EQ(FormatMoney(f.net, QLocale("en_US"), 2), "$236.79");
}

TEST(PlanFigures, OverflowIsNotShowable) {
    PlanFigures f = ComputePlan(30, Standard(1e308, 0), Rates(0, 1e10, 0, 0, 0, 10, false));
    EXPECT_FALSE(IsShowable(f));
    f = ComputePlan(30, Standard(300, 0), Rates(0, 0.25, 0, 0, 0, 10, false));
    f.netPerDay = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(IsShowable(f));
}

TEST(PlanInput, RatesMustBeNumbersOfZeroOrMore) {
    const QLocale us("en_US");
    EXPECT_FALSE(RateError("0", us));
    EXPECT_FALSE(RateError(" 0.25 ", us));
    EXPECT_FALSE(RateError("2.5E-1", us));
    EXPECT_EQ(RateError("", us), "Enter a number (0 when the plan has no such charge).");
    EXPECT_EQ(RateError("   ", us), "Enter a number (0 when the plan has no such charge).");
    EXPECT_EQ(RateError("0.2x", us), "\"0.2x\" is not a number.");
    EXPECT_EQ(RateError("inf", us), "\"inf\" is not a number.");
    EXPECT_EQ(RateError("nan", us), "\"nan\" is not a number.");
    EXPECT_EQ(RateError("1e400", us), "\"1e400\" is not a number.");
    EXPECT_EQ(RateError("-0.01", us), "Cannot be negative.");
    EXPECT_FALSE(RateError("100", us));
    for (const char* absurd : {"100.01", "99999999999999999999999", "1e308"}) {
        EXPECT_EQ(RateError(absurd, us), "Cannot be more than 100 (per kWh or per day).");
    }
    EXPECT_EQ(RateError(QString(60, QChar('x')), us),
              QStringLiteral("\"%1...\" is not a number.").arg(QString(40, QChar('x'))));
}

TEST(PlanInput, NumbersFollowTheLocale) {
    const QLocale de("de_DE");
    EXPECT_FALSE(RateError("0,25", de));
    EXPECT_EQ(RateError("0.25", de), "\"0.25\" is not a number.");
    PlanTexts t{"Saver", "1,1", "0,22", "0,15", "0,12", "0,05", "19", true};
    ASSERT_TRUE(ValidatePlan(t, {}, de).isEmpty());
    const PlanRates r = ParsePlanRates(t, de);
    EXPECT_DOUBLE_EQ(r.generalDailyCharge, 1.1);
    EXPECT_DOUBLE_EQ(r.generalRate, 0.22);
    EXPECT_DOUBLE_EQ(r.hwDailyCharge, 0.15);
    EXPECT_DOUBLE_EQ(r.hwRate, 0.12);
    EXPECT_DOUBLE_EQ(r.feedIn, 0.05);
    EXPECT_DOUBLE_EQ(r.taxPercent, 19);
    EXPECT_TRUE(r.taxOnIncome);
}

TEST(PlanInput, TaxIsAPercentageFromZeroToHundred) {
    const QLocale us("en_US");
    EXPECT_FALSE(TaxError("0", us));
    EXPECT_FALSE(TaxError("100", us));
    EXPECT_FALSE(TaxError("12.5", us));
    EXPECT_EQ(TaxError("100.01", us), "The tax must be from 0 to 100 percent.");
    EXPECT_EQ(TaxError("-1", us), "The tax must be from 0 to 100 percent.");
    EXPECT_EQ(TaxError("ten", us), "\"ten\" is not a number.");
    EXPECT_EQ(TaxError("", us), "Enter a number (0 when the plan has no such charge).");
}

TEST(PlanInput, NamesAreNeededAndUnique) {
    const QStringList others{"Saver", "Green 100"};
    EXPECT_FALSE(NameError("Flexi", others));
    EXPECT_FALSE(NameError("Saver 2", others));
    EXPECT_EQ(NameError("", others), "Enter a name for the plan.");
    EXPECT_EQ(NameError(" \t ", others), "Enter a name for the plan.");
    EXPECT_EQ(NameError("saver", others), "A plan named \"Saver\" already exists.");
    EXPECT_EQ(NameError("  GREEN 100 ", others), "A plan named \"Green 100\" already exists.");
    EXPECT_EQ(NameError("as typed", others),
              "\"As typed\" is the tariff on the readings page; choose another name.");
    EXPECT_EQ(CleanPlanName("  Flexi  "), "Flexi");
    EXPECT_FALSE(NameError(QString(60, QChar('n')) + "  ", others));
    EXPECT_EQ(NameError(QString(61, QChar('n')), others),
              "A plan name can have at most 60 characters.");
}

TEST(PlanInput, EveryBadFieldGetsItsOwnMessageInFieldOrder) {
    const QLocale us("en_US");
    const PlanTexts bad{"", "1", "abc", "-2", "0", "", "101", false};
    const QList<PlanFieldError> e = ValidatePlan(bad, {}, us);
    ASSERT_EQ(e.size(), 5);
    EXPECT_EQ(e[0].field, PlanField::Name);
    EXPECT_EQ(e[1].field, PlanField::GeneralRate);
    EXPECT_EQ(e[1].message, "\"abc\" is not a number.");
    EXPECT_EQ(e[2].field, PlanField::HwDailyCharge);
    EXPECT_EQ(e[2].message, "Cannot be negative.");
    EXPECT_EQ(e[3].field, PlanField::FeedIn);
    EXPECT_EQ(e[4].field, PlanField::TaxPercent);
    const PlanTexts good{"Flexi", "1", "0.3", "0", "0", "0", "10", false};
    EXPECT_TRUE(ValidatePlan(good, {"flexi 2"}, us).isEmpty());
    EXPECT_EQ(ValidatePlan(good, {"FLEXI"}, us).size(), 1);
}
