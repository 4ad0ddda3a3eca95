#include "app/view/plainbackgrounds.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

TPlainBackgrounds::TPlainBackgrounds(QWidget* window) : QObject(window), window_(window) {
    window_->installEventFilter(this);
}

std::size_t TPlainBackgrounds::IndexOf(const QWidget* w) const {
    const auto found = std::find_if(filled_.cbegin(), filled_.cend(),
                                    [w](const Filled& f) { return f.widget == w && f.alive; });
    return static_cast<std::size_t>(found - filled_.cbegin());
}

QColor TPlainBackgrounds::Colour(const QWidget* w) const {
    const std::size_t i = IndexOf(w);
    return i < filled_.size() ? filled_[i].colour : QColor();
}

void TPlainBackgrounds::Fill(QWidget* w, const QColor& colour) {
    const std::size_t i = IndexOf(w);
    if (Colour(w) == colour) {
        return;
    }
    if (!colour.isValid()) {
        filled_.erase(filled_.begin() + static_cast<std::ptrdiff_t>(i));
        w->removeEventFilter(this);
    } else if (i == filled_.size()) {
        filled_.push_back({w, w, colour});
        w->installEventFilter(this);
    } else {
        filled_[i].colour = colour;
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
    if (const std::size_t i = IndexOf(w); i < filled_.size()) {
        QPainter(w).fillRect(w->rect(), filled_[i].colour);
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
