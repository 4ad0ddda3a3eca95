#include "plans/tariffpresenter.h"

#include "app/readingspage.h"
#include "mylib/dates.h"
#include "mylib/errors.h"
#include "mylib/money.h"
#include "mylib/numbers.h"
#include "tariff/cdrplan.h"

#include <algorithm>

namespace {

QString Span(QDate from, QDate to, const QLocale& locale) {
    return QStringLiteral("%1 to %2")
        .arg(FormatShortDate(from, locale), FormatShortDate(to, locale));
}

const RankedPlan* Find(const QList<RankedPlan>& plans, const QString& name) {
    for (const RankedPlan& p : plans) {
        if (p.name == name) {
            return &p;
        }
    }
    return nullptr;
}

} // namespace

TTariffPresenter::TTariffPresenter(TReadingsPage& form, TPlansPresenter& flat,
                                   TTariffSource& source, MyPlanSetting myPlan)
    : form_(form), flat_(flat), source_(source), myPlan_(std::move(myPlan)) {
    // "My plan" is kept by name: a flat plan renamed on the page stays mine.
    flat_.OnRenamed([this](const QString& from, const QString& to) {
        if (myPlan_.write && MyPlan() == from) {
            myPlan_.write(to);
        }
    });
}

TTariffPresenter::~TTariffPresenter() {
    flat_.OnRenamed({});
}

void TTariffPresenter::Refresh() {
    plans_.clear();
    meterFirst_ = meterLast_ = QDate();
    // The flat plans as the page edits them; a tariff plan of the same name is
    // the copy the history took of it when tariff plans came, and is left out.
    QStringList names;
    for (const StoredPlan& p : flat_.StoredPlans()) {
        const PlanRates& r = p.rates;
        plans_.append(FlatTariffPlan(p.name, r.generalDailyCharge, r.generalRate, r.hwDailyCharge,
                                     r.hwRate, r.feedIn, r.taxPercent, r.taxOnIncome));
        names << p.name.toCaseFolded();
    }
    try {
        for (const StoredTariffPlan& p : source_.TariffPlans().Plans()) {
            if (!names.contains(p.plan.name.toCaseFolded())) {
                plans_.append(p.plan);
            }
        }
        std::tie(meterFirst_, meterLast_) = source_.MeterRange();
    } catch (const EVoltiskError&) {
        // The flat comparison shows the history's fault; the flat plans stay.
        meterFirst_ = meterLast_ = QDate();
    }
    if (!HasMeterData()) {
        return;
    }
    if (!from_.isValid() || !to_.isValid()) {
        std::tie(from_, to_) = LastTwelveMonths(meterFirst_, meterLast_);
    }
    SetRange(from_, to_);
}

void TTariffPresenter::SetRange(QDate from, QDate to) {
    if (!HasMeterData() || !from.isValid() || !to.isValid()) {
        return;
    }
    from_ = std::clamp(std::min(from, to), meterFirst_, meterLast_);
    to_ = std::clamp(std::max(from, to), meterFirst_, meterLast_);
}

std::optional<IntervalRanking> TTariffPresenter::Prepare() {
    const QLocale& dates = form_.Locales().dates;
    ranked_.clear();
    year_.clear();
    notice_.clear();
    std::tie(yearFrom_, yearTo_) = LastTwelveMonths(meterFirst_, meterLast_);
    if (plans_.isEmpty()) {
        notice_ = QStringLiteral("No plans to compare: add a plan or import one.");
    }
    if (!UsesMeterData()) {
        const TPlansPresenter::ComparedPeriod& c = flat_.Compared();
        basis_ = QStringLiteral("Priced from the kWh of the period above.");
        if (c.from.daysTo(c.to) <= 0) {
            notice_ = QStringLiteral("The period above has no days to price.");
            for (const TariffPlan& p : plans_) {
                ranked_.append({p.name, TariffPrice{}}); // listed, not priced
            }
        } else {
            ranked_ = RankOnPeriodKwh(plans_, c.from, c.to.addDays(-1), c.use.generalKwh,
                                      c.use.showHotWater ? c.use.hwKwh : 0.0,
                                      c.use.solar ? c.use.exportedKwh : 0.0, c.use.showHotWater);
        }
    } else {
        basis_ = QStringLiteral("Priced on the meter data from %1.").arg(Span(from_, to_, dates));
        if (!plans_.isEmpty()) {
            notice_ = QStringLiteral("Pricing the plans on the meter data…");
        }
    }
    ShowRanked();
    if (!HasMeterData() || plans_.isEmpty()) {
        return std::nullopt;
    }
    IntervalRanking work;
    work.plans = plans_;
    work.yearFrom = yearFrom_;
    work.yearTo = yearTo_;
    work.from = UsesMeterData() ? from_ : yearFrom_;
    work.to = UsesMeterData() ? to_ : yearTo_;
    // A day's intervals start in a plan's zone within a day of the meter's
    // day, so one day either side is read and the engine cuts.
    work.series = std::make_shared<const IntervalSeries>(source_.Intervals(
        std::min(work.from, yearFrom_).addDays(-1), std::max(work.to, yearTo_).addDays(1)));
    return work;
}

void TTariffPresenter::Take(const RankingResult& result) {
    if (UsesMeterData()) {
        ranked_ = result.ranked;
        notice_.clear();
    }
    year_ = result.year;
    ShowRanked();
}

