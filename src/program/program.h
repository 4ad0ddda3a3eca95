#pragma once
// The whole program: single-instance hand-over, the window model on the Qt
// platform services, the view, the event loop and the shutdown.

#include "mylib/locales.h"

#include <functional>

struct ProgramOptions {
    // Leave as soon as the window is shown and the first calculation has run,
    // without saving the settings (benchmarks measure start-up this way).
    bool quitWhenShown = false;
    // Leave as soon as the window's first paint has finished, without saving
    // the settings: the start-up a user sees (benchmarks).
    bool quitAfterFirstPaint = false;
    // Called once the window's first paint has finished (benchmarks take the
    // process's own times there).
    std::function<void()> afterFirstPaint;
};

int RunProgram(int argc, char* argv[], const ProgramOptions& options = {});
