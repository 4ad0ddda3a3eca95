#include "plans/editor/planeditorpresenter.h"

#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

constexpr RateType kWindowTypes[] = {RateType::Peak,      RateType::OffPeak,
                                     RateType::Shoulder,  RateType::Shoulder1,
                                     RateType::Shoulder2, RateType::SolarSponge};

QString NotANumber(const QString& text) {
    return QStringLiteral("\"%1\" is not a number.").arg(text.trimmed().left(40));
}

int DayIndex(const QString& token) {
    for (int d = 0; d < 7; ++d) {
        if (token.size() >= 3 && WeekdayName(d).startsWith(token, Qt::CaseInsensitive)) {
            return d;
        }
    }
    return -1;
}

} // namespace

PlanEditorPresenter::PlanEditorPresenter(TariffPlan plan, const QLocale& locale,
                                         QStringList takenNames)
    : plan_(std::move(plan)), locale_(locale), taken_(std::move(takenNames)) {
    locale_.setNumberOptions(QLocale::OmitGroupSeparator);
    if (plan_.seasons.isEmpty()) {
        plan_.seasons.append(FlatTariffPlan({}, 0, 0, 0, 0, 0, 0, false).seasons);
    }
}

QString PlanEditorPresenter::Number(double value) const {
    return locale_.toString(value, 'f', QLocale::FloatingPointShortest);
}

