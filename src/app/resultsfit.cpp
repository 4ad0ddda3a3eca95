#include "app/resultsfit.h"

#include <algorithm>

ResultsFit FitResults(const std::vector<ResultsRow>& rows, int groupWidth, int gap, int margin) {
    ResultsFit fit;
    for (const ResultsRow& row : rows) {
        if (row.totalNeeded > row.total.width && row.captionEnd > 0) {
            const int grownLeft = row.total.Right() - row.totalNeeded;
            fit.shift = std::max(fit.shift, row.captionEnd + gap - grownLeft);
        }
    }
    int rightmost = 0;
    for (const ResultsRow& row : rows) {
        FitSpan total;
        total.width = std::max(row.total.width, row.totalNeeded);
        total.left = row.total.Right() + fit.shift - total.width;
        fit.totals.push_back(total);
        if (row.totalNeeded > 0) {
            rightmost = std::max(rightmost, total.Right());
        }
        FitSpan split;
        if (row.hasSplit) {
            split.left = row.split.left + fit.shift;
            split.width = std::max(row.split.width, row.splitNeeded);
            if (row.splitNeeded > 0) {
                rightmost = std::max(rightmost, split.left + row.splitNeeded);
            }
        }
        fit.splits.push_back(split);
    }
    fit.extra = std::max(0, rightmost + margin - groupWidth);
    return fit;
}
