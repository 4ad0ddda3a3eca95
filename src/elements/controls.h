#pragma once
// The visible element kinds. Geometry is in the view's logical pixels; the
// window model converts its design coordinates once when it builds itself.

#include "elements/component.h"

#include <QDate>

struct TFont {
    QString Name; // empty: the window's default font
    int Size = 0; // pixels; 0: the window's default size
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    TColor Color = clWindowText;
    int CharSet = 1;
    // Style bits as stored: 1 bold, 2 italic, 4 underline, 8 strike-out.
    int StyleBits() const;
    void SetStyleBits(int bits);
    bool operator==(const TFont&) const = default;
};

enum class TAlignment { LeftJustify, RightJustify, Center };

class TControl : public TComponent {
public:
    TControl(TComponent* owner, const QString& name, TControl* parent);

    TControl* Parent() const { return parent_; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    void SetBounds(int left, int top, int width, int height);
    const QString& Hint() const { return hint_; }
    void SetHint(const QString& h);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& f);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool e);
    // Keyboard order within the parent; lower comes first.
    int TabOrder = 0;
    bool TabStop = false;
    // What a screen reader says for the element, and the label that names it
    // (its keyboard buddy); set by the window's element table.
    QString AccessibleName;
    QString AccessibleDescription;
    TControl* CaptionLabel = nullptr;

    QStringList PublishedProperties() const override;
    std::optional<QString> PropertyText(const QString& property) const override;
    bool SetPropertyText(const QString& property, const QString& value) override;

private:
    TControl* parent_;
    bool visible_ = true;
    bool enabled_ = true;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    QString hint_;
    TFont font_;
    TColor color_ = clDefault;
};

// A control with a caption (labels, group boxes, buttons, check boxes, pages).
class TCaptionControl : public TControl {
public:
    using TControl::TControl;
    const QString& Caption() const { return caption_; }
    virtual void SetCaption(const QString& c);
    QStringList PublishedProperties() const override;
    std::optional<QString> PropertyText(const QString& property) const override;
    bool SetPropertyText(const QString& property, const QString& value) override;

private:
    QString caption_;
};

class TLabel : public TCaptionControl {
public:
    using TCaptionControl::TCaptionControl;
    TAlignment Alignment = TAlignment::LeftJustify;
    bool AutoSize = true;
};

class TGroupBox : public TCaptionControl {
public:
    using TCaptionControl::TCaptionControl;
};

class TTabSheet : public TCaptionControl {
public:
    using TCaptionControl::TCaptionControl;
};

class TPageControl : public TControl {
public:
    using TControl::TControl;
    std::vector<TTabSheet*> Pages;
    TTabSheet* ActivePage() const { return active_; }
    void SetActivePage(TTabSheet* page);
    // Makes `page` active and tells the view so even when it already was:
    // the view may show a page of its own (History) meanwhile.
    void ShowPage(TTabSheet* page);

private:
    TTabSheet* active_ = nullptr;
};

class TButton : public TCaptionControl {
public:
    using TCaptionControl::TCaptionControl;
    TNotifyEvent OnClick;
    void Click() {
        if (OnClick) {
            OnClick(this);
        }
    }
    bool Flat = false;
};

class TEdit : public TControl {
public:
    TEdit(TComponent* owner, const QString& name, TControl* parent);
    const QString& Text() const { return text_; }
    // Fires OnChange when the text differs, whoever sets it.
    void SetText(const QString& t);
    // Each typed character before the field takes it; false when dropped.
    bool KeyPress(QChar& key);

    TNotifyEvent OnChange;
    std::function<void(TComponent*, QChar&)> OnKeyPress;

    QStringList PublishedProperties() const override;
    std::optional<QString> PropertyText(const QString& property) const override;
    bool SetPropertyText(const QString& property, const QString& value) override;

private:
    QString text_;
};

// A control with a checked state, stored and restored as "Checked".
class TCheckedControl : public TCaptionControl {
public:
    using TCaptionControl::TCaptionControl;
    bool Checked() const { return checked_; }
    virtual void SetChecked(bool c) = 0;

    QStringList PublishedProperties() const override;
    std::optional<QString> PropertyText(const QString& property) const override;
    bool SetPropertyText(const QString& property, const QString& value) override;

protected:
    // Stores the state; false when it was already so.
    bool StoreChecked(bool c);

private:
    bool checked_ = false;
};

class TCheckBox : public TCheckedControl {
public:
    using TCheckedControl::TCheckedControl;
    // Fires OnClick when the state changes, by the user or the program.
    void SetChecked(bool c) override;
    TNotifyEvent OnClick;
};

class TRadioButton : public TCheckedControl {
public:
    using TCheckedControl::TCheckedControl;
    // Turning one on turns off the others with the same parent.
    void SetChecked(bool c) override;
};

class TDateTimePicker : public TControl {
public:
    using TControl::TControl;
    QDate Date() const { return date_; }
    // The program's change: fires nothing.
    void SetDate(QDate d);
    // The user's change: fires OnChange when the date differs.
    void UserSetDate(QDate d);
    TNotifyEvent OnChange;

private:
    QDate date_;
};

enum class TUDBtnType { btNext, btPrev };

class TUpDown : public TControl {
public:
    using TControl::TControl;
    // Its own counter, which no logic reads; the wide range never stops the arrows.
    int Min = -2000000000;
    int Max = 2000000000;
    int Position = 1000;
    void Click(TUDBtnType direction);
    std::function<void(TComponent*, TUDBtnType)> OnClick;
};

class TMemo : public TControl {
public:
    using TControl::TControl;
    const QStringList& Lines() const { return lines_; }
    void SetLines(const QStringList& lines);
    bool ReadOnly = true;
    // Receives the keyboard focus.
    void Enter() {
        if (OnEnter) {
            OnEnter(this);
        }
    }
    TNotifyEvent OnEnter;

private:
    QStringList lines_;
};

class TStatusBar : public TControl {
public:
    using TControl::TControl;
    const QString& SimpleText() const { return text_; }
    void SetSimpleText(const QString& t);

private:
    QString text_;
};

// Not visible. The view runs a real timer while Enabled; tests call Tick.
class TTimer : public TComponent {
public:
    using TComponent::TComponent;
    bool Enabled() const { return enabled_; }
    // Enabling a running timer does not restart its count.
    void SetEnabled(bool e);
    int Interval = 1000;
    void Tick() {
        if (enabled_ && OnTimer) {
            OnTimer(this);
        }
    }
    TNotifyEvent OnTimer;

private:
    bool enabled_ = false;
};

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// The window. Its visible flag is false until Show; Left and Top are the outer
// frame's position, Width and Height the window's size.
class TForm : public TCaptionControl {
public:
    explicit TForm(const QString& name);
    TWindowState WindowState() const { return state_; }
    void SetWindowState(TWindowState s);
    bool Sizeable = false;
    // The control with the keyboard focus; null is the window itself.
    TControl* ActiveControl() const { return active_; }
    void SetActiveControl(TControl* c);
    // Asks the view to restore and raise the window.
    std::function<void()> onBringToFront;

private:
    TWindowState state_ = TWindowState::wsNormal;
    TControl* active_ = nullptr;
};
