#pragma once
// The keyboard shortcuts window (Ctrl+? and the Help page's button): every
// shortcut the program has, from one list that the window and the guide's
// keyboard section both follow.

#include <QDialog>
#include <vector>

struct ShortcutEntry {
    const char* keys;   // as QKeySequence writes them (PortableText)
    const char* action; // what they do
};

// Every shortcut of the program, the window's own and Qt's standard ones.
const std::vector<ShortcutEntry>& ProgramShortcuts();

class TShortcutsWindow : public QDialog {
public:
    explicit TShortcutsWindow(QWidget* parent = nullptr);
};
