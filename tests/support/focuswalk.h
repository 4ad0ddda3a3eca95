#pragma once
// Walking the focus chain of the real window with Tab key events, and the
// name a screen reader hears for a widget.

#include <QList>
#include <QString>

class QWidget;

// The widgets that real Tab (or, `back`, Shift+Tab) presses visit from
// `start` until the focus comes back to it, at most `limit` presses. Empty
// when the focus never leaves `start`.
QList<QWidget*> TabWalk(QWidget* start, bool back = false, int limit = 80);

// The widget's accessible name: its own, else what assistive technology
// reads for it (a button's text, a field's label).
QString AccessibleName(QWidget* w);
