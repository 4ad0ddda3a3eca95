#include "support/focuswalk.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QWidget>

QList<QWidget*> TabWalk(QWidget* start, bool back, int limit) {
    start->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QList<QWidget*> seen;
    for (int i = 0; i < limit; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
        QWidget* now = QApplication::focusWidget();
        if (!seen.isEmpty() && now == seen.last()) {
            continue; // Tab moving between the sections of a date field
        }
        if (now == start || seen.contains(now)) {
            break;
        }
        seen << now;
    }
    return seen;
}

QString AccessibleName(QWidget* w) {
    // On Linux a list's Name is its current text; its own name is set here.
    if (!w->accessibleName().isEmpty()) {
        return w->accessibleName();
    }
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}
