#include "meterdata/daycollector.h"
#include "meterdata/greenbutton.h"
#include "meterdata/meterinput.h"

#include <QDateTime>
#include <QStringList>

namespace {

QStringList SplitQuoted(const QString& line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << field.trimmed();
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field.trimmed();
    return fields;
}

QDate ParseDate(const QString& text) {
    QDate d = QDate::fromString(text, Qt::ISODate);
    if (!d.isValid()) {
        d = QDate::fromString(text, QStringLiteral("M/d/yyyy"));
    }
    return d;
}

double ParseNumber(QString text, bool& ok) {
    text.remove(u'$').remove(u' ');
    return text.toDouble(&ok);
}

} // namespace

void ReadGreenButtonCsv(MeterInput& input, MeterSink& sink, const LocalZone& zone) {
    DayCollector days(sink, zone);
    QString meter = QStringLiteral("Green Button");
    int date = -1;
    int startTime = -1;
    int endTime = -1;
    std::vector<std::pair<int, QString>> columns; // value column, channel
    std::vector<double> factors;
    const char* b = nullptr;
    const char* e = nullptr;
    bool any = false;
    while (input.ReadLine(b, e)) {
        QString line = QString::fromUtf8(b, e - b);
        if (input.Line() == 1 && line.startsWith(QChar(0xFEFF))) {
            line.remove(0, 1);
        }
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QStringList f = SplitQuoted(line);
        if (columns.empty()) {
            if (f.first().compare(QLatin1String("TYPE"), Qt::CaseInsensitive) == 0) {
                for (qsizetype i = 0; i < f.size(); ++i) {
                    const QString h = f[i].toUpper();
                    const double factor = h.contains(QLatin1String("(MWH)"))  ? 1000
                                          : h.contains(QLatin1String("(WH)")) ? 0.001
                                                                              : 1;
                    if (h == QLatin1String("DATE")) {
                        date = static_cast<int>(i);
                    } else if (h == QLatin1String("START TIME")) {
                        startTime = static_cast<int>(i);
                    } else if (h == QLatin1String("END TIME")) {
                        endTime = static_cast<int>(i);
                    } else if (h.startsWith(QLatin1String("USAGE")) ||
                               h.startsWith(QLatin1String("IMPORT"))) {
                        columns.emplace_back(static_cast<int>(i), QStringLiteral("E1"));
                        factors.push_back(factor);
                    } else if (h.startsWith(QLatin1String("EXPORT"))) {
                        columns.emplace_back(static_cast<int>(i), QStringLiteral("B1"));
                        factors.push_back(factor);
                    }
                }
                if (date < 0 || startTime < 0 || endTime < 0 || columns.empty()) {
                    input.Fail(QStringLiteral("the heading lacks DATE, START TIME, END TIME or a "
                                              "USAGE column"));
                }
            } else if (f.size() >= 2 &&
                       f.first().contains(QLatin1String("Account"), Qt::CaseInsensitive)) {
                meter = f[1].left(64);
            }
            continue;
        }
        const int need = std::max({date, startTime, endTime, columns.back().first});
        if (f.size() <= need) {
            input.Fail(QStringLiteral("the row has %1 fields where the heading has %2")
                           .arg(f.size())
                           .arg(need + 1));
        }
        const QDate d = ParseDate(f[date]);
        if (!d.isValid()) {
            input.Fail(QStringLiteral("\"%1\" is not a date that exists").arg(f[date].left(40)));
        }
        if (d.year() < 1900 || d.year() > 2100) {
            input.Fail(QStringLiteral("the date %1 is outside 1900 to 2100").arg(f[date]));
        }
        const QTime from = QTime::fromString(f[startTime], QStringLiteral("H:mm"));
        const QTime to = QTime::fromString(f[endTime], QStringLiteral("H:mm"));
        if (!from.isValid() || !to.isValid()) {
            input.Fail(QStringLiteral("the start or end time is not a time"));
        }
        // The end time is the last minute of the interval.
        int minutes = (to.msecsSinceStartOfDay() - from.msecsSinceStartOfDay()) / 60000 + 1;
        if (minutes <= 0) {
            minutes += 1440;
        }
        const qint64 start = zone.ToUtc(d, from.msecsSinceStartOfDay() / 1000);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            bool ok = false;
            const QString& text = f[columns[c].first];
            const double kwh = ParseNumber(text, ok) * factors[c];
            if (!ok) {
                input.Fail(QStringLiteral("\"%1\" is not a number").arg(text.left(40)));
            }
            if (kwh < 0) {
                input.Fail(QStringLiteral("\"%1\" is negative").arg(text.left(40)));
            }
            const QString why = days.Add(meter, columns[c].second, start, qint64{minutes} * 60, kwh,
                                         'A', input.Line());
            if (!why.isEmpty()) {
                input.Fail(why);
            }
            any = true;
        }
    }
    if (!any) {
        input.Fail(QStringLiteral("the file holds no usage rows"));
    }
    days.Flush();
}
