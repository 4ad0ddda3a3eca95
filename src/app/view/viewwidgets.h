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

class TPlainBackgrounds;

class FilteredLineEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    // Returns false to drop the character.
    std::function<bool(QChar&)> keyFilter;
    // Which parents fill their own plain background.
    const TPlainBackgrounds* plainBackgrounds = nullptr;
    // The colour the field fills itself with; invalid when it does not.
    QColor PlainBackground() const { return plain_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Committed text passes the same filter, character by character.
    void inputMethodEvent(QInputMethodEvent* event) override;
    // On first taking the focus the field looks at what its parent paints
    // behind it; where that is one plain colour, the field fills itself with
    // it and is opaque, so a key repaints the field alone instead of the
    // group box behind it and every widget over that; its panel then comes
    // from a picture (panelcache.h). The pixels stay the same.
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetPlainBackground(const QColor& colour);
    bool probed_ = false;
    QColor plain_;
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
