#include "plans/planspresenter.h"

#include "app/readingspage.h"
#include "mylib/dates.h"
#include "mylib/errors.h"
#include "mylib/locales.h"
#include "mylib/money.h"
#include "mylib/numbers.h"

#include <cmath>

namespace {

QString Money(double amount, const TLocales& locales, int decimals) {
    return FormatMoney(amount, locales.money, decimals);
}

QString Span(QDate from, QDate to, const TLocales& locales) {
    const QLocale& locale = locales.dates;
    return QStringLiteral("%1 to %2")
        .arg(FormatShortDate(from, locale), FormatShortDate(to, locale));
}

QString Count(qint64 n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

} // namespace

TPlansPresenter::TPlansPresenter(TReadingsPage& form, TPlanSource& source, TDialogs& dialogs)
    : form_(form), source_(source), dialogs_(dialogs) {}

void TPlansPresenter::Refresh() {
    const TLocales locales = form_.Locales();
    const PeriodInputs inputs = form_.ReadPeriodInputs();
    const PeriodBasis typedUse = ReadPeriodBasis(inputs, locales.numbers);
    typed_ = RatesOf(typedUse);
    // The standard layout only hides the feed-in tariff: stored solar periods
    // are still priced with it.
    typed_.feedIn = ParseLocaleNumber(inputs.feedIn, locales.numbers).value_or(0.0);
    std::optional<std::pair<QDate, QDate>> keep;
    if (selected_ > 0 && selected_ <= periods_.size()) {
        keep = std::pair(periods_[selected_ - 1].from, periods_[selected_ - 1].to);
    }
    faultText_.clear();
    try {
        plans_ = source_.Plans().Plans();
        periods_ = source_.Periods();
    } catch (const EVoltiskError& e) {
        plans_.clear();
        periods_.clear();
        faultText_ = e.Message();
    }

    const QDate from = form_.PeriodFrom();
    const QDate to = form_.PeriodTo();
    choices_ = {QStringLiteral("Readings page (%1)").arg(Span(from, to, locales))};
    selected_ = 0;
    for (qsizetype i = 0; i < periods_.size(); ++i) {
        const StoredUse& s = periods_[i];
        choices_ << QStringLiteral("%1, %2").arg(Span(s.from, s.to, locales),
                                                 Count(s.from.daysTo(s.to), "day", "days"));
        if (keep && keep->first == s.from && keep->second == s.to) {
            selected_ = static_cast<int>(i) + 1;
        }
    }
    if (selected_ == 0) {
        compared_ = {from, to, typedUse};
        ComputeRows(RoundedDifference(to, from), typedUse);
    } else {
        const StoredUse& s = periods_[selected_ - 1];
        compared_ = {s.from, s.to, s.use};
        ComputeRows(s.from.daysTo(s.to), s.use);
    }
    ComputeYear();
}

void TPlansPresenter::SelectPeriod(int index) {
    if (index < 0 || index >= choices_.size() || index == selected_) {
        return;
    }
    selected_ = index;
    Refresh();
}

bool TPlansPresenter::SelectStoredPeriod(QDate from, QDate to) {
    for (qsizetype i = 0; i < periods_.size(); ++i) {
        if (periods_[i].from == from && periods_[i].to == to) {
            SelectPeriod(static_cast<int>(i) + 1);
            return true;
        }
    }
    return false;
}

QList<NamedPlan> TPlansPresenter::AllPlans() const {
    QList<NamedPlan> all{{AsTypedName(), typed_}};
    for (const StoredPlan& p : plans_) {
        all.append({p.name, p.rates});
    }
    return all;
}

void TPlansPresenter::ComputeRows(qint64 days, const PeriodBasis& use) {
    const TLocales locales = form_.Locales();
    rows_.clear();
    cheapestText_.clear();
    periodNotice_.clear();
    if (days <= 0) {
        periodNotice_ = QStringLiteral("The readings page has no period to compare: date the "
                                       "later reading after the original one.");
        return;
    }
    const QList<PlanRow> rows = ComparePlans(days, use, AllPlans(), form_.MoneyDecimals());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        rows_.append({RowTexts(rows[i], i == 0, locales.money, form_.MoneyDecimals()),
                      rows[i].cheaper, rows[i].cheapest});
    }
    if (rows.size() == 1) {
        cheapestText_ = QStringLiteral("Add a plan to see what this period would cost on it.");
        return;
    }
    for (const PlanRow& r : rows) {
        if (r.cheapest && r.cheaper) {
            cheapestText_ = QStringLiteral("Cheapest for this period: %1, %2 less than as typed.")
                                .arg(r.name, Money(-r.difference, locales, form_.MoneyDecimals()));
            return;
        }
    }
    if (rows.front().cheapest) {
        cheapestText_ = QStringLiteral("No plan is cheaper than the tariff as typed.");
    }
}

