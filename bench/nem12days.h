#pragma once
// Five-minute NEM12 data written for the import benchmarks, the same bytes
// for every benchmark that imports it.
#include <QByteArray>
#include <QDate>
#include <QIODevice>
#include <QString>

// Meter `nmi`'s three 5-minute channels (E1, E2, B1) from `from` up to, not
// including, `until`: each day a 300 record of 288 values counting through
// 0.000 to 0.996; `n` carries the count from one call to the next.
inline void WriteFiveMinuteChannels(QIODevice& f, const QByteArray& nmi, QDate from, QDate until,
                                    int& n) {
    for (const char* suffix : {"E1", "E2", "B1"}) {
        f.write("200," + nmi + ",E1E2B1,1," + suffix + ",N1,M1,kWh,5,20240101\r\n");
        for (QDate d = from; d < until; d = d.addDays(1)) {
            QByteArray line = "300," + d.toString(QStringLiteral("yyyyMMdd")).toLatin1();
            for (int i = 0; i < 288; ++i) {
                line += ',' + QByteArray::number((n++ % 997) / 1000.0, 'f', 3);
            }
            f.write(line + ",A,,,20240101120000,20240101130000\r\n");
        }
    }
}
