#include "app/view/textwidthcache.h"

#include <QFontMetrics>
#include <QWidget>

int TextWidthCache::Width(const QWidget& widget, const QString& text) {
    const QFont& font = widget.font();
    const int dpi = widget.logicalDpiY();
    Widths* widths = nullptr;
    for (Widths& w : fonts_) {
        if (w.dpi == dpi && w.font == font) {
            widths = &w;
            break;
        }
    }
    if (!widths) {
        // A window has a handful of fonts; bounded all the same.
        if (fonts_.size() >= 16) {
            fonts_.clear();
        }
        widths = &fonts_.emplace_back(Widths{font, dpi, {}});
    }
    if (const auto found = widths->byText.constFind(text); found != widths->byText.cend()) {
        return *found;
    }
    if (widths->byText.size() > 1024) {
        widths->byText.clear();
    }
    const int width = widget.fontMetrics().horizontalAdvance(text);
    widths->byText.insert(text, width);
    return width;
}
