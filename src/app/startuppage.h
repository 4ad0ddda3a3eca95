#pragma once

#include <QStringList>

// True when the first program argument is "CALC" in any letter case.
bool StartOnCalculatorPage(const QStringList& arguments);

// The program's arguments after its name, exactly as given. Read them before
// the toolkit starts: it removes its own options ("-reverse", "-style ...")
// from what it reports, which would let a later argument pass for the first.
QStringList ArgumentsAsGiven(int argc, const char* const* argv);
