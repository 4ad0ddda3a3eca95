#include "app/view/panelcache.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <cmath>

TPanelCacheStyle::TPanelCacheStyle(std::function<QColor(const QWidget*)> plainBehind)
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())),
      plainBehind_(std::move(plainBehind)) {}

void TPanelCacheStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    const QColor plain =
        element == PE_PanelLineEdit && widget && plainBehind_ ? plainBehind_(widget) : QColor();
    QPaintEngine* engine = painter->paintEngine();
    QPaintDevice* target = engine ? engine->paintDevice() : nullptr;
    // Whole device pixels: an integral scale (the pixel density) and an
    // integral translation.
    const QTransform device = painter->deviceTransform();
    const qreal ratio = device.m11();
    const bool aligned = device.type() <= QTransform::TxScale && ratio == device.m22() &&
                         ratio >= 1 && ratio == std::round(ratio) &&
                         device.dx() == std::round(device.dx()) &&
                         device.dy() == std::round(device.dy());
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (!plain.isValid() || !frame || !target || target->devType() != QInternal::Image ||
        !aligned || painter->opacity() != 1.0 ||
        painter->compositionMode() != QPainter::CompositionMode_SourceOver) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QImage::Format format = static_cast<QImage*>(target)->format();
    const int state = static_cast<int>(option->state);
    const int features = static_cast<int>(frame->features);
    const qint64 palette = option->palette.cacheKey();
    const QSize size = option->rect.size();
    const Picture* found = nullptr;
    for (const Picture& p : pictures_) {
        if (p.size == size && p.ratio == ratio && p.format == format && p.state == state &&
            p.lineWidth == frame->lineWidth && p.features == features &&
            p.direction == option->direction && p.palette == palette && p.plain == plain.rgba()) {
            found = &p;
            break;
        }
    }
    if (!found) {
        if (pictures_.size() >= 16) {
            pictures_.clear();
        }
        Picture p{
            size,    ratio,        format, state, frame->lineWidth, features, option->direction,
            palette, plain.rgba(), {}};
        p.image = QImage((QSizeF(size) * ratio).toSize(), format);
        p.image.setDevicePixelRatio(ratio);
        p.image.fill(plain);
        QPainter onPicture(&p.image);
        QStyleOptionFrame moved = *frame;
        moved.rect.moveTo(0, 0);
        QProxyStyle::drawPrimitive(element, &moved, &onPicture, widget);
        onPicture.end();
        pictures_.push_back(std::move(p));
        found = &pictures_.back();
    }
    painter->drawImage(option->rect.topLeft(), found->image);
}
