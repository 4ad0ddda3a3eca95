#pragma once
// The small chart beside "why it changed": for each comparison of the
// selected period, side by side, a bar for the part due to use and one for the
// part due to prices, signed from a zero line, on one scale for all bars. Drawn with QPainter
// here rather than in the chart module: it shows even when that module cannot
// be loaded, and four bars need no chart library. Every text is drawn as
// plain text.

#include "history/changeexplain.h"

#include <QWidget>
#include <vector>

class THistoryChangeBars : public QWidget {
public:
    explicit THistoryChangeBars(QWidget* parent = nullptr);

    void SetBars(std::vector<ChangeBars> bars);
    const std::vector<ChangeBars>& Bars() const { return bars_; }
    // Where the bar of `group` is drawn: `prices` false for use, true for prices.
    QRectF BarRect(int group, bool prices) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The colours of a part that made the period cost more and less.
    static QColor MoreColor() { return QColor(0xc0, 0x50, 0x20); }
    static QColor LessColor() { return QColor(0x20, 0x80, 0x60); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The layout of a group: its label column, bar area and value column;
    // `zero` is from the group's left.
    struct Columns {
        int labelWidth, valueWidth, groupWidth;
        qreal zero, scale;
    };
    Columns Layout() const;
    int RowHeight() const;
    int GroupLeft(int group, const Columns& c) const;

    std::vector<ChangeBars> bars_;
};
