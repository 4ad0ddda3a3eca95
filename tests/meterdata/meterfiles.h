#pragma once
// Small meter data files written by the tests, and a sink that keeps what a
// reader hands on.

#include "meterdata/meterday.h"

#include <QByteArray>
#include <QString>
#include <cmath>
#include <vector>

// One 300 record of `n` equal values.
inline QByteArray Nem300(const char* date, int n, const char* value, const char* quality = "A",
                         const char* update = "") {
    QByteArray line = QByteArray("300,") + date;
    for (int i = 0; i < n; ++i) {
        line += QByteArray(",") + value;
    }
    return line + "," + quality + ",,," + update + ",\n";
}

// A NEM12 file of one meter with channel E1 on one day, 30-minute intervals.
inline QByteArray Nem12Day(const char* nmi = "NEM1201009", const char* date = "20040201",
                           const char* value = "1.111", const char* update = "") {
    return QByteArray("100,NEM12,200402011200,MDP1,Retail1\n200,") + nmi +
           ",E1Q1,1,E1,N1,01009,kWh,30,20040202\n" + Nem300(date, 48, value, "A", update) + "900\n";
}

struct CollectingSink : MeterSink {
    std::vector<MeterDay> days;
    std::vector<OtherChannel> others;
    void Day(const MeterDay& day) override { days.push_back(day); }
    void Other(const OtherChannel& other) override { others.push_back(other); }
    double Total() const {
        double t = 0;
        for (const MeterDay& d : days) {
            for (double v : d.kwh) {
                t += std::isnan(v) ? 0 : v;
            }
        }
        return t;
    }
};

// Writes `bytes` to a new file in the test's data folder; returns its path.
QString WriteMeterFile(const QString& name, const QByteArray& bytes);
