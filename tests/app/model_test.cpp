// The window model's event rules, which every handler relies on.
#include "elements/controls.h"
#include "support/formfixture.h"

#include <gtest/gtest.h>

TEST(EventRules, ProgramSetTextFiresChangeOnlyWhenItDiffers) {
    TForm owner("owner");
    TEdit edit(&owner, "Edit6", &owner);
    int changes = 0;
    edit.OnChange = [&](TComponent* s) {
        EXPECT_EQ(s, &edit);
        ++changes;
    };
    edit.SetText("Edit6");
    EXPECT_EQ(changes, 1);
    edit.SetText("Edit6");
    EXPECT_EQ(changes, 1);
    edit.SetText("12");
    EXPECT_EQ(changes, 2);
    edit.SetText("");
    EXPECT_EQ(changes, 3);
}

TEST(EventRules, CheckBoxClickFiresOnlyOnAChangeOfState) {
    TForm owner("owner");
    TCheckBox cb(&owner, "solarcb", &owner);
    int clicks = 0;
    cb.OnClick = [&](TComponent*) { ++clicks; };
    cb.SetChecked(false);
    EXPECT_EQ(clicks, 0);
    cb.SetChecked(true);
    cb.SetChecked(true);
    EXPECT_EQ(clicks, 1);
    cb.SetChecked(false);
    EXPECT_EQ(clicks, 2);
}

TEST(EventRules, OnlyTheUserChangingADateFiresItsChange) {
    TForm owner("owner");
    TDateTimePicker dt(&owner, "dt1", &owner);
    int changes = 0;
    dt.OnChange = [&](TComponent*) { ++changes; };
    dt.SetDate(QDate(2024, 1, 1));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(dt.Date(), QDate(2024, 1, 1));
    dt.UserSetDate(QDate(2024, 1, 2));
    EXPECT_EQ(changes, 1);
    dt.UserSetDate(QDate(2024, 1, 2));
    EXPECT_EQ(changes, 1);
}

TEST(EventRules, StepButtonsReportTheirDirectionAndKeepTheirOwnCounter) {
    TForm owner("owner");
    TUpDown ud(&owner, "exportlaterupdown", &owner);
    std::vector<TUDBtnType> seen;
    ud.OnClick = [&](TComponent*, TUDBtnType b) { seen.push_back(b); };
    ud.Click(TUDBtnType::btNext);
    ud.Click(TUDBtnType::btPrev);
    ud.Click(TUDBtnType::btPrev);
    EXPECT_EQ(seen, (std::vector<TUDBtnType>{TUDBtnType::btNext, TUDBtnType::btPrev,
                                             TUDBtnType::btPrev}));
    EXPECT_EQ(ud.Position, 999);
}

TEST(EventRules, EnablingARunningTimerDoesNotRestartIt) {
    TForm owner("owner");
    TTimer timer(&owner, "Timer1");
    std::vector<Prop> changes;
    timer.onPropertyChanged = [&](TComponent*, Prop p) { changes.push_back(p); };
    timer.SetEnabled(true);
    timer.SetEnabled(true);
    EXPECT_EQ(changes.size(), 1u) << "the view restarts its timer only on a real change";
    int ticks = 0;
    timer.OnTimer = [&](TComponent*) { ++ticks; };
    timer.Tick();
    timer.SetEnabled(false);
    timer.Tick();
    EXPECT_EQ(ticks, 1);
}

TEST(EventRules, RadioButtonsAreExclusiveWithinTheirGroup) {
    TForm owner("owner");
    TGroupBox g1(&owner, "g1", &owner), g2(&owner, "g2", &owner);
    TRadioButton a(&owner, "a", &g1), b(&owner, "b", &g1), c(&owner, "c", &g2);
    a.SetChecked(true);
    c.SetChecked(true);
    b.SetChecked(true);
    EXPECT_FALSE(a.Checked());
    EXPECT_TRUE(b.Checked());
    EXPECT_TRUE(c.Checked());
}

