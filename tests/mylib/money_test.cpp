#include "mylib/money.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// Currency texts carry no-break spaces; spell them visibly in expectations.
QString Visible(QString s) {
    s.replace(QChar(0x00A0), QLatin1String("<nb>"));
    s.replace(QChar(0x202F), QLatin1String("<nnb>"));
    return s;
}

QString Money(double v, const char* locale) {
    const QLocale l(QString::fromLatin1(locale));
    return Visible(FormatMoney(v, l, CurrencyDecimals(l)));
}

} // namespace

TEST(Money, CurrencyDecimalsFollowTheLocaleCurrency) {
    EXPECT_EQ(CurrencyDecimals(QLocale("en_US")), 2);
    EXPECT_EQ(CurrencyDecimals(QLocale("de_DE")), 2);
    EXPECT_EQ(CurrencyDecimals(QLocale("ja_JP")), 0);
}

TEST(Money, PositiveAmountsAcrossLocales) {
    EXPECT_EQ(Money(1234.5, "en_US"), "$1,234.50");
    EXPECT_EQ(Money(1234.5, "en_AU"), "$1,234.50");
    EXPECT_EQ(Money(1234.5, "en_GB"), QString::fromUtf8("£1,234.50"));
    EXPECT_EQ(Money(1234.5, "de_DE"), QString::fromUtf8("1.234,50<nb>€"));
    EXPECT_EQ(Money(1234.5, "fr_FR"), QString::fromUtf8("1<nnb>234,50<nb>€"));
    EXPECT_EQ(Money(1234.5, "nl_NL"), QString::fromUtf8("€<nb>1.234,50"));
    EXPECT_EQ(Money(1234.5, "de_CH"), QString::fromUtf8("1’234.50<nb>CHF"));
    EXPECT_EQ(Money(1234.5, "ja_JP"), QString::fromUtf8("￥1,235"));
    EXPECT_EQ(Money(1234.5, "pt_BR"), QString::fromUtf8("R$<nb>1.234,50"));
}

TEST(Money, NegativeAmountsUseTheLocalePattern) {
    EXPECT_EQ(Money(-7, "en_US"), "($7.00)");
    EXPECT_EQ(Money(-7, "de_DE"), QString::fromUtf8("-7,00<nb>€"));
    EXPECT_EQ(Money(-7, "nl_NL"), QString::fromUtf8("(€<nb>7,00)"));
    EXPECT_EQ(Money(-7, "de_CH"), QString::fromUtf8("-7.00<nb>CHF"));
    EXPECT_EQ(Money(-7, "pt_BR"), QString::fromUtf8("R$<nb>-7,00"));
    EXPECT_EQ(Money(-7, "ja_JP"), QString::fromUtf8("(￥7)"));
    EXPECT_EQ(Money(-1234.5, "en_GB"), QString::fromUtf8("(£1,234.50)"));
}

TEST(Money, RoundsOnceHalfAwayFromZero) {
    EXPECT_EQ(Money(0.125, "en_US"), "$0.13");
    EXPECT_EQ(Money(2.675, "en_US"), "$2.67");
    EXPECT_EQ(Money(1.005, "en_US"), "$1.00"); // 1.00499999999999989...
    EXPECT_EQ(Money(2.5, "ja_JP"), QString::fromUtf8("￥3"));
    EXPECT_EQ(Money(-0.001, "en_US"), "$0.00");
    // Fifteen significant digits come first when they leave fewer decimals.
    EXPECT_EQ(Money(1234567890123.456, "en_US"), "$1,234,567,890,123.46");
    EXPECT_EQ(Money(12345678901234.56, "en_US"), "$12,345,678,901,234.60");
}

TEST(Money, MoreThanFifteenIntegerDigitsUseTheGeneralFormat) {
    EXPECT_EQ(Money(1234567890123456789.0, "en_US"), "$1.23456789012346E18");
    EXPECT_EQ(Money(-1e20, "de_DE"), QString::fromUtf8("-1E20<nb>€"));
    EXPECT_EQ(Money(999999999999999.0, "en_US"), "$999,999,999,999,999.00");
}

TEST(Money, LocaleWithoutCurrencyFallsBackToLeadingDollar) {
    EXPECT_EQ(Money(3.5, "C"), "$3.50");
}

// A money amount of more than 15 integer digits is the general number in the
// locale's pattern, also where the locale has digits of its own (ar_EG).
TEST(FormatMoney, HugeAmountsInLocalesWithTheirOwnDigits) {
    const QLocale egypt(QStringLiteral("ar_EG"));
    EXPECT_EQ(FormatMoney(1e20, egypt, 2), QString::fromUtf8("1E20\u00a0ج.م.\u200f"));
    EXPECT_EQ(FormatMoney(-2.5e18, egypt, 2), QString::fromUtf8("\u061c-2٫5E18\u00a0ج.م.\u200f"));
    EXPECT_EQ(FormatMoney(1e20, QLocale(QStringLiteral("en_US")), 2), QStringLiteral("$1E20"));
}

// With three currency decimals a 14-digit amount has more places than a double
// carries; the places beyond it are zeros, never digits of the binary value.
TEST(FormatMoney, DecimalsBeyondADoublesPrecisionArePaddedWithZeros) {
    const QLocale us(QStringLiteral("en_US"));
    EXPECT_EQ(FormatMoney(12345678901234.3, us, 3), QStringLiteral("$12,345,678,901,234.300"));
    EXPECT_EQ(FormatMoney(-12345678901234.3, us, 3), QStringLiteral("($12,345,678,901,234.300)"));
    // No decimals kept: the separator comes with the zeros.
    EXPECT_EQ(FormatMoney(123456789012345.0, us, 3), QStringLiteral("$123,456,789,012,345.000"));
    EXPECT_EQ(FormatMoney(12345678901234.3, QLocale(QStringLiteral("de_DE")), 3),
              QString::fromUtf8("12.345.678.901.234,300\u00a0€"));
    EXPECT_EQ(FormatMoney(12345678901234.3, QLocale(QStringLiteral("ar_EG")), 3),
              QString::fromUtf8("١٢٬٣٤٥٬٦٧٨٬٩٠١٬٢٣٤٫٣٠٠\u00a0ج.م.\u200f"));
    // Below the limit nothing changes.
    EXPECT_EQ(FormatMoney(1234567890123.25, us, 3), QStringLiteral("$1,234,567,890,123.250"));
}
