// Field changes, the key filter, the step buttons, the display modes and the
// status timer of the window model.
#include "app/inputrules.h"
#include "support/formfixture.h"

#include <gtest/gtest.h>

namespace {

void EnterStandardExample(TForm1& f) {
    f.dt1->SetDate(QDate(2024, 1, 1));
    f.dt2->UserSetDate(QDate(2024, 1, 31));
    f.Edit6->SetText("1000");
    f.Edit7->SetText("1300");
    f.Edit9->SetText("500");
    f.Edit10->SetText("560");
    f.generaldailyservicechargeed->SetText("1.00");
    f.generalrateed->SetText("0.25");
    f.hwdailyfixedchargeed->SetText("0.20");
    f.hwrateed->SetText("0.15");
}

} // namespace

TEST(NumericKey, OnlyDigitsTheSeparatorAndEditingControls) {
    for (char16_t c : {u'0', u'5', u'9', u'.', char16_t(3), char16_t(8), char16_t(22), char16_t(24),
                       char16_t(26)}) {
        EXPECT_TRUE(IsNumericKey(QChar(c))) << int(c);
    }
    for (char16_t c : {u'-', u'+', u',', u' ', u'a', u'E', char16_t(1), char16_t(9), char16_t(13),
                       char16_t(27), char16_t(0x00B2), char16_t(0x0660)}) {
        EXPECT_FALSE(IsNumericKey(QChar(c))) << int(c);
    }
    EXPECT_TRUE(IsNumericKey(QChar(','), QChar(',')));
    EXPECT_FALSE(IsNumericKey(QChar('.'), QChar(',')));
}

TEST(WholeNumber, DecimalHexAndTrimming) {
    EXPECT_EQ(ReadWholeNumber(" 41 "), 41);
    EXPECT_EQ(ReadWholeNumber("0041"), 41);
    EXPECT_EQ(ReadWholeNumber("\t-3\r\n"), -3);
    EXPECT_EQ(ReadWholeNumber("$1F"), 31);
    EXPECT_EQ(ReadWholeNumber("x1f"), 31);
    EXPECT_EQ(ReadWholeNumber("0X1F"), 31);
    EXPECT_EQ(ReadWholeNumber("2147483647"), 2147483647);
    EXPECT_EQ(ReadWholeNumber("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "41.5", "4a", "4 1", "2147483648", "-2147483649", "$", "0x", "1F",
                            "99999999999999999999", "+-1"}) {
        EXPECT_FALSE(ReadWholeNumber(bad).has_value()) << bad;
    }
}

TEST(Stepping, UpAndDownRules) {
    EXPECT_EQ(SteppedText("", StepDirection::Up), "1");
    EXPECT_FALSE(SteppedText("  ", StepDirection::Down).has_value());
    EXPECT_EQ(SteppedText("0", StepDirection::Down), "0");
    EXPECT_EQ(SteppedText("-3", StepDirection::Down), "-3");
    EXPECT_EQ(SteppedText("-3", StepDirection::Up), "-2");
    EXPECT_EQ(SteppedText(" 41 ", StepDirection::Up), "42");
    EXPECT_EQ(SteppedText("0041", StepDirection::Up), "42");
    EXPECT_EQ(SteppedText("$10", StepDirection::Down), "15");
    EXPECT_FALSE(SteppedText("41.5", StepDirection::Up).has_value());
    EXPECT_FALSE(SteppedText("4a", StepDirection::Up).has_value());
    EXPECT_FALSE(SteppedText("2147483647", StepDirection::Up).has_value());
    EXPECT_EQ(SteppedText("2147483647", StepDirection::Down), "2147483646");
}

