#include "app/commandline.h"
#include "program/program.h"

#include <QStringList>
#include <cstdio>

int main(int argc, char* argv[]) {
    // Answered before anything else runs: no window, no lock, no settings, no report.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    if (const std::optional<QString> text = InformationRequest(arguments)) {
        return PrintInformation(*text, stdout) ? 0 : 1;
    }
    return RunProgram(argc, argv);
}
