// The program itself, leaving as soon as its window is shown and calculated
// (VOLTISK_PAINTED: as soon as its first paint has finished).
#include "firstpaint.h"
#include "program/program.h"

int main(int argc, char* argv[]) {
    ProgramOptions options;
#ifdef VOLTISK_PAINTED
    options.quitAfterFirstPaint = true;
    options.afterFirstPaint = ReportFirstPaint;
#else
    options.quitWhenShown = true;
#endif
    return RunProgram(argc, argv, options);
}
