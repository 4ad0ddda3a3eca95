#include "app/view/program.h"

int main(int argc, char* argv[]) {
    ProgramOptions options;
    options.quitWhenShown = true;
    return RunProgram(argc, argv, options);
}
