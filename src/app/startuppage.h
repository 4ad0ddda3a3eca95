#pragma once

#include <QStringList>

// The desktop action's option: open on the "Quick usage calculator" page,
// and have a running copy switch to it. Unlike "CALC", a second copy passes
// it on to the running one.
inline constexpr char ShowUsageCalculatorOption[] = "--show-usage-calculator";

// True when the first program argument is "CALC" in any letter case, or the
// desktop action's option.
bool StartOnCalculatorPage(const QStringList& arguments);
// True when the first argument is exactly the desktop action's option.
bool HandsOverUsageCalculator(const QStringList& arguments);

// The program's arguments after its name, exactly as given. Read them before
// the toolkit starts: it removes its own options ("-reverse", "-style ...")
// from what it reports, which would let a later argument pass for the first.
QStringList ArgumentsAsGiven(int argc, const char* const* argv);
