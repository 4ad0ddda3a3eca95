#include "mylib/numbers.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(GeneralFormat, FifteenDigitsNoTrailingZerosNoGrouping) {
    EXPECT_EQ(FormatGeneral(1.00326, QChar('.')), "1.00326");
    EXPECT_EQ(FormatGeneral(1234567.5, QChar('.')), "1234567.5");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2, QChar('.')), "0.3");
    EXPECT_EQ(FormatGeneral(2.0 / 3.0, QChar('.')), "0.666666666666667");
    EXPECT_EQ(FormatGeneral(-42.0, QChar('.')), "-42");
    EXPECT_EQ(FormatGeneral(0.0, QChar('.')), "0");
    EXPECT_EQ(FormatGeneral(-0.0, QChar('.')), "0");
}

TEST(GeneralFormat, ExponentFormAtTheLimits) {
    EXPECT_EQ(FormatGeneral(1e15, QChar('.')), "1E15");
    EXPECT_EQ(FormatGeneral(999999999999999.0, QChar('.')), "999999999999999");
    // Rounding to 15 digits carries into the next power of ten.
    EXPECT_EQ(FormatGeneral(999999999999999.9, QChar('.')), "1E15");
    EXPECT_EQ(FormatGeneral(0.0001, QChar('.')), "0.0001");
    EXPECT_EQ(FormatGeneral(5e-5, QChar('.')), "5E-5");
    EXPECT_EQ(FormatGeneral(-1.2345e-5, QChar('.')), "-1.2345E-5");
    EXPECT_EQ(FormatGeneral(1e308, QChar('.')), "1E308");
    EXPECT_EQ(FormatGeneral(1.5e-308, QChar(',')), "1,5E-308");
}

TEST(GeneralFormat, UsesTheLocaleSeparator) {
    EXPECT_EQ(FormatGeneral(1.00326, QLocale("de_DE")), "1,00326");
    EXPECT_EQ(FormatGeneral(1.00326, QLocale("en_AU")), "1.00326");
    EXPECT_EQ(FormatGeneral(1234.5, QLocale("fr_FR")), "1234,5");
}

TEST(LocaleNumber, AcceptsSignBlanksSeparatorAndExponent) {
    const QLocale us("en_US");
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("  12.5 ", us), 12.5);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("-3", us), -3.0);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("+.5", us), 0.5);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("5.", us), 5.0);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("1e3", us), 1000.0);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("2.5E-2", us), 0.025);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("0,25", QLocale("de_DE")), 0.25);
}

TEST(LocaleNumber, RejectsEverythingElse) {
    const QLocale us("en_US");
    for (const char* bad : {"", "   ", ".", "-", "1,000", "1.2.3", "12a", "a12", "1e", "1e+", "--1",
                            "1 2", "inf", "nan", "1e400", "-1e400", "0x10", "١٢"}) {
        EXPECT_FALSE(ParseLocaleNumber(QString::fromUtf8(bad), us).has_value()) << bad;
    }
    // The other locale's separator is not a decimal point.
    EXPECT_FALSE(ParseLocaleNumber("0.25", QLocale("de_DE")).has_value());
    EXPECT_FALSE(ParseLocaleNumber("0,25", us).has_value());
}

TEST(PlainNumber, LeadingBlanksOnlyAndNumberMustEndTheText) {
    EXPECT_DOUBLE_EQ(*ParsePlainNumber(" 100"), 100.0);
    EXPECT_DOUBLE_EQ(*ParsePlainNumber("-2.5e1"), -25.0);
    EXPECT_FALSE(ParsePlainNumber("100 ").has_value());
    EXPECT_FALSE(ParsePlainNumber("").has_value());
    EXPECT_FALSE(ParsePlainNumber("   ").has_value());
    EXPECT_FALSE(ParsePlainNumber("1,5").has_value());
    EXPECT_FALSE(ParsePlainNumber("\t5").has_value());
    EXPECT_FALSE(ParsePlainNumber("1e999").has_value());
}

TEST(PlainNumber, TakesTheLocaleSeparatorAsWellAsThePoint) {
    EXPECT_DOUBLE_EQ(*ParsePlainNumber("0,28283", QChar(',')), 0.28283);
    EXPECT_DOUBLE_EQ(*ParsePlainNumber("0.28283", QChar(',')), 0.28283);
    EXPECT_FALSE(ParsePlainNumber("1,2.3", QChar(',')).has_value());
}

TEST(Rounding, HalvesAwayFromZeroOnThe18DigitExpansion) {
    // 0.125 is exact in binary: a true half rounds up.
    EXPECT_EQ(FixedText(RoundDecimal(0.125, 15, 2), 2, '.'), "0.13");
    EXPECT_EQ(FixedText(RoundDecimal(-0.125, 15, 2), 2, '.'), "-0.13");
    // 2.675 is 2.67499999999999982 in binary.
    EXPECT_EQ(FixedText(RoundDecimal(2.675, 15, 2), 2, '.'), "2.67");
    EXPECT_EQ(FixedText(RoundDecimal(9.995, 15, 2), 2, '.'), "9.99");
    EXPECT_EQ(FixedText(RoundDecimal(99.5, 15, 0), 0, '.'), "100");
    EXPECT_EQ(FixedText(RoundDecimal(-0.001, 15, 2), 2, '.'), "0.00");
    EXPECT_EQ(FixedText(RoundDecimal(0.4, 15, 0), 0, '.'), "0");
    EXPECT_EQ(FixedText(RoundDecimal(0.6, 15, 0), 0, '.'), "1");
}

TEST(Rounding, HalfToEvenInExtendedPrecision) {
    EXPECT_EQ(RoundHalfEven(12.5L), 12.0L);
    EXPECT_EQ(RoundHalfEven(37.5L), 38.0L);
    EXPECT_EQ(RoundHalfEven(-2.5L), -2.0L);
    EXPECT_EQ(RoundHalfEven(2.4999L), 2.0L);
}
