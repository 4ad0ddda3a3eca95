#include "history/page/changebars.h"

#include <QPainter>
#include <algorithm>

namespace {

const QString kUse = QStringLiteral("Use");
const QString kPrices = QStringLiteral("Prices");
constexpr int kGap = 6;        // between columns and between groups
constexpr int kBarWidth = 160; // the bar area's width at the size hint

} // namespace

THistoryChangeBars::THistoryChangeBars(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("historychangebars"));
    setAccessibleName(QStringLiteral("Change in cost: use and prices"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void THistoryChangeBars::SetBars(std::vector<ChangeBars> bars) {
    bars_ = std::move(bars);
    QStringList sentences;
    for (const ChangeBars& b : bars_) {
        sentences << b.sentence;
    }
    setToolTip(sentences.join(QLatin1Char('\n')));
    setAccessibleDescription(sentences.join(QLatin1Char(' ')));
    setVisible(!bars_.empty());
    updateGeometry();
    update();
}

int THistoryChangeBars::RowHeight() const {
    return fontMetrics().height() + 4;
}

int THistoryChangeBars::GroupLeft(int group, const Columns& c) const {
    return group * (c.groupWidth + 3 * kGap);
}

THistoryChangeBars::Columns THistoryChangeBars::Layout() const {
    const QFontMetrics fm = fontMetrics();
    Columns c{};
    c.labelWidth = std::max(fm.horizontalAdvance(kUse), fm.horizontalAdvance(kPrices)) + kGap;
    int title = 0;
    double low = 0, high = 0;
    for (const ChangeBars& b : bars_) {
        title = std::max(title, fm.horizontalAdvance(b.title));
        c.valueWidth = std::max({c.valueWidth, fm.horizontalAdvance(b.texts.useAmount),
                                 fm.horizontalAdvance(b.texts.pricesAmount)});
        low = std::min({low, b.fromUse, b.fromPrices});
        high = std::max({high, b.fromUse, b.fromPrices});
    }
    c.valueWidth += kGap;
    c.groupWidth = std::max(title, c.labelWidth + kBarWidth + c.valueWidth);
    const double range = high - low > 0 ? high - low : 1.0;
    c.scale = kBarWidth / range;
    c.zero = c.labelWidth - low * c.scale;
    return c;
}

QRectF THistoryChangeBars::BarRect(int group, bool prices) const {
    if (group < 0 || group >= static_cast<int>(bars_.size())) {
        return QRectF();
    }
    const Columns c = Layout();
    const double value = prices ? bars_[group].fromPrices : bars_[group].fromUse;
    const qreal zero = GroupLeft(group, c) + c.zero;
    const qreal end = zero + value * c.scale;
    const int top = RowHeight() * (prices ? 2 : 1);
    // At least a hairline, so a part of nothing still shows where zero is.
    return QRectF(QPointF(std::min(zero, end), top + 3),
                  QPointF(std::max(zero, end) + (value == 0 ? 1 : 0), top + RowHeight() - 3));
}

QSize THistoryChangeBars::sizeHint() const {
    if (bars_.empty()) {
        return QSize(0, 0);
    }
    const Columns c = Layout();
    return QSize(GroupLeft(static_cast<int>(bars_.size()), c) - 3 * kGap, 3 * RowHeight());
}

void THistoryChangeBars::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Columns c = Layout();
    const int row = RowHeight();
    painter.setPen(palette().color(QPalette::WindowText));
    for (int g = 0; g < static_cast<int>(bars_.size()); ++g) {
        const ChangeBars& b = bars_[g];
        const int left = GroupLeft(g, c);
        painter.drawText(QRect(left, 0, c.groupWidth, row), Qt::AlignLeft | Qt::AlignVCenter,
                         b.title);
        for (bool prices : {false, true}) {
            const int top = row * (prices ? 2 : 1);
            painter.drawText(QRect(left, top, c.labelWidth, row), Qt::AlignLeft | Qt::AlignVCenter,
                             prices ? kPrices : kUse);
            painter.drawText(
                QRect(left + c.groupWidth - c.valueWidth + kGap, top, c.valueWidth - kGap, row),
                Qt::AlignLeft | Qt::AlignVCenter,
                prices ? b.texts.pricesAmount : b.texts.useAmount);
            const double value = prices ? b.fromPrices : b.fromUse;
            painter.fillRect(BarRect(g, prices), value > 0 ? MoreColor() : LessColor());
        }
        // The zero line through both bars.
        painter.drawLine(QPointF(left + c.zero, row), QPointF(left + c.zero, 3 * row));
    }
}