void TTariffPresenter::ShowRanked() {
    const QLocale& money = form_.Locales().money;
    rows_.clear();
    const QString mine = MyPlan();
    auto priced = [](const RankedPlan& p) { return !p.price.needsMeterData && p.price.days > 0; };
    const double cheapest = ranked_.isEmpty() ? 0 : ranked_.front().price.total;
    for (const RankedPlan& p : ranked_) {
        TariffRowTexts t;
        t.name = p.name;
        t.note = PriceNote(p.price);
        t.myPlan = !mine.isEmpty() && p.name == mine ? QStringLiteral("My plan") : QString();
        if (priced(p)) {
            t.total = FormatMoney(p.price.total, money, form_.MoneyDecimals());
            const double more = p.price.total - cheapest;
            t.cheapest = RoundDecimal(more, 15, form_.MoneyDecimals()).digits.size() == 0;
            t.difference =
                t.cheapest
                    ? QString()
                    : QStringLiteral("+%1").arg(FormatMoney(more, money, form_.MoneyDecimals()));
        }
        rows_.append(t);
    }
}

const RankedPlan* TTariffPresenter::RankedAt(int row) const {
    return row >= 0 && row < ranked_.size() ? &ranked_[row] : nullptr;
}

QList<BreakdownTexts> TTariffPresenter::BreakdownOf(int row) const {
    const RankedPlan* p = RankedAt(row);
    if (!p || p->price.needsMeterData || p->price.days <= 0) {
        return {};
    }
    const TLocales locales = form_.Locales();
    QList<BreakdownTexts> out;
    for (const BreakdownLine& l : Breakdown(p->price)) {
        BreakdownTexts t;
        t.item = l.item;
        if (l.kwh) {
            t.kwh = locales.numbers.toString(*l.kwh, 'f', 2);
        }
        if (l.rate) {
            t.rate = FormatMoney(*l.rate, locales.money, 4);
        }
        t.cost = FormatMoney(l.cost, locales.money, form_.MoneyDecimals());
        out.append(t);
    }
    return out;
}

QString TTariffPresenter::YearText(int row) const {
    const RankedPlan* chosen = RankedAt(row);
    if (!HasMeterData()) {
        return QStringLiteral("Import meter data to see what each plan would have cost over the "
                              "last 12 months.");
    }
    if (!chosen) {
        return QStringLiteral("Select a plan to see what it would have cost.");
    }
    const RankedPlan* p = Find(year_, chosen->name);
    if (year_.isEmpty() || !p) {
        return QStringLiteral("Pricing the last 12 months of meter data…");
    }
    const TLocales locales = form_.Locales();
    auto money = [&](double v) { return FormatMoney(v, locales.money, form_.MoneyDecimals()); };
    auto same = [this](double a) {
        return RoundDecimal(a, 15, form_.MoneyDecimals()).digits.size() == 0;
    };
    QString text =
        QStringLiteral("%1, %2: %3.")
            .arg(p->name, Span(yearFrom_, yearTo_, locales.dates), money(p->price.total));
    const RankedPlan& cheapest = year_.front();
    if (same(p->price.total - cheapest.price.total)) {
        text += QStringLiteral(" The cheapest plan.");
    } else {
        text += QStringLiteral(" Choosing the cheapest, %1, would have saved %2.")
                    .arg(cheapest.name, money(p->price.total - cheapest.price.total));
    }
    const RankedPlan* mine = Find(year_, MyPlan());
    if (mine && mine != p) {
        const double saving = mine->price.total - p->price.total;
        if (same(saving)) {
            text += QStringLiteral(" The same as my plan, %1.").arg(mine->name);
        } else if (saving > 0) {
            text +=
                QStringLiteral(" It saves %1 against my plan, %2.").arg(money(saving), mine->name);
        } else {
            text += QStringLiteral(" It costs %1 more than my plan, %2.")
                        .arg(money(-saving), mine->name);
        }
    }
    if (const QString note = PriceNote(p->price); !note.isEmpty()) {
        text += QStringLiteral(" (%1)").arg(note);
    }
    return text;
}

QString TTariffPresenter::MyPlan() const {
    return myPlan_.read ? myPlan_.read() : QString();
}

void TTariffPresenter::MarkMyPlan(int row) {
    const RankedPlan* p = RankedAt(row);
    if (!p || !myPlan_.write) {
        return;
    }
    myPlan_.write(p->name == MyPlan() ? QString() : p->name);
    ShowRanked();
}

QString TTariffPresenter::ImportPlan(const QByteArray& json) {
    const CdrImport read = ReadCdrPlan(json);
    if (!read.error.isEmpty()) {
        throw EVoltiskError(
            QStringLiteral("The file is not a plan that can be read: %1").arg(read.error));
    }
    const QString name = read.plan.name.simplified();
    for (const TariffPlan& p : plans_) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0) {
            throw EVoltiskError(
                QStringLiteral("A plan named \"%1\" already exists; the file was not imported.")
                    .arg(p.name));
        }
    }
    source_.TariffPlans().Add(read.plan);
    QStringList lines{QStringLiteral("Plan \"%1\" imported.").arg(name)};
    if (read.summary.isEmpty()) {
        lines << QStringLiteral("Every part of it is priced.");
    } else {
        lines << QStringLiteral("Not priced:");
        for (const QString& s : read.summary) {
            lines << QStringLiteral("- %1").arg(s);
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QString TTariffPresenter::NameOf(int row) const {
    const RankedPlan* p = RankedAt(row);
    return p ? p->name : QString();
}

QByteArray TTariffPresenter::ExportPlan(int row) const {
    const QString name = NameOf(row);
    for (const TariffPlan& p : plans_) {
        if (p.name == name) {
            return WriteCdrPlan(p);
        }
    }
    throw EVoltiskError(QStringLiteral("Select a plan first"));
}
