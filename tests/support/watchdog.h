#pragma once
// A message box that no test expects would wait for a click forever. The test
// main watches for one while events run: it fails the running test, naming the
// box's text, and closes the box so the run goes on.

// While one lives, message boxes are the running test's own to answer.
class ExpectMessageBoxes {
public:
    ExpectMessageBoxes();
    ~ExpectMessageBoxes();
    ExpectMessageBoxes(const ExpectMessageBoxes&) = delete;
    ExpectMessageBoxes& operator=(const ExpectMessageBoxes&) = delete;
};

// Starts watching (from the test main, after the application exists).
void StartMessageBoxWatchdog();
