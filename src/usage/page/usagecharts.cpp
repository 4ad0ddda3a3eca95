#include "usage/page/usagecharts.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

const QColor kGeneral(0x3b, 0x6e, 0xc4);
const QColor kControlled(0xe0, 0x8a, 0x1e);
const QColor kExport(0x2e, 0x9e, 0x5b);
const QColor kWeekend(0xc2, 0x3b, 0x6e);

constexpr int kLeft = 64, kRight = 12, kTop = 12, kBottom = 40;

// A round step for about `ticks` lines over `span`.
double Step(double span, int ticks) {
    if (span <= 0) {
        return 1;
    }
    const double raw = span / ticks;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0}) {
        if (raw <= m * p) {
            return m * p;
        }
    }
    return 10 * p;
}

// Horizontal grid lines with their labels between `low` and `high`.
void ValueAxis(QPainter& p, const QRect& plot, double low, double high,
               const std::function<QString(double)>& text) {
    const double step = Step(high - low, 5);
    const auto y = [&](double v) {
        return plot.bottom() - (v - low) / (high - low) * plot.height();
    };
    for (double v = std::ceil(low / step) * step; v <= high + 1e-9; v += step) {
        const int yy = static_cast<int>(std::lround(y(v)));
        p.setPen(std::abs(v) < step / 2 ? Qt::black : QColor(0xdd, 0xdd, 0xdd));
        p.drawLine(plot.left(), yy, plot.right(), yy);
        p.setPen(Qt::black);
        p.drawText(QRect(0, yy - 10, kLeft - 6, 20), Qt::AlignRight | Qt::AlignVCenter,
                   text(std::abs(v) < step / 2 ? 0 : v));
    }
}

// The first, middle and last day under the plot.
void DayAxis(QPainter& p, const QRect& plot, int days, const std::function<QString(int)>& text) {
    if (days <= 0) {
        return;
    }
    p.setPen(Qt::black);
    const int y = plot.bottom() + 4;
    const auto x = [&](int d) { return plot.left() + (d + 0.5) * plot.width() / days; };
    p.drawText(QRect(plot.left(), y, 200, 20), Qt::AlignLeft, text(0));
    if (days > 2) {
        p.drawText(QRectF(x(days / 2) - 100, y, 200, 20), Qt::AlignHCenter, text(days / 2));
    }
    if (days > 1) {
        p.drawText(QRect(plot.right() - 200, y, 200, 20), Qt::AlignRight, text(days - 1));
    }
}

// Returns where the next item would go.
int Legend(QPainter& p, int x, int y, const QList<std::pair<QColor, QString>>& items) {
    for (const auto& [colour, text] : items) {
        p.fillRect(x, y + 4, 12, 12, colour);
        p.setPen(Qt::black);
        const int w = p.fontMetrics().horizontalAdvance(text);
        p.drawText(x + 16, y, w + 4, 20, Qt::AlignLeft | Qt::AlignVCenter, text);
        x += w + 36;
    }
    return x;
}

bool Empty(const UsageSummary* s) {
    return s == nullptr || s->Days() == 0 || s->figures.daysWithData == 0;
}

} // namespace

TUsageChart::TUsageChart(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 120);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void TUsageChart::Show(const UsageSummary* summary, UsageChartTexts texts) {
    summary_ = summary;
    texts_ = std::move(texts);
    update();
}

QRect TUsageChart::PlotRect() const {
    return rect().adjusted(kLeft, kTop + 20, -kRight, -kBottom);
}

void TDailyChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (Empty(summary_)) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("No meter data in this range."));
        return;
    }
    const QRect plot = PlotRect();
    double high = 0, low = 0;
    for (const auto& d : summary_->daily) {
        high = std::max(high, d[0] + d[1]);
        low = std::min(low, -d[2]);
    }
    if (high - low <= 0) {
        high = 1;
    }
    high += (high - low) * 0.05;
    const auto y = [&](double v) {
        return plot.bottom() - (v - low) / (high - low) * plot.height();
    };
    ValueAxis(p, plot, low, high, texts_.kwh);
    const int days = summary_->Days();
    const double w = static_cast<double>(plot.width()) / days;
    const double gap = w > 4 ? w * 0.15 : 0;
    for (int i = 0; i < days; ++i) {
        const auto& d = summary_->daily[static_cast<std::size_t>(i)];
        const double x = plot.left() + i * w + gap / 2;
        const double bw = std::max(1.0, w - gap);
        p.fillRect(QRectF(x, y(d[0]), bw, y(0) - y(d[0])), kGeneral);
        p.fillRect(QRectF(x, y(d[0] + d[1]), bw, y(d[0]) - y(d[0] + d[1])), kControlled);
        p.fillRect(QRectF(x, y(0), bw, y(-d[2]) - y(0)), kExport);
    }
    DayAxis(p, plot, days, texts_.day);
    Legend(p, plot.left(), 0,
           {{kGeneral, QStringLiteral("General")},
            {kControlled, QStringLiteral("Controlled load")},
            {kExport, QStringLiteral("Export")}});
}

