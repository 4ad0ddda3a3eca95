// A plan is refused, with the day and time named, when its seasons or windows
// overlap or leave part of the year or week unpriced.
#include "tariff/tariffplan.h"

#include <gtest/gtest.h>

namespace {

constexpr quint8 kWeekdays = 0x1F, kSaturday = 0x20, kSunday = 0x40, kEveryDay = 0x7F;

TariffPlan Tou(QList<TouRate> rates) {
    TariffPlan p = FlatTariffPlan("Plan", 1, 0, 0, 0, 0, 0, false);
    p.seasons[0].usage.timeOfUse = true;
    p.seasons[0].usage.tou = rates;
    return p;
}

TouRate Rate(RateType type, QList<TimeWindow> windows) {
    return {type, {}, {{RateStep{0.3, {}}}, StepPeriod::Year}, windows};
}

TariffPlan Seasons(int firstEndMonth, int firstEndDay, int secondStartMonth, int secondStartDay) {
    TariffPlan p = FlatTariffPlan("Plan", 1, 0.3, 0, 0, 0, 0, false);
    p.seasons[0] = {"Summer", 12, 1, firstEndMonth, firstEndDay, 1, p.seasons[0].usage, {}};
    p.seasons.append({"Rest", secondStartMonth, secondStartDay, 11, 30, 1, p.seasons[0].usage, {}});
    return p;
}

} // namespace

TEST(TariffPlanCheck, RefusalsNameTheDayAndTime) {
    const TouRate peak = Rate(RateType::Peak, {{kWeekdays, 420, 1320}});
    const TouRate nights = Rate(RateType::OffPeak, {{kWeekdays, 1320, 420}, {kSunday, 0, 0}});
    TariffPlan feedInGap = FlatTariffPlan("Plan", 1, 0.3, 0, 0, 0, 0, false);
    feedInGap.feedIn.timeVarying = true;
    feedInGap.feedIn.windows = {Rate(RateType::Peak, {{kEveryDay, 0, 1080}})};
    TariffPlan badSteps = FlatTariffPlan("Plan", 1, 0.3, 0, 0, 0, 0, false);
    badSteps.seasons[0].usage.single.steps = {RateStep{0.2, {}}, RateStep{0.3, {}}};
    const struct {
        const char* what;
        TariffPlan plan;
        QString error;
    } rows[] = {
        {"weekdays split at 07:00 and 22:00, weekends all day",
         Tou({peak,
              Rate(RateType::OffPeak, {{kWeekdays, 1320, 420}, {kSaturday | kSunday, 0, 1440}})}),
         ""},
        {"Saturday afternoon left out",
         Tou({peak, nights, Rate(RateType::Shoulder, {{kSaturday, 0, 840}})}),
         "Tariff period \"All year\": No rate covers Saturday at 14:00."},
        {"evening peak running into the night rate",
         Tou({Rate(RateType::Peak, {{kEveryDay, 420, 1320}}),
              Rate(RateType::OffPeak, {{kEveryDay, 1260, 420}})}),
         "Tariff period \"All year\": Peak and Off-peak overlap on Monday at 21:00."},
        {"a season ending a day early", Seasons(3, 30, 4, 1), "No tariff period holds 03-31."},
        {"seasons sharing a day", Seasons(4, 1, 4, 1),
         "Tariff periods \"Summer\" and \"Rest\" both hold 04-01."},
        {"29 February goes with 28 February", Seasons(2, 28, 3, 1), ""},
        {"feed-in windows ending at 18:00", feedInGap, "Feed-in: No rate covers Monday at 18:00."},
        {"a step without a volume before the last", badSteps,
         "Tariff period \"All year\": a step without a volume comes before the last step."},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(ValidateTariffPlan(r.plan), r.error);
    }
}
