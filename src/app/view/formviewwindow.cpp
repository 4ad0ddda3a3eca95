#include "app/view/formview.h"

// The window's own events, mirrored into the model, and the text measure the
// model's result fitting asks for.

#include <QCloseEvent>
#include <QLabel>

int TFormView::TextWidth(const TLabel* label) const {
    auto* l = qobject_cast<QLabel*>(parts_.widgets.value(label));
    if (!l) {
        return 0;
    }
    // Value labels have no frame, margin or indent: the text's advance in the
    // label's font is all the room it takes. Every key measures every result
    // text, most of them unchanged: each text is shaped once per font.
    return textWidths_.Width(*l, l->text());
}

void TFormView::closeEvent(QCloseEvent* event) {
    event->accept();
}

void TFormView::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!mirroring_ && !isMinimized() && !isMaximized()) {
        const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
        const QPoint pos = frameGeometry().topLeft();
        mirroring_ = true;
        model_.SetBounds(pos.x(), pos.y(), normal.width(), normal.height());
        mirroring_ = false;
    }
}

void TFormView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Only a resizable window changes size by the user's hand.
    if (model_.Sizeable && !mirroring_ && windowState() == Qt::WindowNoState) {
        const QPoint pos = frameGeometry().topLeft();
        mirroring_ = true;
        model_.SetBounds(pos.x(), pos.y(), width(), height());
        mirroring_ = false;
    }
}

void TFormView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !mirroring_) {
        mirroring_ = true;
        model_.SetWindowState(isMinimized()   ? TWindowState::wsMinimized
                              : isMaximized() ? TWindowState::wsMaximized
                                              : TWindowState::wsNormal);
        mirroring_ = false;
    }
}
