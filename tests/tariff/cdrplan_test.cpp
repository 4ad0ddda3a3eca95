// Plans read from and written to the Consumer Data Right plan-detail JSON.
#include "tariff/cdrplan.h"
#include "tariff/tariffpricing.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

const char kAll[] = R"("MON","TUE","WED","THU","FRI","SAT","SUN")";

QByteArray Sample() {
    return QByteArray(R"({"data": {
 "planId": "EXA123456MRE1", "displayName": "Example Saver", "brandName": "Example Energy",
 "brand": "example", "fuelType": "ELECTRICITY", "type": "MARKET",
 "electricityContract": {
  "pricingModel": "TIME_OF_USE_CONT_LOAD", "timeZone": "AEST", "isFixed": false,
  "tariffPeriod": [
   {"displayName": "All year", "startDate": "01-01", "endDate": "12-31",
    "dailySupplyChargeType": "SINGLE", "dailySupplyCharge": "1.0000",
    "rateBlockUType": "timeOfUseRates", "timeOfUseRates": [
     {"displayName": "Shoulder", "type": "SHOULDER", "rates": [{"unitPrice": "0.3000"}],
      "timeOfUse": [{"days": ["SUN","MON","TUE","WED","THU","FRI","SAT"],
                     "startTime": "07:00", "endTime": "14:59"}]},
     {"displayName": "Peak", "type": "PEAK", "period": "P1D",
      "rates": [{"unitPrice": "0.5000", "volume": 2}, {"unitPrice": "0.6000"}],
      "timeOfUse": [{"days": [ALL], "startTime": "15:00", "endTime": "20:59"}]},
     {"displayName": "Off peak", "type": "OFF_PEAK", "rates": [{"unitPrice": 0.1}],
      "timeOfUse": [{"days": [ALL, "PUBLIC_HOLIDAYS"], "startTime": "21:00", "endTime": "06:59"}]}]},
   {"displayName": "Demand", "startDate": "01-01", "endDate": "12-31",
    "rateBlockUType": "demandCharges", "demandCharges": [{"displayName": "D", "amount": "0.2"}]}],
  "controlledLoad": [{"displayName": "CL1", "rateBlockUType": "singleRate",
   "singleRate": {"displayName": "CL1", "dailySupplyCharge": "0.1000",
                  "rates": [{"unitPrice": "0.1500"}]}}],
  "solarFeedInTariff": [
   {"displayName": "Premium", "scheme": "PREMIUM", "payerType": "GOVERNMENT",
    "tariffUType": "singleTariff", "singleTariff": {"rates": [{"unitPrice": "0.44"}]}},
   {"displayName": "Solar", "scheme": "CURRENT", "payerType": "RETAILER",
    "tariffUType": "timeVaryingTariffs", "timeVaryingTariffs": [
     {"displayName": "Day", "type": "PEAK", "rates": [{"unitPrice": "0.05"}],
      "timeVariations": [{"days": [ALL], "startTime": "07:00", "endTime": "20:59"}]},
     {"displayName": "Night", "type": "OFF_PEAK", "rates": [{"unitPrice": "0.02"}],
      "timeVariations": [{"days": [ALL], "startTime": "21:00", "endTime": "06:59"}]}]}],
  "discounts": [
   {"displayName": "Guaranteed 5%", "type": "GUARANTEED", "methodUType": "percentOfUse",
    "percentOfUse": {"rate": "0.05"}},
   {"displayName": "Pay on time", "type": "CONDITIONAL", "category": "PAY_ON_TIME",
    "methodUType": "percentOfBill", "percentOfBill": {"rate": "0.03"}}],
  "fees": [{"type": "LATE_PAYMENT", "term": "FIXED"}, {"type": "MEMBERSHIP", "term": "MONTHLY"}],
  "incentives": [{"displayName": "Gift card"}]
 }}})")
        .replace("ALL", kAll);
}

IntervalSeries Monday() {
    IntervalSeries s;
    const struct {
        const char* time;
        double kwh;
        IntervalRole role;
    } rows[] = {{"14:55", 1, IntervalRole::General},         {"15:00", 1, IntervalRole::General},
                {"20:55", 2, IntervalRole::General},         {"21:00", 1, IntervalRole::General},
                {"06:55", 1, IntervalRole::General},         {"07:00", 1, IntervalRole::General},
                {"03:00", 10, IntervalRole::ControlledLoad}, {"12:00", 10, IntervalRole::Export},
                {"22:00", 5, IntervalRole::Export}};
    for (const auto& r : rows) {
        const QDateTime at = QDateTime::fromString(
            QStringLiteral("2024-01-08T%1:00+10:00").arg(r.time), Qt::ISODate);
        s.add(at.toSecsSinceEpoch(), 5, r.kwh, r.role);
    }
    return s;
}

} // namespace

