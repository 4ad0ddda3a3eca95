#include "history/forecast.h"

#include "mylib/money.h"

std::optional<double> ForecastCost(QDate from, QDate to, QDate today, const PeriodInputs& inputs,
                                   const QLocale& numbers) {
    if (!from.isValid() || !to.isValid() || !(from < today && today < to)) {
        return std::nullopt;
    }
    const qint64 days = from.daysTo(to);
    const qint64 soFar = from.daysTo(today);
    const PeriodFigures f = ComputePeriod(days, inputs, numbers);
    return f.fixed +
           (f.variable - f.income) * static_cast<double>(days) / static_cast<double>(soFar);
}

QString ForecastText(double cost, const QLocale& money, int moneyDecimals) {
    return QStringLiteral("If use goes on as so far, this period will cost about %1.")
        .arg(FormatMoney(cost, money, moneyDecimals));
}
