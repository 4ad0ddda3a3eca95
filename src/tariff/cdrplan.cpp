#include "tariff/cdrplan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>

namespace {

const char* const kDays[] = {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"};

struct TypeCode {
    RateType type;
    const char* name;
};
const TypeCode kTypes[] = {
    {RateType::Peak, "PEAK"},           {RateType::OffPeak, "OFF_PEAK"},
    {RateType::Shoulder, "SHOULDER"},   {RateType::Shoulder1, "SHOULDER1"},
    {RateType::Shoulder2, "SHOULDER2"}, {RateType::SolarSponge, "SOLAR_SPONGE"}};

// Thrown with the field's path and why; caught once in ReadCdrPlan.
struct Refusal {
    QString text;
};

// A percentage and its fraction, each to 15 significant digits, so 0.07 reads
// as 7 rather than 7.000000000000001 and a plan written and read back keeps it.
double Decimal15(double v) {
    return QString::number(v, 'g', 15).toDouble();
}

QString Shown(const QJsonValue& v) {
    QString t = v.isString()
                    ? v.toString()
                    : QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact))
                          .mid(1)
                          .chopped(1);
    if (t.size() > 40) {
        t = t.left(40) + QStringLiteral("...");
    }
    return QStringLiteral("\"%1\"").arg(t);
}

class Reader {
public:
    CdrImport out;

    [[noreturn]] void refuse(const QString& field, const QString& why) {
        throw Refusal{QStringLiteral("%1: %2").arg(field, why)};
    }

    void unpriced(const QString& part) {
        if (!out.plan.notPriced.contains(part)) {
            out.plan.notPriced.append(part);
            out.summary.append(QStringLiteral("Not priced: %1").arg(part));
        }
    }
    void note(const QString& line) {
        if (!out.summary.contains(line)) {
            out.summary.append(line);
        }
    }

    QJsonObject object(const QJsonObject& o, const QString& key, const QString& path) {
        const QJsonValue v = o.value(key);
        if (!v.isObject()) {
            refuse(path + key,
                   v.isUndefined() ? QStringLiteral("missing.") : QStringLiteral("not an object."));
        }
        return v.toObject();
    }
    QJsonArray array(const QJsonObject& o, const QString& key, const QString& path, bool required) {
        const QJsonValue v = o.value(key);
        if (v.isUndefined() && !required) {
            return {};
        }
        if (!v.isArray()) {
            refuse(path + key,
                   v.isUndefined() ? QStringLiteral("missing.") : QStringLiteral("not a list."));
        }
        return v.toArray();
    }

    // An amount or a volume: a JSON number or a decimal string.
    double number(const QJsonValue& v, const QString& field) {
        double d = 0;
        bool ok = false;
        if (v.isUndefined()) {
            refuse(field, QStringLiteral("missing."));
        }
        if (v.isDouble()) {
            d = v.toDouble();
            ok = true;
        } else if (v.isString()) {
            d = v.toString().trimmed().toDouble(&ok);
        }
        if (!ok || !std::isfinite(d)) {
            refuse(field, QStringLiteral("%1 is not a number.").arg(Shown(v)));
        }
        return d;
    }

    QString text(const QJsonObject& o, const char* key) {
        return o.value(QLatin1String(key)).toString();
    }

    StepPeriod period(const QJsonObject& o, const QString& path, bool stepped) {
        const QJsonValue v = o.value(QStringLiteral("period"));
        const QString p = v.toString();
        if (v.isUndefined() || p == QLatin1String("P1Y")) {
            return StepPeriod::Year;
        }
        if (p == QLatin1String("P1D")) {
            return StepPeriod::Day;
        }
        if (p == QLatin1String("P1M")) {
            return StepPeriod::Month;
        }
        if (stepped) {
            refuse(path + "period", QStringLiteral("%1 is not P1D, P1M or P1Y.").arg(Shown(v)));
        }
        return StepPeriod::Year; // a single rate has nothing to count
    }

