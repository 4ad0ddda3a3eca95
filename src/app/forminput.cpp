#include "app/inputrules.h"
#include "app/resultsgroup.h"
#include "app/tform1.h"

#include "mylib/numbers.h"

#include <tuple>

void TForm1::Edit6Change(TComponent*) {
    if (Visible()) {
        CalcAll();
    }
}

void TForm1::dt1Change(TComponent*) {
    CalcAll();
}

void TForm1::Edit6KeyPress(TComponent*, QChar& Key) {
    if (!IsNumericKey(Key, DecimalSeparator(Locales().numbers))) {
        Key = QChar();
    }
}

void TForm1::exportlaterupdownClick(TComponent* Sender, TUDBtnType Button) {
    TEdit* field = nullptr;
    if (Sender == exportlaterupdown) {
        field = exportlater;
    } else if (Sender == importgenlaterupdown) {
        field = importgenlatered;
    } else if (Sender == importhwlaterupdown) {
        field = importhwlatered;
    } else if (Sender == edit7laterupdown) {
        field = Edit7;
    } else if (Sender == edit10laterupdown) {
        field = Edit10;
    } else {
        return;
    }
    const auto text = SteppedText(
        field->Text(), Button == TUDBtnType::btNext ? StepDirection::Up : StepDirection::Down);
    if (text) {
        field->SetText(*text);
    }
}

void TForm1::solarcbClick(TComponent*) {
    ShowPowerKind();
    if (Visible()) {
        CalcAll();
    }
}

void TForm1::ShowPowerKind() {
    const bool s = solarcb->Checked();
    const bool h = showhwcb->Checked();
    ShowUsageCaptions(s);
    if (s) {
        typelabel->SetCaption(QStringLiteral("Solar power"));
    } else {
        typelabel->SetCaption(QStringLiteral("Standard power"));
        stadardlightandpowerreadingsgb->SetLeft(solarexportreadingsgb->Left());
        stadardlightandpowerreadingsgb->SetTop(solarexportreadingsgb->Top());
        standardhwreadingsgb->SetLeft(solarimportgeneralgb->Left());
        standardhwreadingsgb->SetTop(solarimportgeneralgb->Top());
    }
    stadardlightandpowerreadingsgb->SetVisible(!s);
    standardhwreadingsgb->SetVisible(!s && h);
    solarexportreadingsgb->SetVisible(s);
    solarimportgeneralgb->SetVisible(s);
    solarimporthwreadingsgb->SetVisible(s && h);
    feedingb->SetVisible(s);
}

// The two usage captions say "imported" in solar mode, and so do the names a
// screen reader gives their rows.
void TForm1::ShowUsageCaptions(bool solar) {
    const QString usage = solar ? QStringLiteral("Kw imported") : QStringLiteral("Kw used");
    const QString daily =
        solar ? QStringLiteral("Daily kw imported") : QStringLiteral("Daily kw used");
    usedlab->SetCaption(solar ? usage : usage + QLatin1Char(':'));
    dailyusedlab->SetCaption(daily + QLatin1Char(':'));
    const QString split = QStringLiteral(", light and power plus hot water");
    for (const auto& [label, value, shares, name] :
         {std::tuple{usedlab, this->used, usedwk, usage},
          std::tuple{dailyusedlab, dused, dusedwk, daily}}) {
        label->AccessibleName = name;
        value->AccessibleName = name;
        shares->AccessibleName = name + split;
    }
}

std::array<TLabel*, 7> TForm1::SplitLabels() const {
    return {usedwk, dusedwk, dcostwk, tdcostwk, fresultwk, vresultwk, tresultwk};
}

void TForm1::showhwcbClick(TComponent*) {
    const bool s = solarcb->Checked();
    const bool h = showhwcb->Checked();
    hotwatersettingsgb->SetVisible(h);
    standardhwreadingsgb->SetVisible(h && !s);
    solarimporthwreadingsgb->SetVisible(h && s);
    for (TLabel* l : {lightandpowerlabel1, lightandpowerlabel2, hotwaterlabel1, hotwaterlabel2,
                      totlabel1, totlabel2}) {
        l->SetVisible(h);
    }
    if (h && resultsnarrowed) {
        results_->WidenForShownColumn();
        resultsnarrowed = false;
    } else {
        results_->NarrowForHiddenColumn(platform_.screen.DevicePixelRatio());
        for (TLabel* l : SplitLabels()) {
            l->SetCaption(QString());
        }
        resultsnarrowed = true;
    }
    // The emptied split texts may need less room; CalcAll refits when it runs.
    FitResultTexts();
    CalcAll();
}

void TForm1::Timer1Timer(TComponent*) {
    Timer1->SetEnabled(false);
    sb1->SetSimpleText(QString());
}
