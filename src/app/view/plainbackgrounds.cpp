#include "app/view/plainbackgrounds.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

TPlainBackgrounds::TPlainBackgrounds(QWidget* window) : QObject(window), window_(window) {
    window_->installEventFilter(this);
}

bool TPlainBackgrounds::Fills(const QWidget* w) const {
    return std::find(filled_.cbegin(), filled_.cend(), w) != filled_.cend();
}

void TPlainBackgrounds::Fill(QWidget* w, bool on) {
    if (Fills(w) == on) {
        return;
    }
    if (on) {
        filled_.emplace_back(w);
        w->installEventFilter(this);
    } else {
        std::erase(filled_, w);
        w->removeEventFilter(this);
    }
    w->setAttribute(Qt::WA_OpaquePaintEvent, on && painted_);
    w->update();
}

bool TPlainBackgrounds::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint) {
        return false;
    }
    if (watched == window_) {
        // The paint of the window's widgets goes on after its own; what is
        // queued now runs once all of it has finished.
        if (!painted_ && window_->isVisible()) {
            window_->removeEventFilter(this);
            QMetaObject::invokeMethod(this, &TPlainBackgrounds::WindowPainted,
                                      Qt::QueuedConnection);
        }
        return false;
    }
    auto* w = static_cast<QWidget*>(watched);
    QPainter(w).fillRect(w->rect(), w->palette().brush(w->backgroundRole()));
    return false;
}

void TPlainBackgrounds::WindowPainted() {
    painted_ = true;
    std::erase(filled_, nullptr);
    for (QWidget* w : filled_) {
        // Only what Qt skips from now on changes: no repaint.
        w->setAttribute(Qt::WA_OpaquePaintEvent);
    }
}
