#pragma once
// One stored reading period: the inputs of the "Standard readings" page as
// typed, the numbers the period calculation read from them, the figures it
// worked out, and the money format in force when it was saved. Records are
// made only by MakeHistoryPeriod (from the calculation in calc/periodcalc),
// by the store (from the database) and by the CSV import (from an export).

#include "calc/periodcalc.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The numbers the calculation read from the fields of PeriodInputs, one per
// text: a text that is no number counts as 0; the hot-water daily charge is 0
// while hot water is hidden and the feed-in tariff 0 in standard mode, as in
// the calculation.
struct PeriodNumbers {
    double hwDailyCharge = 0, generalDailyCharge = 0, generalRate = 0, hwRate = 0;
    double generalBefore = 0, generalAfter = 0, hotWaterBefore = 0, hotWaterAfter = 0;
    double feedIn = 0, exportBefore = 0, exportAfter = 0, importGeneralBefore = 0,
           importGeneralAfter = 0, importHwBefore = 0, importHwAfter = 0;
};

struct HistoryPeriod {
    qint64 id = 0; // the store's row id; 0 before it is stored
    QDate from, to;
    qint64 days = 0;
    PeriodInputs typed; // also carries the solar and hot-water switches
    PeriodNumbers numbers;
    double kwhGeneral = 0, kwhHotWater = 0, kwhExported = 0;
    double fixed = 0, variable = 0, income = 0, net = 0, netPerDay = 0;
    QString currencySymbol;
    int moneyDecimals = 2;
    QString note;
    QDateTime savedAt; // UTC
    // The bill as sent, when one was typed: its amount, date and reference.
    std::optional<double> billed;
    QDate billDate;
    QString billReference;
    // The readings marked estimated, by their column stem ("general_after").
    QStringList estimated;
    // The warnings about its readings the period was stored with anyway.
    QStringList warnings;
    // The kWh were summed from stored meter intervals, not read off the meter.
    bool kwhFromMeterData = false;

    double Kwh() const { return kwhGeneral + kwhHotWater; }
    double KwhPerDay() const { return days > 0 ? Kwh() / static_cast<double>(days) : 0.0; }
    // The effective price: net cost over the kWh used, and the same without
    // the daily charges; 0 without use.
    double PricePerKwh() const { return Kwh() > 0 ? net / Kwh() : 0.0; }
    double EnergyPricePerKwh() const { return Kwh() > 0 ? (net - fixed) / Kwh() : 0.0; }
};

// The longest note the history keeps, in characters, and the message that
// names the limit.
inline constexpr qsizetype kNoteLimit = 2000;
QString NoteTooLongText();

// No reading, rate or figure of a household comes near this; beyond it the
// sums of a year could overflow and charts would show "inf".
inline constexpr double kLargestFigure = 1e15;

// Whether every number and figure of the period is finite and within
// kLargestFigure, so that it can be stored and summed; the message for a
// period that is not.
bool HasStorableFigures(const HistoryPeriod& period);
QString FiguresTooLargeText();

// The fifteen typed fields of PeriodInputFields() (their column name stem and
// text) with the number each is read into.
struct PeriodField {
    const char* column;
    QString PeriodInputs::*text;
    double PeriodNumbers::*number;
};
const std::array<PeriodField, 15>& PeriodFields();

// The period from `from` to `to` as the calculation sees `inputs`, read in
// `numbers`; the currency symbol is `money`'s. Requires from < to.
HistoryPeriod MakeHistoryPeriod(QDate from, QDate to, const PeriodInputs& inputs,
                                const QLocale& numbers, const QLocale& money, int moneyDecimals,
                                const QDateTime& savedAt);
// The same with one locale for numbers and money.
inline HistoryPeriod MakeHistoryPeriod(QDate from, QDate to, const PeriodInputs& inputs,
                                       const QLocale& locale, int moneyDecimals,
                                       const QDateTime& savedAt) {
    return MakeHistoryPeriod(from, to, inputs, locale, locale, moneyDecimals, savedAt);
}

// The period's field texts for the readings page in `locale`: a text is kept
// as typed when it reads the same there, and is otherwise the number it was
// read as when stored ("1,10" saved under de_DE gives "1.1" in en_US). Texts
// that are no number stay as typed. The stored record is not changed.
PeriodInputs TextsInLocale(const HistoryPeriod& period, const QLocale& locale);
