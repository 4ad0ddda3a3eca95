#include "app/resultsgroup.h"
#include "app/tform1.h"

void TForm1::KeepResultsDesign() {
    results_ = std::make_unique<TResultsGroup>(
        resultsgb,
        std::vector<TResultsGroup::Row>{{Label22, dayslabel, nullptr},
                                        {Label30, exportedlabel, nullptr},
                                        {usedlab, used, usedwk},
                                        {dailyusedlab, dused, dusedwk},
                                        {Label14, dcost, dcostwk},
                                        {Label15, tdcost, tdcostwk},
                                        {Label32, exportedincome, nullptr},
                                        {Label8, fresult, fresultwk},
                                        {Label9, vresult, vresultwk},
                                        {Label13, tresult, tresultwk}},
        std::vector<TLabel*>{totlabel1, totlabel2, lightandpowerlabel1, lightandpowerlabel2,
                             hotwaterlabel1, hotwaterlabel2},
        [this](int delta) { WidenBy(delta); },
        // Left of the captions, between the exported row and the first headings.
        Label30, exportedlabel, totlabel1);
}

void TForm1::FitResultTexts() {
    results_->Fit(measureText);
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
