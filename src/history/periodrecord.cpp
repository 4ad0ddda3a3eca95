#include "history/periodrecord.h"

#include "mylib/numbers.h"

const std::array<PeriodField, 15>& PeriodFields() {
    static const std::array<PeriodField, 15> fields{{
        {"general_daily_charge", &PeriodInputs::generalDailyCharge,
         &PeriodNumbers::generalDailyCharge},
        {"general_rate", &PeriodInputs::generalRate, &PeriodNumbers::generalRate},
        {"hw_daily_charge", &PeriodInputs::hwDailyCharge, &PeriodNumbers::hwDailyCharge},
        {"hw_rate", &PeriodInputs::hwRate, &PeriodNumbers::hwRate},
        {"feed_in", &PeriodInputs::feedIn, &PeriodNumbers::feedIn},
        {"general_before", &PeriodInputs::generalBefore, &PeriodNumbers::generalBefore},
        {"general_after", &PeriodInputs::generalAfter, &PeriodNumbers::generalAfter},
        {"hot_water_before", &PeriodInputs::hotWaterBefore, &PeriodNumbers::hotWaterBefore},
        {"hot_water_after", &PeriodInputs::hotWaterAfter, &PeriodNumbers::hotWaterAfter},
        {"export_before", &PeriodInputs::exportBefore, &PeriodNumbers::exportBefore},
        {"export_after", &PeriodInputs::exportAfter, &PeriodNumbers::exportAfter},
        {"import_general_before", &PeriodInputs::importGeneralBefore,
         &PeriodNumbers::importGeneralBefore},
        {"import_general_after", &PeriodInputs::importGeneralAfter,
         &PeriodNumbers::importGeneralAfter},
        {"import_hw_before", &PeriodInputs::importHwBefore, &PeriodNumbers::importHwBefore},
        {"import_hw_after", &PeriodInputs::importHwAfter, &PeriodNumbers::importHwAfter},
    }};
    return fields;
}

HistoryPeriod MakeHistoryPeriod(QDate from, QDate to, const PeriodInputs& inputs,
                                const QLocale& locale, const QLocale& money, int moneyDecimals,
                                const QDateTime& savedAt) {
    HistoryPeriod p;
    p.from = from;
    p.to = to;
    p.days = from.daysTo(to);
    p.typed = inputs;
    for (const PeriodField& field : PeriodFields()) {
        p.numbers.*field.number = ParseLocaleNumber(inputs.*field.text, locale).value_or(0.0);
    }
    const PeriodFigures f = ComputePeriod(p.days, inputs, locale);
    // The calculation's own replacements, so the numbers are the ones it used.
    p.numbers.hwDailyCharge = f.hwDailyCharge;
    p.numbers.feedIn = f.feedIn;
    p.kwhGeneral = f.generalKwh;
    p.kwhHotWater = f.hwKwh;
    p.kwhExported = f.exportedKwh;
    p.fixed = f.fixed;
    p.variable = f.variable;
    p.income = f.income;
    p.net = f.totalNet;
    p.netPerDay = p.days > 0 ? f.totalNet / static_cast<double>(p.days) : 0.0;
    p.currencySymbol = money.currencySymbol();
    p.moneyDecimals = moneyDecimals;
    p.savedAt = savedAt.toUTC();
    return p;
}
