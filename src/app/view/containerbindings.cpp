// Bindings of the kinds that hold other elements, and of the non-visual ones.
#include "app/view/elementbinding.h"
#include "app/view/plainbackgrounds.h"
#include "settings/tinisettings.h"

#include <QApplication>
#include <QGroupBox>
#include <QShortcut>
#include <QTabWidget>

namespace {

QWidget* CreatePages(ViewParts& parts, TComponent&, QWidget* parent) {
    auto* tabs = new QTabWidget(parent);
    parts.tabs = tabs;
    // The next and previous page from anywhere in the window, also from a
    // table or a field that would take these keys for itself.
    const std::pair<QKeySequence, int> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}};
    for (const auto& [key, step] : keys) {
        auto* shortcut = new QShortcut(key, tabs);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, tabs, [tabs, step = step] {
            const int n = tabs->count();
            if (n > 0) {
                tabs->setCurrentIndex((tabs->currentIndex() + step + n) % n);
            }
        });
    }
    return tabs;
}

bool ApplyPages(ViewParts& parts, TComponent& element, QWidget*, Prop p) {
    if (p != Prop::ActivePage) {
        return false;
    }
    if (const TTabSheet* page = static_cast<const TPageControl&>(element).ActivePage()) {
        parts.tabs->setCurrentWidget(parts.widgets.value(page));
    }
    return true;
}

QWidget* CreatePage(ViewParts& parts, TComponent& element, QWidget*) {
    auto* w = new QWidget();
    parts.tabs->addTab(w, static_cast<const TTabSheet&>(element).Caption());
    return w;
}

bool ApplyPage(ViewParts& parts, TComponent& element, QWidget* w, Prop p) {
    switch (p) {
    case Prop::Caption:
        parts.tabs->setTabText(parts.tabs->indexOf(w),
                               static_cast<const TTabSheet&>(element).Caption());
        return true;
    case Prop::Geometry:
    case Prop::Visible:
        // Placed and shown by the tab widget.
        return true;
    default:
        return false;
    }
}

QWidget* CreateGroup(ViewParts&, TComponent&, QWidget* parent) {
    return new QGroupBox(parent);
}

bool ApplyGroup(ViewParts& parts, TComponent& element, QWidget* w, Prop p) {
    const auto& group = static_cast<const TGroupBox&>(element);
    if (p == Prop::Caption) {
        static_cast<QGroupBox*>(w)->setTitle(group.Caption());
        return true;
    }
    if (p == Prop::Color) {
        if (group.Color() != clDefault) {
            // The widgets inside take the colour too (Fusion shades their
            // frames from it).
            QPalette pal = w->palette();
            pal.setColor(QPalette::Window, ToQColor(group.Color(), QApplication::palette()));
            w->setPalette(pal);
            parts.plain->Fill(w, pal.color(QPalette::Window));
        }
        return true;
    }
    return false;
}

QWidget* CreateTimer(ViewParts& parts, TComponent& element, QWidget*) {
    auto* timer = static_cast<TTimer*>(&element);
    QObject::connect(&parts.timer, &QTimer::timeout, &parts.timer,
                     [&parts, timer] { parts.fromUser([timer] { timer->Tick(); }); });
    return nullptr;
}

bool ApplyTimer(ViewParts& parts, TComponent& element, QWidget*, Prop p) {
    // Enabling a running timer does not restart its count: the model only
    // reports real changes of Enabled.
    if (p == Prop::Enabled) {
        const auto& timer = static_cast<const TTimer&>(element);
        timer.Enabled() ? parts.timer.start(timer.Interval) : parts.timer.stop();
    }
    return true;
}

// The settings store has nothing to show.
QWidget* CreateNothing(ViewParts&, TComponent&, QWidget*) {
    return nullptr;
}

bool ApplyNothing(ViewParts&, TComponent&, QWidget*, Prop) {
    return true;
}

} // namespace

std::vector<KindBinding> ContainerBindings() {
    return {
        {typeid(TPageControl), {&CreatePages, &ApplyPages, true}},
        {typeid(TTabSheet), {&CreatePage, &ApplyPage}},
        {typeid(TGroupBox), {&CreateGroup, &ApplyGroup, true}},
        {typeid(TTimer), {&CreateTimer, &ApplyTimer}},
        {typeid(TIniSettings), {&CreateNothing, &ApplyNothing}},
    };
}
