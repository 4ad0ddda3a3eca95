#pragma once

#include <QStringList>

// True when the first program argument is "CALC" in any letter case.
bool StartOnCalculatorPage(const QStringList& arguments);
