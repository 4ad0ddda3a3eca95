#include "tools/converter.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace {

using Q = ConverterQuantity;

ConverterValues Given(double v, double p, double i, double r) {
    ConverterValues g;
    g.volts = v;
    g.watts = p;
    g.amps = i;
    g.ohms = r;
    return g;
}

constexpr double A = kConverterAbsent;

// What was found, as (quantity, step, cycle), in order.
std::vector<std::tuple<Q, int, int>> Order(const ConverterSolution& s) {
    std::vector<std::tuple<Q, int, int>> out;
    for (const ConverterFinding& f : s.found) {
        out.emplace_back(f.quantity, f.step, f.cycle);
    }
    return out;
}

QString Text(const ConverterSolution& s, Q q) {
    for (const ConverterFinding& f : s.found) {
        if (f.quantity == q) {
            return ConverterFieldText(f.value, QLocale(QLocale::English, QLocale::UnitedStates));
        }
    }
    return QStringLiteral("<not found>");
}

} // namespace

struct PairCase {
    const char* name;
    ConverterValues given;
    std::vector<std::tuple<Q, int, int>> order;
    QString first, second;
};

class ConverterPairs : public testing::TestWithParam<PairCase> {};

// Every pair of given values: which quantity is found in which step and cycle,
// and the texts written; the third cycle adds nothing.
TEST_P(ConverterPairs, FindsTheOtherTwoInTheirStepAndCycle) {
    const PairCase& c = GetParam();
    const ConverterSolution s = SolveConverter(c.given);
    ASSERT_EQ(s.outcome, ConverterOutcome::Solved);
    EXPECT_EQ(Order(s), c.order);
    ASSERT_EQ(s.found.size(), 2u);
    EXPECT_EQ(Text(s, std::get<0>(c.order[0])), c.first);
    EXPECT_EQ(Text(s, std::get<0>(c.order[1])), c.second);
    EXPECT_EQ(ConverterGivenCount(s.values), 4);
}

INSTANTIATE_TEST_SUITE_P(AllSix, ConverterPairs,
                         testing::Values(PairCase{"PowerCurrent",
                                                  Given(A, 100, 0.5, A),
                                                  {{Q::Voltage, 3, 1}, {Q::Resistance, 4, 1}},
                                                  "200",
                                                  "400"},
                                         PairCase{"PowerVoltage",
                                                  Given(230, 100, A, A),
                                                  {{Q::Current, 2, 1}, {Q::Resistance, 4, 1}},
                                                  "0.43478",
                                                  "529"},
                                         PairCase{"PowerResistance",
                                                  Given(A, 100, A, 529),
                                                  {{Q::Voltage, 3, 1}, {Q::Current, 2, 2}},
                                                  "230",
                                                  "0.43478"},
                                         PairCase{"CurrentVoltage",
                                                  Given(12, A, 2, A),
                                                  {{Q::Power, 1, 1}, {Q::Resistance, 4, 1}},
                                                  "24",
                                                  "6"},
                                         PairCase{"CurrentResistance",
                                                  Given(A, A, 2, 6),
                                                  {{Q::Voltage, 3, 1}, {Q::Power, 1, 2}},
                                                  "12",
                                                  "24"},
                                         PairCase{"VoltageResistance",
                                                  Given(230, A, A, 3),
                                                  {{Q::Current, 2, 1}, {Q::Power, 1, 2}},
                                                  "76.66667",
                                                  "17633.33333"},
                                         PairCase{"TinyCurrentAndPower",
                                                  Given(1, A, A, 100000),
                                                  {{Q::Current, 2, 1}, {Q::Power, 1, 2}},
                                                  "1E-5",
                                                  "1E-5"}),
                         [](const testing::TestParamInfo<PairCase>& info) {
                             return info.param.name;
                         });

TEST(SolveConverter, LaterStepsUseTheUnroundedValue) {
    // R from the rounded 0.43478 would be 529.0004...
    const ConverterSolution s = SolveConverter(Given(230, 100, A, A));
    ASSERT_EQ(s.outcome, ConverterOutcome::Solved);
    EXPECT_DOUBLE_EQ(s.values.amps, 100.0 / 230.0);
    EXPECT_NEAR(s.values.ohms, 529.0, 1e-9);
    EXPECT_EQ(s.values.volts, 230.0);
    EXPECT_EQ(s.values.watts, 100.0);
}

TEST(SolveConverter, MinusOneCountsAsAbsentWhateverItsOrigin) {
    EXPECT_EQ(ConverterGivenCount(Given(-1, 5, -1, -1)), 1);
    EXPECT_EQ(ConverterGivenCount(Given(A, A, A, A)), 0);
    EXPECT_EQ(ConverterGivenCount(Given(1, 2, 3, 4)), 4);
    // A power of I x V = -1 is written but stays absent, so it is worked out
    // and written again in every cycle.
    const ConverterSolution p = SolveConverter(Given(0.5, A, -2, A));
    ASSERT_EQ(p.outcome, ConverterOutcome::Solved);
    const std::vector<std::tuple<Q, int, int>> expected = {
        {Q::Power, 1, 1}, {Q::Resistance, 4, 1}, {Q::Power, 1, 2}, {Q::Power, 1, 3}};
    EXPECT_EQ(Order(p), expected);
    EXPECT_EQ(p.values.watts, A);
    EXPECT_EQ(p.values.ohms, -0.25);
    // A voltage of P / I = -1 is not present, so it is never written, and the
    // resistance, which needs it, is never found.
    const ConverterSolution v = SolveConverter(Given(A, 2, -2, A));
    ASSERT_EQ(v.outcome, ConverterOutcome::Solved);
    EXPECT_TRUE(v.found.empty());
    EXPECT_EQ(v.values.ohms, A);
}

