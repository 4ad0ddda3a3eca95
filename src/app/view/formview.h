#pragma once
// The Qt Widgets binding of the window model. It builds one widget per model
// element (objectName = element name), mirrors model property changes onto the
// widgets, and turns user actions into model calls. Mirroring runs under a
// guard so that it never echoes back as a user action. Each element kind has one
// binding (elementbinding.h); the view holds no state of its own beyond the
// element-to-widget map.

#include "app/tform1.h"
#include "app/view/elementbinding.h"

#include <QHash>
#include <QWidget>
#include <vector>

class TFormView : public QWidget {
public:
    explicit TFormView(TForm1& model, QWidget* parent = nullptr);
    ~TFormView() override;

    TForm1& Model() { return model_; }
    // The widget bound to a model element; null for non-visual elements.
    QWidget* WidgetOf(const TComponent* element) const { return parts_.widgets.value(element); }
    template <class W> W* Widget(const QString& name) const { return findChild<W*>(name); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Build();
    void CreateWidgets();
    void ApplyAll(TComponent* element);
    void Apply(TComponent* element, Prop p);
    // What every control shares: place, visibility, hint, state and font.
    void ApplyShared(TControl* c, QWidget* w, Prop p);
    // The window's own properties: place, title, state and focus.
    void ApplyWindow(Prop p);
    void ApplyWindowGeometry();
    void ApplyWindowState();
    // The colour behind the result labels, as painted.
    void SampleResultsBackground();
    // The model's controls by parent, in creation order: the tab-order pass
    // walks it once instead of searching every element for each control.
    using Children = QHash<const TControl*, std::vector<TControl*>>;
    Children ChildrenByParent() const;
    void BuildTabOrder(const Children& children);
    // Result labels filled with the colour behind them (see formview.cpp).
    void MakeResultLabelsOpaque();
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
    QColor resultsBackground_;
};
