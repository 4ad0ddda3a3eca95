#include "billimport/billvalues.h"

#include "mylib/dates.h"
#include "mylib/errors.h"
#include "mylib/ucsv.h"

#include <optional>

namespace {

std::optional<int> WholeNumber(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    // Callers pass at most four characters, so the value cannot overflow.
    int value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

int DatePart(const QString& text, qsizetype from, qsizetype length) {
    const QString part = text.mid(from, length);
    const std::optional<int> value = WholeNumber(part);
    if (!value) {
        throw EVoltiskError(QStringLiteral("''%1'' is not a valid integer value").arg(part));
    }
    return *value;
}

} // namespace

QString NoBillFileMessage(const QString& folder) {
    return QStringLiteral("Cannot find most recent CSV file in \r\n\r\n") + folder;
}

QString BillFileVanishedMessage(const QString& path) {
    return QStringLiteral("File not found: \r\n\r\n") + path;
}

QString TariffReading(const QStringList& cells, int headerCount, const QString& name) {
    QString reading = CsvCell(cells, name, 2, 1, headerCount);
    const qsizetype point = reading.indexOf(u'.');
    if (point >= 0) {
        reading.truncate(point);
    }
    return reading;
}

QString BillDateText(const QStringList& cells, int headerCount) {
    return CsvCell(cells, EndDateFieldName, 0, 4, headerCount);
}

QDate ParseBillDate(const QString& text) {
    const int day = DatePart(text, 0, 2);
    const int month = DatePart(text, 2, 2);
    const int year = DatePart(text, 4, 4);
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day)) {
        throw EVoltiskError(QStringLiteral("Invalid argument to date encode"));
    }
    return QDate(year, month, day);
}

QString ImportQuestion(QDate date, const QLocale& locale, const QString& exportReading,
                       const QString& generalReading, const QString& hotWaterReading) {
    return QStringLiteral("Do you want to insert the following values into the \"original\" "
                          "fields?\r\n\r\nOriginal reading date: ") +
           FormatShortDate(date, locale) + QStringLiteral("\r\n") + QStringLiteral("Export: ") +
           exportReading + QStringLiteral("\r\n") + QStringLiteral("Import - Light and power: ") +
           generalReading + QStringLiteral("\r\n") + QStringLiteral("Import - Hot water: ") +
           hotWaterReading;
}