TEST(SolveConverter, NegativeValuesOfTheSameSignStillSolve) {
    const ConverterSolution s = SolveConverter(Given(A, -100, A, -529));
    ASSERT_EQ(s.outcome, ConverterOutcome::Solved);
    EXPECT_EQ(Text(s, Q::Voltage), "230");
    EXPECT_EQ(Text(s, Q::Current), "-0.43478");
}

TEST(SolveConverter, OppositeSignsOfPowerAndResistanceFindNothing) {
    for (const ConverterValues& g : {Given(A, -100, A, 529), Given(A, 100, A, -529)}) {
        const ConverterSolution s = SolveConverter(g);
        EXPECT_EQ(s.outcome, ConverterOutcome::OppositeSigns);
        EXPECT_TRUE(s.found.empty());
    }
    EXPECT_FALSE(ConverterFailureMessage(ConverterOutcome::OppositeSigns).isEmpty());
}

TEST(SolveConverter, ResultsThatAreNotFiniteFindNothing) {
    const ConverterValues cases[] = {
        Given(1e308, A, 1e308, A),   // P overflows
        Given(A, 1e308, 1e-308, A),  // V overflows
        Given(1e308, 1e308, A, A),   // I = 1 and R = 1e308 are finite
        Given(1e308, 1e-308, A, A),  // I underflows to 0, then R = V / 0
        Given(A, 1e308, A, 1e308),   // P x R overflows under the root
        Given(-1e308, A, A, 1e-308), // I overflows
    };
    const ConverterOutcome expected[] = {ConverterOutcome::NotFinite, ConverterOutcome::NotFinite,
                                         ConverterOutcome::Solved,    ConverterOutcome::NotFinite,
                                         ConverterOutcome::NotFinite, ConverterOutcome::NotFinite};
    for (size_t k = 0; k < std::size(cases); ++k) {
        SCOPED_TRACE(k);
        const ConverterSolution s = SolveConverter(cases[k]);
        EXPECT_EQ(s.outcome, expected[k]);
        if (s.outcome != ConverterOutcome::Solved) {
            EXPECT_TRUE(s.found.empty());
        }
        for (const ConverterFinding& f : s.found) {
            EXPECT_TRUE(std::isfinite(f.value));
        }
    }
    EXPECT_FALSE(ConverterFailureMessage(ConverterOutcome::NotFinite).isEmpty());
    EXPECT_NE(ConverterFailureMessage(ConverterOutcome::NotFinite),
              ConverterFailureMessage(ConverterOutcome::OppositeSigns));
}

TEST(ConverterFieldText, RoundsToFiveDecimalsHalfToEvenInExtendedPrecision) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    // Exact binary halves go to the even neighbour.
    EXPECT_EQ(ConverterFieldText(0.015625, us), "0.01562");
    EXPECT_EQ(ConverterFieldText(0.046875, us), "0.04688");
    EXPECT_EQ(ConverterFieldText(-0.015625, us), "-0.01562");
    // The double nearest 0.000025 lies just above the half: in double
    // arithmetic x 100000 gives exactly 2.5 (and 2E-5), in extended precision not.
    EXPECT_EQ(ConverterFieldText(0.000025, us), "3E-5");
    EXPECT_EQ(ConverterFieldText(0.0000049, us), "0");
    EXPECT_EQ(ConverterFieldText(-0.000001, us), "0");
}

TEST(ConverterFieldText, GeneralFormatInTheLocale) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(ConverterFieldText(0.00005, us), "5E-5");
    EXPECT_EQ(ConverterFieldText(0.0001, us), "0.0001");
    EXPECT_EQ(ConverterFieldText(1234567.891234, us), "1234567.89123");
    EXPECT_EQ(ConverterFieldText(1e15, us), "1E15");
    EXPECT_EQ(ConverterFieldText(1e308, us), "1E308");
    EXPECT_EQ(ConverterFieldText(100.0 / 230.0, QLocale(QLocale::German, QLocale::Germany)),
              "0,43478");
}

TEST(ConverterMessages, DependOnTheCount) {
    const QString few = "Enter two values, and the others will be calculated.";
    const QString many = "Enter only two values, and the others will be calculated.";
    EXPECT_EQ(ConverterCountMessage(0), few);
    EXPECT_EQ(ConverterCountMessage(1), few);
    EXPECT_EQ(ConverterCountMessage(2), QString());
    EXPECT_EQ(ConverterCountMessage(3), many);
    EXPECT_EQ(ConverterCountMessage(4), many);
}
