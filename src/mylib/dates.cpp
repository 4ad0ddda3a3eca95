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

namespace {

// The text with the locale's digits written as ASCII digits. QLocale reads
// back neither its own digits outside the Basic Multilingual Plane (Chakma,
// Adlam) nor needs them: every locale reads ASCII digits in a date.
QString AsciiDigits(const QString& text, const QLocale& locale) {
    const QList<uint> zero = locale.zeroDigit().toUcs4();
    if (zero.size() != 1 || zero.front() == u'0') {
        return text;
    }
    QString out;
    out.reserve(text.size());
    for (const uint c : text.toUcs4()) {
        if (c >= zero.front() && c <= zero.front() + 9) {
            out.append(QChar(static_cast<char16_t>(u'0' + (c - zero.front()))));
        } else {
            out.append(QStringView(QChar::fromUcs4(c)));
        }
    }
    return out;
}

} // namespace

std::optional<QDate> ParseShortDate(const QString& text, const QLocale& locale) {
    const QString format = ShortDateFormat(locale);
    QDate date = locale.toDate(text.trimmed(), format);
    if (!date.isValid()) {
        date = locale.toDate(AsciiDigits(text.trimmed(), locale), format);
    }
    if (!date.isValid() || date < FirstDate || date > LastDate) {
        return std::nullopt;
    }
    return date;
}
