#pragma once
// Widgets that fill their own plain background (their palette's brush for
// their background role) before they paint.
//
// Opaque to Qt, a repaint of such a widget leaves what lies behind it alone:
// a result label's new text does not repaint its group. But while the window
// is first painted, every opaque widget is a hole in the clip of each widget
// behind it, and Qt's raster engine sizes the span list of such a clip by the
// window's height times its holes: about 0.7 MB for this window, for the one
// paint that draws everything anyway. So these widgets count as opaque only
// once the window's first paint has finished; they look the same either way.

#include <QObject>
#include <QPointer>
#include <vector>

class QWidget;

class TPlainBackgrounds : public QObject {
public:
    explicit TPlainBackgrounds(QWidget* window);
    // `w` fills its background from now on, or no longer.
    void Fill(QWidget* w, bool on);
    bool Fills(const QWidget* w) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WindowPainted();

    QWidget* window_;
    bool painted_ = false;
    std::vector<QPointer<QWidget>> filled_;
};
