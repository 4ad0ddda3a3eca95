#pragma once
// The plan comparison as a printed page (app/view/printing.h): the plans, the
// table of the compared period, the cheapest line and the year at a glance,
// then, given the tariff presenter, the tariff plans ranked as the page shows
// them with each plan's breakdown; every text escaped.

#include "app/view/printing.h"

class TPlansPresenter;
class TTariffPresenter;

PrintPage ComparisonPage(const TPlansPresenter& presenter, const QImage& chart,
                         const TTariffPresenter* tariffs = nullptr);
