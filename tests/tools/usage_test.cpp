#include "mylib/numbers.h"
#include "tools/usagecost.h"

#include <array>
#include <gtest/gtest.h>
#include <utility>

TEST(UsageCost, ExtendedPrecisionProduct) {
    EXPECT_DOUBLE_EQ(UsageCost(2000, 3, 0.25), 1.5);
    EXPECT_DOUBLE_EQ(UsageCost(2000, 21, 0.25), 10.5);
    EXPECT_DOUBLE_EQ(UsageCost(2000, 3 * 365, 0.25), 547.5);
    EXPECT_DOUBLE_EQ(UsageCost(0, 1, 0.28283), 0.0);
    EXPECT_DOUBLE_EQ(UsageCost(-100, 2, 0.5), -0.1);
}

TEST(UsageKwh, HundredthsHalfToEvenPaddedToTwoDecimals) {
    EXPECT_EQ(UsageKwhText(0, 1), "0.00");
    EXPECT_EQ(UsageKwhText(100, 1), "0.10");
    EXPECT_EQ(UsageKwhText(1000, 1), "1.00");
    EXPECT_EQ(UsageKwhText(1234, 1), "1.23");
    EXPECT_EQ(UsageKwhText(125, 1), "0.12");
    EXPECT_EQ(UsageKwhText(375, 1), "0.38");
    EXPECT_EQ(UsageKwhText(2000, 3), "6.00");
    EXPECT_EQ(UsageKwhText(1555, 1), "1.56");
}

TEST(UsageTexts, WorkedExampleAndInvalidInputs) {
    const UsageTexts t = UsageLabelTexts("0.25", "2000", "3", '.', QLocale(), 2);
    ASSERT_TRUE(t.valid);
    EXPECT_EQ(t.result, "Cost: $1.50");
    EXPECT_EQ(t.kwh, "(6.00 kwh)");
    EXPECT_EQ(t.perWeek, "$10.50 per week");
    EXPECT_EQ(t.perYear, "$547.50 per year");
    EXPECT_TRUE(UsageLabelTexts("0.25", " 100", "1", '.', QLocale(), 2).valid);
    for (auto [rate, watts, hours] : {std::array<const char*, 3>{"0.25", "100 ", "1"},
                                      {"0.25", "100", ""},
                                      {"", "100", "1"},
                                      {"0,25", "100", "1"},
                                      {"0.25", "1e999", "1"},
                                      {"0.25", "abc", "1"}}) {
        EXPECT_FALSE(UsageLabelTexts(rate, watts, hours, '.', QLocale(), 2).valid)
            << rate << "|" << watts << "|" << hours;
    }
}

TEST(UsageTexts, APointNeedsDigitsOnBothSides) {
    for (const char* text : {"100.", ".5", "-.5", "+.5", "1.e5", ".", "1..5", "1.5.", "1.5e"}) {
        EXPECT_FALSE(ParsePlainNumber(text).has_value()) << text;
        EXPECT_FALSE(UsageLabelTexts("0.25", text, "1", '.', QLocale(), 2).valid) << text;
        EXPECT_FALSE(UsageLabelTexts(text, "100", "1", '.', QLocale(), 2).valid) << text;
    }
    for (auto [text, value] : {std::pair{"100.0", 100.0},
                               {"0.5", 0.5},
                               {"-1.25e2", -125.0},
                               {"  7", 7.0},
                               {"+3", 3.0},
                               {"2E-1", 0.2}}) {
        ASSERT_TRUE(ParsePlainNumber(text).has_value()) << text;
        EXPECT_DOUBLE_EQ(*ParsePlainNumber(text), value) << text;
    }
    // A decimal comma takes the place of the point under the same rule.
    EXPECT_DOUBLE_EQ(ParsePlainNumber("0,5", ',').value_or(0), 0.5);
    for (const char* text : {",5", "5,", "5,.5", "5.5,5"}) {
        EXPECT_FALSE(ParsePlainNumber(text, ',').has_value()) << text;
    }
}