THeatMap::THeatMap(QWidget* parent) : TUsageChart(parent) {
    setMouseTracking(true);
}

QColor THeatMap::Colour(float kwh, float importMax, float exportMax) {
    if (std::isnan(kwh)) {
        return QColor(0xee, 0xee, 0xee);
    }
    // Import from pale yellow through orange to dark red; export from pale to
    // deep green. The square root spreads the many small values.
    if (kwh >= 0) {
        const double t = importMax > 0 ? std::sqrt(std::min(1.0f, kwh / importMax)) : 0;
        return QColor::fromHsvF(static_cast<float>(0.16 - 0.16 * t),
                                static_cast<float>(0.1 + 0.9 * t),
                                static_cast<float>(1.0 - 0.45 * t));
    }
    const double t = exportMax > 0 ? std::sqrt(std::min(1.0f, -kwh / exportMax)) : 0;
    return QColor::fromHsvF(0.40f, static_cast<float>(0.15 + 0.85 * t),
                            static_cast<float>(0.95 - 0.45 * t));
}

QColor THeatMap::TypeColour(RateType type, double share) {
    double hue = 0.3; // a single rate: green
    switch (type) {
    case RateType::Peak:
        hue = 0.0; // red
        break;
    case RateType::Shoulder:
        hue = 0.09; // orange
        break;
    case RateType::Shoulder1:
        hue = 0.14; // amber
        break;
    case RateType::Shoulder2:
        hue = 0.8; // purple
        break;
    case RateType::OffPeak:
        hue = 0.6; // blue
        break;
    case RateType::SolarSponge:
        hue = 0.47; // teal
        break;
    case RateType::Single:
        break;
    }
    const double t = std::clamp(share, 0.0, 1.0);
    return QColor::fromHsvF(static_cast<float>(hue), static_cast<float>(0.3 + 0.7 * t),
                            static_cast<float>(1.0 - 0.5 * t));
}

void THeatMap::SetRateTypes(const std::vector<qint8>* types) {
    types_ = types;
    update();
}

QImage THeatMap::Picture(const UsageSummary& s, const std::vector<qint8>* types) {
    // The scale in 256 steps each way, worked out once rather than per cell.
    constexpr int steps = 256;
    std::array<QRgb, steps> warm{}, cool{};
    for (int i = 0; i < steps; ++i) {
        const float t = static_cast<float>(i) / (steps - 1);
        warm[static_cast<std::size_t>(i)] = Colour(t, 1, 1).rgb();
        cool[static_cast<std::size_t>(i)] = Colour(-t, 1, 1).rgb();
    }
    const QRgb none = Colour(std::numeric_limits<float>::quiet_NaN(), 1, 1).rgb();
    QImage image(std::max(1, s.Days()), kHalfHours, QImage::Format_RGB32);
    if (types && types->size() == s.grid.size()) {
        // Type as the hue, the size of the net use (either way) as the
        // lightness on the square-root scale of the use colours.
        constexpr int kTypes = static_cast<int>(RateType::SolarSponge) + 1;
        std::array<std::array<QRgb, steps>, kTypes> byType{};
        for (int type = 0; type < kTypes; ++type) {
            for (int i = 0; i < steps; ++i) {
                byType[static_cast<std::size_t>(type)][static_cast<std::size_t>(i)] =
                    TypeColour(static_cast<RateType>(type), std::sqrt(double(i) / (steps - 1)))
                        .rgb();
            }
        }
        const float highest = std::max(s.gridImportMax, s.gridExportMax);
        const float toStep = highest > 0 ? (steps - 1) / highest : 0;
        for (int slot = 0; slot < kHalfHours; ++slot) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(slot));
            for (int day = 0; day < s.Days(); ++day) {
                const float v = s.Cell(day, slot);
                const qint8 type = (*types)[static_cast<std::size_t>(day) * kHalfHours +
                                            static_cast<std::size_t>(slot)];
                line[day] = std::isnan(v) || type < 0 || type >= kTypes
                                ? none
                                : byType[static_cast<std::size_t>(type)][static_cast<std::size_t>(
                                      std::min(steps - 1.0f, std::abs(v) * toStep))];
            }
        }
        return image;
    }
    const float toImport = s.gridImportMax > 0 ? (steps - 1) / s.gridImportMax : 0;
    const float toExport = s.gridExportMax > 0 ? (steps - 1) / s.gridExportMax : 0;
    for (int slot = 0; slot < kHalfHours; ++slot) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(slot));
        for (int day = 0; day < s.Days(); ++day) {
            const float v = s.Cell(day, slot);
            line[day] = std::isnan(v) ? none
                        : v >= 0
                            ? warm[static_cast<std::size_t>(std::min(steps - 1.0f, v * toImport))]
                            : cool[static_cast<std::size_t>(std::min(steps - 1.0f, -v * toExport))];
        }
    }
    return image;
}

QRect THeatMap::LegendRect() const {
    const QRect plot = PlotRect();
    return QRect(plot.left(), 4, std::min(240, plot.width() / 2), 12);
}

