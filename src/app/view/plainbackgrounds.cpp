#include "app/view/plainbackgrounds.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

TPlainBackgrounds::TPlainBackgrounds(QWidget* window) : QObject(window), window_(window) {
    window_->installEventFilter(this);
}

std::vector<TPlainBackgrounds::Filled>::iterator TPlainBackgrounds::Find(const QWidget* w) {
    return std::find_if(filled_.begin(), filled_.end(),
                        [w](const Filled& f) { return f.widget == w && f.alive; });
}

QColor TPlainBackgrounds::Colour(const QWidget* w) const {
    const auto found = const_cast<TPlainBackgrounds*>(this)->Find(w);
    return found == filled_.end() ? QColor() : found->colour;
}

void TPlainBackgrounds::Fill(QWidget* w, const QColor& colour) {
    const auto found = Find(w);
    const QColor before = found == filled_.end() ? QColor() : found->colour;
    if (before == colour) {
        return;
    }
    if (!colour.isValid()) {
        filled_.erase(found);
        w->removeEventFilter(this);
    } else if (found == filled_.end()) {
        filled_.push_back({w, w, colour});
        w->installEventFilter(this);
    } else {
        found->colour = colour;
    }
    w->setAttribute(Qt::WA_OpaquePaintEvent, colour.isValid() && painted_);
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
    const auto found = Find(w);
    if (found != filled_.end()) {
        QPainter(w).fillRect(w->rect(), found->colour);
    }
    return false;
}

void TPlainBackgrounds::WindowPainted() {
    painted_ = true;
    std::erase_if(filled_, [](const Filled& f) { return f.alive.isNull(); });
    for (const Filled& f : filled_) {
        // Only what Qt skips from now on changes: no repaint.
        f.widget->setAttribute(Qt::WA_OpaquePaintEvent);
    }
}
