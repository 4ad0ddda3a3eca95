#pragma once
// TURLLabel: a label that opens a web address or a new e-mail when clicked,
// underlined and highlighted while the pointer is over it.

#include "elements/controls.h"
#include "mylib/platform.h"

class TURLLabel : public TLabel {
public:
    TURLLabel(TComponent* owner, const QString& name, TControl* parent);

    const QString& URL() const { return Furl; }
    // Also takes the URL as caption while the caption is empty or the name.
    void SetURL(const QString& url);
    QString EmailAddress;
    QString EmailSubject;
    bool ColorChange = true;
    TColor HighlightFontColor = clRed;
    // The pointer hand, for the view.
    bool HandPointer = true;

    void MouseEnter();
    void MouseLeave();
    // The label's own click behaviour; the outcome of the shell is not examined.
    void Click(TShell* shell);
    TNotifyEvent OnClick;

private:
    QString Furl;
    TColor FOrigFontColor = 0;
};
