#include "app/tform1.h"

#include "calc/periodcalc.h"
#include "mylib/dates.h"
#include "mylib/money.h"

namespace {
constexpr TColor clGreen = RGBColor(0, 128, 0);
}

void TForm1::CalcAll() {
    if (!Visible()) {
        return;
    }
    CalcUsage();
    ReportOpen();
    for (TLabel* l : {fresult, vresult, tresult, used, dused, dcost, tdcost, dayslabel}) {
        l->SetCaption(QString());
    }
    sb1->SetSimpleText(QString());
    ReportReadings();

    const qint64 days = RoundedDifference(dt2->Date(), dt1->Date());
    if (days <= 0) {
        dayslabel->SetCaption(QString::number(days));
        ReportClose();
        FitResultTexts();
        return;
    }
    ReportDays(days);

    const PeriodInputs in = ReadPeriodInputs();
    const TLocales locales = Locales();
    const PeriodFigures f = ComputePeriod(days, in, locales.numbers);
    const PeriodLabels t = PeriodLabelTexts(f, in.solar, in.showHotWater, locales.numbers,
                                            locales.money, MoneyDecimals());

    dayslabel->SetCaption(t.dayslabel);
    exportedlabel->SetCaption(t.exportedlabel);
    exportedincome->SetCaption(t.exportedincome);
    used->SetCaption(t.used);
    usedwk->SetCaption(t.usedwk);
    dused->SetCaption(t.dused);
    dusedwk->SetCaption(t.dusedwk);
    dcost->SetCaption(t.dcost);
    dcostwk->SetCaption(t.dcostwk);
    tdcost->SetCaption(t.tdcost);
    tdcostwk->SetCaption(t.tdcostwk);
    fresult->SetCaption(t.fresult);
    fresultwk->SetCaption(t.fresultwk);
    vresult->SetCaption(t.vresult);
    vresultwk->SetCaption(t.vresultwk);
    TFont font = tresult->Font();
    font.Color = t.totalNegative ? clGreen : clWindowText;
    tresult->SetFont(font);
    tresult->SetCaption(t.tresult);
    tresultwk->SetCaption(t.tresultwk);
    FitResultTexts();

    const bool written = ReportResults();
    if (Visible()) {
        sb1->SetSimpleText(written ? QStringLiteral("    Report file written to disk.")
                                   : QStringLiteral("    Report file could not be written."));
        Timer1->SetEnabled(true);
    }
}

PeriodInputs TForm1::ReadPeriodInputs() const {
    PeriodInputs in;
    in.solar = solarcb->Checked();
    in.showHotWater = showhwcb->Checked();
    in.hwDailyCharge = hwdailyfixedchargeed->Text();
    in.generalDailyCharge = generaldailyservicechargeed->Text();
    in.generalRate = generalrateed->Text();
    in.hwRate = hwrateed->Text();
    in.generalBefore = Edit6->Text();
    in.generalAfter = Edit7->Text();
    in.hotWaterBefore = Edit9->Text();
    in.hotWaterAfter = Edit10->Text();
    in.feedIn = feedined->Text();
    in.exportBefore = exportoriged->Text();
    in.exportAfter = exportlater->Text();
    in.importGeneralBefore = importgenoriged->Text();
    in.importGeneralAfter = importgenlatered->Text();
    in.importHwBefore = importhworiged->Text();
    in.importHwAfter = importhwlatered->Text();
    return in;
}
