#include "history/forecast.h"

#include "mylib/money.h"

std::optional<double> ForecastCost(QDate from, QDate to, QDate today, const PeriodInputs& inputs,
                                   const QLocale& numbers, const MeterDaysUse& meter) {
    if (!from.isValid() || !to.isValid() || !(from < today && today < to)) {
        return std::nullopt;
    }
    const auto days = static_cast<double>(from.daysTo(to));
    const double byReadings = days / static_cast<double>(from.daysTo(today));
    PeriodBasis b = ReadPeriodBasis(inputs, numbers);
    b.exportedKwh *= byReadings;
    if (meter.days > 0) {
        const double byMeter = days / static_cast<double>(meter.days);
        b.generalKwh = meter.general * byMeter;
        b.hwKwh = meter.controlledLoad * byMeter;
        if (meter.exported > 0) {
            b.exportedKwh = meter.exported * byMeter;
        }
    } else {
        b.generalKwh *= byReadings;
        b.hwKwh *= byReadings;
    }
    return ComputePeriod(from.daysTo(to), b).totalNet;
}

QString ForecastText(double cost, const QLocale& money, int moneyDecimals, qint64 meterDays) {
    const QString amount = FormatMoney(cost, money, moneyDecimals);
    if (meterDays <= 0) {
        return QStringLiteral("If use goes on as so far, this period will cost about %1.")
            .arg(amount);
    }
    return QStringLiteral("If use goes on as so far, this period will cost about %1 (from %2 of "
                          "meter data).")
        .arg(amount,
             meterDays == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(meterDays));
}
