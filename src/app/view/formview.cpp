#include "app/view/formview.h"

#include "app/view/viewwidgets.h"
#include "mylib/dates.h"
#include "mylib/elements/urllabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <stdexcept>

namespace {

QColor ToQColor(TColor c, const QPalette& palette) {
    if (c == clWindowText) {
        return palette.color(QPalette::WindowText);
    }
    if (c == clBtnFace) {
        return palette.color(QPalette::Button);
    }
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

Qt::Alignment ToQt(TAlignment a) {
    switch (a) {
    case TAlignment::RightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TAlignment::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TAlignment::LeftJustify:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The window's default text font: Segoe UI at 15 design pixels, or the
// desktop's sans-serif face where Segoe UI is missing.
QFont DefaultFont() {
    QFont f(QStringLiteral("Segoe UI"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(12);
    return f;
}

} // namespace

TFormView::TFormView(TForm1& model, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint |
                          (model.Sizeable ? Qt::WindowMaximizeButtonHint : Qt::Widget)),
      model_(model) {
    setObjectName(model.Name());
    setFont(DefaultFont());
    Build();
}

TFormView::~TFormView() {
    for (TComponent* c : model_.Components()) {
        c->onPropertyChanged = nullptr;
    }
    model_.onPropertyChanged = nullptr;
    model_.onBringToFront = nullptr;
    model_.measureText = nullptr;
}

void TFormView::Build() {
    widgets_.insert(&model_, this);
    for (TComponent* element : model_.Components()) {
        auto* control = dynamic_cast<TControl*>(element);
        QWidget* parent = this;
        if (control && control->Parent()) {
            parent = widgets_.value(control->Parent(), this);
        }
        if (QWidget* w = CreateWidget(element, parent)) {
            widgets_.insert(element, w);
        }
    }
    // Mirror every property once, then follow changes.
    mirroring_ = true;
    ApplyAll(&model_);
    for (TComponent* element : model_.Components()) {
        ApplyAll(element);
    }
    mirroring_ = false;
    auto observer = [this](TComponent* c, Prop p) {
        const bool was = mirroring_;
        mirroring_ = true;
        Apply(c, p);
        mirroring_ = was;
    };
    model_.onPropertyChanged = observer;
    for (TComponent* element : model_.Components()) {
        element->onPropertyChanged = observer;
    }
    model_.onBringToFront = [this] {
        if (isMinimized()) {
            showNormal();
        }
        raise();
        activateWindow();
    };
    connect(&timer_, &QTimer::timeout, this,
            [this] { FromUser([this] { model_.Timer1->Tick(); }); });
    const Children children = ChildrenByParent();
    BuildTabOrder(children);
    NameForScreenReaders(children);
    model_.measureText = [this](const TLabel* label) { return TextWidth(label); };
    // Texts set before the view existed get their room now.
    mirroring_ = true;
    model_.FitResultTexts();
    mirroring_ = false;
    // The colour the results group shows between its rows, as painted.
    QWidget* group = widgets_.value(model_.resultsgb);
    // Left of the captions, between the exported row and the first headings.
    const int y =
        (model_.exportedlabel->Top() + model_.exportedlabel->Height() + model_.totlabel1->Top()) /
        2;
    const QPoint probe = group->mapTo(this, QPoint(model_.Label30->Left() / 2, y));
    // The middle of a small square, so that no edge shading of any pixel
    // density is taken for the background.
    const QImage sample = grab(QRect(probe - QPoint(2, 2), QSize(5, 5))).toImage();
    resultsBackground_ = sample.pixelColor(sample.width() / 2, sample.height() / 2);
    MakeResultLabelsOpaque();
}

// The result labels change on every keystroke. Transparent, each new text
// repaints the group box behind it and every label over that; opaque, filled
// with the very colour the group shows there, a label repaints alone and
// looks the same. Only labels wholly inside the group's frame qualify: a
// narrowed group's frame runs through the split column.
void TFormView::MakeResultLabelsOpaque() {
    QWidget* group = widgets_.value(model_.resultsgb);
    const QRect inside = group->rect().adjusted(3, 3, -3, -3);
    for (QObject* child : group->children()) {
        auto* label = qobject_cast<QLabel*>(child);
        if (!label) {
            continue;
        }
        const bool opaque = inside.contains(label->geometry());
        if (opaque) {
            QPalette pal = label->palette();
            pal.setColor(QPalette::Window, resultsBackground_);
            label->setPalette(pal);
        }
        label->setAutoFillBackground(opaque);
    }
}

namespace {

QString Plain(QString caption) {
    caption = caption.trimmed();
    if (caption.endsWith(QLatin1Char(':'))) {
        caption.chop(1);
    }
    return caption;
}

// The caption label standing left of a control on the same row of its parent,
// else the unit label right of it.
TLabel* RowCaption(const std::vector<TControl*>& siblings, const TControl* control) {
    TLabel* best = nullptr;
    TLabel* unit = nullptr;
    const int middle = control->Top() + control->Height() / 2;
    for (TControl* c : siblings) {
        auto* label = dynamic_cast<TLabel*>(c);
        if (!label || label == control || label->Caption().isEmpty() ||
            std::abs(label->Top() + label->Height() / 2 - middle) > label->Height() / 2 + 2) {
            continue;
        }
        // Value labels of the results are not captions.
        if (label->Alignment != TAlignment::LeftJustify ||
            label->Name().endsWith(QLatin1String("wk"))) {
            continue;
        }
        if (label->Left() >= control->Left() + control->Width()) {
            if (!unit || label->Left() < unit->Left()) {
                unit = label;
            }
        } else if (label->Left() < control->Left() && (!best || label->Left() > best->Left())) {
            best = label;
        }
    }
    return best ? best : unit;
}

// Labels whose text is a figure, with no caption beside them.
QString FigureName(const QString& element) {
    static const QHash<QString, QString> figures{
        {QStringLiteral("resultlabel"), QStringLiteral("Cost per day")},
        {QStringLiteral("kwhlabel"), QStringLiteral("Energy per day")},
        {QStringLiteral("perweeklabel"), QStringLiteral("Cost per week")},
        {QStringLiteral("peryearlabel"), QStringLiteral("Cost per year")},
        {QStringLiteral("versionlabel"), QStringLiteral("Version")},
        {QStringLiteral("typelabel"), QStringLiteral("Kind of meter readings")},
    };
    return figures.value(element);
}

} // namespace

TFormView::Children TFormView::ChildrenByParent() const {
    Children children;
    for (TComponent* c : model_.Components()) {
        if (auto* control = dynamic_cast<TControl*>(c)) {
            children[control->Parent()].push_back(control);
        }
    }
    return children;
}

void TFormView::NameForScreenReaders(const Children& children) {
    static const std::vector<TControl*> none;
    auto siblings = [&children](const TControl* c) -> const std::vector<TControl*>& {
        const auto found = children.constFind(c->Parent());
        return found == children.cend() ? none : *found;
    };
    for (TComponent* element : model_.Components()) {
        auto* control = dynamic_cast<TControl*>(element);
        QWidget* w = widgets_.value(element);
        if (!control || !w) {
            continue;
        }
        QString name = FigureName(control->Name());
        QString description = name.isEmpty() ? control->Hint() : QStringLiteral("Result");
        const auto* group = dynamic_cast<const TGroupBox*>(control->Parent());
        const QString groupCaption = group ? Plain(group->Caption()) : QString();
        auto* cc = dynamic_cast<TCaptionControl*>(control);
        if (!name.isEmpty()) {
        } else if (dynamic_cast<TUpDown*>(control)) {
            name = groupCaption + QStringLiteral(", step the later reading up or down");
        } else if (cc && cc->Caption() == QLatin1String("-") &&
                   RowCaption(siblings(control), control)) {
            // A clear button says what it clears.
            name = control->Hint() + QStringLiteral(", ") +
                   Plain(RowCaption(siblings(control), control)->Caption());
        } else if (cc && !dynamic_cast<TLabel*>(control) && !cc->Caption().isEmpty()) {
            name = Plain(cc->Caption());
        } else if (TLabel* caption = RowCaption(siblings(control), control)) {
            if (dynamic_cast<TEdit*>(control) || dynamic_cast<TDateTimePicker*>(control)) {
                if (auto* l = qobject_cast<QLabel*>(widgets_.value(caption))) {
                    l->setBuddy(w);
                }
                name = groupCaption.isEmpty()
                           ? Plain(caption->Caption())
                           : groupCaption + QStringLiteral(", ") + Plain(caption->Caption());
            } else if (control->Name().endsWith(QLatin1String("wk"))) {
                name =
                    Plain(caption->Caption()) + QStringLiteral(", light and power plus hot water");
                description = QStringLiteral("The general and hot-water shares of the total");
            } else {
                name = Plain(caption->Caption());
                description = QStringLiteral("Result");
            }
        } else if (auto* label = dynamic_cast<TLabel*>(control)) {
            name = Plain(label->Caption());
        }
        if (name.isEmpty()) {
            name = groupCaption.isEmpty() ? control->Name() : groupCaption;
        }
        w->setAccessibleName(name);
        if (!description.isEmpty()) {
            w->setAccessibleDescription(description);
        }
    }
}

QWidget* TFormView::CreateWidget(TComponent* element, QWidget* parent) {
    QWidget* w = nullptr;
    if (auto* pc = dynamic_cast<TPageControl*>(element)) {
        tabs_ = new QTabWidget(parent);
        w = tabs_;
        (void)pc;
    } else if (auto* page = dynamic_cast<TTabSheet*>(element)) {
        w = new QWidget();
        tabs_->addTab(w, page->Caption());
    } else if (auto* link = dynamic_cast<TURLLabel*>(element)) {
        auto* l = new LinkLabel(parent);
        l->setCursor(Qt::PointingHandCursor);
        l->setTextFormat(Qt::PlainText);
        l->onEnter = [this, link] { FromUser([link] { link->MouseEnter(); }); };
        l->onLeave = [this, link] { FromUser([link] { link->MouseLeave(); }); };
        l->onClick = [this, link] {
            FromUser([this, link] { link->Click(&model_.Platform().shell); });
        };
        w = l;
    } else if (dynamic_cast<TLabel*>(element)) {
        auto* l = new QLabel(parent);
        l->setTextFormat(Qt::PlainText);
        w = l;
    } else if (auto* edit = dynamic_cast<TEdit*>(element)) {
        auto* e = new FilteredLineEdit(parent);
        if (edit->OnKeyPress) {
            e->keyFilter = [edit](QChar& c) { return edit->KeyPress(c); };
        }
        connect(e, &QLineEdit::textEdited, this,
                [this, edit](const QString& t) { FromUser([edit, t] { edit->SetText(t); }); });
        w = e;
    } else if (auto* cb = dynamic_cast<TCheckBox*>(element)) {
        auto* b = new QCheckBox(parent);
        connect(b, &QCheckBox::clicked, this,
                [this, cb](bool on) { FromUser([cb, on] { cb->SetChecked(on); }); });
        w = b;
    } else if (auto* rb = dynamic_cast<TRadioButton*>(element)) {
        auto* b = new QRadioButton(parent);
        connect(b, &QRadioButton::clicked, this,
                [this, rb](bool on) { FromUser([rb, on] { rb->SetChecked(on); }); });
        w = b;
    } else if (auto* dt = dynamic_cast<TDateTimePicker*>(element)) {
        auto* d = new QDateEdit(parent);
        d->setCalendarPopup(true);
        // Every date the program holds, not only those after 14 Sep 1752.
        d->setDateRange(FirstDate, LastDate);
        const QLocale dates = model_.Locales().dates;
        d->setLocale(dates);
        d->setDisplayFormat(ShortDateFormat(dates));
        connect(d, &QDateEdit::dateChanged, this,
                [this, dt](QDate date) { FromUser([dt, date] { dt->UserSetDate(date); }); });
        w = d;
    } else if (dynamic_cast<TGroupBox*>(element)) {
        w = new QGroupBox(parent);
    } else if (auto* ud = dynamic_cast<TUpDown*>(element)) {
        auto* s = new StepButtons(parent);
        s->onStep = [this, ud](bool up) {
            FromUser([ud, up] { ud->Click(up ? TUDBtnType::btNext : TUDBtnType::btPrev); });
        };
        w = s;
    } else if (auto* button = dynamic_cast<TButton*>(element)) {
        QAbstractButton* b = nullptr;
        if (button->Flat) {
            auto* tb = new QToolButton(parent);
            tb->setAutoRaise(true);
            b = tb;
        } else {
            b = new QPushButton(parent);
        }
        connect(b, &QAbstractButton::clicked, this,
                [this, button] { FromUser([button] { button->Click(); }); });
        w = b;
    } else if (auto* memo = dynamic_cast<TMemo*>(element)) {
        auto* m = new HelpTextBox(parent);
        m->setReadOnly(true);
        m->setFrameShape(QFrame::NoFrame);
        m->onFocusIn = [this, memo] { FromUser([memo] { memo->Enter(); }); };
        w = m;
    } else if (dynamic_cast<TStatusBar*>(element)) {
        auto* bar = new QStatusBar(parent);
        bar->setSizeGripEnabled(false);
        status_ = new QLabel(bar);
        status_->setObjectName(QStringLiteral("sb1text"));
        bar->addWidget(status_, 1);
        w = bar;
    } else if (dynamic_cast<TControl*>(element)) {
        // A visible element the view cannot show would silently vanish from
        // the window: refuse to build a window without it.
        throw std::logic_error("no widget for the element kind of " +
                               element->Name().toStdString());
    } else {
        return nullptr; // non-visual: timers, the settings component
    }
    w->setObjectName(element->Name());
    return w;
}

void TFormView::ApplyAll(TComponent* element) {
    // The window state last: a stored maximised state applies after the place.
    for (Prop p : {Prop::Text, Prop::Caption, Prop::Geometry, Prop::Checked, Prop::Date,
                   Prop::Color, Prop::Font, Prop::Hint, Prop::Lines, Prop::ActivePage,
                   Prop::Enabled, Prop::Visible, Prop::WindowState}) {
        Apply(element, p);
    }
}

void TFormView::ApplyGeometry(TControl* c) {
    if (c == &model_) {
        if (!model_.Sizeable) {
            setFixedSize(c->Width(), c->Height());
        } else if (isMaximized() || isMinimized()) {
            // The window system keeps the normal rectangle until it is restored.
            return;
        } else {
            resize(c->Width(), c->Height());
        }
        move(c->Left(), c->Top());
        return;
    }
    QWidget* w = widgets_.value(c);
    if (!w || dynamic_cast<TTabSheet*>(c)) {
        return;
    }
    if (dynamic_cast<TStatusBar*>(c)) {
        // Across the bottom edge of the window, whatever its width.
        w->setGeometry(0, height() - c->Height(), width(), c->Height());
        return;
    }
    w->setGeometry(c->Left(), c->Top(), c->Width(), c->Height());
}

void TFormView::Apply(TComponent* element, Prop p) {
    if (auto* timer = dynamic_cast<TTimer*>(element)) {
        // Enabling a running timer does not restart its count: the model only
        // reports real changes of Enabled.
        if (p == Prop::Enabled) {
            timer->Enabled() ? timer_.start(timer->Interval) : timer_.stop();
        }
        return;
    }
    auto* control = dynamic_cast<TControl*>(element);
    QWidget* w = widgets_.value(element);
    if (!control || !w) {
        return;
    }
    switch (p) {
    case Prop::Geometry:
        ApplyGeometry(control);
        if (control == &model_) {
            // The status line follows the window's width.
            ApplyGeometry(model_.sb1);
        }
        if (resultsBackground_.isValid() &&
            (control == model_.resultsgb || control->Parent() == model_.resultsgb)) {
            MakeResultLabelsOpaque();
        }
        break;
    case Prop::Visible:
        // Pages are shown by their tab widget, the window by the program.
        if (control != &model_ && !dynamic_cast<TTabSheet*>(control)) {
            w->setVisible(control->Visible());
        }
        break;
    case Prop::Hint:
        w->setToolTip(control->Hint());
        break;
    case Prop::Enabled:
        w->setEnabled(control->Enabled());
        break;
    case Prop::Font: {
        const TFont& f = control->Font();
        QFont font = w->font();
        if (!f.Name.isEmpty()) {
            font.setFamily(f.Name);
        }
        if (f.Size > 0) {
            font.setPixelSize(f.Size);
        }
        font.setBold(f.Bold);
        font.setItalic(f.Italic);
        font.setUnderline(f.Underline);
        font.setStrikeOut(f.StrikeOut);
        w->setFont(font);
        if (dynamic_cast<TLabel*>(control)) {
            QPalette pal = w->palette();
            pal.setColor(QPalette::WindowText, ToQColor(f.Color, QApplication::palette()));
            w->setPalette(pal);
        }
        break;
    }
    case Prop::Color:
        if (dynamic_cast<TGroupBox*>(control) && control->Color() != clDefault) {
            QPalette pal = w->palette();
            pal.setColor(QPalette::Window, ToQColor(control->Color(), QApplication::palette()));
            w->setPalette(pal);
            w->setAutoFillBackground(true);
        }
        break;
    case Prop::Caption: {
        auto* cc = dynamic_cast<TCaptionControl*>(control);
        if (!cc) {
            break;
        }
        if (control == &model_) {
            setWindowTitle(cc->Caption());
            QApplication::setApplicationDisplayName(model_.ApplicationTitle);
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            l->setText(cc->Caption());
            if (auto* label = dynamic_cast<TLabel*>(control)) {
                l->setAlignment(ToQt(label->Alignment));
            }
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            g->setTitle(cc->Caption());
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            // A plain "&" is shown, never taken as a mnemonic.
            b->setText(QString(cc->Caption()).replace(QLatin1Char('&'), QLatin1String("&&")));
        } else if (tabs_ && dynamic_cast<TTabSheet*>(control)) {
            tabs_->setTabText(tabs_->indexOf(w), cc->Caption());
        }
        break;
    }
    case Prop::Text:
        if (auto* edit = dynamic_cast<TEdit*>(control)) {
            auto* e = static_cast<QLineEdit*>(w);
            if (e->text() != edit->Text()) {
                e->setText(edit->Text());
            }
        } else if (auto* bar = dynamic_cast<TStatusBar*>(control)) {
            status_->setText(bar->SimpleText());
        }
        break;
    case Prop::Checked:
        if (auto* cb = dynamic_cast<TCheckBox*>(control)) {
            static_cast<QAbstractButton*>(w)->setChecked(cb->Checked());
        } else if (auto* rb = dynamic_cast<TRadioButton*>(control)) {
            static_cast<QAbstractButton*>(w)->setChecked(rb->Checked());
        }
        break;
    case Prop::Date:
        if (auto* dt = dynamic_cast<TDateTimePicker*>(control)) {
            auto* d = static_cast<QDateEdit*>(w);
            const QSignalBlocker block(d);
            d->setDate(dt->Date());
        }
        break;
    case Prop::Lines:
        if (auto* memo = dynamic_cast<TMemo*>(control)) {
            static_cast<QPlainTextEdit*>(w)->setPlainText(memo->Lines().join(QLatin1Char('\n')));
        }
        break;
    case Prop::ActivePage:
        if (auto* pc = dynamic_cast<TPageControl*>(control); pc && pc->ActivePage()) {
            tabs_->setCurrentWidget(widgets_.value(pc->ActivePage()));
        }
        break;
    case Prop::WindowState:
        if (control == &model_) {
            switch (model_.WindowState()) {
            case TWindowState::wsMinimized:
                if (isVisible()) {
                    showMinimized();
                } else {
                    setWindowState(windowState() | Qt::WindowMinimized);
                }
                break;
            case TWindowState::wsMaximized:
                // A fixed-size window keeps its size: the state is only
                // remembered. A resizable one is maximised, now or when shown.
                if (model_.Sizeable) {
                    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
                }
                break;
            case TWindowState::wsNormal:
                if (isMinimized()) {
                    showNormal();
                }
                break;
            }
        }
        break;
    case Prop::Focus:
        if (control == &model_ && !model_.ActiveControl()) {
            // The window itself takes the focus; no caret stays in the help text.
            if (QWidget* f = focusWidget()) {
                f->clearFocus();
            }
            setFocus(Qt::OtherFocusReason);
        }
        break;
    case Prop::Cursor:
        break;
    }
}

void TFormView::BuildTabOrder(const Children& children) {
    // Depth-first over the model tree, children in their keyboard order.
    std::vector<QWidget*> chain;
    std::function<void(const TControl*)> walk = [&](const TControl* parent) {
        const auto found = children.constFind(parent);
        if (found == children.cend()) {
            return;
        }
        std::vector<TControl*> ordered = *found;
        std::stable_sort(ordered.begin(), ordered.end(), [](const TControl* a, const TControl* b) {
            return a->TabOrder < b->TabOrder;
        });
        for (TControl* c : ordered) {
            QWidget* w = widgets_.value(c);
            if (w && w->focusPolicy() != Qt::NoFocus && !dynamic_cast<TGroupBox*>(c) &&
                !dynamic_cast<TPageControl*>(c)) {
                chain.push_back(w);
            }
            walk(c);
        }
    };
    walk(&model_);
    for (size_t i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }
}
