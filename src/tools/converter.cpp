#include "tools/converter.h"

#include "mylib/numbers.h"

#include <cmath>

namespace {

bool Present(double v) {
    return v != kConverterAbsent;
}

} // namespace

int ConverterGivenCount(const ConverterValues& values) {
    int n = 0;
    for (double v : {values.volts, values.watts, values.amps, values.ohms}) {
        n += Present(v) ? 1 : 0;
    }
    return n;
}

ConverterSolution SolveConverter(const ConverterValues& given) {
    ConverterSolution s;
    s.values = given;
    double& V = s.values.volts;
    double& P = s.values.watts;
    double& I = s.values.amps;
    double& R = s.values.ohms;

    auto fail = [&s](ConverterOutcome why) {
        s.outcome = why;
        s.found.clear();
        return s;
    };
    // A non-finite value must never reach a field or a later step.
    auto record = [&s](ConverterQuantity q, double v, int step, int cycle) {
        if (!std::isfinite(v)) {
            return false;
        }
        s.found.push_back({q, v, step, cycle});
        return true;
    };

    for (int cycle = 1; cycle <= 3; ++cycle) {
        if (!Present(P) && Present(I) && Present(V)) {
            P = I * V;
            if (!record(ConverterQuantity::Power, P, 1, cycle)) {
                return fail(ConverterOutcome::NotFinite);
            }
        }
        if (!Present(I)) {
            if (Present(P) && Present(V)) {
                I = P / V;
            } else if (Present(R) && Present(V)) {
                I = V / R;
            }
            if (Present(I) && !record(ConverterQuantity::Current, I, 2, cycle)) {
                return fail(ConverterOutcome::NotFinite);
            }
        }
        if (!Present(V)) {
            if (Present(P) && Present(I)) {
                V = P / I;
            } else if (Present(I) && Present(R)) {
                V = I * R;
            } else if (Present(P) && Present(R)) {
                if (std::signbit(P) != std::signbit(R)) {
                    return fail(ConverterOutcome::OppositeSigns);
                }
                V = std::sqrt(P * R);
            }
            if (Present(V) && !record(ConverterQuantity::Voltage, V, 3, cycle)) {
                return fail(ConverterOutcome::NotFinite);
            }
        }
        if (!Present(R) && Present(V) && Present(I)) {
            R = V / I;
            if (!record(ConverterQuantity::Resistance, R, 4, cycle)) {
                return fail(ConverterOutcome::NotFinite);
            }
        }
    }
    return s;
}

QString ConverterFieldText(double value, const QLocale& locale) {
    const long double scaled = RoundHalfEven(static_cast<long double>(value) * 100000.0L);
    return FormatGeneral(static_cast<double>(scaled / 100000.0L), locale);
}

QString ConverterCountMessage(int given) {
    if (given < 2) {
        return QStringLiteral("Enter two values, and the others will be calculated.");
    }
    if (given > 2) {
        return QStringLiteral("Enter only two values, and the others will be calculated.");
    }
    return QString();
}

QString ConverterFailureMessage(ConverterOutcome outcome) {
    switch (outcome) {
    case ConverterOutcome::OppositeSigns:
        return QStringLiteral("Watts and ohms must have the same sign; nothing was calculated.");
    case ConverterOutcome::NotFinite:
        return QStringLiteral(
            "The values are too large or too small to calculate; nothing was calculated.");
    case ConverterOutcome::Solved:
        break;
    }
    return QString();
}
