#pragma once
// The whole program: single-instance hand-over, the window model on the Qt
// platform services, the view, the event loop and the shutdown.

#include "mylib/locales.h"

struct ProgramOptions {
    // Leave as soon as the window is shown and the first calculation has run,
    // without saving the settings (benchmarks measure start-up this way).
    bool quitWhenShown = false;
};

int RunProgram(int argc, char* argv[], const ProgramOptions& options = {});

// The user's locale parts from the environment, made the program's own: the
// numbers part becomes the default locale and `moneydecimals` is read from the
// money part. Start-up calls it once, before the window is built.
TLocales StartLocales();
