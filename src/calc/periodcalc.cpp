#include "calc/periodcalc.h"

#include "mylib/money.h"
#include "mylib/numbers.h"

#include <cmath>

const std::array<PeriodInputField, 15>& PeriodInputFields() {
    static const std::array<PeriodInputField, 15> fields{{
        {"DailyServiceCharge", "general_daily_charge", &PeriodInputs::generalDailyCharge},
        {"GeneralChargePerUnit", "general_rate", &PeriodInputs::generalRate},
        {"HotWaterDailyMeterCharge", "hw_daily_charge", &PeriodInputs::hwDailyCharge},
        {"HotWaterChargePerUnit", "hw_rate", &PeriodInputs::hwRate},
        {"FeedInTariff", "feed_in", &PeriodInputs::feedIn},
        {"GeneralBefore", "general_before", &PeriodInputs::generalBefore},
        {"GeneralAfter", "general_after", &PeriodInputs::generalAfter},
        {"HotWaterBefore", "hot_water_before", &PeriodInputs::hotWaterBefore},
        {"HotWaterAfter", "hot_water_after", &PeriodInputs::hotWaterAfter},
        {"ExportBefore", "export_before", &PeriodInputs::exportBefore},
        {"ExportAfter", "export_after", &PeriodInputs::exportAfter},
        {"ImportGeneralBefore", "import_general_before", &PeriodInputs::importGeneralBefore},
        {"ImportGeneralAfter", "import_general_after", &PeriodInputs::importGeneralAfter},
        {"ImportHWBefore", "import_hw_before", &PeriodInputs::importHwBefore},
        {"ImportHWAfter", "import_hw_after", &PeriodInputs::importHwAfter},
    }};
    return fields;
}

namespace {

double Read(const QString& text, const QLocale& locale) {
    return ParseLocaleNumber(text, locale).value_or(0.0);
}

} // namespace

PeriodBasis ReadPeriodBasis(const PeriodInputs& in, const QLocale& locale) {
    PeriodBasis n;
    n.solar = in.solar;
    n.showHotWater = in.showHotWater;
    n.hwDailyCharge = Read(in.hwDailyCharge, locale);
    n.generalDailyCharge = Read(in.generalDailyCharge, locale);
    n.generalRate = Read(in.generalRate, locale);
    n.hwRate = Read(in.hwRate, locale);
    // The kWh a meter moved is a difference of two typed decimals: kept
    // without its binary noise, so that a stored period holds 379.341 and not
    // 379.34100000000035.
    auto moved = [&](const QString& before, const QString& after) {
        return WithoutNoise(Read(after, locale) - Read(before, locale));
    };
    if (in.solar) {
        n.feedIn = Read(in.feedIn, locale);
        n.exportedKwh = moved(in.exportBefore, in.exportAfter);
        n.generalKwh = moved(in.importGeneralBefore, in.importGeneralAfter);
        n.hwKwh = moved(in.importHwBefore, in.importHwAfter);
    } else {
        n.generalKwh = moved(in.generalBefore, in.generalAfter);
        n.hwKwh = moved(in.hotWaterBefore, in.hotWaterAfter);
    }
    return n;
}

PeriodFigures ComputePeriod(qint64 days, const PeriodBasis& n) {
    PeriodFigures f;
    f.days = days;
    const double d = static_cast<double>(days);
    f.hwDailyCharge = n.showHotWater ? n.hwDailyCharge : 0.0;
    f.generalDailyCharge = n.generalDailyCharge;
    f.generalRate = n.generalRate;
    f.hwRate = n.hwRate;
    f.feedIn = n.solar ? n.feedIn : 0.0;
    f.exportedKwh = n.solar ? n.exportedKwh : 0.0;
    f.generalKwh = n.generalKwh;
    f.hwKwh = n.showHotWater ? n.hwKwh : 0.0;
    f.generalFixed = d * f.generalDailyCharge;
    f.hwFixed = d * f.hwDailyCharge;
    f.fixed = f.generalFixed + f.hwFixed;
    f.income = f.exportedKwh * f.feedIn;
    f.generalVariable = f.generalKwh * f.generalRate;
    f.hwVariable = f.hwKwh * f.hwRate;
    f.variable = f.generalVariable + f.hwVariable;
    f.totalNet = f.fixed + f.variable - f.income;
    return f;
}

PeriodFigures ComputePeriod(qint64 days, const PeriodInputs& in, const QLocale& locale) {
    return ComputePeriod(days, ReadPeriodBasis(in, locale));
}

QString KwhText(double value, int decimals, QChar separator) {
    if (!std::isfinite(value)) {
        // Figures of absurd readings (1e308 minus -1e308) overflow: the label
        // shows nothing rather than "INF" or a made-up number.
        return QString();
    }
    const DecimalDigits d = RoundDecimal(value, 7, decimals);
    if (d.exponent > 7) {
        return FormatGeneral(value, separator, 7);
    }
    return FixedText(d, decimals, separator);
}

QString SplitText(const QString& general, const QString& hotWater) {
    return QStringLiteral("(") + general + QStringLiteral(" + ") + hotWater + QStringLiteral(")");
}

PeriodLabels PeriodLabelTexts(const PeriodFigures& f, bool solar, bool showHotWater,
                              const QLocale& locale, int moneyDecimals) {
    return PeriodLabelTexts(f, solar, showHotWater, locale, locale, moneyDecimals);
}

PeriodLabels PeriodLabelTexts(const PeriodFigures& f, bool solar, bool showHotWater,
                              const QLocale& locale, const QLocale& moneyLocale,
                              int moneyDecimals) {
    const QChar sep = DecimalSeparator(locale);
    const int n = solar ? 0 : 1;
    const double days = static_cast<double>(f.days);
    auto money = [&](double v) { return FormatMoney(v, moneyLocale, moneyDecimals); };
    auto kwh = [&](double v, int decimals) { return KwhText(v, decimals, sep); };
    auto split = [&](const QString& a, const QString& b) {
        return showHotWater ? SplitText(a, b) : QString();
    };

    PeriodLabels l;
    l.dayslabel = QString::number(f.days);
    l.exportedlabel = kwh(f.exportedKwh, n);
    l.exportedincome = money(f.income);
    l.used = kwh(f.generalKwh + f.hwKwh, n);
    l.usedwk = split(kwh(f.generalKwh, n), kwh(f.hwKwh, n));
    l.dused = kwh((f.generalKwh + f.hwKwh) / days, 1);
    l.dusedwk = split(kwh(f.generalKwh / days, 1), kwh(f.hwKwh / days, 1));
    l.dcost = money(f.variable / days);
    l.dcostwk = split(money(f.generalVariable / days), money(f.hwVariable / days));
    l.tdcost = money((f.fixed + f.variable) / days);
    l.tdcostwk = split(money((f.generalVariable + f.generalFixed) / days),
                       money((f.hwVariable + f.hwFixed) / days));
    l.fresult = money(f.fixed);
    l.fresultwk = split(money(days * f.generalDailyCharge), money(days * f.hwDailyCharge));
    l.vresult = money(f.variable);
    l.vresultwk = split(money(f.generalVariable), money(f.hwVariable));
    l.totalNegative = f.totalNet < 0;
    l.tresult = money(f.totalNet);
    l.tresultwk = showHotWater ? QStringLiteral("((") + money(f.generalFixed + f.generalVariable) +
                                     QStringLiteral(" + ") + money(f.hwFixed + f.hwVariable) +
                                     QStringLiteral(") - ") + money(f.income) + QStringLiteral(")")
                               : QString();
    return l;
}
