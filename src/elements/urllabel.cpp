#include "elements/urllabel.h"

namespace {

// True when the text's first "@" and first "." both stand after its first character.
bool LooksLikeEmail(const QString& text) {
    const qsizetype at = text.indexOf(QLatin1Char('@'));
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    return at > 0 && dot > 0;
}

} // namespace

TURLLabel::TURLLabel(TComponent* owner, const QString& name, TControl* parent)
    : TLabel(owner, name, parent) {
    TFont f = Font();
    if (parent) {
        f.Size = parent->Font().Size;
    }
    f.Color = RGBColor(56, 121, 190);
    SetFont(f);
}

void TURLLabel::SetURL(const QString& url) {
    Furl = url;
    if (Caption().isEmpty() || Caption() == Name()) {
        SetCaption(url);
    }
}

void TURLLabel::MouseEnter() {
    TFont f = Font();
    f.Underline = true;
    if (ColorChange) {
        FOrigFontColor = f.Color;
        f.Color = HighlightFontColor;
    }
    SetFont(f);
}

void TURLLabel::MouseLeave() {
    TFont f = Font();
    f.Underline = false;
    if (ColorChange) {
        f.Color = FOrigFontColor;
    }
    SetFont(f);
}

void TURLLabel::Click(TShell* shell) {
    if (OnClick) {
        OnClick(this);
    }
    const QString subject =
        EmailSubject.isEmpty() ? QString() : QStringLiteral("?subject=") + EmailSubject;
    if (!shell) {
        return;
    }
    if (!EmailAddress.isEmpty() && LooksLikeEmail(EmailAddress)) {
        shell->OpenUrl(QStringLiteral("mailto:") + EmailAddress + subject);
    } else if (!Furl.isEmpty()) {
        if (LooksLikeEmail(Furl)) {
            shell->OpenUrl(QStringLiteral("mailto:") + Furl + subject);
        } else {
            shell->OpenUrl(Furl);
        }
    }
}