void TPlansPresenter::ComputeYear() {
    const TLocales locales = form_.Locales();
    yearRows_.clear();
    const QList<NamedPlan> plans = AllPlans();
    const YearTotals y = YearOfPlans(periods_, plans, LatestDate(periods_), form_.MoneyDecimals());
    yearPaid_ = y.paid;
    if (y.periods == 0) {
        yearSummary_ = QStringLiteral("The yearly comparison needs saved periods: add "
                                      "periods on the History page.");
        return;
    }
    yearSummary_ = QStringLiteral("The last 12 months: %1 saved over %2 cost %3.")
                       .arg(Count(y.periods, "period", "periods"), Count(y.days, "day", "days"),
                            Money(y.paid, locales, form_.MoneyDecimals()));
    for (qsizetype i = 0; i < plans.size(); ++i) {
        const double total = y.planTotals[i];
        const double saving = SavingPerYear(y, total);
        YearRow r;
        r.name = plans[i].name;
        if (std::isfinite(total) && std::isfinite(saving)) {
            r.total = Money(total, locales, form_.MoneyDecimals());
            r.savingPerYear = Money(saving, locales, form_.MoneyDecimals());
            r.totalValue = total;
            r.cheaper =
                RoundDecimal(saving, 15, form_.MoneyDecimals()).digits.size() > 0 && saving > 0;
        } else {
            r.total = r.savingPerYear = QStringLiteral("-");
        }
        yearRows_.append(r);
    }
}

const StoredPlan& TPlansPresenter::PlanAt(int row) const {
    if (!IsStoredPlan(row)) {
        throw EVoltiskError(QStringLiteral("Select a saved plan first"));
    }
    return plans_[row - 1];
}

QStringList TPlansPresenter::OtherNames(qint64 exceptId) const {
    QStringList names;
    for (const StoredPlan& p : plans_) {
        if (p.id != exceptId) {
            names << p.name;
        }
    }
    return names;
}

PlanTexts TPlansPresenter::TextsOf(int row) const {
    const QLocale locale = form_.Locales().numbers;
    const bool stored = IsStoredPlan(row);
    const PlanRates& r = stored ? plans_[row - 1].rates : typed_;
    auto text = [&](double v) { return FormatGeneral(v, locale); };
    return {stored ? plans_[row - 1].name : AsTypedName(),
            text(r.generalDailyCharge),
            text(r.generalRate),
            text(r.hwDailyCharge),
            text(r.hwRate),
            text(r.feedIn),
            text(r.taxPercent),
            r.taxOnIncome};
}

QList<PlanFieldError> TPlansPresenter::AddPlan(const PlanTexts& texts) {
    const QLocale locale = form_.Locales().numbers;
    const QList<PlanFieldError> errors = ValidatePlan(texts, OtherNames(-1), locale);
    if (errors.isEmpty()) {
        source_.Plans().Add(texts.name, ParsePlanRates(texts, locale));
        Refresh();
    }
    return errors;
}

QList<PlanFieldError> TPlansPresenter::SavePlan(int row, const PlanTexts& texts) {
    const qint64 id = PlanAt(row).id;
    const QLocale locale = form_.Locales().numbers;
    const QList<PlanFieldError> errors = ValidatePlan(texts, OtherNames(id), locale);
    if (errors.isEmpty()) {
        const QString before = PlanAt(row).name;
        source_.Plans().Edit(id, texts.name, ParsePlanRates(texts, locale));
        Refresh();
        for (const StoredPlan& p : plans_) {
            if (p.id == id && p.name != before && renamed_) {
                renamed_(before, p.name);
            }
        }
    }
    return errors;
}

int TPlansPresenter::DuplicatePlan(int row) {
    const qint64 id = source_.Plans().Duplicate(PlanAt(row).id);
    Refresh();
    for (qsizetype i = 0; i < plans_.size(); ++i) {
        if (plans_[i].id == id) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

bool TPlansPresenter::DeletePlan(int row) {
    const StoredPlan plan = PlanAt(row);
    if (!dialogs_.VerifyDialog(QStringLiteral("Delete the plan \"%1\"?").arg(plan.name),
                               QStringLiteral("The plan's rates are removed for good."),
                               {.relativeToOwner = true})) {
        return false;
    }
    source_.Plans().Remove(plan.id);
    Refresh();
    return true;
}
