#include "calc/periodcalc.h"
#include "mylib/money.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <limits>

namespace {

PeriodInputs StandardExample() {
    PeriodInputs in;
    in.generalBefore = "1000";
    in.generalAfter = "1300";
    in.hotWaterBefore = "500";
    in.hotWaterAfter = "560";
    in.generalDailyCharge = "1.00";
    in.generalRate = "0.25";
    in.hwDailyCharge = "0.20";
    in.hwRate = "0.15";
    return in;
}

PeriodLabels Labels(qint64 days, const PeriodInputs& in) {
    const QLocale us("en_US");
    return PeriodLabelTexts(ComputePeriod(days, in, us), in.solar, in.showHotWater, us, 2);
}

} // namespace

TEST(PeriodLabels, StandardWithHotWaterWorkedExample) {
    const PeriodLabels l = Labels(30, StandardExample());
    EXPECT_EQ(l.dayslabel, "30");
    EXPECT_EQ(l.used, "360.0");
    EXPECT_EQ(l.usedwk, "(300.0 + 60.0)");
    EXPECT_EQ(l.dused, "12.0");
    EXPECT_EQ(l.dusedwk, "(10.0 + 2.0)");
    EXPECT_EQ(l.dcost, "$2.80");
    EXPECT_EQ(l.dcostwk, "($2.50 + $0.30)");
    EXPECT_EQ(l.tdcost, "$4.00");
    EXPECT_EQ(l.tdcostwk, "($3.50 + $0.50)");
    EXPECT_EQ(l.fresult, "$36.00");
    EXPECT_EQ(l.fresultwk, "($30.00 + $6.00)");
    EXPECT_EQ(l.vresult, "$84.00");
    EXPECT_EQ(l.vresultwk, "($75.00 + $9.00)");
    EXPECT_EQ(l.tresult, "$120.00");
    EXPECT_FALSE(l.totalNegative);
    EXPECT_EQ(l.tresultwk, "(($105.00 + $15.00) - $0.00)");
    EXPECT_EQ(l.exportedlabel, "0.0");
    EXPECT_EQ(l.exportedincome, "$0.00");
}

TEST(PeriodLabels, SolarWithoutHotWaterWorkedExample) {
    PeriodInputs in;
    in.solar = true;
    in.showHotWater = false;
    in.exportBefore = "0";
    in.exportAfter = "500";
    in.importGeneralBefore = "200";
    in.importGeneralAfter = "300";
    in.feedIn = "0.10";
    in.generalDailyCharge = "1.00";
    in.generalRate = "0.30";
    in.hwDailyCharge = "0.20"; // ignored while hot water is hidden
    in.importHwBefore = "0";
    in.importHwAfter = "999";
    const PeriodLabels l = Labels(10, in);
    EXPECT_EQ(l.exportedlabel, "500");
    EXPECT_EQ(l.exportedincome, "$50.00");
    EXPECT_EQ(l.used, "100");
    EXPECT_EQ(l.dused, "10.0");
    EXPECT_EQ(l.dcost, "$3.00");
    EXPECT_EQ(l.tdcost, "$4.00");
    EXPECT_EQ(l.fresult, "$10.00");
    EXPECT_EQ(l.vresult, "$30.00");
    EXPECT_EQ(l.tresult, "($10.00)");
    EXPECT_TRUE(l.totalNegative);
    for (const QString& s :
         {l.usedwk, l.dusedwk, l.dcostwk, l.tdcostwk, l.fresultwk, l.vresultwk, l.tresultwk}) {
        EXPECT_TRUE(s.isEmpty());
    }
}

TEST(PeriodLabels, SolarKwhHasNoDecimalsAndHalvesGoAway) {
    PeriodInputs in;
    in.solar = true;
    in.showHotWater = false;
    in.importGeneralBefore = "100";
    in.importGeneralAfter = "250.4";
    in.exportAfter = "2.5";
    const PeriodLabels l = Labels(30, in);
    EXPECT_EQ(l.used, "150");
    EXPECT_EQ(l.dused, "5.0");
    EXPECT_EQ(l.exportedlabel, "3");
}

