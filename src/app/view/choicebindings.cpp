// Bindings of the kinds the user acts on: buttons, switches, date fields and
// step buttons.
#include "app/view/datefield.h"
#include "app/view/elementbinding.h"
#include "app/view/viewwidgets.h"
#include "mylib/dates.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

// A plain "&" is shown, never taken as a mnemonic.
bool ApplyButtonCaption(const TCaptionControl& c, QWidget* w, Prop p) {
    if (p != Prop::Caption) {
        return false;
    }
    static_cast<QAbstractButton*>(w)->setText(
        QString(c.Caption()).replace(QLatin1Char('&'), QLatin1String("&&")));
    return true;
}

QWidget* CreateButton(ViewParts& parts, TComponent& element, QWidget* parent) {
    auto* button = static_cast<TButton*>(&element);
    QAbstractButton* b = nullptr;
    if (button->Flat) {
        auto* tb = new QToolButton(parent);
        tb->setAutoRaise(true);
        b = tb;
    } else {
        b = new QPushButton(parent);
    }
    QObject::connect(b, &QAbstractButton::clicked, b,
                     [&parts, button] { parts.fromUser([button] { button->Click(); }); });
    return b;
}

bool ApplyButton(ViewParts&, TComponent& element, QWidget* w, Prop p) {
    return ApplyButtonCaption(static_cast<const TCaptionControl&>(element), w, p);
}

template <class Switch, class Box>
QWidget* CreateSwitch(ViewParts& parts, TComponent& element, QWidget* parent) {
    auto* model = static_cast<Switch*>(&element);
    auto* b = new Box(parent);
    QObject::connect(b, &QAbstractButton::clicked, b, [&parts, model](bool on) {
        parts.fromUser([model, on] { model->SetChecked(on); });
    });
    return b;
}

bool ApplySwitch(ViewParts&, TComponent& element, QWidget* w, Prop p) {
    const auto& c = static_cast<const TCheckedControl&>(element);
    if (p == Prop::Checked) {
        static_cast<QAbstractButton*>(w)->setChecked(c.Checked());
        return true;
    }
    return ApplyButtonCaption(c, w, p);
}

// A date a user would rarely mean is used only when the user says so; else
// the field goes back to the model's date.
void UseUnusualDate(ViewParts& parts, TDateTimePicker* dt, QDateEdit* d, QDate date) {
    if (date == dt->Date() || d->property("asking").toBool()) {
        return;
    }
    d->setProperty("asking", true);
    const QString text = FormatShortDate(date, parts.model.Locales().dates);
    const bool use = parts.model.Platform().dialogs.VerifyDialog(
        date.year() < 1900
            ? QStringLiteral("The date %1 is before 1900. Use it?").arg(text)
            : QStringLiteral("The date %1 is more than a year after today. Use it?").arg(text),
        QString(), {.relativeToOwner = true, .allowCancel = true});
    d->setProperty("asking", false);
    if (use) {
        parts.fromUser([dt, date] { dt->UserSetDate(date); });
    } else {
        const QSignalBlocker block(d);
        d->setDate(dt->Date());
    }
}

QWidget* CreateDatePicker(ViewParts& parts, TComponent& element, QWidget* parent) {
    auto* dt = static_cast<TDateTimePicker*>(&element);
    auto* d = new TDateField(parent);
    d->setCalendarPopup(true);
    // Every date the program holds, not only those after 14 Sep 1752.
    d->setDateRange(FirstDate, LastDate);
    const QLocale dates = parts.model.Locales().dates;
    d->setLocale(dates);
    d->setDisplayFormat(ShortDateFormat(dates));
    // While a year is being typed the field passes through dates before 1900:
    // such a date is asked about when the editing ends, a chosen one at once.
    QObject::connect(d, &QDateEdit::dateChanged, d, [&parts, dt, d](QDate date) {
        if (!UnusualDate(date, parts.model.Today())) {
            parts.fromUser([dt, date] { dt->UserSetDate(date); });
        } else if (!d->hasFocus()) {
            UseUnusualDate(parts, dt, d, date);
        }
    });
    QObject::connect(d, &QDateEdit::editingFinished, d, [&parts, dt, d] {
        if (UnusualDate(d->date(), parts.model.Today())) {
            UseUnusualDate(parts, dt, d, d->date());
        }
    });
    return d;
}

bool ApplyDatePicker(ViewParts&, TComponent& element, QWidget* w, Prop p) {
    if (p != Prop::Date) {
        return false;
    }
    auto* d = static_cast<QDateEdit*>(w);
    const QSignalBlocker block(d);
    d->setDate(static_cast<const TDateTimePicker&>(element).Date());
    return true;
}

QWidget* CreateStepButtons(ViewParts& parts, TComponent& element, QWidget* parent) {
    auto* ud = static_cast<TUpDown*>(&element);
    auto* s = new StepButtons(parent);
    s->onStep = [&parts, ud](bool up) {
        parts.fromUser([ud, up] { ud->Click(up ? TUDBtnType::btNext : TUDBtnType::btPrev); });
    };
    return s;
}

} // namespace

std::vector<KindBinding> ChoiceBindings() {
    return {
        {typeid(TButton), {&CreateButton, &ApplyButton}},
        {typeid(TCheckBox), {&CreateSwitch<TCheckBox, QCheckBox>, &ApplySwitch}},
        {typeid(TRadioButton), {&CreateSwitch<TRadioButton, QRadioButton>, &ApplySwitch}},
        {typeid(TDateTimePicker), {&CreateDatePicker, &ApplyDatePicker}},
        {typeid(TUpDown), {&CreateStepButtons}},
    };
}
