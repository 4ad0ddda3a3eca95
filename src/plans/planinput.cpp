#include "plans/planinput.h"

#include "mylib/numbers.h"

namespace {

// Quoting a whole pasted page back at the user helps nobody.
constexpr qsizetype kQuoteLimit = 40;

QString Quoted(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() <= kQuoteLimit) {
        return QStringLiteral("\"%1\"").arg(t);
    }
    return QStringLiteral("\"%1...\"").arg(t.left(kQuoteLimit));
}

// The number in `text`, or the message saying why there is none.
std::optional<QString> NumberError(const QString& text, const QLocale& locale, double* value) {
    if (text.trimmed().isEmpty()) {
        return QStringLiteral("Enter a number (0 when the plan has no such charge).");
    }
    const std::optional<double> v = ParseLocaleNumber(text, locale);
    if (!v) {
        return QStringLiteral("%1 is not a number.").arg(Quoted(text));
    }
    *value = *v;
    return std::nullopt;
}

double Number(const QString& text, const QLocale& locale) {
    return ParseLocaleNumber(text, locale).value_or(0.0);
}

} // namespace

QString AsTypedName() {
    return QStringLiteral("As typed");
}

QString CleanPlanName(const QString& name) {
    return name.trimmed();
}

std::optional<QString> RateError(const QString& text, const QLocale& locale) {
    double v = 0;
    if (auto e = NumberError(text, locale, &v)) {
        return e;
    }
    if (v < 0) {
        return QStringLiteral("Cannot be negative.");
    }
    if (v > kLargestRate) {
        return QStringLiteral("Cannot be more than 100 (per kWh or per day).");
    }
    return std::nullopt;
}

std::optional<QString> TaxError(const QString& text, const QLocale& locale) {
    double v = 0;
    if (auto e = NumberError(text, locale, &v)) {
        return e;
    }
    if (v < 0 || v > 100) {
        return QStringLiteral("The tax must be from 0 to 100 percent.");
    }
    return std::nullopt;
}

std::optional<QString> NameError(const QString& name, const QStringList& otherNames) {
    const QString clean = CleanPlanName(name);
    if (clean.isEmpty()) {
        return QStringLiteral("Enter a name for the plan.");
    }
    if (clean.size() > kLongestPlanName) {
        return QStringLiteral("A plan name can have at most 60 characters.");
    }
    if (clean.compare(AsTypedName(), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("\"%1\" is the tariff on the readings page; choose another name.")
            .arg(AsTypedName());
    }
    for (const QString& other : otherNames) {
        if (clean.compare(CleanPlanName(other), Qt::CaseInsensitive) == 0) {
            return QStringLiteral("A plan named %1 already exists.").arg(Quoted(other));
        }
    }
    return std::nullopt;
}

QList<PlanFieldError> ValidatePlan(const PlanTexts& t, const QStringList& otherNames,
                                   const QLocale& locale) {
    QList<PlanFieldError> errors;
    auto add = [&errors](PlanField field, const std::optional<QString>& message) {
        if (message) {
            errors.append({field, *message});
        }
    };
    add(PlanField::Name, NameError(t.name, otherNames));
    add(PlanField::GeneralDailyCharge, RateError(t.generalDailyCharge, locale));
    add(PlanField::GeneralRate, RateError(t.generalRate, locale));
    add(PlanField::HwDailyCharge, RateError(t.hwDailyCharge, locale));
    add(PlanField::HwRate, RateError(t.hwRate, locale));
    add(PlanField::FeedIn, RateError(t.feedIn, locale));
    add(PlanField::TaxPercent, TaxError(t.taxPercent, locale));
    return errors;
}

PlanRates ParsePlanRates(const PlanTexts& t, const QLocale& locale) {
    PlanRates r;
    r.generalDailyCharge = Number(t.generalDailyCharge, locale);
    r.generalRate = Number(t.generalRate, locale);
    r.hwDailyCharge = Number(t.hwDailyCharge, locale);
    r.hwRate = Number(t.hwRate, locale);
    r.feedIn = Number(t.feedIn, locale);
    r.taxPercent = Number(t.taxPercent, locale);
    r.taxOnIncome = t.taxOnIncome;
    return r;
}
