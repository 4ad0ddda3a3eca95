// Room for wide result texts: the pure fitting rule, and the window model
// applying it with a measure of its own.
#include "app/resultsfit.h"
#include "support/formfixture.h"

#include <gtest/gtest.h>

namespace {

// A results group 400 wide: captions from 10, totals ending at 200 (100
// wide), splits from 210 (180 wide), so 10 pixels to spare on the right.
ResultsRow Row(int captionText, int total, int split = -1) {
    ResultsRow r;
    r.captionEnd = 10 + captionText;
    r.total = {100, 100};
    r.totalNeeded = total;
    r.hasSplit = split >= 0;
    r.split = {210, 180};
    r.splitNeeded = split < 0 ? 0 : split;
    return r;
}

} // namespace

TEST(FitResults, TextsThatFitKeepTheirDesignedPlaces) {
    const ResultsFit fit = FitResults({Row(80, 60, 150), Row(40, 100), Row(80, 0, 0)}, 400, 6, 10);
    EXPECT_EQ(fit.shift, 0);
    EXPECT_EQ(fit.extra, 0);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(fit.totals[i], (FitSpan{100, 100})) << i;
    }
    EXPECT_EQ(fit.splits[0], (FitSpan{210, 180}));
}

TEST(FitResults, AWideTotalGrowsLeftUpToItsCaption) {
    // 140 needed: it grows left to 60, clear of a caption ending at 50.
    ResultsFit fit = FitResults({Row(40, 140, 100)}, 400, 6, 10);
    EXPECT_EQ(fit.shift, 0);
    EXPECT_EQ(fit.totals[0], (FitSpan{60, 140}));
    EXPECT_EQ(fit.extra, 0);
    // A caption ending at 90 leaves room to 96: both columns move right by 36.
    fit = FitResults({Row(80, 140, 100), Row(10, 50, 20)}, 400, 6, 10);
    EXPECT_EQ(fit.shift, 36);
    EXPECT_EQ(fit.totals[0], (FitSpan{96, 140}));
    EXPECT_EQ(fit.totals[1], (FitSpan{136, 100}));
    EXPECT_EQ(fit.splits[1], (FitSpan{246, 180}));
    // The split texts end at 246 + 100 and 246 + 20: no extra width yet.
    EXPECT_EQ(fit.extra, 0);
    // With the split column cut off (hot water hidden, group 210 wide, splits
    // empty), the shifted totals need 236 + 10.
    fit = FitResults({Row(80, 140, 0), Row(10, 50, 0)}, 210, 6, 10);
    EXPECT_EQ(fit.extra, 36);
}

TEST(FitResults, AWideSplitGrowsRightAndTheGroupWithIt) {
    const ResultsFit fit = FitResults({Row(40, 60, 250), Row(40, 60, 300)}, 400, 6, 10);
    EXPECT_EQ(fit.shift, 0);
    EXPECT_EQ(fit.splits[0], (FitSpan{210, 250}));
    EXPECT_EQ(fit.splits[1], (FitSpan{210, 300}));
    EXPECT_EQ(fit.extra, 210 + 300 + 10 - 400) << "the widest text sets the width";
}

TEST(ResultsRoomModel, TheModelGrowsWithItsMeasureAndComesBack) {
    FormFixture fx;
    TForm1& f = fx.Make();
    const int window = f.Width();
    const int group = f.resultsgb->Width();
    const int pages = f.pagecontrol1->Width();
    const int csv = f.csvloadbtn->Left();
    const int splitWidth = f.tresultwk->Width();
    // Ten pixels a character: "((...) - ...)" of the worked example is far
    // wider than its place.
    f.measureText = [](const TLabel* l) { return static_cast<int>(l->Caption().size()) * 10; };
    f.Edit7->SetText("1300");
    f.Edit6->SetText("1000");
    f.dt2->UserSetDate(f.dt1->Date().addDays(30));
    const int needed = static_cast<int>(f.tresultwk->Caption().size()) * 10;
    ASSERT_GT(needed, splitWidth);
    EXPECT_EQ(f.tresultwk->Width(), needed);
    const int extra = f.Width() - window;
    EXPECT_GT(extra, 0);
    EXPECT_EQ(f.resultsgb->Width() - group, extra);
    EXPECT_EQ(f.pagecontrol1->Width() - pages, extra);
    EXPECT_EQ(f.csvloadbtn->Left() - csv, extra);
    EXPECT_LE(f.tresultwk->Left() + needed, f.resultsgb->Width());

    f.measureText = [](const TLabel*) { return 1; };
    f.Edit7->SetText("1301");
    EXPECT_EQ(f.Width(), window);
    EXPECT_EQ(f.resultsgb->Width(), group);
    EXPECT_EQ(f.csvloadbtn->Left(), csv);
    EXPECT_EQ(f.tresultwk->Width(), splitWidth);
}

TEST(ResultsRoomModel, HidingHotWaterTakesTwoHundredScreenPixels) {
    FormFixture fx;
    fx.screen.ratio = 2.0;
    TForm1& f = fx.Make();
    const int window = f.Width();
    const int group = f.resultsgb->Width();
    const int csv = f.csvloadbtn->Left();
    f.showhwcb->SetChecked(false);
    EXPECT_EQ(window - f.Width(), 100) << "100 view pixels are 200 screen pixels";
    EXPECT_EQ(f.csvloadbtn->Left(), csv - 100);
    // Moved to a screen of another density meanwhile: showing gives back
    // exactly what hiding took.
    fx.screen.ratio = 1.0;
    f.showhwcb->SetChecked(true);
    EXPECT_EQ(f.Width(), window);
    f.showhwcb->SetChecked(false);
    EXPECT_EQ(window - f.Width(), 200);
    EXPECT_EQ(group - f.resultsgb->Width(), 200);
}