std::optional<double> PlanEditorPresenter::Parse(const QString& text) const {
    bool ok = false;
    const double v = locale_.toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

QString PlanEditorPresenter::SetName(const QString& text) {
    plan_.name = text.simplified();
    return plan_.name.isEmpty() ? QStringLiteral("Enter a name for the plan.") : QString();
}

QString PlanEditorPresenter::SetTax(const QString& text) {
    const std::optional<double> v = Parse(text);
    if (!v || *v < 0 || *v > 100) {
        return QStringLiteral("The tax must be from 0 to 100 percent.");
    }
    plan_.taxPercent = *v;
    return {};
}

int PlanEditorPresenter::AddSeason() {
    TariffSeason s = plan_.seasons.constLast();
    s.name = QStringLiteral("Tariff period %1").arg(plan_.seasons.size() + 1);
    plan_.seasons.append(s);
    return static_cast<int>(plan_.seasons.size() - 1);
}

void PlanEditorPresenter::RemoveSeason(int season) {
    if (plan_.seasons.size() > 1 && season >= 0 && season < plan_.seasons.size()) {
        plan_.seasons.removeAt(season);
    }
}

QString PlanEditorPresenter::SetSeasonName(int season, const QString& text) {
    plan_.seasons[season].name = text.simplified();
    return {};
}

QString PlanEditorPresenter::MonthDayText(int month, int day) {
    return QStringLiteral("%1-%2").arg(month, 2, 10, QChar(u'0')).arg(day, 2, 10, QChar(u'0'));
}

QString PlanEditorPresenter::SetSeasonDates(int season, const QString& from, const QString& to) {
    static const QRegularExpression re(QStringLiteral(R"(^\s*(\d{1,2})-(\d{1,2})\s*$)"));
    int parts[4] = {};
    const QString texts[] = {from, to};
    for (int i = 0; i < 2; ++i) {
        const QRegularExpressionMatch m = re.match(texts[i]);
        parts[2 * i] = m.captured(1).toInt();
        parts[2 * i + 1] = m.captured(2).toInt();
        if (!m.hasMatch() || !QDate::isValid(2000, parts[2 * i], parts[2 * i + 1])) {
            return QStringLiteral("\"%1\" is not a day of the year; write it as mm-dd, for "
                                  "example 11-01.")
                .arg(texts[i].trimmed().left(20));
        }
    }
    TariffSeason& s = plan_.seasons[season];
    s.startMonth = parts[0];
    s.startDay = parts[1];
    s.endMonth = parts[2];
    s.endDay = parts[3];
    return {};
}

void PlanEditorPresenter::SetSeasonZone(int season, std::optional<TariffZone> zone) {
    if (season >= 0 && season < plan_.seasons.size()) {
        plan_.seasons[season].zone = zone;
    }
}

QString PlanEditorPresenter::SetSeasonSupply(int season, const QString& text) {
    const std::optional<double> v = Parse(text);
    if (!v) {
        return NotANumber(text);
    }
    plan_.seasons[season].dailySupply = *v;
    return {};
}

void PlanEditorPresenter::SetControlledLoad(bool present) {
    ControlledLoadTariff& c = plan_.controlledLoad;
    c.present = present;
    if (c.name.isEmpty()) {
        c.name = QStringLiteral("Controlled load");
    }
    if (c.rates.single.steps.isEmpty()) {
        c.rates.single.steps = {RateStep{}};
    }
}

QString PlanEditorPresenter::SetControlledLoadCharge(const QString& text) {
    if (text.trimmed().isEmpty()) {
        plan_.controlledLoad.dailyCharge.reset();
        return {};
    }
    const std::optional<double> v = Parse(text);
    if (!v) {
        return NotANumber(text);
    }
    plan_.controlledLoad.dailyCharge = *v;
    return {};
}

void PlanEditorPresenter::SetFeedIn(bool present) {
    FeedInTariff& f = plan_.feedIn;
    f.present = present;
    if (f.name.isEmpty()) {
        f.name = QStringLiteral("Feed-in");
    }
    if (f.single.steps.isEmpty()) {
        f.single.steps = {RateStep{}};
    }
}

RateBlock* PlanEditorPresenter::Block(RatePart part) {
    switch (part.kind) {
    case RatePart::Kind::Usage:
        return &plan_.seasons[part.season].usage;
    case RatePart::Kind::ControlledLoad:
        return &plan_.controlledLoad.rates;
    case RatePart::Kind::FeedIn:
        break;
    }
    return nullptr;
}

QList<TouRate>& PlanEditorPresenter::Rates(RatePart part) {
    RateBlock* b = Block(part);
    return b ? b->tou : plan_.feedIn.windows;
}

const QList<TouRate>& PlanEditorPresenter::Rates(RatePart part) const {
    return const_cast<PlanEditorPresenter*>(this)->Rates(part);
}

bool PlanEditorPresenter::TimeOfUse(RatePart part) const {
    const RateBlock* b = const_cast<PlanEditorPresenter*>(this)->Block(part);
    return b ? b->timeOfUse : plan_.feedIn.timeVarying;
}

void PlanEditorPresenter::SetTimeOfUse(RatePart part, bool timeOfUse) {
    RateBlock* b = Block(part);
    (b ? b->timeOfUse : plan_.feedIn.timeVarying) = timeOfUse;
    QList<TouRate>& rates = Rates(part);
    if (timeOfUse && rates.isEmpty()) {
        // A start that prices the whole week: one rate at the single price.
        rates.append(TouRate{RateType::Peak, {}, Steps(part, -1), {TimeWindow{0x7F, 0, 1440}}});
    }
}

SteppedRate& PlanEditorPresenter::MutableSteps(RatePart part, int rate) {
    if (rate >= 0) {
        return Rates(part)[rate].rate;
    }
    RateBlock* b = Block(part);
    return b ? b->single : plan_.feedIn.single;
}

const SteppedRate& PlanEditorPresenter::Steps(RatePart part, int rate) const {
    return const_cast<PlanEditorPresenter*>(this)->MutableSteps(part, rate);
}

void PlanEditorPresenter::AddStep(RatePart part, int rate) {
    MutableSteps(part, rate).steps.append(RateStep{});
}

void PlanEditorPresenter::RemoveStep(RatePart part, int rate, int step) {
    QList<RateStep>& steps = MutableSteps(part, rate).steps;
    if (steps.size() > 1 && step >= 0 && step < steps.size()) {
        steps.removeAt(step);
        steps.last().volume.reset();
    }
}

QString PlanEditorPresenter::SetStepPrice(RatePart part, int rate, int step, const QString& text) {
    const std::optional<double> v = Parse(text);
    if (!v) {
        return NotANumber(text);
    }
    MutableSteps(part, rate).steps[step].price = *v;
    return {};
}

QString PlanEditorPresenter::SetStepVolume(RatePart part, int rate, int step, const QString& text) {
    QList<RateStep>& steps = MutableSteps(part, rate).steps;
    if (text.trimmed().isEmpty()) {
        if (step + 1 < steps.size()) {
            return QStringLiteral("Only the last step may go without a volume.");
        }
        steps[step].volume.reset();
        return {};
    }
    const std::optional<double> v = Parse(text);
    if (!v || *v <= 0) {
        return QStringLiteral("A step's volume must be a number above 0.");
    }
    steps[step].volume = *v;
    return {};
}

void PlanEditorPresenter::SetStepPeriod(RatePart part, int rate, StepPeriod period) {
    MutableSteps(part, rate).period = period;
}

QList<WindowRow> PlanEditorPresenter::Windows(RatePart part) const {
    QList<WindowRow> rows;
    const QList<TouRate>& rates = Rates(part);
    for (int r = 0; r < rates.size(); ++r) {
        const TouRate& rate = rates[r];
        const QString price =
            rate.rate.steps.isEmpty() ? QString() : Number(rate.rate.steps[0].price);
        for (int w = 0; w < rate.windows.size(); ++w) {
            const TimeWindow& tw = rate.windows[w];
            rows.append({r, w, rate.type, DaysText(tw.days), MinuteText(tw.start),
                         MinuteText(tw.end == 0 ? 1440 : tw.end), price});
        }
    }
    return rows;
}

TimeWindow& PlanEditorPresenter::Window(RatePart part, int row, int* rate) {
    const WindowRow at = Windows(part).at(row);
    if (rate) {
        *rate = at.rate;
    }
    return Rates(part)[at.rate].windows[at.window];
}

int PlanEditorPresenter::AddWindow(RatePart part) {
    QList<TouRate>& rates = Rates(part);
    RateType type = RateType::Peak;
    for (const RateType t : kWindowTypes) {
        if (std::none_of(rates.begin(), rates.end(),
                         [t](const TouRate& r) { return r.type == t; })) {
            type = t;
            break;
        }
    }
    // Over the first gap: its hours on every day that lacks all of them.
    TimeWindow window{0x7F, 0, 1440};
    const WeekCoverage week = CoverWeek(rates);
    const auto gap = std::find(week.first.begin(), week.first.end(), qint16(-1));
    if (gap != week.first.end()) {
        const int at = static_cast<int>(gap - week.first.begin());
        const int day = at / 1440;
        int end = at % 1440;
        while (end < 1440 && week.first[day * 1440 + end] < 0) {
            ++end;
        }
        window = {0, at % 1440, end};
        for (int d = 0; d < 7; ++d) {
            if (std::all_of(week.first.begin() + d * 1440 + window.start,
                            week.first.begin() + d * 1440 + end, [](qint16 r) { return r < 0; })) {
                window.days |= static_cast<quint8>(1 << d);
            }
        }
    }
    auto found = std::find_if(rates.begin(), rates.end(),
                              [type](const TouRate& r) { return r.type == type; });
    if (found == rates.end()) {
        const SteppedRate price = rates.isEmpty() ? Steps(part, -1) : rates[0].rate;
        rates.append(TouRate{type, {}, price, {}});
        found = rates.end() - 1;
    }
    found->windows.append(window);
    const int rate = static_cast<int>(found - rates.begin());
    const QList<WindowRow> rows = Windows(part);
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].rate == rate && rows[i].window == found->windows.size() - 1) {
            return i;
        }
    }
    return -1;
}

