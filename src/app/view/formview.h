#pragma once
// The Qt Widgets binding of the window model. It builds one widget per model
// element (objectName = element name), mirrors model property changes onto the
// widgets, and turns user actions into model calls. Mirroring runs under a
// guard so that it never echoes back as a user action. It holds no state of its
// own beyond the element-to-widget map.

#include "app/tform1.h"

#include <QHash>
#include <QTimer>
#include <QWidget>
#include <vector>

class QTabWidget;
class QLabel;

class TFormView : public QWidget {
public:
    explicit TFormView(TForm1& model, QWidget* parent = nullptr);
    ~TFormView() override;

    TForm1& Model() { return model_; }
    // The widget bound to a model element; null for non-visual elements.
    QWidget* WidgetOf(const TComponent* element) const { return widgets_.value(element); }
    template <class W> W* Widget(const QString& name) const { return findChild<W*>(name); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Build();
    QWidget* CreateWidget(TComponent* element, QWidget* parent);
    void ApplyAll(TComponent* element);
    void Apply(TComponent* element, Prop p);
    void ApplyGeometry(TControl* c);
    // The model's controls by parent, in creation order: both passes below
    // walk it once instead of searching every element for each control.
    using Children = QHash<const TControl*, std::vector<TControl*>>;
    Children ChildrenByParent() const;
    void BuildTabOrder(const Children& children);
    // Result labels filled with the colour behind them (see formview.cpp).
    void MakeResultLabelsOpaque();
    // The width a label's current text needs, for the model's result fitting.
    int TextWidth(const TLabel* label) const;
    // Accessible names and descriptions from captions, row labels and groups.
    void NameForScreenReaders(const Children& children);
    // Runs a model call from a user action, with errors going to the error box.
    template <class F> void FromUser(F&& f) {
        if (mirroring_) {
            return;
        }
        model_.Guard(std::forward<F>(f));
    }

    TForm1& model_;
    QHash<const TComponent*, QWidget*> widgets_;
    QTabWidget* tabs_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer timer_;
    bool mirroring_ = false;
    QColor resultsBackground_;
};
