#include "history/historyjson.h"

#include "history/changeexplain.h"

#include <cmath>

namespace {

double Rounded(double v, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(v * scale) / scale;
}

QString Iso(QDate d) {
    return d.toString(Qt::ISODate);
}

} // namespace

QJsonObject HistoryPeriodJson(const HistoryPeriod& p) {
    const int money = p.moneyDecimals;
    QJsonObject o{{QStringLiteral("from"), Iso(p.from)},
                  {QStringLiteral("to"), Iso(p.to)},
                  {QStringLiteral("days"), p.days},
                  {QStringLiteral("kwh_general"), Rounded(p.kwhGeneral, 3)},
                  {QStringLiteral("kwh_hot_water"), Rounded(p.kwhHotWater, 3)},
                  {QStringLiteral("kwh_exported"), Rounded(p.kwhExported, 3)},
                  {QStringLiteral("net"), Rounded(p.net, money)},
                  {QStringLiteral("billed"), QJsonValue()},
                  {QStringLiteral("difference"), QJsonValue()},
                  {QStringLiteral("price_per_kwh"), QJsonValue()},
                  {QStringLiteral("warnings"), QJsonArray::fromStringList(p.warnings)}};
    if (p.billed) {
        o[QStringLiteral("billed")] = Rounded(*p.billed, money);
        o[QStringLiteral("difference")] = Rounded(*p.billed - p.net, money);
    }
    if (p.Kwh() > 0) {
        o[QStringLiteral("price_per_kwh")] = Rounded(p.PricePerKwh(), 4);
    }
    return o;
}

QJsonArray HistoryJson(const std::vector<HistoryPeriod>& periods) {
    QJsonArray a;
    for (const HistoryPeriod& p : periods) {
        a.append(HistoryPeriodJson(p));
    }
    return a;
}

std::optional<QJsonArray> HistoryExplainJson(QDate from,
                                             const std::vector<HistoryPeriod>& periods) {
    const HistoryPeriod* p = nullptr;
    for (const HistoryPeriod& q : periods) {
        if (q.from == from && (!p || q.to > p->to)) {
            p = &q;
        }
    }
    if (!p) {
        return std::nullopt;
    }
    QJsonArray answers;
    const int money = p->moneyDecimals;
    for (const ChangeAnswer& a : ChangeAnswers(*p, periods)) {
        const CostChange& c = a.change;
        answers.append(QJsonObject{
            {QStringLiteral("against"), QJsonObject{{QStringLiteral("kind"), QLatin1String(a.kind)},
                                                    {QStringLiteral("from"), Iso(a.period->from)},
                                                    {QStringLiteral("to"), Iso(a.period->to)}}},
            {QStringLiteral("change"), Rounded(c.change, money)},
            {QStringLiteral("from_use"), Rounded(c.fromUse, money)},
            {QStringLiteral("from_prices"), Rounded(c.fromPrices, money)}});
    }
    return answers;
}
