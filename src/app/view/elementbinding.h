#pragma once
// One binding per element kind: how the view creates the kind's widget, wires
// its user actions to the model, and mirrors the kind's own properties. The
// properties every control shares (place, font, hint, ...) stay in the view.

#include "app/tform1.h"

#include <QColor>
#include <QHash>
#include <QTimer>
#include <functional>
#include <typeinfo>
#include <vector>

class QLabel;
class QTabWidget;
class QWidget;
class TPlainBackgrounds;

// What the bindings share with the view.
struct ViewParts {
    ViewParts(TForm1& m, std::function<void(const std::function<void()>&)> f)
        : model(m), fromUser(std::move(f)) {}
    TForm1& model;
    // Runs a model call from a user action (never while mirroring).
    std::function<void(const std::function<void()>&)> fromUser;
    QTabWidget* tabs = nullptr;
    QLabel* status = nullptr;
    QTimer timer;
    // The widgets that fill their own plain background (the window owns it).
    TPlainBackgrounds* plain = nullptr;
    // The widget of each visual element (the window: the view itself).
    QHash<const TComponent*, QWidget*> widgets;
};

struct ElementBinding {
    // The widget for the element under parent; null for a non-visual kind.
    QWidget* (*create)(ViewParts& parts, TComponent& element, QWidget* parent);
    // Mirrors one property; true when the kind handled it wholly, so the
    // shared handling of controls is skipped. Null: nothing of its own.
    bool (*apply)(ViewParts& parts, TComponent& element, QWidget* w, Prop p) = nullptr;
    // Containers hold the focus chain's members but take no place in it.
    bool container = false;
};

// The binding of the element's exact kind; throws std::logic_error naming the
// element and its kind when there is none, so no element silently vanishes.
const ElementBinding& BindingFor(const TComponent& element);

// The bindings of each group of kinds, for the lookup.
struct KindBinding {
    const std::type_info& type;
    ElementBinding binding;
};
std::vector<KindBinding> TextBindings();
std::vector<KindBinding> ChoiceBindings();
std::vector<KindBinding> ContainerBindings();

QColor ToQColor(TColor c, const QPalette& palette);
