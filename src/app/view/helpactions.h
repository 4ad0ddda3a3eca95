#pragma once
// What the Help page and the keyboard add to the window: the "User guide" and
// "Keyboard shortcuts" buttons and the period report's "Print report…" and
// "Report as PDF…" in the free room under the "Reports" group (no described
// element moves), F1 for the guide, Ctrl+? for the shortcuts and Ctrl+P to
// print the page shown.

class TFormView;

void AddHelpActions(TFormView& view);
// Opens the guide window (one per program), or says that the guide is missing.
void ShowUserGuide(TFormView& view);
void ShowShortcuts(TFormView& view);
