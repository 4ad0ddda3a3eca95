#include "app/resultsgroup.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

FitSpan SpanOf(const TLabel* l) {
    return {l->Left(), l->Width()};
}

// Room left between a caption's text and the value beside it.
constexpr int kGap = 6;

// The model's widths are in the view's logical pixels, of which each covers
// `devicePixelRatio` screen pixels.
int NarrowingInViewPixels(double devicePixelRatio) {
    constexpr double screenPixels = 200.0;
    return static_cast<int>(
        std::lround(screenPixels / (devicePixelRatio > 0 ? devicePixelRatio : 1.0)));
}

} // namespace

TResultsGroup::TResultsGroup(TGroupBox* group, std::vector<Row> rows, std::vector<TLabel*> headings,
                             std::function<void(int)> widen, const TLabel* probeLeft,
                             const TLabel* probeAbove, const TLabel* probeBelow)
    : group_(group), rows_(std::move(rows)), headings_(std::move(headings)),
      widen_(std::move(widen)), probeLeft_(probeLeft), probeAbove_(probeAbove),
      probeBelow_(probeBelow) {
    int rightmost = 0;
    for (const Row& row : rows_) {
        totals_.push_back(SpanOf(row.total));
        rightmost = std::max(rightmost, row.total->Left() + row.total->Width());
        splits_.push_back(row.split ? SpanOf(row.split) : FitSpan{});
        if (row.split) {
            rightmost = std::max(rightmost, row.split->Left() + row.split->Width());
        }
    }
    for (const TLabel* heading : headings_) {
        headingLefts_.push_back(heading->Left());
    }
    margin_ = group_->Width() - rightmost;
}

void TResultsGroup::Fit(const Measure& measure) {
    if (!measure) {
        return;
    }
    auto needed = [&measure](const TLabel* l) { return l->Caption().isEmpty() ? 0 : measure(l); };
    std::vector<ResultsRow> in;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        ResultsRow r;
        r.captionEnd = row.caption->Left() + needed(row.caption);
        r.total = totals_[i];
        r.totalNeeded = needed(row.total);
        r.hasSplit = row.split != nullptr;
        r.split = splits_[i];
        r.splitNeeded = r.hasSplit ? needed(row.split) : 0;
        in.push_back(r);
    }
    const ResultsFit fit = FitResults(in, group_->Width() - extra_, kGap, margin_);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        TLabel* total = rows_[i].total;
        total->SetBounds(fit.totals[i].left, total->Top(), fit.totals[i].width, total->Height());
        if (TLabel* split = rows_[i].split) {
            split->SetBounds(fit.splits[i].left, split->Top(), fit.splits[i].width,
                             split->Height());
        }
    }
    for (std::size_t i = 0; i < headings_.size(); ++i) {
        headings_[i]->SetLeft(headingLefts_[i] + fit.shift);
    }
    if (fit.extra != extra_) {
        widen_(fit.extra - extra_);
    }
    extra_ = fit.extra;
}

void TResultsGroup::NarrowForHiddenColumn(double devicePixelRatio) {
    narrowedBy_ = NarrowingInViewPixels(devicePixelRatio);
    if (narrowedBy_ != 0) {
        widen_(-narrowedBy_);
    }
}

void TResultsGroup::WidenForShownColumn() {
    if (narrowedBy_ != 0) {
        widen_(narrowedBy_);
    }
}

QPoint TResultsGroup::BackgroundProbe() const {
    const int y = (probeAbove_->Top() + probeAbove_->Height() + probeBelow_->Top()) / 2;
    return {probeLeft_->Left() / 2, y};
}