TEST(StepButtons, StepTheirOwnFieldAndRecalculate) {
    FormFixture fx;
    TForm1& f = fx.Make();
    f.solarcb->SetChecked(true);
    f.dt2->UserSetDate(f.dt1->Date().addDays(10));
    f.exportlaterupdown->Click(TUDBtnType::btNext);
    EXPECT_EQ(f.exportlater->Text(), "1");
    EXPECT_EQ(f.exportedlabel->Caption(), "1") << "the step ran the calculation";
    f.importgenlaterupdown->Click(TUDBtnType::btPrev);
    EXPECT_EQ(f.importgenlatered->Text(), "");
    f.importhwlatered->SetText("41.5");
    f.importhwlaterupdown->Click(TUDBtnType::btNext);
    EXPECT_EQ(f.importhwlatered->Text(), "41.5");
    f.Edit7->SetText("9");
    f.edit7laterupdown->Click(TUDBtnType::btNext);
    EXPECT_EQ(f.Edit7->Text(), "10");
    f.Edit10->SetText("9");
    f.edit10laterupdown->Click(TUDBtnType::btPrev);
    EXPECT_EQ(f.Edit10->Text(), "8");
    // A click from anything else does nothing.
    f.exportlaterupdownClick(f.solarcb, TUDBtnType::btNext);
    EXPECT_EQ(f.exportlater->Text(), "1");
}

TEST(KeyFilter, DropsRejectedCharactersOfTheNineteenFields) {
    FormFixture fx;
    TForm1& f = fx.Make();
    for (TEdit* e :
         {f.Edit6, f.generalrateed, f.feedined, f.importhwlatered, f.voltsedit, f.ohmsedit}) {
        QChar minus('-'), digit('7');
        EXPECT_FALSE(e->KeyPress(minus)) << e->Name().toStdString();
        EXPECT_TRUE(minus.isNull());
        EXPECT_TRUE(e->KeyPress(digit));
        EXPECT_EQ(digit, QChar('7'));
    }
    QChar letter('a');
    EXPECT_TRUE(f.wattsedit->KeyPress(letter)) << "the usage fields have no filter";
    EXPECT_TRUE(f.hrsedit->KeyPress(letter));
}

TEST(PeriodForm, StandardWorkedExampleLabelForLabel) {
    FormFixture fx;
    TForm1& f = fx.Make();
    EnterStandardExample(f);
    EXPECT_EQ(f.dayslabel->Caption(), "30");
    EXPECT_EQ(f.usedwk->Caption(), "(300.0 + 60.0)");
    EXPECT_EQ(f.tdcostwk->Caption(), "($3.50 + $0.50)");
    EXPECT_EQ(f.tresult->Caption(), "$120.00");
    EXPECT_EQ(f.tresult->Font().Color, clWindowText);
    EXPECT_EQ(f.tresultwk->Caption(), "(($105.00 + $15.00) - $0.00)");
    EXPECT_EQ(f.exportedlabel->Caption(), "0.0");
    EXPECT_EQ(f.sb1->SimpleText(), "    Report file written to disk.");
    EXPECT_TRUE(f.Timer1->Enabled());
    f.Timer1->Tick();
    EXPECT_TRUE(f.sb1->SimpleText().isEmpty());
    EXPECT_FALSE(f.Timer1->Enabled());
}

TEST(PeriodForm, SolarNegativeTotalIsGreen) {
    FormFixture fx;
    TForm1& f = fx.Make();
    f.showhwcb->SetChecked(false);
    f.solarcb->SetChecked(true);
    f.dt2->UserSetDate(f.dt1->Date().addDays(10));
    f.exportoriged->SetText("0");
    f.exportlater->SetText("500");
    f.importgenoriged->SetText("200");
    f.importgenlatered->SetText("300");
    f.feedined->SetText("0.10");
    f.generaldailyservicechargeed->SetText("1.00");
    f.generalrateed->SetText("0.30");
    EXPECT_EQ(f.tresult->Caption(), "($10.00)");
    EXPECT_EQ(f.tresult->Font().Color, RGBColor(0, 128, 0));
    EXPECT_EQ(f.used->Caption(), "100");
    EXPECT_TRUE(f.usedwk->Caption().isEmpty());
    f.generalrateed->SetText("5");
    EXPECT_EQ(f.tresult->Font().Color, clWindowText);
}

