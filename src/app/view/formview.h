#pragma once
// The Qt Widgets binding of the window model. It builds one widget per model
// element (objectName = element name), mirrors model property changes onto the
// widgets, and turns user actions into model calls. Mirroring runs under a
// guard so that it never echoes back as a user action. Each element kind has one
// binding (elementbinding.h); the view holds no state of its own beyond the
// element-to-widget map.
//
// The widgets of a page that is not shown at first are made when the page is
// first shown (or when one of them is first asked for): the model's elements
// exist from the start, and once made the widgets have the same names, event
// rules, tab order and accessible names as if made with the window.

#include "app/tform1.h"
#include "app/view/elementbinding.h"
#include "app/view/resultsbinding.h"
#include "app/view/textwidthcache.h"

#include <QHash>
#include <QWidget>
#include <vector>

class TFormView : public QWidget {
public:
    explicit TFormView(TForm1& model, QWidget* parent = nullptr);
    ~TFormView() override;

    TForm1& Model() { return model_; }
    // The widget bound to a model element, made now when its page waits;
    // null for non-visual elements.
    QWidget* WidgetOf(const TComponent* element) {
        BuildPageOf(element);
        return parts_.widgets.value(element);
    }
    // The widget of that name, every page's widgets made first when missing.
    template <class W> W* Widget(const QString& name) {
        if (W* w = findChild<W*>(name)) {
            return w;
        }
        BuildAllPages();
        return findChild<W*>(name);
    }

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Build();
    void CreateWidgets();
    void CreateWidget(TComponent* element);
    // The page (tab sheet) holding `element` when that page is not shown.
    const TComponent* HiddenPageOf(const TComponent* element) const;
    // Makes the waiting widgets of a page, of the page holding an element.
    void BuildPage(const TComponent* page);
    void BuildPageOf(const TComponent* element);
    void BuildAllPages();
    void ApplyAll(TComponent* element);
    void Apply(TComponent* element, Prop p);
    // What every control shares: place, visibility, hint, state and font.
    void ApplyShared(TControl* c, QWidget* w, Prop p);
    // The window's own properties: place, title, state and focus.
    void ApplyWindow(Prop p);
    void ApplyWindowGeometry();
    void ApplyWindowState();
    // Fits the result texts and binds the results group, once it exists.
    void FinishResults();
    // The model's controls by parent, in creation order: the tab-order pass
    // walks it once instead of searching every element for each control.
    using Children = QHash<const TControl*, std::vector<TControl*>>;
    Children ChildrenByParent() const;
    void BuildTabOrder(const Children& children);
    // The width a label's current text needs, for the model's result fitting.
    int TextWidth(const TLabel* label) const;
    // Accessible names, descriptions and label buddies from the element table.
    void NameForScreenReaders();
    // Runs a model call from a user action, with errors going to the error box.
    template <class F> void FromUser(F&& f) {
        if (mirroring_) {
            return;
        }
        model_.Guard(std::forward<F>(f));
    }

    TForm1& model_;
    ViewParts parts_;
    // Each element's binding, looked up once when the window is built.
    QHash<const TComponent*, const ElementBinding*> bindings_;
    bool mirroring_ = false;
    TResultsBinding results_{model_.Results()};
    // Text widths by font and text (TextWidth).
    mutable TextWidthCache textWidths_;
    // Elements whose widgets wait for their page, by page in creation order,
    // and the page each waits for.
    QHash<const TComponent*, std::vector<TComponent*>> waiting_;
    QHash<const TComponent*, const TComponent*> waitsFor_;
};
