#pragma once
// Voltisk's optional parts (the charts, printing, zip reading, the pages) are
// libraries loaded the first time they are needed, and never unloaded.

#include <QFunctionPointer>
#include <QString>
#include <QStringList>

// Where the library `fileName` is looked for, in order: `chosen` (set by tests
// and benchmarks) when not empty, beside the program (the build tree), and
// the installation's private library folder, found from the program's own
// folder whatever the prefix.
QStringList ModuleCandidates(const QString& fileName, const QString& chosen);

// `symbol` of the first candidate library that has it; null with the first
// candidate's error in `why` when none has.
QFunctionPointer ResolveModule(const QString& fileName, const QString& chosen, const char* symbol,
                               QString* why);
