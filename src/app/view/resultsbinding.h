#pragma once
// The results group's binding: its labels change on every keystroke.
// Transparent, each new text repaints the group box behind it and every label
// over that; opaque, filled with the very colour the group shows there, a
// label repaints alone and looks the same (see plainbackgrounds.h).

#include "app/resultsgroup.h"

#include <QColor>

class QWidget;
class TPlainBackgrounds;

class TResultsBinding {
public:
    explicit TResultsBinding(const TResultsGroup& model) : model_(model) {}
    bool Bound() const { return background_.isValid(); }
    // Samples the background `group` shows (through `window`, which draws
    // it) and makes the labels opaque; once.
    void Bind(QWidget* group, QWidget* window, TPlainBackgrounds& plain);
    // After a move or resize of an element the group holds: only labels
    // wholly inside the group's frame stay opaque (a narrowed group's frame
    // runs through the split column). Nothing before Bind.
    void Moved(const TControl* c);

private:
    void MakeLabelsOpaque();

    const TResultsGroup& model_;
    QWidget* group_ = nullptr;
    TPlainBackgrounds* plain_ = nullptr;
    QColor background_;
};
