#pragma once
// voltisk-cli: meter data without a window. Reads the arguments (without the
// program name), writes results to `out` and messages to `err`, and returns
// the exit status: 0 done, 1 an input refused, 2 a usage error.

#include <QStringList>
#include <QTextStream>

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err);
