#pragma once
// The volts / watts / amps / ohms converter. The window reads its four fields
// into ConverterValues (a quantity not given holds kConverterAbsent), checks
// that exactly two are given, runs SolveConverter and writes each found
// quantity into its field with ConverterFieldText. Nothing is kept between
// presses.

#include <QLocale>
#include <QString>
#include <vector>

// A quantity that holds this value counts as absent, whatever its origin.
inline constexpr double kConverterAbsent = -1.0;

struct ConverterValues {
    double volts = kConverterAbsent; // V
    double watts = kConverterAbsent; // P
    double amps = kConverterAbsent;  // I
    double ohms = kConverterAbsent;  // R
};

enum class ConverterQuantity { Power, Current, Voltage, Resistance };

// One quantity worked out: its full-precision value and when it was found
// (step 1 power, 2 current, 3 voltage, 4 resistance; cycles 1 to 3).
struct ConverterFinding {
    ConverterQuantity quantity;
    double value;
    int step;
    int cycle;
};

enum class ConverterOutcome {
    Solved,
    // Power and resistance of opposite sign: the voltage would be the square
    // root of a negative number.
    OppositeSigns,
    // A quantity came out infinite or not a number (overflow, or a division
    // by a result that underflowed to zero).
    NotFinite,
};

struct ConverterSolution {
    ConverterOutcome outcome = ConverterOutcome::Solved;
    // The working values after the last cycle (the given ones unchanged).
    ConverterValues values;
    // Every write, in the order it happened; empty unless Solved, so a failed
    // solve changes no field.
    std::vector<ConverterFinding> found;
};

// The number of quantities that are not absent.
int ConverterGivenCount(const ConverterValues& values);

// Works out the absent quantities from the present ones: four steps (power,
// current, voltage, resistance) in three cycles, each result kept at full
// double precision for the later steps. Meant for exactly two given values;
// with fewer it finds what it can.
ConverterSolution SolveConverter(const ConverterValues& given);

// A found quantity's field text: rounded to 5 decimals (half to even, in
// extended precision), then in the general number format with the locale's
// decimal separator. `value` must be finite.
QString ConverterFieldText(double value, const QLocale& locale);

// The plain messages of a press.
QString ConverterCountMessage(int given); // empty when exactly two are given
QString ConverterFailureMessage(ConverterOutcome outcome);
