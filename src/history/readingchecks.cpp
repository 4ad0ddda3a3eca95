#include "history/readingchecks.h"

#include "mylib/dates.h"

#include <algorithm>
#include <cmath>

namespace {

QString Named(const HistoryPeriod& p, const QLocale& dates) {
    return QStringLiteral("the period %1 to %2")
        .arg(FormatShortDate(p.from, dates), FormatShortDate(p.to, dates));
}

QString Days(qint64 n) {
    return n == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(n);
}

struct Meter {
    const char* name;
    QString PeriodInputs::*start;
    QString PeriodInputs::*end;
    double PeriodNumbers::*startNumber;
    double PeriodNumbers::*endNumber;
    bool hotWater;
};

std::vector<Meter> Meters(bool solar) {
    if (solar) {
        return {{"general import", &PeriodInputs::importGeneralBefore,
                 &PeriodInputs::importGeneralAfter, &PeriodNumbers::importGeneralBefore,
                 &PeriodNumbers::importGeneralAfter, false},
                {"hot water import", &PeriodInputs::importHwBefore, &PeriodInputs::importHwAfter,
                 &PeriodNumbers::importHwBefore, &PeriodNumbers::importHwAfter, true},
                {"export", &PeriodInputs::exportBefore, &PeriodInputs::exportAfter,
                 &PeriodNumbers::exportBefore, &PeriodNumbers::exportAfter, false}};
    }
    return {{"general", &PeriodInputs::generalBefore, &PeriodInputs::generalAfter,
             &PeriodNumbers::generalBefore, &PeriodNumbers::generalAfter, false},
            {"hot water", &PeriodInputs::hotWaterBefore, &PeriodInputs::hotWaterAfter,
             &PeriodNumbers::hotWaterBefore, &PeriodNumbers::hotWaterAfter, true}};
}

} // namespace

bool NotesMeterChange(const QString& note) {
    for (const char* words :
         {"meter change", "new meter", "roll-over", "rollover", "rolled over"}) {
        if (note.contains(QLatin1String(words), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

QStringList ReadingWarnings(const HistoryPeriod& p, const std::vector<HistoryPeriod>& stored,
                            const QLocale& dates) {
    QStringList warnings;
    const QString self = Named(p, dates);
    const HistoryPeriod* before = nullptr;
    for (const HistoryPeriod& q : stored) {
        if (q.from == p.from && q.to == p.to) {
            continue;
        }
        if (q.from < p.to && p.from < q.to) {
            const qint64 shared = std::max(p.from, q.from).daysTo(std::min(p.to, q.to));
            warnings
                << QStringLiteral("%1 overlaps %2 by %3.").arg(self, Named(q, dates), Days(shared));
        }
        if (q.from < p.from &&
            (!before || std::pair(q.to, q.from) > std::pair(before->to, before->from))) {
            before = &q;
        }
    }
    const bool meterChange = NotesMeterChange(p.note);
    if (before && before->to < p.from) {
        const qint64 gap = before->to.daysTo(p.from);
        warnings << QStringLiteral("There %1 %2 between %3 and %4 that no period covers.")
                        .arg(gap == 1 ? QStringLiteral("is") : QStringLiteral("are"), Days(gap),
                             Named(*before, dates), self);
    } else if (before && !meterChange && before->typed.solar == p.typed.solar) {
        for (const Meter& m : Meters(p.typed.solar)) {
            if (m.hotWater && !(p.typed.showHotWater && before->typed.showHotWater)) {
                continue;
            }
            const QString start = (p.typed.*m.start).trimmed();
            const QString end = (before->typed.*m.end).trimmed();
            if (start.isEmpty() || end.isEmpty() ||
                std::fabs(p.numbers.*m.startNumber - before->numbers.*m.endNumber) < 1e-9) {
                continue;
            }
            warnings << QStringLiteral("The %1 start reading of %2 (%3) is not the end reading "
                                       "of %4 (%5).")
                            .arg(QLatin1String(m.name), self, start, Named(*before, dates), end);
        }
    }
    if (p.days > 400) {
        warnings << QStringLiteral("%1 is %2 days long, more than 400.")
                        .arg(self, QString::number(p.days));
    }
    if (!meterChange) {
        const std::pair<const char*, double> uses[] = {
            {"general", p.kwhGeneral}, {"hot water", p.kwhHotWater}, {"export", p.kwhExported}};
        for (const auto& [name, kwh] : uses) {
            if (kwh < 0) {
                warnings << QStringLiteral("The %1 use of %2 is negative (%3 kWh): its end "
                                           "reading is below its start reading.")
                                .arg(QLatin1String(name), self, dates.toString(kwh, 'f', 1));
            }
        }
    }
    for (QString& w : warnings) {
        w[0] = w[0].toUpper();
    }
    return warnings;
}