    SteppedRate rates(const QJsonObject& o, const QString& path) {
        SteppedRate r;
        const QJsonArray list = array(o, "rates", path, false);
        if (list.isEmpty() && o.contains(QStringLiteral("amount"))) {
            // Feed-in tariffs of earlier versions give one amount.
            r.steps.append(
                RateStep{number(o.value(QStringLiteral("amount")), path + "amount"), {}});
            return r;
        }
        if (list.isEmpty()) {
            refuse(path + "rates", QStringLiteral("no rate given."));
        }
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QString at = QStringLiteral("%1rates[%2].").arg(path).arg(i);
            const QJsonObject step = list[i].toObject();
            const QString unit = text(step, "measureUnit");
            if (!unit.isEmpty() && unit != QLatin1String("KWH")) {
                refuse(at + "measureUnit", QStringLiteral("%1 is not priced per kWh.")
                                               .arg(Shown(step.value("measureUnit"))));
            }
            RateStep s;
            s.price = number(step.value(QStringLiteral("unitPrice")), at + "unitPrice");
            if (step.contains(QStringLiteral("volume")) && i + 1 < list.size()) {
                s.volume = number(step.value(QStringLiteral("volume")), at + "volume");
                if (*s.volume <= 0) {
                    refuse(at + "volume", QStringLiteral("must be above 0."));
                }
            } else if (i + 1 < list.size()) {
                refuse(at + "volume", QStringLiteral("missing before the last rate."));
            }
            r.steps.append(s);
        }
        r.period = period(o, path, r.steps.size() > 1);
        return r;
    }

    // Minutes from midnight, by the model's rules for a window's times.
    int time(const QJsonValue& v, const QString& field, bool isEnd) {
        static const QRegularExpression re(QStringLiteral(
            R"(^T?(\d{1,2}):?(\d{2})(?::?(\d{2})(?:\.\d+)?)?(Z|[+-]\d{2}(?::?\d{2})?)?$)"));
        const QRegularExpressionMatch m = re.match(v.toString());
        const int h = m.captured(1).toInt();
        const int min = m.captured(2).toInt();
        const int sec = m.captured(3).toInt();
        if (!m.hasMatch() || h > 24 || min > 59 || sec > 59 || (h == 24 && (min || sec))) {
            refuse(field, QStringLiteral("%1 is not a time of day.").arg(Shown(v)));
        }
        if (!m.captured(4).isEmpty() && m.captured(4) != QLatin1String("+10:00") &&
            m.captured(4) != QLatin1String("+1000") && m.captured(4) != QLatin1String("+10")) {
            unpriced(QStringLiteral("window times with their own UTC offset"));
        }
        return WindowMinute(h, min, isEnd);
    }

    quint8 days(const QJsonArray& list, const QString& field) {
        quint8 bits = 0;
        for (const QJsonValue& d : list) {
            const QString name = d.toString();
            if (name == QLatin1String("PUBLIC_HOLIDAYS")) {
                unpriced(QStringLiteral("public-holiday windows"));
                continue;
            }
            int k = 0;
            while (k < 7 && name != QLatin1String(kDays[k])) {
                ++k;
            }
            if (k == 7) {
                refuse(field, QStringLiteral("%1 is not a day.").arg(Shown(d)));
            }
            bits |= static_cast<quint8>(1 << k);
        }
        return bits;
    }

    RateType rateType(const QJsonObject& o, const QString& path) {
        const QJsonValue v = o.value(QStringLiteral("type"));
        for (const TypeCode& t : kTypes) {
            if (v.toString() == QLatin1String(t.name)) {
                return t.type;
            }
        }
        refuse(path + "type", QStringLiteral("%1 is not a rate type.").arg(Shown(v)));
    }

    // Time-of-use rates with windows under `windowsKey`.
    QList<TouRate> touRates(const QJsonArray& list, const QString& path, const char* windowsKey) {
        QList<TouRate> out;
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QString at = QStringLiteral("%1[%2].").arg(path).arg(i);
            const QJsonObject o = list[i].toObject();
            TouRate r;
            r.type = rateType(o, at);
            r.name = text(o, "displayName");
            r.rate = rates(o, at);
            const QJsonArray windows = array(o, windowsKey, at, true);
            for (qsizetype w = 0; w < windows.size(); ++w) {
                const QString wat = QStringLiteral("%1%2[%3].").arg(at, windowsKey).arg(w);
                const QJsonObject win = windows[w].toObject();
                TimeWindow tw;
                tw.days = days(array(win, "days", wat, true), wat + "days");
                tw.start =
                    win.contains(QStringLiteral("startTime"))
                        ? time(win.value(QStringLiteral("startTime")), wat + "startTime", false)
                        : 0;
                tw.end = win.contains(QStringLiteral("endTime"))
                             ? time(win.value(QStringLiteral("endTime")), wat + "endTime", true)
                             : 1440;
                if (tw.days) {
                    r.windows.append(tw);
                }
            }
            out.append(r);
        }
        return out;
    }

    std::optional<TariffZone> zone(const QJsonObject& o, const QString& path) {
        const QJsonValue v = o.value(QStringLiteral("timeZone"));
        if (v.isUndefined()) {
            return std::nullopt;
        }
        if (v.toString() == QLatin1String("LOCAL")) {
            return TariffZone::Local;
        }
        if (v.toString() == QLatin1String("AEST")) {
            return TariffZone::Aest;
        }
        refuse(path + "timeZone", QStringLiteral("%1 is not LOCAL or AEST.").arg(Shown(v)));
    }

    void monthDay(const QJsonObject& o, const QString& key, const QString& path, int& month,
                  int& day) {
        const QJsonValue v = o.value(key);
        static const QRegularExpression re(QStringLiteral(R"(^(\d{2})-(\d{2})$)"));
        const QRegularExpressionMatch m = re.match(v.toString());
        month = m.captured(1).toInt();
        day = m.captured(2).toInt();
        if (!m.hasMatch() || !QDate::isValid(2000, month, day)) {
            refuse(path + key, QStringLiteral("%1 is not a month and day (mm-dd).").arg(Shown(v)));
        }
    }

    void tariffPeriods(const QJsonObject& c) {
        const QString base = QStringLiteral("electricityContract.tariffPeriod");
        const QJsonArray list = array(c, "tariffPeriod", "electricityContract.", true);
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QString at = QStringLiteral("%1[%2].").arg(base).arg(i);
            const QJsonObject o = list[i].toObject();
            const QString kind = text(o, "rateBlockUType");
            if (kind == QLatin1String("demandCharges")) {
                unpriced(QStringLiteral("demand charges"));
                continue;
            }
            TariffSeason s;
            s.name = text(o, "displayName");
            monthDay(o, "startDate", at, s.startMonth, s.startDay);
            monthDay(o, "endDate", at, s.endMonth, s.endDay);
            s.zone = zone(o, at);
            if (text(o, "dailySupplyChargeType") == QLatin1String("BAND")) {
                unpriced(QStringLiteral("banded supply charges"));
            } else if (o.contains(QStringLiteral("dailySupplyCharge"))) {
                s.dailySupply = number(o.value("dailySupplyCharge"), at + "dailySupplyCharge");
            }
            if (kind == QLatin1String("singleRate")) {
                s.usage.single = rates(object(o, "singleRate", at), at + "singleRate.");
            } else if (kind == QLatin1String("timeOfUseRates")) {
                s.usage.timeOfUse = true;
                s.usage.tou = touRates(array(o, "timeOfUseRates", at, true), at + "timeOfUseRates",
                                       "timeOfUse");
            } else {
                refuse(at + "rateBlockUType",
                       QStringLiteral("%1 is not singleRate, timeOfUseRates or demandCharges.")
                           .arg(Shown(o.value("rateBlockUType"))));
            }
            out.plan.seasons.append(s);
        }
        if (out.plan.seasons.isEmpty()) {
            refuse(base, QStringLiteral("no tariff period with usage rates."));
        }
    }

    void controlledLoad(const QJsonObject& c) {
        const QString base = QStringLiteral("electricityContract.controlledLoad");
        const QJsonArray list = array(c, "controlledLoad", "electricityContract.", false);
        if (list.isEmpty()) {
            return;
        }
        if (list.size() > 1) {
            unpriced(QStringLiteral("a second controlled load"));
        }
        const QString at = base + "[0].";
        const QJsonObject o = list[0].toObject();
        ControlledLoadTariff& cl = out.plan.controlledLoad;
        cl.present = true;
        cl.name = text(o, "displayName");
        QList<QJsonObject> withCharge;
        const QString kind = text(o, "rateBlockUType");
        if (kind == QLatin1String("singleRate")) {
            const QJsonObject single = object(o, "singleRate", at);
            cl.rates.single = rates(single, at + "singleRate.");
            withCharge = {single};
        } else if (kind == QLatin1String("timeOfUseRates")) {
            const QJsonArray tou = array(o, "timeOfUseRates", at, true);
            cl.rates.timeOfUse = true;
            cl.rates.tou = touRates(tou, at + "timeOfUseRates", "timeOfUse");
            for (const QJsonValue& v : tou) {
                withCharge.append(v.toObject());
            }
        } else {
            refuse(at + "rateBlockUType", QStringLiteral("%1 is not singleRate or timeOfUseRates.")
                                              .arg(Shown(o.value("rateBlockUType"))));
        }
        for (const QJsonObject& w : withCharge) {
            if (w.contains(QStringLiteral("dailySupplyCharge"))) {
                cl.dailyCharge = number(w.value("dailySupplyCharge"), at + "dailySupplyCharge");
                break;
            }
        }
    }

    void feedIn(const QJsonObject& c) {
        const QString base = QStringLiteral("electricityContract.solarFeedInTariff");
        const QJsonArray list = array(c, "solarFeedInTariff", "electricityContract.", false);
        if (list.isEmpty()) {
            return;
        }
        // The retailer's own tariff rather than a closed government premium scheme.
        qsizetype pick = 0;
        for (qsizetype i = 0; i < list.size(); ++i) {
            if (text(list[i].toObject(), "scheme") != QLatin1String("PREMIUM")) {
                pick = i;
                break;
            }
        }
        for (qsizetype i = 0; i < list.size(); ++i) {
            if (i != pick) {
                note(QStringLiteral("Feed-in tariff not used: %1")
                         .arg(text(list[i].toObject(), "displayName")));
            }
        }
        const QString at = QStringLiteral("%1[%2].").arg(base).arg(pick);
        const QJsonObject o = list[pick].toObject();
        FeedInTariff& f = out.plan.feedIn;
        f.present = true;
        f.name = text(o, "displayName");
        const QString kind = text(o, "tariffUType");
        if (kind == QLatin1String("singleTariff")) {
            f.single = rates(object(o, "singleTariff", at), at + "singleTariff.");
        } else if (kind == QLatin1String("timeVaryingTariffs")) {
            f.timeVarying = true;
            f.windows = touRates(array(o, "timeVaryingTariffs", at, true),
                                 at + "timeVaryingTariffs", "timeVariations");
        } else {
            refuse(at + "tariffUType",
                   QStringLiteral("%1 is not singleTariff or timeVaryingTariffs.")
                       .arg(Shown(o.value("tariffUType"))));
        }
    }

    void discounts(const QJsonObject& c) {
        const QJsonArray list = array(c, "discounts", "electricityContract.", false);
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QString at = QStringLiteral("electricityContract.discounts[%1].").arg(i);
            const QJsonObject o = list[i].toObject();
            TariffDiscount d;
            d.name = text(o, "displayName");
            d.guaranteed = text(o, "type") == QLatin1String("GUARANTEED");
            d.category = text(o, "category");
            const QString method = text(o, "methodUType");
            if (method == QLatin1String("percentOfUse") ||
                method == QLatin1String("percentOfBill")) {
                d.method = method == QLatin1String("percentOfUse")
                               ? TariffDiscount::Method::PercentOfUse
                               : TariffDiscount::Method::PercentOfBill;
                const QString key = at + method + ".rate";
                d.percent = Decimal15(100 * number(object(o, method, at).value("rate"), key));
                if (d.percent < 0 || d.percent > 100) {
                    refuse(key, QStringLiteral("must be from 0 to 1."));
                }
                out.plan.discounts.append(d);
            } else if (d.guaranteed) {
                unpriced(QStringLiteral("discount \"%1\"").arg(d.name));
            } else {
                note(QStringLiteral("Conditional discount not shown: %1").arg(d.name));
            }
        }
    }

    void extras(const QJsonObject& data, const QJsonObject& c) {
        static const QStringList recurring{"DAILY",     "WEEKLY", "MONTHLY",        "BIMONTHLY",
                                           "QUARTERLY", "ANNUAL", "PERCENT_OF_BILL"};
        for (const QJsonValue& fee : c.value(QStringLiteral("fees")).toArray()) {
            const QJsonObject f = fee.toObject();
            if (recurring.contains(text(f, "term"))) {
                unpriced(QStringLiteral("fees"));
            } else {
                note(QStringLiteral("One-off fee not priced: %1").arg(text(f, "type")));
            }
        }
        if (!c.value(QStringLiteral("greenPowerCharges")).toArray().isEmpty()) {
            note(QStringLiteral("Green power (optional) not priced"));
        }
        if (!c.value(QStringLiteral("incentives")).toArray().isEmpty()) {
            note(QStringLiteral("Incentives not priced"));
        }
        if (!data.value(QStringLiteral("meteringCharges")).toArray().isEmpty()) {
            unpriced(QStringLiteral("metering charges"));
        }
    }

    void read(const QByteArray& json) {
        QJsonParseError parse;
        const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
        if (!doc.isObject()) {
            throw Refusal{parse.error != QJsonParseError::NoError
                              ? QStringLiteral("Not a plan file: %1 at byte %2.")
                                    .arg(parse.errorString())
                                    .arg(parse.offset)
                              : QStringLiteral("Not a plan file: no object at the top.")};
        }
        QJsonObject data = doc.object();
        if (data.value(QStringLiteral("data")).isObject()) {
            data = data.value(QStringLiteral("data")).toObject();
        }
        if (!data.value(QStringLiteral("electricityContract")).isObject()) {
            refuse(QStringLiteral("electricityContract"),
                   QStringLiteral("missing: not an electricity plan."));
        }
        const QJsonObject c = data.value(QStringLiteral("electricityContract")).toObject();
        TariffPlan& p = out.plan;
        p.planId = text(data, "planId");
        p.brand = text(data, "brandName");
        if (p.brand.isEmpty()) {
            p.brand = text(data, "brand");
        }
        p.name = text(data, "displayName").trimmed();
        if (p.name.isEmpty()) {
            p.name = p.planId;
        }
        p.zone = zone(c, QStringLiteral("electricityContract.")).value_or(TariffZone::Aest);
        p.taxPercent = 10; // the file's prices exclude GST
        tariffPeriods(c);
        controlledLoad(c);
        feedIn(c);
        discounts(c);
        extras(data, c);
        const QJsonObject own = c.value(QStringLiteral("voltisk")).toObject();
        if (own.contains(QStringLiteral("taxPercent"))) {
            p.taxPercent =
                number(own.value("taxPercent"), "electricityContract.voltisk.taxPercent");
        }
        p.taxOnFeedIn = own.value(QStringLiteral("taxOnFeedIn")).toBool();
        for (const QJsonValue& v : own.value(QStringLiteral("notPriced")).toArray()) {
            unpriced(v.toString());
        }
        if (const QString e = ValidateTariffPlan(p); !e.isEmpty()) {
            throw Refusal{QStringLiteral("electricityContract: %1").arg(e)};
        }
    }
};