void THeatMap::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (Empty(summary_)) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("No meter data in this range."));
        return;
    }
    const QRect plot = PlotRect();
    const bool byType = types_ && !types_->empty();
    p.drawImage(plot, Picture(*summary_, byType ? types_ : nullptr));
    p.setPen(Qt::black);
    for (int slot = 0; slot < kHalfHours; slot += 12) {
        const int y = plot.top() + slot * plot.height() / kHalfHours;
        p.drawText(QRect(0, y - 2, kLeft - 6, 20), Qt::AlignRight | Qt::AlignTop,
                   texts_.slot(slot));
    }
    DayAxis(p, plot, summary_->Days(), texts_.day);
    if (byType) {
        TypeLegend(p);
        return;
    }
    // The colour scale: export at the left, import at the right.
    const QRect legend = LegendRect();
    const float ex = summary_->gridExportMax, im = summary_->gridImportMax;
    for (int x = 0; x < legend.width(); ++x) {
        const double v = -ex + (ex + im) * x / std::max(1, legend.width() - 1);
        p.setPen(Colour(static_cast<float>(v), im, ex));
        p.drawLine(legend.left() + x, legend.top(), legend.left() + x, legend.bottom());
    }
    p.setPen(Qt::black);
    p.drawRect(legend);
    const QString low = ex > 0 ? texts_.kwh(-ex) : texts_.kwh(0);
    p.drawText(QRect(legend.right() + 6, 0, 400, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("%1 to %2 a half-hour (below 0: export)").arg(low, texts_.kwh(im)));
}

// The rate types the cells hold, in the order of the type list, then what
// the lightness means.
void THeatMap::TypeLegend(QPainter& p) const {
    QList<std::pair<QColor, QString>> items;
    for (int type = 0; type <= static_cast<int>(RateType::SolarSponge); ++type) {
        if (std::find(types_->begin(), types_->end(), type) != types_->end()) {
            items.append({TypeColour(static_cast<RateType>(type), 0.7),
                          RateTypeName(static_cast<RateType>(type))});
        }
    }
    const int x = Legend(p, PlotRect().left(), 0, items);
    p.drawText(QRect(x, 0, 400, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("(darker: more kWh in the half-hour)"));
}

std::optional<std::pair<int, int>> THeatMap::CellAt(QPoint pos) const {
    const QRect plot = PlotRect();
    if (Empty(summary_) || !plot.contains(pos)) {
        return std::nullopt;
    }
    const int day = (pos.x() - plot.left()) * summary_->Days() / plot.width();
    const int slot = (pos.y() - plot.top()) * kHalfHours / plot.height();
    return std::make_pair(std::clamp(day, 0, summary_->Days() - 1),
                          std::clamp(slot, 0, kHalfHours - 1));
}

bool THeatMap::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        if (const auto cell = CellAt(help->pos()); cell && texts_.cell) {
            QToolTip::showText(help->globalPos(), texts_.cell(cell->first, cell->second), this);
        } else {
            QToolTip::hideText();
            e->ignore();
        }
        return true;
    }
    return TUsageChart::event(e);
}

void TTypicalDay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (Empty(summary_)) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("No meter data in this range."));
        return;
    }
    p.setRenderHint(QPainter::Antialiasing);
    const QRect plot = PlotRect();
    double high = 0;
    for (int s = 0; s < kHalfHours; ++s) {
        high = std::max({high, summary_->weekday[static_cast<std::size_t>(s)],
                         summary_->weekend[static_cast<std::size_t>(s)]});
    }
    high = high > 0 ? high * 1.05 : 1;
    ValueAxis(p, plot, 0, high, texts_.kwh);
    const auto x = [&](int s) { return plot.left() + (s + 0.5) * plot.width() / kHalfHours; };
    const auto y = [&](double v) { return plot.bottom() - v / high * plot.height(); };
    for (const auto& [values, colour] : {std::make_pair(&summary_->weekday, kGeneral),
                                         std::make_pair(&summary_->weekend, kWeekend)}) {
        QPainterPath path;
        for (int s = 0; s < kHalfHours; ++s) {
            const QPointF pt(x(s), y((*values)[static_cast<std::size_t>(s)]));
            s == 0 ? path.moveTo(pt) : path.lineTo(pt);
        }
        p.setPen(QPen(colour, 2));
        p.drawPath(path);
    }
    p.setPen(Qt::black);
    for (int s = 0; s <= kHalfHours; s += 12) {
        const int xx = plot.left() + s * plot.width() / kHalfHours;
        const QRect box = s == kHalfHours ? QRect(xx - 80, plot.bottom() + 4, 80, 20)
                                          : QRect(xx - 40, plot.bottom() + 4, 80, 20);
        p.drawText(box, s == kHalfHours ? Qt::AlignRight : Qt::AlignHCenter,
                   texts_.slot(s % kHalfHours));
    }
    Legend(p, plot.left(), 0,
           {{kGeneral, QStringLiteral("Weekdays")}, {kWeekend, QStringLiteral("Weekends")}});
}
