// Version 5 copies each flat plan of a version-2 history into the tariff
// plans, where it prices to the cent as the Compare plans page priced it.
#include "mylib/errors.h"
#include "plans/plancalc.h"
#include "plans/planstore.h"
#include "plans/tariffplanstore.h"
#include "storage/historyschema.h"
#include "storage/tariffschema.h"
#include "tariff/tariffpricing.h"

#include "support/testenv.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cmath>

TEST(TariffSchema, FlatPlansOfVersion2PriceToTheCentAsBefore) {
    const QString file = TestEnv::DataDir() + QStringLiteral("/tariff-history.sqlite");
    QFile::remove(file);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "tariff-raw");
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        MigrateHistory(db, 2);
        const PlanRates rates[] = {{1.0731, 0.28283, 0.2, 0.1577, 0.08, 10, true},
                                   {0.99, 0.3109, 0, 0, 0.05, 0, false}};
        PlanStore flat(db);
        flat.Add("Saver", rates[0]);
        flat.Add("Basic", rates[1]);
        MigrateToVersion5(db);

        TariffPlanStore store(db);
        const QList<StoredTariffPlan> plans = store.Plans();
        ASSERT_EQ(plans.size(), 2);
        EXPECT_EQ(plans[0].plan.name, "Saver");
        EXPECT_EQ(plans[1].plan.name, "Basic");
        for (int i = 0; i < 2; ++i) {
            for (bool solar : {false, true}) {
                for (bool hotWater : {false, true}) {
                    PeriodBasis use;
                    use.solar = solar;
                    use.showHotWater = hotWater;
                    use.generalKwh = 1234.5;
                    use.hwKwh = hotWater ? 321.7 : 0;
                    use.exportedKwh = solar ? 876.3 : 0;
                    const double before = ComputePlan(92, use, rates[i]).net;
                    const double now =
                        PricePeriodKwh(plans[i].plan, QDate(2025, 4, 1), QDate(2025, 7, 1),
                                       use.generalKwh, use.hwKwh, use.exportedKwh, hotWater)
                            .total;
                    EXPECT_EQ(std::round(now * 100), std::round(before * 100))
                        << i << solar << hotWater;
                }
            }
        }
        EXPECT_THROW(store.Add(FlatTariffPlan(" saver ", 1, 0.3, 0, 0, 0, 10, false)),
                     EVoltiskError);
        TariffPlan gap = FlatTariffPlan("Gap", 1, 0.3, 0, 0, 0, 10, false);
        gap.seasons[0].endMonth = 6;
        EXPECT_THROW(store.Add(gap), EVoltiskError);
        const qint64 id = store.Add(FlatTariffPlan(" Green  one ", 1, 0.3, 0, 0, 0, 10, false));
        ASSERT_EQ(store.Plans().size(), 3);
        EXPECT_EQ(store.Plans().back().plan.name, "Green one");
        store.Remove(id);
        EXPECT_EQ(store.Plans().size(), 2);
        EXPECT_THROW(store.Remove(id), EVoltiskError);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tariff-raw"));
}

// An edited plan is replaced where it stands; a refused edit keeps it as it was.
TEST(TariffPlanStore, UpdateKeepsThePlaceAndRefusesAsAdd) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "tariff-update");
    db.setDatabaseName(TestEnv::DataDir() + QStringLiteral("/tariff-update.sqlite"));
    ASSERT_TRUE(db.open());
    MigrateHistory(db, 2);
    PlanStore(db).Add("Flat", {1, 0.3, 0, 0, 0, 10, false});
    MigrateToVersion5(db);
    TariffPlanStore store(db);
    auto plan = [](const char* name, double supply = 2) {
        return FlatTariffPlan(name, supply, 0.3, 0, 0, 0, 10, false);
    };
    const qint64 first = store.Add(plan("First", 1));
    store.Add(plan("Second"));
    TariffPlan gap = plan("Gap");
    gap.seasons[0].endMonth = 6;
    for (const auto& [id, refused] : {std::pair{first, plan(" second ")},
                                      {first, plan("FLAT")},
                                      {first, plan("  ")},
                                      {first, gap},
                                      {999, plan("Gone")}}) {
        EXPECT_THROW(store.Update(id, refused), EVoltiskError) << refused.name.toStdString();
        EXPECT_EQ(store.Plans()[1].plan.seasons[0].dailySupply, 1);
    }
    store.Update(first, plan(" FIRST  renamed"));
    const QList<StoredTariffPlan> plans = store.Plans();
    ASSERT_EQ(plans.size(), 3);
    EXPECT_EQ(plans[1].id, first);
    EXPECT_EQ(plans[1].plan.name, "FIRST renamed");
    EXPECT_EQ(plans[1].plan.seasons[0].dailySupply, 2);
    db.close();
}
