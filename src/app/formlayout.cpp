#include "app/resultsfit.h"
#include "app/tform1.h"

#include <array>
#include <cmath>

namespace {

// A row of the results group: caption, total label, split label (or none).
struct Row {
    TLabel* caption;
    TLabel* total;
    TLabel* split;
};

std::array<Row, 10> Rows(const TForm1& f) {
    return {{{f.Label22, f.dayslabel, nullptr},
             {f.Label30, f.exportedlabel, nullptr},
             {f.usedlab, f.used, f.usedwk},
             {f.dailyusedlab, f.dused, f.dusedwk},
             {f.Label14, f.dcost, f.dcostwk},
             {f.Label15, f.tdcost, f.tdcostwk},
             {f.Label32, f.exportedincome, nullptr},
             {f.Label8, f.fresult, f.fresultwk},
             {f.Label9, f.vresult, f.vresultwk},
             {f.Label13, f.tresult, f.tresultwk}}};
}

// The column headings move with their columns.
std::array<TLabel*, 6> Headings(const TForm1& f) {
    return {f.totlabel1,           f.totlabel2,      f.lightandpowerlabel1,
            f.lightandpowerlabel2, f.hotwaterlabel1, f.hotwaterlabel2};
}

FitSpan SpanOf(const TLabel* l) {
    return {l->Left(), l->Width()};
}

// Room left between a caption's text and the value beside it.
constexpr int kGap = 6;

} // namespace

void TForm1::KeepResultsDesign() {
    const auto rows = Rows(*this);
    int rightmost = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        resultsdesign_.totals[i] = SpanOf(rows[i].total);
        rightmost = std::max(rightmost, rows[i].total->Left() + rows[i].total->Width());
        if (rows[i].split) {
            resultsdesign_.splits[i] = SpanOf(rows[i].split);
            rightmost = std::max(rightmost, rows[i].split->Left() + rows[i].split->Width());
        }
    }
    const auto headings = Headings(*this);
    for (std::size_t i = 0; i < headings.size(); ++i) {
        resultsdesign_.headingLefts[i] = headings[i]->Left();
    }
    resultsdesign_.margin = resultsgb->Width() - rightmost;
}

void TForm1::FitResultTexts() {
    if (!measureText) {
        return;
    }
    auto needed = [this](const TLabel* l) { return l->Caption().isEmpty() ? 0 : measureText(l); };
    const auto rows = Rows(*this);
    std::vector<ResultsRow> in;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ResultsRow r;
        r.captionEnd = rows[i].caption->Left() + needed(rows[i].caption);
        r.total = resultsdesign_.totals[i];
        r.totalNeeded = needed(rows[i].total);
        r.hasSplit = rows[i].split != nullptr;
        r.split = resultsdesign_.splits[i];
        r.splitNeeded = r.hasSplit ? needed(rows[i].split) : 0;
        in.push_back(r);
    }
    const ResultsFit fit =
        FitResults(in, resultsgb->Width() - resultsextra_, kGap, resultsdesign_.margin);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        TLabel* total = rows[i].total;
        total->SetBounds(fit.totals[i].left, total->Top(), fit.totals[i].width, total->Height());
        if (TLabel* split = rows[i].split) {
            split->SetBounds(fit.splits[i].left, split->Top(), fit.splits[i].width,
                             split->Height());
        }
    }
    const auto headings = Headings(*this);
    for (std::size_t i = 0; i < headings.size(); ++i) {
        headings[i]->SetLeft(resultsdesign_.headingLefts[i] + fit.shift);
    }
    WidenBy(fit.extra - resultsextra_);
    resultsextra_ = fit.extra;
}

void TForm1::WidenBy(int delta) {
    if (delta == 0) {
        return;
    }
    SetWidth(Width() + delta);
    pagecontrol1->SetWidth(pagecontrol1->Width() + delta);
    resultsgb->SetWidth(resultsgb->Width() + delta);
    csvloadbtn->SetLeft(csvloadbtn->Left() + delta);
}