void PlanEditorPresenter::RemoveWindow(RatePart part, int row) {
    const WindowRow at = Windows(part).at(row);
    QList<TouRate>& rates = Rates(part);
    rates[at.rate].windows.removeAt(at.window);
    if (rates[at.rate].windows.isEmpty()) {
        rates.removeAt(at.rate);
    }
}

int PlanEditorPresenter::SetWindowType(RatePart part, int row, RateType type) {
    const WindowRow at = Windows(part).at(row);
    QList<TouRate>& rates = Rates(part);
    if (rates[at.rate].type == type) {
        return row;
    }
    const TimeWindow window = rates[at.rate].windows[at.window];
    auto found = std::find_if(rates.begin(), rates.end(),
                              [type](const TouRate& r) { return r.type == type; });
    if (found == rates.end()) {
        rates.append(TouRate{type, {}, rates[at.rate].rate, {}});
        found = rates.end() - 1;
    }
    found->windows.append(window);
    int target = static_cast<int>(found - rates.begin());
    const int windowIndex = static_cast<int>(found->windows.size() - 1);
    rates[at.rate].windows.removeAt(at.window);
    if (rates[at.rate].windows.isEmpty()) {
        rates.removeAt(at.rate);
        target -= target > at.rate ? 1 : 0;
    }
    const QList<WindowRow> rows = Windows(part);
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].rate == target && rows[i].window == windowIndex) {
            return i;
        }
    }
    return -1;
}

QString PlanEditorPresenter::SetWindowDays(RatePart part, int row, const QString& text) {
    const std::optional<quint8> days = ParseDays(text);
    if (!days) {
        return QStringLiteral("\"%1\" is not a list of days; write for example Mon-Fri or Sat, "
                              "Sun.")
            .arg(text.trimmed().left(40));
    }
    Window(part, row).days = *days;
    return {};
}

QString PlanEditorPresenter::SetWindowTime(RatePart part, int row, bool end, const QString& text) {
    const std::optional<int> minute = ParseTime(text, end);
    if (!minute) {
        return QStringLiteral("\"%1\" is not a time of day; write it as HH:MM, for example 07:00.")
            .arg(text.trimmed().left(20));
    }
    (end ? Window(part, row).end : Window(part, row).start) = *minute;
    return {};
}

