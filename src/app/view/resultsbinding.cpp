#include "app/view/resultsbinding.h"
#include "app/view/plainbackgrounds.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

void TResultsBinding::Bind(QWidget* group, QWidget* window, TPlainBackgrounds& plain) {
    if (Bound()) {
        return;
    }
    group_ = group;
    plain_ = &plain;
    const QPoint probe = group->mapTo(window, model_.BackgroundProbe());
    // The middle of a small square, so that no edge shading of any pixel
    // density is taken for the background.
    const QImage sample = window->grab(QRect(probe - QPoint(2, 2), QSize(5, 5))).toImage();
    background_ = sample.pixelColor(sample.width() / 2, sample.height() / 2);
    MakeLabelsOpaque();
}

void TResultsBinding::Moved(const TControl* c) {
    if (Bound() && model_.Holds(c)) {
        MakeLabelsOpaque();
    }
}

void TResultsBinding::MakeLabelsOpaque() {
    const QRect inside = group_->rect().adjusted(3, 3, -3, -3);
    for (QObject* child : group_->children()) {
        auto* label = qobject_cast<QLabel*>(child);
        if (!label) {
            continue;
        }
        plain_->Fill(label, inside.contains(label->geometry()) ? background_ : QColor());
    }
}