// Writing.

QJsonValue Amount(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

QString EndText(int minute) {
    // The standard's own style: a window ending on the hour ends at HH:59.
    return minute % 60 == 0 ? MinuteText(minute - 1) : MinuteText(minute);
}

QJsonObject RatesObject(const SteppedRate& r) {
    QJsonArray steps;
    for (const RateStep& s : r.steps) {
        QJsonObject o{{"unitPrice", Amount(s.price)}};
        if (s.volume) {
            o.insert("volume", *s.volume);
        }
        steps.append(o);
    }
    static const char* const periods[] = {"P1D", "P1M", "P1Y"};
    return {{"rates", steps}, {"period", periods[static_cast<int>(r.period)]}};
}

QJsonArray TouArray(const QList<TouRate>& rates, const char* windowsKey) {
    QJsonArray out;
    for (const TouRate& r : rates) {
        QJsonObject o = RatesObject(r.rate);
        for (const TypeCode& t : kTypes) {
            if (t.type == r.type) {
                o.insert("type", t.name);
            }
        }
        o.insert("displayName", r.name.isEmpty() ? RateTypeName(r.type) : r.name);
        QJsonArray windows;
        for (const TimeWindow& w : r.windows) {
            QJsonArray days;
            for (int d = 0; d < 7; ++d) {
                if (w.days & (1 << d)) {
                    days.append(kDays[d]);
                }
            }
            windows.append(QJsonObject{{"days", days},
                                       {"startTime", MinuteText(w.start)},
                                       {"endTime", EndText(w.end == 0 ? 1440 : w.end)}});
        }
        o.insert(windowsKey, windows);
        out.append(o);
    }
    return out;
}

QString MonthDay(int month, int day) {
    return QStringLiteral("%1-%2").arg(month, 2, 10, QChar(u'0')).arg(day, 2, 10, QChar(u'0'));
}

const char* ZoneName(TariffZone z) {
    return z == TariffZone::Aest ? "AEST" : "LOCAL";
}

} // namespace

