#include "history/billcheck.h"

#include "mylib/money.h"

#include <cmath>

namespace {

// The implied value fits when it is above 0 and within twice the stored one.
bool Plausible(double implied, double stored) {
    return implied > 0 && stored > 0 && implied <= 2 * stored && implied >= stored / 2;
}

QString Cause(const HistoryPeriod& p, double difference, const QLocale& money) {
    if (!p.estimated.isEmpty()) {
        return QStringLiteral("A reading is marked estimated: the bill may count other readings "
                              "than these.");
    }
    const double days = static_cast<double>(p.days);
    const double tolerance = 0.01 * days;
    const double daily = p.numbers.generalDailyCharge + p.numbers.hwDailyCharge;
    if (daily > 0) {
        const double whole = std::round(difference / daily);
        if (whole != 0 && std::fabs(whole) <= days &&
            std::fabs(difference - whole * daily) <= tolerance) {
            const qint64 billedDays = p.days + static_cast<qint64>(whole);
            const QString count = std::fabs(whole) == 1
                                      ? QStringLiteral("1 day")
                                      : QStringLiteral("%1 days").arg(std::fabs(whole), 0, 'f', 0);
            return QStringLiteral("The difference is %1 of daily charges: the bill may count "
                                  "%2 days, not %3.")
                .arg(count, QString::number(billedDays), QString::number(p.days));
        }
    }
    auto price = [&](double v) { return FormatMoney(v, money, 4); };
    QStringList fits;
    if (p.kwhGeneral > 0) {
        const double rate = p.numbers.generalRate + difference / p.kwhGeneral;
        if (Plausible(rate, p.numbers.generalRate)) {
            fits << QStringLiteral("a general rate of %1 a kWh instead of %2")
                        .arg(price(rate), price(p.numbers.generalRate));
        }
    }
    const double charge = p.numbers.generalDailyCharge + difference / days;
    if (Plausible(charge, p.numbers.generalDailyCharge)) {
        fits << QStringLiteral("a general daily charge of %1 instead of %2")
                    .arg(price(charge), price(p.numbers.generalDailyCharge));
    }
    if (fits.isEmpty()) {
        return QString();
    }
    return QStringLiteral("The bill matches %1.").arg(fits.join(QStringLiteral(", or ")));
}

} // namespace

BillCheck CheckBill(const HistoryPeriod& p, const QLocale& money, int moneyDecimals) {
    BillCheck c;
    if (!p.billed || p.days <= 0) {
        return c;
    }
    c.billed = true;
    c.difference = *p.billed - p.net;
    // The billed amount and the calculation are both whole cents at best.
    c.flagged = std::fabs(c.difference) > 0.01 * static_cast<double>(p.days) + 1e-9;
    const QString amount = FormatMoney(std::fabs(c.difference), money, moneyDecimals);
    if (amount == FormatMoney(0, money, moneyDecimals)) {
        c.sentence = QStringLiteral("Billed as these readings and rates give.");
    } else {
        c.sentence =
            QStringLiteral("Billed %1 %2 than these readings and rates give.")
                .arg(amount, c.difference > 0 ? QStringLiteral("more") : QStringLiteral("less"));
    }
    if (c.flagged) {
        c.cause = Cause(p, c.difference, money);
    }
    return c;
}
