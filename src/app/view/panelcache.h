#pragma once
// A style that draws a line edit's panel from a picture made once for its
// size, state, palette and the plain colour behind it, and draws everything
// else as the style it stands for. Fusion strokes the panel's rounded frame
// with antialiasing: nine tenths of a keystroke's repaint of the field.
//
// Only for a field that fills itself with one plain colour (it says which):
// the picture holds that colour under the panel, so blitting it gives the
// very pixels drawing would, and only where a blit lands on whole device
// pixels of an image; anything else is drawn as before.

#include <QColor>
#include <QImage>
#include <QProxyStyle>
#include <functional>
#include <vector>

class TPanelCacheStyle : public QProxyStyle {
public:
    // `plainBehind` tells the plain colour a widget fills itself with (an
    // invalid colour: none). The style stands for one of the application's
    // kind (taken by its name).
    explicit TPanelCacheStyle(std::function<QColor(const QWidget*)> plainBehind);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

private:
    struct Picture {
        QSize size;
        qreal ratio = 1;
        QImage::Format format = QImage::Format_Invalid;
        int state = 0;
        int lineWidth = 0;
        int features = 0;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        qint64 palette = 0;
        QRgb plain = 0;
        QImage image;
    };
    std::function<QColor(const QWidget*)> plainBehind_;
    // A window has a few fields in a few states: bounded all the same.
    mutable std::vector<Picture> pictures_;
};
