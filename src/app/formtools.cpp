#include "app/tform1.h"

#include "mylib/money.h"
#include "mylib/numbers.h"
#include "tools/usagecost.h"

void TForm1::CalcUsage() {
    const UsageTexts t = UsageLabelTexts(generalrateed->Text(), wattsedit->Text(), hrsedit->Text(),
                                         DecimalSeparator(QLocale()));
    resultlabel->SetCaption(QString());
    kwhlabel->SetCaption(QString());
    perweeklabel->SetCaption(QString());
    peryearlabel->SetCaption(QString());
    if (!t.valid) {
        return;
    }
    resultlabel->SetCaption(t.result);
    kwhlabel->SetCaption(t.kwh);
    perweeklabel->SetCaption(t.perWeek);
    peryearlabel->SetCaption(t.perYear);
}

void TForm1::wattseditChange(TComponent*) {
    CalcUsage();
}

// The converter's handlers arrive with the converter.
void TForm1::SpeedButton1Click(TComponent*) {}
void TForm1::SpeedButton2Click(TComponent*) {}
void TForm1::SpeedButton3Click(TComponent*) {}
void TForm1::SpeedButton5Click(TComponent*) {}
void TForm1::calculatebuttonClick(TComponent*) {}
void TForm1::resetbuttonClick(TComponent*) {}
void TForm1::ohmsenablecbClick(TComponent*) {}