TEST(PeriodFigures, EachFieldIsReadOnItsOwnAndBadTextCountsAsZero) {
    PeriodInputs in = StandardExample();
    in.generalBefore = "abc";
    in.hwRate = "1e400";
    in.generalRate = "";
    const PeriodFigures f = ComputePeriod(30, in, QLocale("en_US"));
    EXPECT_DOUBLE_EQ(f.generalKwh, 1300);
    EXPECT_DOUBLE_EQ(f.hwKwh, 60);
    EXPECT_DOUBLE_EQ(f.variable, 0);
    EXPECT_DOUBLE_EQ(f.fixed, 36);
}

TEST(PeriodFigures, StandardModeIgnoresTheSolarFieldsAndHiddenHotWaterIsZero) {
    PeriodInputs in = StandardExample();
    in.feedIn = "0.5";
    in.exportAfter = "1000";
    in.showHotWater = false;
    const PeriodFigures f = ComputePeriod(30, in, QLocale("en_US"));
    EXPECT_DOUBLE_EQ(f.exportedKwh, 0);
    EXPECT_DOUBLE_EQ(f.income, 0);
    EXPECT_DOUBLE_EQ(f.hwKwh, 0);
    EXPECT_DOUBLE_EQ(f.hwFixed, 0);
    EXPECT_DOUBLE_EQ(f.totalNet, 30 + 75);
}

TEST(PeriodFigures, DecimalCommaLocaleReadsItsOwnSeparator) {
    PeriodInputs in = StandardExample();
    in.generalRate = "0,5";
    const PeriodFigures f = ComputePeriod(30, in, QLocale("de_DE"));
    EXPECT_DOUBLE_EQ(f.generalRate, 0.5);
    EXPECT_DOUBLE_EQ(f.generalDailyCharge, 0) << "1.00 is not a number under de_DE";
}

TEST(KwhText, SevenSignificantDigitsThenExponentForm) {
    EXPECT_EQ(KwhText(1234567.25, 1, '.'), "1234567.0");
    EXPECT_EQ(KwhText(123456.75, 1, '.'), "123456.8");
    EXPECT_EQ(KwhText(-12.25, 1, '.'), "-12.3");
    EXPECT_EQ(KwhText(-0.04, 1, '.'), "0.0");
    EXPECT_EQ(KwhText(12345678.0, 1, '.'), "1.234568E7");
    EXPECT_EQ(KwhText(2.5, 1, ','), "2,5");
}

// Readings of 1e308 and -1e308 overflow the kWh figure to infinity: such a
// label shows nothing at all, never "inf" or digits left from another figure.
TEST(PeriodLabels, OverflowingKwhFiguresShowNothing) {
    const double inf = std::numeric_limits<double>::infinity();
    // Labels are written one after another, as here.
    EXPECT_EQ(KwhText(12.25, 1, QChar(u'.')), QStringLiteral("12.3"));
    EXPECT_EQ(KwhText(inf, 1, QChar(u'.')), QString());
    EXPECT_EQ(KwhText(12.25, 0, QChar(u',')), QStringLiteral("12"));
    EXPECT_EQ(KwhText(-inf, 0, QChar(u',')), QString());
    EXPECT_EQ(KwhText(0.5, 1, QChar(u'.')), QStringLiteral("0.5"));
    EXPECT_EQ(KwhText(std::numeric_limits<double>::quiet_NaN(), 1, QChar(u'.')), QString());

    PeriodInputs in;
    in.showHotWater = false;
    in.generalBefore = QStringLiteral("-1e308");
    in.generalAfter = QStringLiteral("1e308");
    const QLocale us(QStringLiteral("en_US"));
    const PeriodLabels l = PeriodLabelTexts(ComputePeriod(30, in, us), false, false, us, 2);
    EXPECT_EQ(l.used, QString());
    EXPECT_EQ(l.dused, QString());
    EXPECT_EQ(FormatMoney(std::numeric_limits<double>::infinity(), us, 2), QString());
    EXPECT_EQ(l.dayslabel, QStringLiteral("30")) << "the other labels still show their figures";
}
