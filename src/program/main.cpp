#include "app/commandline.h"
#include "app/startuppage.h"
#include "program/program.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    // Answered before anything else runs: no window, no lock, no settings, no report.
    if (const std::optional<QString> text = InformationRequest(ArgumentsAsGiven(argc, argv))) {
        return PrintInformation(*text, stdout) ? 0 : 1;
    }
    return RunProgram(argc, argv);
}
