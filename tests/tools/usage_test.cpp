#include "tools/usagecost.h"

#include <gtest/gtest.h>

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
    const UsageTexts t = UsageLabelTexts("0.25", "2000", "3", '.');
    ASSERT_TRUE(t.valid);
    EXPECT_EQ(t.result, "Cost: $1.50");
    EXPECT_EQ(t.kwh, "(6.00 kwh)");
    EXPECT_EQ(t.perWeek, "$10.50 per week");
    EXPECT_EQ(t.perYear, "$547.50 per year");
    EXPECT_TRUE(UsageLabelTexts("0.25", " 100", "1", '.').valid);
    for (auto [rate, watts, hours] : {std::array<const char*, 3>{"0.25", "100 ", "1"},
                                      {"0.25", "100", ""},
                                      {"", "100", "1"},
                                      {"0,25", "100", "1"},
                                      {"0.25", "1e999", "1"},
                                      {"0.25", "abc", "1"}}) {
        EXPECT_FALSE(UsageLabelTexts(rate, watts, hours, '.').valid)
            << rate << "|" << watts << "|" << hours;
    }
}
