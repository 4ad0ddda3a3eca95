#pragma once
// Meter intervals as the pricing engine reads them: parallel arrays (one entry
// per interval), so a year of 30-minute data for three channels is four flat
// arrays rather than 52,560 objects. Readers of NEM12 or Green Button data fill
// one series per meter; intervals may come in any order.

#include <QtGlobal>

#include <vector>

// What an interval measured: general use, a controlled load (off-peak hot
// water) or energy sent to the grid.
enum class IntervalRole : quint8 { General, ControlledLoad, Export };

struct IntervalSeries {
    std::vector<qint64> start;   // the interval's start, UTC seconds since 1970
    std::vector<qint32> minutes; // its length in minutes
    std::vector<double> kwh;     // energy in kWh, 0 or more
    std::vector<IntervalRole> role;

    void add(qint64 utcStart, qint32 lengthMinutes, double energy, IntervalRole r) {
        start.push_back(utcStart);
        minutes.push_back(lengthMinutes);
        kwh.push_back(energy);
        role.push_back(r);
    }
    std::size_t size() const { return start.size(); }
    void reserve(std::size_t n) {
        start.reserve(n);
        minutes.reserve(n);
        kwh.reserve(n);
        role.reserve(n);
    }
};
