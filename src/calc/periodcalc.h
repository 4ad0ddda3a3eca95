#pragma once
// The reading-period figures and their label texts. Inputs are the field texts
// as typed; a text that is not a finite number counts as 0 without disturbing
// the others. Everything here is pure: CalcAll (app/formperiod.cpp) reads the
// window, calls these and writes the labels back in its own order.

#include <QLocale>
#include <QString>
#include <array>

struct PeriodInputs {
    bool solar = false;
    bool showHotWater = true;
    QString hwDailyCharge, generalDailyCharge, generalRate, hwRate;
    // Standard mode.
    QString generalBefore, generalAfter, hotWaterBefore, hotWaterAfter;
    // Solar mode.
    QString feedIn, exportBefore, exportAfter, importGeneralBefore, importGeneralAfter,
        importHwBefore, importHwAfter;
};

// The fifteen typed fields of a period, listed once: the key the settings
// file stores the text under, the column stem of a stored period and the
// member. The five charges and rates come first, then the ten readings; the
// order is the settings file's.
struct PeriodInputField {
    const char* settingsKey;
    const char* column;
    QString PeriodInputs::*text;
};
inline constexpr std::size_t kPeriodTariffFieldCount = 5;
const std::array<PeriodInputField, 15>& PeriodInputFields();

struct PeriodFigures {
    qint64 days = 0;
    double hwDailyCharge = 0, generalDailyCharge = 0, generalRate = 0, hwRate = 0;
    double generalFixed = 0, hwFixed = 0, fixed = 0;
    double feedIn = 0, exportedKwh = 0, generalKwh = 0, hwKwh = 0;
    double income = 0, generalVariable = 0, hwVariable = 0, variable = 0, totalNet = 0;
};

// The numbers a period is worked out from: the charges and rates, and the kWh
// each meter moved (later minus original reading). Every tariff, the typed one
// and any other, goes through the same ComputePeriod below.
struct PeriodBasis {
    bool solar = false;
    bool showHotWater = true;
    double hwDailyCharge = 0, generalDailyCharge = 0, generalRate = 0, hwRate = 0, feedIn = 0;
    double generalKwh = 0, hwKwh = 0, exportedKwh = 0;
};

// The numbers in the field texts, each read on its own (not a number: 0). The
// fields of the other mode are not read.
PeriodBasis ReadPeriodBasis(const PeriodInputs& in, const QLocale& locale);

// The figures for a positive day count. Hidden hot water zeroes its daily
// charge and kWh; standard mode zeroes the feed-in tariff and the export.
PeriodFigures ComputePeriod(qint64 days, const PeriodBasis& n);
PeriodFigures ComputePeriod(qint64 days, const PeriodInputs& in, const QLocale& locale);

struct PeriodLabels {
    QString dayslabel, exportedlabel, exportedincome, used, usedwk, dused, dusedwk, dcost, dcostwk,
        tdcost, tdcostwk, fresult, fresultwk, vresult, vresultwk, tresult, tresultwk;
    bool totalNegative = false; // tresult is shown green
};

// The label texts for a positive day count; split labels are empty while hot
// water is hidden. Money texts use `locale` with `moneyDecimals` decimals.
PeriodLabels PeriodLabelTexts(const PeriodFigures& f, bool solar, bool showHotWater,
                              const QLocale& locale, int moneyDecimals);
// The same with money texts in `money`, which may differ from the locale of
// the kWh texts (LC_MONETARY beside LC_NUMERIC).
PeriodLabels PeriodLabelTexts(const PeriodFigures& f, bool solar, bool showHotWater,
                              const QLocale& locale, const QLocale& money, int moneyDecimals);

// A kWh figure with exactly n decimals, rounded once to at most 7 significant
// digits and n decimals (halves away from zero); more than 7 integer digits
// switch to the general format with 7 significant digits.
QString KwhText(double value, int decimals, QChar separator);

// "(" general " + " hot water ")".
QString SplitText(const QString& general, const QString& hotWater);
