#include "app/view/datefield.h"

#include "mylib/dates.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <algorithm>

TDateField::TDateField(QWidget* parent) : QDateEdit(parent) {}

bool TDateField::UseWhole(const QString& text) {
    const std::optional<QDate> date = ParseShortDate(text, locale());
    if (!date || date->year() < 1000) {
        return false;
    }
    setDate(*date);
    return true;
}

void TDateField::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Paste)) {
        typed_.clear();
        if (UseWhole(QGuiApplication::clipboard()->text())) {
            e->accept();
            return;
        }
        QDateEdit::keyPressEvent(e);
        return;
    }
    const QString text = e->text();
    const bool dateKey =
        !text.isEmpty() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        std::all_of(text.begin(), text.end(),
                    [](QChar c) { return c.isDigit() || c.isPunct() || c == u' '; });
    if (!dateKey) {
        // Select all, arrows, Tab and the like start a new text.
        typed_.clear();
        QDateEdit::keyPressEvent(e);
        return;
    }
    typed_ += text;
    QDateEdit::keyPressEvent(e);
    UseWhole(typed_);
}

void TDateField::focusInEvent(QFocusEvent* e) {
    typed_.clear();
    QDateEdit::focusInEvent(e);
}

void TDateField::mousePressEvent(QMouseEvent* e) {
    typed_.clear();
    QDateEdit::mousePressEvent(e);
}

bool UnusualDate(QDate date, QDate today) {
    return date < QDate(1900, 1, 1) || date > today.addYears(1);
}
