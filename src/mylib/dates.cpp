#include "mylib/dates.h"

#include "mylib/numbers.h"

qint64 RoundedDifference(const QDateTime& a, const QDateTime& b) {
    const long double days = static_cast<long double>(b.msecsTo(a)) / 86400000.0L;
    return static_cast<qint64>(RoundHalfEven(days));
}

qint64 RoundedDifference(QDate a, QDate b) {
    return b.daysTo(a);
}

QString DateStamp(const QString& separator, QDate date) {
    return QStringLiteral("%1").arg(date.year(), 4, 10, QChar('0')) + separator +
           QStringLiteral("%1").arg(date.month(), 2, 10, QChar('0')) + separator +
           QStringLiteral("%1").arg(date.day(), 2, 10, QChar('0'));
}

QString ShortDateFormat(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy"))) {
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    return format;
}

QString FormatShortDate(QDate date, const QLocale& locale) {
    return locale.toString(date, ShortDateFormat(locale));
}

std::optional<QDate> ParseShortDate(const QString& text, const QLocale& locale) {
    const QDate date = locale.toDate(text.trimmed(), ShortDateFormat(locale));
    if (!date.isValid()) {
        return std::nullopt;
    }
    return date;
}