CdrImport ReadCdrPlan(const QByteArray& json) {
    Reader r;
    try {
        r.read(json);
    } catch (const Refusal& refusal) {
        CdrImport failed;
        failed.error = refusal.text;
        return failed;
    }
    return r.out;
}

QByteArray WriteCdrPlan(const TariffPlan& plan) {
    QJsonObject c;
    const bool cl = plan.controlledLoad.present;
    c.insert("pricingModel",
             QString::fromLatin1(IsTimeOfUse(plan) ? "TIME_OF_USE" : "SINGLE_RATE") +
                 (cl ? QStringLiteral("_CONT_LOAD") : QString()));
    c.insert("timeZone", ZoneName(plan.zone));
    QJsonArray periods;
    for (const TariffSeason& s : plan.seasons) {
        QJsonObject o{{"displayName", s.name},
                      {"startDate", MonthDay(s.startMonth, s.startDay)},
                      {"endDate", MonthDay(s.endMonth, s.endDay)},
                      {"dailySupplyChargeType", "SINGLE"},
                      {"dailySupplyCharge", Amount(s.dailySupply)}};
        if (s.zone) {
            o.insert("timeZone", ZoneName(*s.zone));
        }
        if (s.usage.timeOfUse) {
            o.insert("rateBlockUType", "timeOfUseRates");
            o.insert("timeOfUseRates", TouArray(s.usage.tou, "timeOfUse"));
        } else {
            QJsonObject single = RatesObject(s.usage.single);
            single.insert("displayName", s.name);
            o.insert("rateBlockUType", "singleRate");
            o.insert("singleRate", single);
        }
        periods.append(o);
    }
    c.insert("tariffPeriod", periods);
    if (cl) {
        const ControlledLoadTariff& t = plan.controlledLoad;
        QJsonObject o{{"displayName", t.name}};
        if (t.rates.timeOfUse) {
            QJsonArray tou = TouArray(t.rates.tou, "timeOfUse");
            if (t.dailyCharge && !tou.isEmpty()) {
                QJsonObject first = tou[0].toObject();
                first.insert("dailySupplyCharge", Amount(*t.dailyCharge));
                tou[0] = first;
            }
            o.insert("rateBlockUType", "timeOfUseRates");
            o.insert("timeOfUseRates", tou);
        } else {
            QJsonObject single = RatesObject(t.rates.single);
            single.insert("displayName", t.name);
            if (t.dailyCharge) {
                single.insert("dailySupplyCharge", Amount(*t.dailyCharge));
            }
            o.insert("rateBlockUType", "singleRate");
            o.insert("singleRate", single);
        }
        c.insert("controlledLoad", QJsonArray{o});
    }
    if (plan.feedIn.present) {
        const FeedInTariff& f = plan.feedIn;
        QJsonObject o{{"displayName", f.name}};
        if (f.timeVarying) {
            o.insert("tariffUType", "timeVaryingTariffs");
            o.insert("timeVaryingTariffs", TouArray(f.windows, "timeVariations"));
        } else {
            o.insert("tariffUType", "singleTariff");
            o.insert("singleTariff", RatesObject(f.single));
        }
        c.insert("solarFeedInTariff", QJsonArray{o});
    }
    QJsonArray discounts;
    for (const TariffDiscount& d : plan.discounts) {
        const char* method =
            d.method == TariffDiscount::Method::PercentOfUse ? "percentOfUse" : "percentOfBill";
        QJsonObject o{{"displayName", d.name},
                      {"type", d.guaranteed ? "GUARANTEED" : "CONDITIONAL"},
                      {"methodUType", method},
                      {method, QJsonObject{{"rate", Amount(Decimal15(d.percent / 100))}}}};
        if (!d.category.isEmpty()) {
            o.insert("category", d.category);
        }
        discounts.append(o);
    }
    if (!discounts.isEmpty()) {
        c.insert("discounts", discounts);
    }
    QJsonObject own;
    if (plan.taxPercent != 10 || plan.taxOnFeedIn) {
        own.insert("taxPercent", plan.taxPercent);
        own.insert("taxOnFeedIn", plan.taxOnFeedIn);
    }
    if (!plan.notPriced.isEmpty()) {
        own.insert("notPriced", QJsonArray::fromStringList(plan.notPriced));
    }
    if (!own.isEmpty()) {
        c.insert("voltisk", own);
    }
    QJsonObject data{
        {"displayName", plan.name}, {"fuelType", "ELECTRICITY"}, {"electricityContract", c}};
    if (!plan.planId.isEmpty()) {
        data.insert("planId", plan.planId);
    }
    if (!plan.brand.isEmpty()) {
        data.insert("brandName", plan.brand);
    }
    return QJsonDocument(QJsonObject{{"data", data}}).toJson(QJsonDocument::Indented);
}
