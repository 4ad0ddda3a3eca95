// Bindings of the kinds that show text: labels, links, edits, the help text
// and the status line.
#include "app/view/elementbinding.h"
#include "app/view/viewwidgets.h"
#include "elements/urllabel.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>

namespace {

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

QWidget* CreateLabel(ViewParts&, TComponent&, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QWidget* CreateLink(ViewParts& parts, TComponent& element, QWidget* parent) {
    auto* link = static_cast<TURLLabel*>(&element);
    auto* l = new LinkLabel(parent);
    l->setCursor(Qt::PointingHandCursor);
    l->setTextFormat(Qt::PlainText);
    l->onEnter = [&parts, link] { parts.fromUser([link] { link->MouseEnter(); }); };
    l->onLeave = [&parts, link] { parts.fromUser([link] { link->MouseLeave(); }); };
    l->onClick = [&parts, link] {
        parts.fromUser([&parts, link] { link->Click(&parts.model.Platform().shell); });
    };
    return l;
}

bool ApplyLabel(ViewParts&, TComponent& element, QWidget* w, Prop p) {
    const auto& label = static_cast<const TLabel&>(element);
    if (p == Prop::Caption) {
        auto* l = static_cast<QLabel*>(w);
        l->setText(label.Caption());
        l->setAlignment(ToQt(label.Alignment));
        return true;
    }
    if (p == Prop::Font) {
        // The font itself is the shared part; a label also takes its colour.
        QPalette pal = w->palette();
        pal.setColor(QPalette::WindowText, ToQColor(label.Font().Color, QApplication::palette()));
        w->setPalette(pal);
    }
    return false;
}

QWidget* CreateEdit(ViewParts& parts, TComponent& element, QWidget* parent) {
    auto* edit = static_cast<TEdit*>(&element);
    auto* e = new FilteredLineEdit(parent);
    e->plainBackgrounds = parts.plain;
    if (edit->OnKeyPress) {
        e->keyFilter = [edit](QChar& c) { return edit->KeyPress(c); };
    }
    QObject::connect(e, &QLineEdit::textEdited, e, [&parts, edit](const QString& t) {
        parts.fromUser([edit, t] { edit->SetText(t); });
    });
    return e;
}

bool ApplyEdit(ViewParts&, TComponent& element, QWidget* w, Prop p) {
    if (p != Prop::Text) {
        return false;
    }
    const auto& edit = static_cast<const TEdit&>(element);
    auto* e = static_cast<QLineEdit*>(w);
    if (e->text() != edit.Text()) {
        e->setText(edit.Text());
    }
    return true;
}

QWidget* CreateMemo(ViewParts& parts, TComponent& element, QWidget* parent) {
    auto* memo = static_cast<TMemo*>(&element);
    auto* m = new HelpTextBox(parent);
    m->setReadOnly(true);
    m->setFrameShape(QFrame::NoFrame);
    m->onFocusIn = [&parts, memo] { parts.fromUser([memo] { memo->Enter(); }); };
    return m;
}

bool ApplyMemo(ViewParts&, TComponent& element, QWidget* w, Prop p) {
    if (p != Prop::Lines) {
        return false;
    }
    const auto& memo = static_cast<const TMemo&>(element);
    static_cast<QPlainTextEdit*>(w)->setPlainText(memo.Lines().join(QLatin1Char('\n')));
    return true;
}

QWidget* CreateStatusBar(ViewParts& parts, TComponent&, QWidget* parent) {
    auto* bar = new QStatusBar(parent);
    bar->setSizeGripEnabled(false);
    parts.status = new QLabel(bar);
    parts.status->setObjectName(QStringLiteral("sb1text"));
    bar->addWidget(parts.status, 1);
    return bar;
}

bool ApplyStatusBar(ViewParts& parts, TComponent& element, QWidget* w, Prop p) {
    const auto& bar = static_cast<const TStatusBar&>(element);
    if (p == Prop::Text) {
        parts.status->setText(bar.SimpleText());
        return true;
    }
    if (p == Prop::Geometry) {
        // Across the bottom edge of the window, whatever its width.
        const QWidget* window = w->parentWidget();
        w->setGeometry(0, window->height() - bar.Height(), window->width(), bar.Height());
        return true;
    }
    return false;
}

} // namespace

std::vector<KindBinding> TextBindings() {
    return {
        {typeid(TLabel), {&CreateLabel, &ApplyLabel}},
        {typeid(TURLLabel), {&CreateLink, &ApplyLabel}},
        {typeid(TEdit), {&CreateEdit, &ApplyEdit}},
        {typeid(TMemo), {&CreateMemo, &ApplyMemo}},
        {typeid(TStatusBar), {&CreateStatusBar, &ApplyStatusBar}},
    };
}
