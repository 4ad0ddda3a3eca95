#pragma once
// The week grid painted: 7 rows of days by 48 half-hours, each half-hour in
// its rate type's colour (split when rates share it), a gap hatched grey and
// an overlap hatched red, a legend below; hovering a half-hour tells what it
// holds (WeekGrid::CellText).

#include "tariff/weekgrid.h"

#include <QWidget>

#include <optional>

class WeekGridWidget : public QWidget {
public:
    explicit WeekGridWidget(QWidget* parent = nullptr);

    // `types`: the type of each rate of the grid, for its colour.
    void SetGrid(const WeekGrid& grid, const QList<RateType>& types);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static QColor TypeColour(RateType type);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect CellRect(int day, int slot) const;

    std::optional<WeekGrid> grid_;
    QList<RateType> types_;
};
