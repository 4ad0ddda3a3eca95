// voltisk-cli: the meter data engine for scripts and terminals (no display).

#include "cli/climain.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("voltisk-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = RunCli(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
