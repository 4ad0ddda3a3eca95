#pragma once
// Checking a plan as the user typed it. Every check is a pure function of the
// texts (read with the given locale) and returns the message to show beside the
// field, or nothing when the field is fine. A plan is stored only when no field
// has a message, so a half-typed plan never reaches the comparison.

#include "plans/plancalc.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

struct PlanTexts {
    QString name;
    QString generalDailyCharge, generalRate, hwDailyCharge, hwRate, feedIn, taxPercent;
    bool taxOnIncome = false;
};

enum class PlanField {
    Name,
    GeneralDailyCharge,
    GeneralRate,
    HwDailyCharge,
    HwRate,
    FeedIn,
    TaxPercent
};

struct PlanFieldError {
    PlanField field;
    QString message;
};

// The name of the typed tariff's row; no stored plan may take it.
QString AsTypedName();

// No tariff charges more than this per kWh or per day in any currency with
// cents; a larger figure is a typing slip that would swamp every comparison.
inline constexpr double kLargestRate = 100;
// Longer names push the figures off the page.
inline constexpr qsizetype kLongestPlanName = 60;

// A charge or rate: a number from 0 to kLargestRate.
std::optional<QString> RateError(const QString& text, const QLocale& locale);

// A tax percentage: a finite number from 0 to 100.
std::optional<QString> TaxError(const QString& text, const QLocale& locale);

// A name: not blank, at most kLongestPlanName characters, and not the name of another plan (letter
// case and surrounding blanks ignored) nor "As typed". `otherNames` excludes the plan being edited.
std::optional<QString> NameError(const QString& name, const QStringList& otherNames);

// Every field's message, in the order of the fields; empty when the plan can
// be stored.
QList<PlanFieldError> ValidatePlan(const PlanTexts& texts, const QStringList& otherNames,
                                   const QLocale& locale);

// The rates in valid texts (ValidatePlan returned nothing).
PlanRates ParsePlanRates(const PlanTexts& texts, const QLocale& locale);

// The name as stored: without surrounding blanks.
QString CleanPlanName(const QString& name);
