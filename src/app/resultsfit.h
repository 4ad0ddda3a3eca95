#pragma once
// Room for result texts wider than their designed places. The results group
// has rows of a caption, a right-aligned total and, in most rows, a
// left-aligned split label. Given the designed places and the widths the
// current texts need (measured by the view), this works out where each value
// label stands and how much wider the group must be. Pure: pixels in, pixels
// out, so the rule is tested without a screen.

#include <vector>

struct FitSpan {
    int left = 0;
    int width = 0;
    int Right() const { return left + width; }
    bool operator==(const FitSpan&) const = default;
};

struct ResultsRow {
    int captionEnd = 0;  // where the caption's text ends (0: no caption)
    FitSpan total;       // designed place of the total label
    int totalNeeded = 0; // width its text needs; 0 for an empty text
    bool hasSplit = false;
    FitSpan split; // designed place of the split label
    int splitNeeded = 0;
};

struct ResultsFit {
    // How far the total column's right edge, and with it the split column,
    // moves right so that a grown total never runs into its caption.
    int shift = 0;
    std::vector<FitSpan> totals; // one per row
    std::vector<FitSpan> splits; // one per row (unused where a row has none)
    // How much wider than `groupWidth` the group must be; 0 when every text
    // fits in its designed place.
    int extra = 0;
};

// A label keeps its designed place while its text fits. A wider total grows
// to the left (right-aligned, as a self-sizing label does) as far as `gap`
// pixels after its caption's text; beyond that the whole total column and the
// split column move right. A wider split label grows to the right. The group
// needs `margin` pixels after the rightmost non-empty value label.
ResultsFit FitResults(const std::vector<ResultsRow>& rows, int groupWidth, int gap, int margin);
