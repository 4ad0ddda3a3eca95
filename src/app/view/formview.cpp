#include "app/view/formview.h"
#include "app/view/plainbackgrounds.h"
#include "app/view/stylepictures.h"

#include <QApplication>
#include <QLabel>
#include <QTabWidget>
#include <algorithm>
#include <functional>

namespace {

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
      model_(model), parts_{model, [this](const std::function<void()>& f) { FromUser(f); }} {
    setObjectName(model.Name());
    setFont(DefaultFont());
    parts_.plain = new TPlainBackgrounds(this);
    ReadStylePictures();
    {
        // Qt lays out each new line edit's empty text in the application's
        // font before the edit takes the window's: while the window is built,
        // the window's font (loaded anyway) stands in, so that no font is
        // loaded for that alone. No widget is told of either change.
        const QFont application = QGuiApplication::font();
        QGuiApplication::setFont(font());
        Build();
        QGuiApplication::setFont(application);
    }
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
    CreateWidgets();
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
    BuildTabOrder(ChildrenByParent());
    NameForScreenReaders();
    if (parts_.tabs) {
        connect(parts_.tabs, &QTabWidget::currentChanged, this, [this](int index) {
            const QWidget* shown = parts_.tabs->widget(index);
            for (auto it = waiting_.cbegin(); it != waiting_.cend(); ++it) {
                if (parts_.widgets.value(it.key()) == shown) {
                    BuildPage(it.key());
                    return;
                }
            }
        });
    }
    model_.measureText = [this](const TLabel* label) { return TextWidth(label); };
    FinishResults();
}

// Once the results group has its widgets (with the window, or with its page).
void TFormView::FinishResults() {
    QWidget* group = parts_.widgets.value(model_.Results().Group());
    if (results_.Bound() || !group) {
        return;
    }
    // Texts set before the widgets existed get their room now.
    const bool was = mirroring_;
    mirroring_ = true;
    model_.FitResultTexts();
    mirroring_ = was;
    results_.Bind(group, this, *parts_.plain);
}

// Every element's widget under its parent's, by the binding of its kind; a
// kind without one stops the build (BindingFor throws).
void TFormView::CreateWidgets() {
    parts_.widgets.insert(&model_, this);
    for (TComponent* element : model_.Components()) {
        if (const TComponent* page = HiddenPageOf(element)) {
            waiting_[page].push_back(element);
            waitsFor_.insert(element, page);
        } else {
            CreateWidget(element);
        }
    }
}

void TFormView::CreateWidget(TComponent* element) {
    const ElementBinding& binding = BindingFor(*element);
    bindings_.insert(element, &binding);
    auto* control = dynamic_cast<TControl*>(element);
    QWidget* parent = this;
    if (control && control->Parent()) {
        parent = parts_.widgets.value(control->Parent(), this);
    }
    if (QWidget* w = binding.create(parts_, *element, parent)) {
        w->setObjectName(element->Name());
        parts_.widgets.insert(element, w);
    }
}

const TComponent* TFormView::HiddenPageOf(const TComponent* element) const {
    const auto* control = dynamic_cast<const TControl*>(element);
    for (const TControl* c = control ? control->Parent() : nullptr; c; c = c->Parent()) {
        if (const auto* page = dynamic_cast<const TTabSheet*>(c)) {
            const auto* pages = dynamic_cast<const TPageControl*>(page->Parent());
            return pages && pages->ActivePage() != page ? page : nullptr;
        }
    }
    return nullptr;
}

// In creation order, as the window would have made them; then mirrored, put
// in the tab order and named for screen readers as at the window's build.
void TFormView::BuildPage(const TComponent* page) {
    const auto found = waiting_.find(page);
    if (found == waiting_.end()) {
        return;
    }
    const std::vector<TComponent*> elements = std::move(*found);
    waiting_.erase(found);
    for (TComponent* element : elements) {
        waitsFor_.remove(element);
        CreateWidget(element);
    }
    const bool was = mirroring_;
    mirroring_ = true;
    for (TComponent* element : elements) {
        ApplyAll(element);
    }
    mirroring_ = was;
    BuildTabOrder(ChildrenByParent());
    NameForScreenReaders();
    FinishResults();
}

void TFormView::BuildPageOf(const TComponent* element) {
    if (const TComponent* page = waitsFor_.value(element)) {
        BuildPage(page);
    }
}

void TFormView::BuildAllPages() {
    for (const TComponent* element : model_.Components()) {
        BuildPageOf(element);
    }
}

TFormView::Children TFormView::ChildrenByParent() const {
    Children children;
    for (TComponent* c : model_.Components()) {
        if (auto* control = dynamic_cast<TControl*>(c)) {
            children[control->Parent()].push_back(control);
        }
    }
    return children;
}

// What a screen reader says comes from the element table, never from where
// things stand on screen.
void TFormView::NameForScreenReaders() {
    for (TComponent* element : model_.Components()) {
        QWidget* w = parts_.widgets.value(element);
        if (!w) {
            continue;
        }
        const auto* control = static_cast<const TControl*>(element);
        w->setAccessibleName(control->AccessibleName.isEmpty() ? control->Name()
                                                               : control->AccessibleName);
        if (!control->AccessibleDescription.isEmpty()) {
            w->setAccessibleDescription(control->AccessibleDescription);
        }
        if (auto* label = qobject_cast<QLabel*>(parts_.widgets.value(control->CaptionLabel))) {
            label->setBuddy(w);
        }
    }
}

void TFormView::ApplyAll(TComponent* element) {
    // The window state last: a stored maximised state applies after the place.
    for (Prop p : {Prop::Text, Prop::Caption, Prop::Geometry, Prop::Checked, Prop::Date,
                   Prop::Color, Prop::Font, Prop::Hint, Prop::Lines, Prop::ActivePage,
                   Prop::Enabled, Prop::Visible, Prop::WindowState}) {
        Apply(element, p);
    }
}

void TFormView::Apply(TComponent* element, Prop p) {
    if (element == &model_) {
        ApplyWindow(p);
        return;
    }
    const ElementBinding* binding = bindings_.value(element);
    if (!binding) {
        return; // added after the window was built: never shown
    }
    QWidget* w = parts_.widgets.value(element);
    const bool handled = binding->apply && binding->apply(parts_, *element, w, p);
    if (!handled && w) {
        // Only controls have widgets.
        ApplyShared(static_cast<TControl*>(element), w, p);
    }
}

void TFormView::ApplyShared(TControl* c, QWidget* w, Prop p) {
    switch (p) {
    case Prop::Geometry:
        w->setGeometry(c->Left(), c->Top(), c->Width(), c->Height());
        results_.Moved(c);
        break;
    case Prop::Visible:
        w->setVisible(c->Visible());
        break;
    case Prop::Hint:
        w->setToolTip(c->Hint());
        break;
    case Prop::Enabled:
        w->setEnabled(c->Enabled());
        break;
    case Prop::Font: {
        const TFont& f = c->Font();
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
        // A widget already showing this font by inheritance keeps it so:
        // setting it would only relayout the widget's text. (Only leaves
        // change their fonts after the window is built.)
        if (w->testAttribute(Qt::WA_SetFont) || font != w->font()) {
            w->setFont(font);
        }
        break;
    }
    default:
        break; // the kind's own properties are its binding's
    }
}

void TFormView::ApplyWindow(Prop p) {
    switch (p) {
    case Prop::Geometry:
        ApplyWindowGeometry();
        // The status line follows the window's width.
        Apply(model_.sb1, Prop::Geometry);
        break;
    case Prop::Caption:
        setWindowTitle(model_.Caption());
        QApplication::setApplicationDisplayName(model_.ApplicationTitle);
        break;
    case Prop::WindowState:
        ApplyWindowState();
        break;
    case Prop::Focus:
        if (!model_.ActiveControl()) {
            // The window itself takes the focus; no caret stays in the help text.
            if (QWidget* f = focusWidget()) {
                f->clearFocus();
            }
            setFocus(Qt::OtherFocusReason);
        }
        break;
    case Prop::Visible:
        break; // the window is shown by the program
    default:
        ApplyShared(&model_, this, p);
        break;
    }
}

void TFormView::ApplyWindowGeometry() {
    if (!model_.Sizeable) {
        setFixedSize(model_.Width(), model_.Height());
    } else if (isMaximized() || isMinimized()) {
        // The window system keeps the normal rectangle until it is restored.
        return;
    } else {
        resize(model_.Width(), model_.Height());
    }
    move(model_.Left(), model_.Top());
}

void TFormView::ApplyWindowState() {
    switch (model_.WindowState()) {
    case TWindowState::wsMinimized:
        if (isVisible()) {
            showMinimized();
        } else {
            setWindowState(windowState() | Qt::WindowMinimized);
        }
        break;
    case TWindowState::wsMaximized:
        // A fixed-size window keeps its size: the state is only remembered.
        // A resizable one is maximised, now or when shown.
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

void TFormView::BuildTabOrder(const Children& children) {
    // Depth-first over the model tree, children in their keyboard order;
    // containers lead to their members but take no place themselves.
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
            QWidget* w = parts_.widgets.value(c);
            if (w && w->focusPolicy() != Qt::NoFocus && !bindings_.value(c)->container) {
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
