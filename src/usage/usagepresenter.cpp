#include "usage/usagepresenter.h"

#include "app/readingspage.h"
#include "history/historysession.h"
#include "mylib/dates.h"
#include "mylib/money.h"
#include "mylib/platform.h"
#include "plans/tariffplanstore.h"
#include "usage/ratetypegrid.h"

#include <QTime>
#include <algorithm>
#include <cmath>

QString RoleText(ChannelRole role) {
    switch (role) {
    case ChannelRole::General:
        return QStringLiteral("General");
    case ChannelRole::ControlledLoad:
        return QStringLiteral("Controlled load");
    case ChannelRole::Export:
        return QStringLiteral("Export");
    case ChannelRole::Skip:
        break;
    }
    return QStringLiteral("Leave out");
}

TUsagePresenter::TUsagePresenter(TReadingsPage& readings, THistorySession& session,
                                 TDialogs& dialogs)
    : readings_(readings), session_(session), dialogs_(dialogs) {}

const QString& TUsagePresenter::FileName() const {
    return session_.FileName();
}

bool TUsagePresenter::Load() {
    fault_.clear();
    try {
        MeterStore store(session_.OpenStore().Database());
        channels_ = store.Channels();
        if (!meter_.isEmpty() &&
            std::none_of(channels_.begin(), channels_.end(),
                         [this](const StoredChannel& c) { return c.meter == meter_; })) {
            meter_.clear();
        }
        colourPlans_.clear();
        colourPlanNames_.clear();
        for (const StoredTariffPlan& p : TariffPlanStore(session_.OpenStore().Database()).Plans()) {
            if (UsageIsTimeOfUse(p.plan)) {
                colourPlans_.push_back(p.plan);
                colourPlanNames_.push_back(p.plan.name);
            }
        }
        if (std::find(colourPlanNames_.begin(), colourPlanNames_.end(), colourPlan_) ==
            colourPlanNames_.end()) {
            colourPlan_.clear();
        }
        dataFrom_ = dataTo_ = QDate();
        for (const StoredChannel& c : channels_) {
            if (meter_.isEmpty() || c.meter == meter_) {
                dataFrom_ = dataFrom_.isValid() ? std::min(dataFrom_, c.first) : c.first;
                dataTo_ = dataTo_.isValid() ? std::max(dataTo_, c.last) : c.last;
            }
        }
    } catch (const EVoltiskError& e) {
        fault_ = e.Message();
        channels_.clear();
        dataFrom_ = dataTo_ = QDate();
    }
    if (span_ == Span::Chosen && from_.isValid()) {
        SetRange(from_, to_);
    } else {
        SetSpan(span_);
    }
    return fault_.isEmpty();
}

std::vector<QString> TUsagePresenter::Meters() const {
    std::vector<QString> meters;
    for (const StoredChannel& c : channels_) {
        if (meters.empty() || meters.back() != c.meter) {
            meters.push_back(c.meter);
        }
    }
    return meters;
}

void TUsagePresenter::SetMeter(const QString& meter) {
    meter_ = meter;
    Load();
}

void TUsagePresenter::SetSpan(Span span) {
    span_ = span;
    to_ = dataTo_;
    switch (span) {
    case Span::Last7Days:
        from_ = to_.addDays(-6);
        break;
    case Span::Last30Days:
        from_ = to_.addDays(-29);
        break;
    case Span::Last12Months:
        from_ = to_.addMonths(-12).addDays(1);
        break;
    case Span::Whole:
    case Span::Chosen:
        from_ = dataFrom_;
        break;
    }
    Recompute();
}

void TUsagePresenter::SetRange(QDate from, QDate to) {
    span_ = Span::Chosen;
    from_ = std::min(from, to);
    to_ = std::max(from, to);
    Recompute();
}

void TUsagePresenter::Recompute() {
    summary_ = UsageSummary();
    rateTypes_.clear();
    if (!from_.isValid() || !to_.isValid() || !fault_.isEmpty()) {
        return;
    }
    std::vector<StoredChannel> mine;
    for (const StoredChannel& c : channels_) {
        if (meter_.isEmpty() || c.meter == meter_) {
            mine.push_back(c);
        }
    }
    try {
        const MeterStore store(session_.OpenStore().Database());
        summary_ = SummariseUsage(store.Days(from_, to_, meter_), mine, from_, to_);
    } catch (const EVoltiskError& e) {
        fault_ = e.Message();
    }
    ColourByPlan();
}

void TUsagePresenter::SetColourPlan(const QString& name) {
    colourPlan_ = name;
    ColourByPlan();
}

void TUsagePresenter::ColourByPlan() {
    rateTypes_.clear();
    for (std::size_t i = 0; i < colourPlans_.size(); ++i) {
        if (!colourPlan_.isEmpty() && colourPlanNames_[i] == colourPlan_) {
            rateTypes_ = RateTypeGrid(summary_, colourPlans_[i]);
        }
    }
}

MeterChannelRoles TUsagePresenter::StoredRoles() const {
    MeterChannelRoles roles;
    for (const StoredChannel& c : channels_) {
        roles[MeterChannelKey(c.meter, c.channel)] = c.role;
    }
    return roles;
}

QString TUsagePresenter::KwhText(double kwh, int decimals) const {
    return QStringLiteral("%1 kWh").arg(readings_.Locales().numbers.toString(kwh, 'f', decimals));
}

QString TUsagePresenter::DayText(QDate day) const {
    return FormatShortDate(day, readings_.Locales().dates);
}

