#pragma once
// The results group as one component of the window model: its rows (a
// caption, a right-aligned total, in most rows a left-aligned split label),
// the column headings that move with their columns, where each was designed,
// and the fitting of wider texts (FitResults) that moves them and widens the
// window. The view binds it once (app/view/resultsbinding) for its opaque
// background.

#include "app/resultsfit.h"
#include "elements/controls.h"

#include <QPoint>
#include <functional>
#include <vector>

class TResultsGroup {
public:
    struct Row {
        TLabel* caption;
        TLabel* total;
        TLabel* split; // null: the row has none
    };
    // The width a label's caption needs, in the view's pixels.
    using Measure = std::function<int(const TLabel*)>;
    // Keeps the designed places of the elements as they are now. `widen`
    // widens the window around the group by its argument (narrows when
    // negative); `probeLeft`, `probeAbove` and `probeBelow` mark a spot of
    // bare group background (see BackgroundProbe).
    TResultsGroup(TGroupBox* group, std::vector<Row> rows, std::vector<TLabel*> headings,
                  std::function<void(int)> widen, const TLabel* probeLeft, const TLabel* probeAbove,
                  const TLabel* probeBelow);

    TGroupBox* Group() const { return group_; }
    // Whether a change of `c`'s place can change what the group covers.
    bool Holds(const TControl* c) const { return c == group_ || c->Parent() == group_; }
    // Gives every text its room: value labels grow, and the group and the
    // window with them, back to the designed places when the texts fit again.
    // Without `measure` every text counts as fitting.
    void Fit(const Measure& measure);
    // Hiding the hot-water column takes 200 screen pixels off the group and
    // the window around it, the same at every `devicePixelRatio`.
    void NarrowForHiddenColumn(double devicePixelRatio);
    // Gives back exactly what the last narrowing took, even if the pixel
    // density changed since.
    void WidenForShownColumn();
    // A spot, in the group's coordinates, where only its background shows:
    // left of the captions, between two rows.
    QPoint BackgroundProbe() const;

private:
    TGroupBox* group_;
    std::vector<Row> rows_;
    std::vector<TLabel*> headings_;
    std::function<void(int)> widen_;
    const TLabel *probeLeft_, *probeAbove_, *probeBelow_;
    std::vector<FitSpan> totals_, splits_;
    std::vector<int> headingLefts_;
    int margin_ = 0;     // the group's room right of its rightmost value label
    int extra_ = 0;      // how much the texts widened the window
    int narrowedBy_ = 0; // what hiding the hot-water column took off
};
