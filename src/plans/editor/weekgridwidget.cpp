#include "plans/editor/weekgridwidget.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int kCell = 12, kRow = 16, kLeft = 34, kTop = 16, kLegend = 22;

} // namespace

WeekGridWidget::WeekGridWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("weekgrid"));
    setAccessibleName(QStringLiteral("Week of rates"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void WeekGridWidget::SetGrid(const WeekGrid& grid, const QList<RateType>& types) {
    grid_.emplace(grid);
    types_ = types;
    setAccessibleDescription(grid.Fault());
    update();
}

QSize WeekGridWidget::sizeHint() const {
    return {kLeft + WeekGrid::kSlots * kCell + 16, kTop + WeekGrid::kDays * kRow + kLegend + 4};
}

QColor WeekGridWidget::TypeColour(RateType type) {
    switch (type) {
    case RateType::Peak:
        return {0xd9, 0x53, 0x3b};
    case RateType::OffPeak:
        return {0x4a, 0x90, 0xc8};
    case RateType::Shoulder:
        return {0xf2, 0xb7, 0x05};
    case RateType::Shoulder1:
        return {0xe8, 0x8a, 0x1a};
    case RateType::Shoulder2:
        return {0xb5, 0xc9, 0x3a};
    case RateType::SolarSponge:
        return {0x5c, 0xb8, 0x5c};
    case RateType::Single:
        break;
    }
    return {0x9e, 0x9e, 0x9e};
}

QRect WeekGridWidget::CellRect(int day, int slot) const {
    return {kLeft + slot * kCell, kTop + day * kRow, kCell, kRow};
}

void WeekGridWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette pal = palette();
    p.setPen(pal.color(QPalette::WindowText));
    for (int h = 0; h <= 24; h += 3) {
        const int x = kLeft + h * 2 * kCell;
        p.drawText(QRect(x - 14, 0, 28, kTop), Qt::AlignCenter, QString::number(h));
    }
    for (int d = 0; d < WeekGrid::kDays; ++d) {
        p.drawText(QRect(0, kTop + d * kRow, kLeft - 4, kRow), Qt::AlignRight | Qt::AlignVCenter,
                   WeekdayName(d).left(3));
    }
    if (!grid_) {
        return;
    }
    bool gaps = false, overlaps = false;
    for (int d = 0; d < WeekGrid::kDays; ++d) {
        for (int s = 0; s < WeekGrid::kSlots; ++s) {
            const WeekGridCell& cell = grid_->Cell(d, s);
            const QRect r = CellRect(d, s);
            const int n = static_cast<int>(cell.rates.size());
            p.fillRect(r, pal.color(QPalette::Base));
            for (int i = 0; i < n; ++i) {
                const int top = r.top() + i * r.height() / n;
                const int bottom = r.top() + (i + 1) * r.height() / n;
                p.fillRect(QRect(r.left(), top, r.width(), bottom - top),
                           TypeColour(types_.value(cell.rates[i], RateType::Single)));
            }
            if (cell.state == WeekGridCell::State::Gap) {
                gaps = true;
                p.fillRect(r, QBrush(QColor(0x60, 0x60, 0x60), Qt::BDiagPattern));
            } else if (cell.state == WeekGridCell::State::Overlap) {
                overlaps = true;
                p.fillRect(r, QBrush(QColor(0xc0, 0x00, 0x00), Qt::DiagCrossPattern));
            }
        }
    }
    p.setPen(pal.color(QPalette::Mid));
    for (int s = 0; s <= WeekGrid::kSlots; s += 2) {
        const int x = kLeft + s * kCell;
        p.drawLine(x, kTop, x, kTop + WeekGrid::kDays * kRow);
    }
    for (int d = 0; d <= WeekGrid::kDays; ++d) {
        p.drawLine(kLeft, kTop + d * kRow, kLeft + WeekGrid::kSlots * kCell, kTop + d * kRow);
    }
    // The legend: each type shown, then gaps and overlaps when there are any.
    int x = kLeft;
    const int y = kTop + WeekGrid::kDays * kRow + 6;
    auto swatch = [&](const QBrush& brush, const QString& text) {
        p.fillRect(QRect(x, y + 2, 12, 12), pal.color(QPalette::Base));
        p.fillRect(QRect(x, y + 2, 12, 12), brush);
        p.setPen(pal.color(QPalette::WindowText));
        const int w = p.fontMetrics().horizontalAdvance(text);
        p.drawText(QRect(x + 16, y, w + 2, 16), Qt::AlignLeft | Qt::AlignVCenter, text);
        x += 16 + w + 14;
    };
    QList<RateType> shown;
    for (const RateType t : types_) {
        if (!shown.contains(t)) {
            shown.append(t);
            swatch(TypeColour(t), RateTypeName(t));
        }
    }
    if (gaps) {
        swatch(QBrush(QColor(0x60, 0x60, 0x60), Qt::BDiagPattern), QStringLiteral("No rate"));
    }
    if (overlaps) {
        swatch(QBrush(QColor(0xc0, 0x00, 0x00), Qt::DiagCrossPattern), QStringLiteral("Overlap"));
    }
}

bool WeekGridWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && grid_) {
        const QPoint at = static_cast<QHelpEvent*>(event)->pos();
        const int slot = (at.x() - kLeft) / kCell, day = (at.y() - kTop) / kRow;
        if (at.x() >= kLeft && at.y() >= kTop && slot < WeekGrid::kSlots && day < WeekGrid::kDays) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                               grid_->CellText(day, slot), this, CellRect(day, slot));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}
