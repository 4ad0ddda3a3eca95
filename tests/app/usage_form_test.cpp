// The usage calculator in the window model: its labels follow the fields.
#include "support/formfixture.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

TEST(UsageForm, LabelsFollowWattsHoursAndTheGeneralRate) {
    FormFixture fx;
    TForm1& f = fx.Make();
    EXPECT_EQ(f.kwhlabel->Caption(), "(0.00 kwh)") << "start-up defaults give zero costs";
    EXPECT_EQ(f.resultlabel->Caption(), "Cost: $0.00");
    f.generalrateed->SetText("0.25");
    f.wattsedit->SetText("2000");
    f.hrsedit->SetText("3");
    EXPECT_EQ(f.resultlabel->Caption(), "Cost: $1.50");
    EXPECT_EQ(f.peryearlabel->Caption(), "$547.50 per year");
    f.hrsedit->SetText("");
    for (TLabel* l : {f.resultlabel, f.kwhlabel, f.perweeklabel, f.peryearlabel}) {
        EXPECT_TRUE(l->Caption().isEmpty()) << l->Name().toStdString();
    }
    f.hrsedit->SetText("3");
    f.generalrateed->SetText("0.5");
    EXPECT_EQ(f.resultlabel->Caption(), "Cost: $3.00");
    EXPECT_EQ(f.wattsedit->Text(), "2000");
    EXPECT_EQ(f.kwhlabel->Caption(), "(6.00 kwh)");
}

TEST(UsageForm, DecimalCommaRateStillGivesFigures) {
    TestEnv::UseLocale("de_DE");
    FormFixture fx;
    TForm1& f = fx.Make();
    EXPECT_EQ(f.generalrateed->Text(), "0,28283");
    f.wattsedit->SetText("1000");
    EXPECT_EQ(f.kwhlabel->Caption(), "(1.00 kwh)");
    EXPECT_EQ(f.resultlabel->Caption(), QString::fromUtf8("Cost: 0,28\u00a0€"));
}
