#pragma once
// The plan comparison as a printed page (app/view/printing.h): the plans, the
// table of the compared period, the cheapest line and the year at a glance,
// every text escaped.

#include "app/view/printing.h"

class TPlansPresenter;

PrintPage ComparisonPage(const TPlansPresenter& presenter, const QImage& chart);