QString PlanEditorPresenter::SetWindowPrice(RatePart part, int row, const QString& text) {
    const std::optional<double> v = Parse(text);
    if (!v) {
        return NotANumber(text);
    }
    int rate = 0;
    Window(part, row, &rate);
    QList<RateStep>& steps = Rates(part)[rate].rate.steps;
    if (steps.isEmpty()) {
        steps.append(RateStep{});
    }
    steps[0].price = *v;
    return {};
}

void PlanEditorPresenter::AddDiscount() {
    plan_.discounts.append(TariffDiscount{
        QStringLiteral("Discount"), true, TariffDiscount::Method::PercentOfUse, 0, {}});
}

void PlanEditorPresenter::RemoveDiscount(int index) {
    if (index >= 0 && index < plan_.discounts.size()) {
        plan_.discounts.removeAt(index);
    }
}

void PlanEditorPresenter::SetDiscountName(int index, const QString& text) {
    plan_.discounts[index].name = text.simplified();
}

void PlanEditorPresenter::SetDiscountKind(int index, bool guaranteed,
                                          TariffDiscount::Method method) {
    plan_.discounts[index].guaranteed = guaranteed;
    plan_.discounts[index].method = method;
}

QString PlanEditorPresenter::SetDiscountPercent(int index, const QString& text) {
    const std::optional<double> v = Parse(text);
    if (!v || *v < 0 || *v > 100) {
        return QStringLiteral("A discount must be from 0 to 100 percent.");
    }
    plan_.discounts[index].percent = *v;
    return {};
}

QString PlanEditorPresenter::SaveProblem() const {
    if (plan_.name.simplified().isEmpty()) {
        return QStringLiteral("Enter a name for the plan.");
    }
    for (const QString& taken : taken_) {
        if (taken.compare(plan_.name.simplified(), Qt::CaseInsensitive) == 0) {
            return QStringLiteral("A plan named \"%1\" already exists.").arg(taken);
        }
    }
    return ValidateTariffPlan(plan_);
}

QString PlanEditorPresenter::DaysText(quint8 days) {
    if ((days & 0x7F) == 0x7F) {
        return QStringLiteral("Every day");
    }
    QStringList parts;
    for (int d = 0; d < 7;) {
        if (!(days & (1 << d))) {
            ++d;
            continue;
        }
        int last = d;
        while (last + 1 < 7 && (days & (1 << (last + 1)))) {
            ++last;
        }
        const QString first = WeekdayName(d).left(3);
        if (last - d >= 2) {
            parts.append(first + u'-' + WeekdayName(last).left(3));
        } else {
            for (int k = d; k <= last; ++k) {
                parts.append(WeekdayName(k).left(3));
            }
        }
        d = last + 1;
    }
    return parts.join(QStringLiteral(", "));
}

std::optional<quint8> PlanEditorPresenter::ParseDays(const QString& text) {
    quint8 days = 0;
    for (QString token : text.split(u',')) {
        token = token.trimmed().toLower().replace(QChar(0x2013), u'-');
        if (token == QLatin1String("every day") || token == QLatin1String("daily") ||
            token == QLatin1String("all")) {
            days |= 0x7F;
        } else if (token == QLatin1String("weekdays")) {
            days |= 0x1F;
        } else if (token == QLatin1String("weekends") || token == QLatin1String("weekend")) {
            days |= 0x60;
        } else {
            const QStringList ends = token.split(u'-');
            const int from = DayIndex(ends.value(0).trimmed());
            const int to = ends.size() == 2 ? DayIndex(ends[1].trimmed()) : from;
            if (from < 0 || to < 0 || ends.size() > 2) {
                return std::nullopt;
            }
            for (int d = from;; d = (d + 1) % 7) {
                days |= static_cast<quint8>(1 << d);
                if (d == to) {
                    break;
                }
            }
        }
    }
    return days ? std::optional<quint8>(days) : std::nullopt;
}

std::optional<int> PlanEditorPresenter::ParseTime(const QString& text, bool end) {
    static const QRegularExpression re(QStringLiteral(R"(^\s*(\d{1,2}):?(\d{2})\s*$)"));
    const QRegularExpressionMatch m = re.match(text);
    const int h = m.captured(1).toInt(), min = m.captured(2).toInt();
    if (!m.hasMatch() || h > 24 || min > 59 || (h == 24 && (min || !end))) {
        return std::nullopt;
    }
    return WindowMinute(h, min, end);
}
