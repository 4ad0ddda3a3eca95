#pragma once
// The whole program: single-instance hand-over, the window model on the Qt
// platform services, the view, the event loop and the shutdown.

struct ProgramOptions {
    // Leave as soon as the window is shown and the first calculation has run,
    // without saving the settings (benchmarks measure start-up this way).
    bool quitWhenShown = false;
};

int RunProgram(int argc, char* argv[], const ProgramOptions& options = {});