// Usage: 14:55 shoulder (the window ends at 15:00) 0.30; 15:00 peak 0.50;
// 20:55 2 kWh, the second over the day's 2 kWh step: 0.50 + 0.60; 21:00 and
// 06:55 off-peak 0.10 each; 07:00 shoulder 0.30: 2.40. Controlled load 10 x
// 0.15 = 1.50. Supply 1.00 + 0.10. Discount 5 % of 3.90 = 0.195. Tax 10 % of
// 1.10 + 3.90 - 0.195 = 0.4805. Feed-in 10 x 0.05 + 5 x 0.02 = 0.60. Total
// 4.6855; paying on time would save 3 % of 5.00 with tax, 0.165.
TEST(CdrPlan, ReadsAndPricesAPublishedPlan) {
    const CdrImport in = ReadCdrPlan(Sample());
    ASSERT_EQ(in.error, "");
    EXPECT_EQ(in.plan.name, "Example Saver");
    EXPECT_EQ(in.plan.planId, "EXA123456MRE1");
    EXPECT_EQ(in.plan.notPriced, QStringList({"public-holiday windows", "demand charges", "fees"}));
    EXPECT_TRUE(in.summary.contains("Feed-in tariff not used: Premium"));
    EXPECT_TRUE(in.summary.contains("One-off fee not priced: LATE_PAYMENT"));
    EXPECT_TRUE(in.summary.contains("Incentives not priced"));
    const TariffPrice p = PriceTariff(in.plan, Monday());
    EXPECT_NEAR(p.usage, 2.40, 1e-9);
    EXPECT_NEAR(p.controlledLoad, 1.50, 1e-9);
    EXPECT_NEAR(p.supply, 1.10, 1e-9);
    EXPECT_NEAR(p.discounts, -0.195, 1e-9);
    EXPECT_NEAR(p.tax, 0.4805, 1e-9);
    EXPECT_NEAR(p.feedIn, -0.60, 1e-9);
    EXPECT_NEAR(p.total, 4.6855, 1e-9);
    ASSERT_EQ(p.conditional.size(), 1);
    EXPECT_NEAR(p.conditional[0].saving, 0.165, 1e-9);
    EXPECT_EQ(PriceNote(p), "not fully priced: public-holiday windows, demand charges, fees");
}

TEST(CdrPlan, RefusalsNameTheField) {
    const QString tou = "electricityContract.tariffPeriod[0].timeOfUseRates[0].";
    const struct {
        QByteArray from, to;
        QString error;
    } rows[] = {
        {"{\"data\"", "[\"data\"", "Not a plan file: "},
        {"electricityContract", "gasContract",
         "electricityContract: missing: not an electricity plan."},
        {"\"0.3000\"", "\"abc\"", tou + "rates[0].unitPrice: \"abc\" is not a number."},
        {"\"0.3000\"", "true", tou + "rates[0].unitPrice: \"true\" is not a number."},
        {"\"unitPrice\": \"0.3000\"", "\"price\": \"0.3000\"",
         tou + "rates[0].unitPrice: missing."},
        {"\"SUN\",\"MON\"", "\"SUN\",\"MONDAY\"",
         tou + "timeOfUse[0].days: \"MONDAY\" is not a day."},
        {"\"startTime\": \"07:00\", \"endTime\": \"14:59\"",
         "\"startTime\": \"7am\", \"endTime\": \"14:59\"",
         tou + "timeOfUse[0].startTime: \"7am\" is not a time of day."},
        {"\"endTime\": \"14:59\"", "\"endTime\": \"15:30\"",
         "electricityContract: Tariff period \"All year\": Shoulder and Peak overlap on Monday at "
         "15:00."},
        {"\"endTime\": \"14:59\"", "\"endTime\": \"14:29\"",
         "electricityContract: Tariff period \"All year\": No rate covers Monday at 14:29."},
        {"\"All year\", \"startDate\": \"01-01\"", "\"All year\", \"startDate\": \"01-02\"",
         "electricityContract: No tariff period holds 01-01."},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.error.toStdString());
        const QByteArray json = Sample().replace(r.from, r.to);
        ASSERT_NE(json, Sample());
        const CdrImport in = ReadCdrPlan(json);
        EXPECT_TRUE(in.error.startsWith(r.error)) << in.error.toStdString();
    }
}

// Written and read back, a plan keeps every figure; a bare data object reads
// as the whole response does; a flat plan keeps its own tax choices.
TEST(CdrPlan, WritesWhatItReads) {
    const TariffPlan read = ReadCdrPlan(Sample()).plan;
    const QByteArray written = WriteCdrPlan(read);
    const CdrImport again = ReadCdrPlan(written);
    ASSERT_EQ(again.error, "");
    EXPECT_EQ(WriteCdrPlan(again.plan), written);
    EXPECT_EQ(again.plan.notPriced, read.notPriced);
    EXPECT_NEAR(PriceTariff(again.plan, Monday()).total, 4.6855, 1e-9);
    const QByteArray bare =
        QJsonDocument(QJsonDocument::fromJson(written).object().value("data").toObject()).toJson();
    EXPECT_EQ(ReadCdrPlan(bare).plan.name, "Example Saver");
    const TariffPlan flat = FlatTariffPlan("Flat", 1.1, 0.28, 0.2, 0.15, 0.08, 0, true);
    const TariffPlan back = ReadCdrPlan(WriteCdrPlan(flat)).plan;
    EXPECT_EQ(back.taxPercent, 0);
    EXPECT_TRUE(back.taxOnFeedIn);
    EXPECT_EQ(back.zone, TariffZone::Local);
    EXPECT_EQ(back.controlledLoad.dailyCharge, 0.2);
    EXPECT_EQ(WriteCdrPlan(back), WriteCdrPlan(flat));
}