TEST(PeriodForm, NoPositiveDayCountShowsTheCountAndKeepsOtherLabels) {
    FormFixture fx;
    TForm1& f = fx.Make();
    EnterStandardExample(f);
    f.Timer1->Tick();
    f.dt2->UserSetDate(f.dt1->Date());
    EXPECT_EQ(f.dayslabel->Caption(), "0");
    for (TLabel* l : {f.fresult, f.vresult, f.tresult, f.used, f.dused, f.dcost, f.tdcost}) {
        EXPECT_TRUE(l->Caption().isEmpty()) << l->Name().toStdString();
    }
    EXPECT_EQ(f.usedwk->Caption(), "(300.0 + 60.0)");
    EXPECT_EQ(f.exportedincome->Caption(), "$0.00");
    EXPECT_TRUE(f.sb1->SimpleText().isEmpty());
    EXPECT_FALSE(f.Timer1->Enabled());
    f.dt2->UserSetDate(f.dt1->Date().addDays(-3));
    EXPECT_EQ(f.dayslabel->Caption(), "-3");
}

TEST(PeriodForm, EmptyChargesAndPastedLettersCountAsZero) {
    FormFixture fx;
    TForm1& f = fx.Make();
    EnterStandardExample(f);
    for (TEdit* e :
         {f.generaldailyservicechargeed, f.generalrateed, f.hwdailyfixedchargeed, f.hwrateed}) {
        e->SetText("");
    }
    EXPECT_EQ(f.fresult->Caption(), "$0.00");
    EXPECT_EQ(f.tresult->Caption(), "$0.00");
    EXPECT_EQ(f.used->Caption(), "360.0");
    f.Edit6->SetText("abc");
    EXPECT_EQ(f.used->Caption(), "1360.0");
    f.Edit7->SetText("inf");
    f.Edit9->SetText("1e400");
    for (TLabel* l : {f.used, f.usedwk, f.dused, f.tresult, f.tresultwk}) {
        EXPECT_FALSE(l->Caption().contains("inf", Qt::CaseInsensitive)) << l->Name().toStdString();
        EXPECT_FALSE(l->Caption().contains("nan", Qt::CaseInsensitive)) << l->Name().toStdString();
    }
}

TEST(PeriodForm, NothingChangesWhileTheWindowIsNotVisible) {
    FormFixture fx;
    TForm1& f = fx.Make(false);
    f.dt2->UserSetDate(f.dt1->Date().addDays(5));
    f.Edit7->SetText("100");
    f.showhwcb->SetChecked(false);
    EXPECT_TRUE(f.dayslabel->Caption().isEmpty());
    EXPECT_TRUE(f.used->Caption().isEmpty());
    EXPECT_TRUE(f.sb1->SimpleText().isEmpty());
    EXPECT_FALSE(f.Timer1->Enabled());
}

TEST(DisplayModes, VisibilityForAllFourSwitchStates) {
    struct Case {
        bool s, h;
    };
    for (Case c : {Case{false, true}, Case{false, false}, Case{true, true}, Case{true, false}}) {
        FormFixture fx;
        TForm1& f = fx.Make();
        f.solarcb->SetChecked(c.s);
        f.showhwcb->SetChecked(c.h);
        const std::string state =
            std::string("S=") + (c.s ? "on" : "off") + " H=" + (c.h ? "on" : "off");
        EXPECT_TRUE(f.lightandpowersettingsgb->Visible()) << state;
        EXPECT_EQ(f.hotwatersettingsgb->Visible(), c.h) << state;
        EXPECT_EQ(f.feedingb->Visible(), c.s) << state;
        EXPECT_EQ(f.stadardlightandpowerreadingsgb->Visible(), !c.s) << state;
        EXPECT_EQ(f.standardhwreadingsgb->Visible(), c.h && !c.s) << state;
        EXPECT_EQ(f.solarexportreadingsgb->Visible(), c.s) << state;
        EXPECT_EQ(f.solarimportgeneralgb->Visible(), c.s) << state;
        EXPECT_EQ(f.solarimporthwreadingsgb->Visible(), c.s && c.h) << state;
        for (TLabel* l : {f.totlabel1, f.totlabel2, f.lightandpowerlabel1, f.lightandpowerlabel2,
                          f.hotwaterlabel1, f.hotwaterlabel2}) {
            EXPECT_EQ(l->Visible(), c.h) << state << " " << l->Name().toStdString();
        }
        EXPECT_EQ(f.typelabel->Caption(), c.s ? "Solar power" : "Standard power");
        EXPECT_EQ(f.usedlab->Caption(), c.s ? "Kw imported" : "Kw used:");
        EXPECT_EQ(f.dailyusedlab->Caption(), c.s ? "Daily kw imported:" : "Daily kw used:");
    }
}