QString TUsagePresenter::SlotText(int slot) const {
    return readings_.Locales().dates.toString(QTime(slot / 2, (slot % 2) * 30),
                                              QLocale::ShortFormat);
}

QString TUsagePresenter::CellText(int day, int slot) const {
    const QDate date = summary_.from.addDays(day);
    const QLocale& dates = readings_.Locales().dates;
    const float v = summary_.Cell(day, slot);
    const QString value = std::isnan(v) ? QStringLiteral("no data")
                          : v < 0       ? KwhText(-v, 3) + QStringLiteral(" exported")
                                        : KwhText(v, 3);
    QString text = QStringLiteral("%1 %2, %3: %4")
                       .arg(dates.dayName(date.dayOfWeek(), QLocale::ShortFormat), DayText(date),
                            SlotText(slot), value);
    const std::size_t cell =
        static_cast<std::size_t>(day) * kHalfHours + static_cast<std::size_t>(slot);
    if (cell < rateTypes_.size() && rateTypes_[cell] >= 0) {
        text += QStringLiteral(", ") + RateTypeName(static_cast<RateType>(rateTypes_[cell]));
    }
    return text;
}

std::vector<TUsagePresenter::Figure> TUsagePresenter::FigureTexts() const {
    const UsageFigures& f = summary_.figures;
    const QLocale& numbers = readings_.Locales().numbers;
    const QString highest =
        f.highestSlot < 0
            ? QStringLiteral("–")
            : QStringLiteral("%1 on %2 at %3")
                  .arg(KwhText(f.highestKwh, 3), DayText(f.highestDay), SlotText(f.highestSlot));
    return {
        {QStringLiteral("Total import"), KwhText(f.ImportKwh(), 1)},
        {QStringLiteral("Controlled load"), KwhText(f.controlledKwh, 1)},
        {QStringLiteral("Export"), KwhText(f.exportKwh, 1)},
        {QStringLiteral("Average a day"), KwhText(f.averageKwhPerDay, 2)},
        {QStringLiteral("Highest half-hour"), highest},
        {QStringLiteral("Base load"),
         QStringLiteral("%1 W").arg(numbers.toString(f.baseLoadW, 'f', 0))},
        {QStringLiteral("Missing intervals"), numbers.toString(f.missing)},
        {QStringLiteral("Estimated intervals"), numbers.toString(f.estimated)},
        {QStringLiteral("Substituted intervals"), numbers.toString(f.substituted)},
    };
}

std::optional<HistoryPeriod> TUsagePresenter::PeriodForHistory() const {
    const UsageFigures& f = summary_.figures;
    if (f.daysWithData == 0) {
        return std::nullopt;
    }
    const TLocales locales = readings_.Locales();
    QLocale numbers = locales.numbers;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    const auto text = [&numbers](double kwh) { return numbers.toString(kwh, 'f', 3); };
    const QString zero = text(0);
    PeriodInputs in = readings_.ReadPeriodInputs();
    in.solar = in.solar || f.exportKwh > 0;
    in.showHotWater = in.showHotWater || f.controlledKwh > 0;
    // Readings from zero: the kWh the intervals add up to, for both modes.
    in.generalBefore = in.importGeneralBefore = zero;
    in.generalAfter = in.importGeneralAfter = text(f.generalKwh);
    in.hotWaterBefore = in.importHwBefore = zero;
    in.hotWaterAfter = in.importHwAfter = text(f.controlledKwh);
    in.exportBefore = zero;
    in.exportAfter = text(f.exportKwh);
    // The intervals cover whole days: the later reading is taken as the next
    // day starts.
    HistoryPeriod p =
        MakeHistoryPeriod(summary_.from, summary_.to.addDays(1), in, locales.numbers, locales.money,
                          readings_.MoneyDecimals(), QDateTime::currentDateTimeUtc());
    p.kwhFromMeterData = true;
    return p;
}

bool TUsagePresenter::AddToHistory() {
    std::optional<HistoryPeriod> p = PeriodForHistory();
    if (!p) {
        dialogs_.ShowMessage(QStringLiteral("There is no meter data in the chosen range."));
        return false;
    }
    if (!HasStorableFigures(*p)) {
        dialogs_.ShowMessage(FiguresTooLargeText());
        return false;
    }
    const TLocales locales = readings_.Locales();
    try {
        THistoryStore& store = session_.OpenStore();
        const bool replaces = store.Find(p->from, p->to).has_value();
        const QString question =
            QStringLiteral("Add the period from %1 to %2 to the history, with the kWh of the meter "
                           "data and the tariff on the readings page?")
                .arg(DayText(p->from), DayText(p->to)) +
            (replaces ? QStringLiteral(" It replaces the period of the same dates.") : QString());
        const QString detail =
            QStringLiteral("General %1, controlled load %2, export %3; net cost %4.")
                .arg(KwhText(p->kwhGeneral, 3), KwhText(p->kwhHotWater, 3),
                     KwhText(p->kwhExported, 3),
                     FormatMoney(p->net, locales.money, p->moneyDecimals));
        if (!dialogs_.VerifyDialog(question, detail,
                                   {.relativeToOwner = true, .allowCancel = true})) {
            return false;
        }
        store.Add(*p);
    } catch (const EVoltiskError& e) {
        dialogs_.ShowError(e.Message());
        return false;
    }
    session_.Reload();
    readings_.ShowStatus(QStringLiteral("    Period added to the history from the meter data."));
    return true;
}
