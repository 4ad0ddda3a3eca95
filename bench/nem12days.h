#pragma once
// Five-minute NEM12 data written for the import benchmarks, the same bytes
// for every benchmark that imports it, and the reference they are measured
// against: the same file read line by line.
#include <QByteArray>
#include <QDate>
#include <QIODevice>
#include <QString>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdio.h>

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

// The reference reading: every value of every 300 record converted with
// std::from_chars, nothing kept but their sum. Returns the number of values,
// or -1 when the file cannot be opened.
inline long ReadLinesFromChars(const char* path, double& sum) {
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) {
        return -1;
    }
    char* line = nullptr;
    std::size_t capacity = 0;
    long values = 0;
    for (ssize_t n; (n = ::getline(&line, &capacity, f)) > 0;) {
        if (n < 4 || std::strncmp(line, "300,", 4) != 0) {
            continue;
        }
        const char* p = line + 13; // after "300,CCYYMMDD,"
        const char* end = line + n;
        while (p < end) {
            double v = 0;
            const auto r = std::from_chars(p, end, v);
            if (r.ec != std::errc()) {
                break;
            }
            sum += v;
            ++values;
            p = r.ptr + 1;
        }
    }
    std::free(line);
    std::fclose(f);
    return values;
}
