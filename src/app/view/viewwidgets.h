#pragma once
// Small widget classes the view needs beyond stock Qt: an edit field that
// hands each typed character, and each character an input method commits, to
// the model's key filter, step arrows, a link
// label, and a help text box that reports when it receives the focus.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>

// The character a key event types, with Ctrl plus a letter mapped to its
// control code (Ctrl+V is 22 whatever text the platform sends). A null
// character for keys that type nothing (Tab, Delete, arrows, Home, End ...).
QChar TypedCharacter(int key, Qt::KeyboardModifiers modifiers, const QString& text);

class FilteredLineEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    // Returns false to drop the character.
    std::function<bool(QChar&)> keyFilter;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Committed text passes the same filter, character by character.
    void inputMethodEvent(QInputMethodEvent* event) override;
};

class StepButtons : public QWidget {
public:
    explicit StepButtons(QWidget* parent);
    std::function<void(bool up)> onStep;
};

class LinkLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onEnter, onLeave, onClick;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class HelpTextBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    std::function<void()> onFocusIn;

protected:
    void focusInEvent(QFocusEvent* event) override;
};
