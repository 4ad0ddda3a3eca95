#pragma once
// Widgets that fill their own background with one plain colour before they
// paint.
//
// Opaque to Qt, a repaint of such a widget leaves what lies behind it alone:
// a result label's new text does not repaint its group. But while the window
// is first painted, every opaque widget is a hole in the clip of each widget
// behind it, and Qt's raster engine sizes the span list of such a clip by the
// window's height times its holes: about 0.7 MB for this window, for the one
// paint that draws everything anyway. So these widgets count as opaque only
// once the window's first paint has finished; they look the same either way.

#include <QColor>
#include <QObject>
#include <QPointer>
#include <vector>

class QWidget;

class TPlainBackgrounds : public QObject {
public:
    explicit TPlainBackgrounds(QWidget* window);
    // `w` fills its background with `colour` from now on; an invalid colour
    // stops it.
    void Fill(QWidget* w, const QColor& colour);
    // The colour `w` fills with; invalid when it fills nothing.
    QColor Colour(const QWidget* w) const;
    bool Fills(const QWidget* w) const { return Colour(w).isValid(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Filled {
        // Compared on every paint; `alive` tells a deleted one.
        QWidget* widget;
        QPointer<QWidget> alive;
        QColor colour;
    };
    // The place of `w` in filled_; filled_.size() when it fills nothing.
    std::size_t IndexOf(const QWidget* w) const;
    void WindowPainted();

    QWidget* window_;
    bool painted_ = false;
    std::vector<Filled> filled_;
};