TEST(DisplayModes, StandardGroupsTakePlacesOneAndTwo) {
    FormFixture fx;
    TForm1& f = fx.Make();
    EXPECT_EQ(f.stadardlightandpowerreadingsgb->Left(), f.solarexportreadingsgb->Left());
    EXPECT_EQ(f.stadardlightandpowerreadingsgb->Top(), f.solarexportreadingsgb->Top());
    EXPECT_EQ(f.standardhwreadingsgb->Left(), f.solarimportgeneralgb->Left());
    EXPECT_EQ(f.standardhwreadingsgb->Top(), f.solarimportgeneralgb->Top());
    f.solarcb->SetChecked(true);
    f.solarcb->SetChecked(false);
    EXPECT_EQ(f.standardhwreadingsgb->Top(), f.solarimportgeneralgb->Top());
    EXPECT_FALSE(f.feedingb->Visible());
}

TEST(DisplayModes, HidingHotWaterNarrowsBy200AndShowingRestoresExactly) {
    FormFixture fx;
    TForm1& f = fx.Make();
    EnterStandardExample(f);
    const int w = f.Width(), pw = f.pagecontrol1->Width(), rw = f.resultsgb->Width();
    f.showhwcb->SetChecked(false);
    EXPECT_TRUE(f.resultsnarrowed);
    EXPECT_EQ(f.Width(), w - 200);
    EXPECT_EQ(f.pagecontrol1->Width(), pw - 200);
    EXPECT_EQ(f.resultsgb->Width(), rw - 200);
    for (TLabel* l :
         {f.usedwk, f.dusedwk, f.dcostwk, f.tdcostwk, f.fresultwk, f.vresultwk, f.tresultwk}) {
        EXPECT_TRUE(l->Caption().isEmpty()) << l->Name().toStdString();
    }
    EXPECT_EQ(f.used->Caption(), "300.0") << "hot water no longer counts";
    f.showhwcb->SetChecked(true);
    EXPECT_FALSE(f.resultsnarrowed);
    EXPECT_EQ(f.Width(), w);
    EXPECT_EQ(f.pagecontrol1->Width(), pw);
    EXPECT_EQ(f.resultsgb->Width(), rw);
    EXPECT_EQ(f.usedwk->Caption(), "(300.0 + 60.0)");
    for (int i = 0; i < 3; ++i) {
        f.showhwcb->SetChecked(false);
        f.showhwcb->SetChecked(true);
    }
    EXPECT_EQ(f.Width(), w);
    EXPECT_EQ(f.resultsgb->Width(), rw);
}

TEST(StatusTimer, LaterRunsDoNotProlongTheMessage) {
    FormFixture fx;
    TForm1& f = fx.Make();
    EnterStandardExample(f);
    ASSERT_TRUE(f.Timer1->Enabled());
    f.Edit7->SetText("1301");
    EXPECT_EQ(f.sb1->SimpleText(), "    Report file written to disk.");
    f.Timer1->Tick();
    EXPECT_TRUE(f.sb1->SimpleText().isEmpty());
}

TEST(CommittedText, EachCharacterJudgedAsAKeyPress) {
    const auto numeric = [](QChar& c) { return IsNumericKey(c); };
    EXPECT_EQ(FilterCommittedText(QString::fromUtf8("１２ab-,"), numeric), "");
    EXPECT_EQ(FilterCommittedText("12.5", numeric), "12.5");
    EXPECT_EQ(FilterCommittedText(QString::fromUtf8("4𝟓2"), numeric), "42");
    EXPECT_EQ(FilterCommittedText(QString(QChar(0x16)) + "1" + QChar(3), numeric), "1");
    // A filter that replaces a character gets its replacement kept.
    const auto upper = [](QChar& c) {
        c = c.toUpper();
        return c != QChar('X');
    };
    EXPECT_EQ(FilterCommittedText("axb", upper), "AB");
    // A character beyond the BMP is kept or dropped whole, never halved.
    const auto all = [](QChar&) { return true; };
    EXPECT_EQ(FilterCommittedText(QString::fromUtf8("a𝟓b"), all), QString::fromUtf8("a𝟓b"));
}
