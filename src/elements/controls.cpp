#include "elements/controls.h"

namespace {

QString BoolText(bool b) {
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<bool> ParseBoolText(const QString& t) {
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    return std::nullopt;
}

std::optional<int> ParseInt(const QString& t) {
    bool ok = false;
    const int v = t.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

} // namespace

int TFont::StyleBits() const {
    return (Bold ? 1 : 0) | (Italic ? 2 : 0) | (Underline ? 4 : 0) | (StrikeOut ? 8 : 0);
}

void TFont::SetStyleBits(int bits) {
    Bold = bits & 1;
    Italic = bits & 2;
    Underline = bits & 4;
    StrikeOut = bits & 8;
}

TControl::TControl(TComponent* owner, const QString& name, TControl* parent)
    : TComponent(owner, name), parent_(parent) {}

void TControl::SetVisible(bool v) {
    if (v != visible_) {
        visible_ = v;
        Changed(Prop::Visible);
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) {
        return;
    }
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Changed(Prop::Geometry);
}

void TControl::SetHint(const QString& h) {
    if (h != hint_) {
        hint_ = h;
        Changed(Prop::Hint);
    }
}

void TControl::SetFont(const TFont& f) {
    if (!(f == font_)) {
        font_ = f;
        Changed(Prop::Font);
    }
}

void TControl::SetColor(TColor c) {
    if (c != color_) {
        color_ = c;
        Changed(Prop::Color);
    }
}

void TControl::SetEnabled(bool e) {
    if (e != enabled_) {
        enabled_ = e;
        Changed(Prop::Enabled);
    }
}

QStringList TControl::PublishedProperties() const {
    return {QStringLiteral("Visible"), QStringLiteral("Left"),   QStringLiteral("Top"),
            QStringLiteral("Width"),   QStringLiteral("Height"), QStringLiteral("Hint"),
            QStringLiteral("Enabled"), QStringLiteral("Color")};
}

std::optional<QString> TControl::PropertyText(const QString& p) const {
    if (p == QLatin1String("Visible")) {
        return BoolText(visible_);
    }
    if (p == QLatin1String("Enabled")) {
        return BoolText(enabled_);
    }
    if (p == QLatin1String("Left")) {
        return QString::number(left_);
    }
    if (p == QLatin1String("Top")) {
        return QString::number(top_);
    }
    if (p == QLatin1String("Width")) {
        return QString::number(width_);
    }
    if (p == QLatin1String("Height")) {
        return QString::number(height_);
    }
    if (p == QLatin1String("Hint")) {
        return hint_;
    }
    if (p == QLatin1String("Color")) {
        return QString::number(static_cast<qint64>(color_));
    }
    return std::nullopt;
}

bool TControl::SetPropertyText(const QString& p, const QString& value) {
    if (p == QLatin1String("Visible") || p == QLatin1String("Enabled")) {
        const auto b = ParseBoolText(value);
        if (!b) {
            return false;
        }
        p == QLatin1String("Visible") ? SetVisible(*b) : SetEnabled(*b);
        return true;
    }
    if (p == QLatin1String("Hint")) {
        SetHint(value);
        return true;
    }
    if (p == QLatin1String("Color")) {
        bool ok = false;
        const qint64 c = value.trimmed().toLongLong(&ok);
        if (!ok) {
            return false;
        }
        SetColor(static_cast<TColor>(c));
        return true;
    }
    const auto n = ParseInt(value);
    if (!n) {
        return false;
    }
    if (p == QLatin1String("Left")) {
        SetLeft(*n);
    } else if (p == QLatin1String("Top")) {
        SetTop(*n);
    } else if (p == QLatin1String("Width")) {
        SetWidth(*n);
    } else if (p == QLatin1String("Height")) {
        SetHeight(*n);
    } else {
        return false;
    }
    return true;
}

void TCaptionControl::SetCaption(const QString& c) {
    if (c != caption_) {
        caption_ = c;
        Changed(Prop::Caption);
    }
}

QStringList TCaptionControl::PublishedProperties() const {
    return QStringList{QStringLiteral("Caption")} + TControl::PublishedProperties();
}

std::optional<QString> TCaptionControl::PropertyText(const QString& p) const {
    if (p == QLatin1String("Caption")) {
        return caption_;
    }
    return TControl::PropertyText(p);
}

bool TCaptionControl::SetPropertyText(const QString& p, const QString& value) {
    if (p == QLatin1String("Caption")) {
        SetCaption(value);
        return true;
    }
    return TControl::SetPropertyText(p, value);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page != active_) {
        active_ = page;
        Changed(Prop::ActivePage);
    }
}

void TPageControl::ShowPage(TTabSheet* page) {
    active_ = page;
    Changed(Prop::ActivePage);
}

TEdit::TEdit(TComponent* owner, const QString& name, TControl* parent)
    : TControl(owner, name, parent) {
    TabStop = true;
}

void TEdit::SetText(const QString& t) {
    if (t == text_) {
        return;
    }
    text_ = t;
    Changed(Prop::Text);
    if (OnChange) {
        OnChange(this);
    }
}

bool TEdit::KeyPress(QChar& key) {
    if (OnKeyPress) {
        OnKeyPress(this, key);
    }
    return !key.isNull();
}

QStringList TEdit::PublishedProperties() const {
    return QStringList{QStringLiteral("Text")} + TControl::PublishedProperties();
}

std::optional<QString> TEdit::PropertyText(const QString& p) const {
    if (p == QLatin1String("Text")) {
        return text_;
    }
    return TControl::PropertyText(p);
}

bool TEdit::SetPropertyText(const QString& p, const QString& value) {
    if (p == QLatin1String("Text")) {
        SetText(value);
        return true;
    }
    return TControl::SetPropertyText(p, value);
}

bool TCheckedControl::StoreChecked(bool c) {
    if (c == checked_) {
        return false;
    }
    checked_ = c;
    Changed(Prop::Checked);
    return true;
}

QStringList TCheckedControl::PublishedProperties() const {
    return QStringList{QStringLiteral("Checked")} + TCaptionControl::PublishedProperties();
}

std::optional<QString> TCheckedControl::PropertyText(const QString& p) const {
    if (p == QLatin1String("Checked")) {
        return BoolText(checked_);
    }
    return TCaptionControl::PropertyText(p);
}

bool TCheckedControl::SetPropertyText(const QString& p, const QString& value) {
    if (p == QLatin1String("Checked")) {
        const auto b = ParseBoolText(value);
        if (!b) {
            return false;
        }
        SetChecked(*b);
        return true;
    }
    return TCaptionControl::SetPropertyText(p, value);
}

void TCheckBox::SetChecked(bool c) {
    if (StoreChecked(c) && OnClick) {
        OnClick(this);
    }
}

void TRadioButton::SetChecked(bool c) {
    if (!StoreChecked(c) || !c || !Owner()) {
        return;
    }
    for (TComponent* other : Owner()->Components()) {
        auto* rb = dynamic_cast<TRadioButton*>(other);
        if (rb && rb != this && rb->Parent() == Parent()) {
            rb->SetChecked(false);
        }
    }
}

void TDateTimePicker::SetDate(QDate d) {
    if (d != date_) {
        date_ = d;
        Changed(Prop::Date);
    }
}

void TDateTimePicker::UserSetDate(QDate d) {
    if (d == date_) {
        return;
    }
    SetDate(d);
    if (OnChange) {
        OnChange(this);
    }
}

void TUpDown::Click(TUDBtnType direction) {
    if (direction == TUDBtnType::btNext && Position < Max) {
        ++Position;
    } else if (direction == TUDBtnType::btPrev && Position > Min) {
        --Position;
    }
    if (OnClick) {
        OnClick(this, direction);
    }
}

void TMemo::SetLines(const QStringList& lines) {
    if (lines != lines_) {
        lines_ = lines;
        Changed(Prop::Lines);
    }
}

void TStatusBar::SetSimpleText(const QString& t) {
    if (t != text_) {
        text_ = t;
        Changed(Prop::Text);
    }
}

void TTimer::SetEnabled(bool e) {
    if (e != enabled_) {
        enabled_ = e;
        Changed(Prop::Enabled);
    }
}

TForm::TForm(const QString& name) : TCaptionControl(nullptr, name, nullptr) {
    SetVisible(false);
}

void TForm::SetWindowState(TWindowState s) {
    if (s != state_) {
        state_ = s;
        Changed(Prop::WindowState);
    }
}

void TForm::SetActiveControl(TControl* c) {
    active_ = c;
    Changed(Prop::Focus);
}