TEST(WindowModel, NotVisibleUntilShownAndVisibleInsideFormShow) {
    FormFixture fx;
    TForm1& f = fx.Make(false);
    EXPECT_FALSE(f.Visible());
    f.Show();
    EXPECT_TRUE(f.Visible());
    EXPECT_FALSE(f.dayslabel->Caption().isEmpty()) << "FormShow ran the first calculation";
}

TEST(WindowModel, ElementsCarryTheirNamesCaptionsAndStartState) {
    FormFixture fx;
    TForm1 f(fx.platform);
    EXPECT_EQ(f.Element("stadardlightandpowerreadingsgb"), f.stadardlightandpowerreadingsgb);
    EXPECT_EQ(f.stadardlightandpowerreadingsgb->Caption(),
              "General Light and Power Readings (Kwh)");
    EXPECT_EQ(f.Edit6->Text(), "Edit6");
    EXPECT_EQ(f.dayslabel->Caption(), "dayslabel");
    EXPECT_EQ(f.wattsedit->Text(), "0");
    EXPECT_EQ(f.hrsedit->Text(), "1");
    EXPECT_EQ(f.ohmsedit->Text(), "0");
    EXPECT_TRUE(f.showhwcb->Checked());
    EXPECT_FALSE(f.solarcb->Checked());
    EXPECT_FALSE(f.edit7laterupdown->Visible());
    EXPECT_FALSE(f.edit10laterupdown->Visible());
    EXPECT_FALSE(f.ohmsenablecb->Visible());
    EXPECT_EQ(f.csvloadbtn->Hint(), "Load \"original\" values from latest Aurora CSV file");
    EXPECT_EQ(f.SpeedButton5->Hint(), "Clear this entry");
    EXPECT_EQ(f.lightandpowerlabel1->Caption(), "(Light & Power +");
    EXPECT_EQ(f.Timer1->Interval, 2000);
    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_EQ(f.IniSettings1->CompanyName(), "BrindleSoftware");
    EXPECT_EQ(f.IniSettings1->ProductName(), "voltisk");
    ASSERT_EQ(f.pagecontrol1->Pages.size(), 3u);
    EXPECT_EQ(f.pagecontrol1->Pages[1]->Caption(), "Quick usage calculator");
}

TEST(WindowModel, KeyboardOrderOfTheReadingsPageAndGroups) {
    FormFixture fx;
    TForm1 f(fx.platform);
    const std::vector<TControl*> order{f.readingdatesgb,
                                       f.showhwcb,
                                       f.lightandpowersettingsgb,
                                       f.hotwatersettingsgb,
                                       f.feedingb,
                                       f.solarcb,
                                       f.stadardlightandpowerreadingsgb,
                                       f.standardhwreadingsgb,
                                       f.solarexportreadingsgb,
                                       f.solarimportgeneralgb,
                                       f.solarimporthwreadingsgb,
                                       f.resultsgb};
    for (size_t i = 1; i < order.size(); ++i) {
        EXPECT_LT(order[i - 1]->TabOrder, order[i]->TabOrder) << order[i]->Name().toStdString();
    }
    EXPECT_LT(f.dt1->TabOrder, f.dt2->TabOrder);
    EXPECT_LT(f.exportoriged->TabOrder, f.exportlater->TabOrder);
    const std::vector<TControl*> calcOrder{f.wattsedit,       f.hrsedit,    f.voltsedit,
                                           f.wedit,           f.ampsedit,   f.ohmsedit,
                                           f.calculatebutton, f.resetbutton};
    auto rank = [](TControl* c) { return std::make_pair(c->Parent()->TabOrder, c->TabOrder); };
    for (size_t i = 1; i < calcOrder.size(); ++i) {
        EXPECT_LT(rank(calcOrder[i - 1]), rank(calcOrder[i])) << calcOrder[i]->Name().toStdString();
    }
    EXPECT_LT(f.pagecontrol1->TabOrder, f.csvloadbtn->TabOrder);
    EXPECT_LT(f.reportsgb->TabOrder, f.Memo1->TabOrder);
}
