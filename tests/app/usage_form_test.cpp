// The usage calculator in the window model: its labels follow the fields.
#include "support/formfixture.h"
#include "support/testenv.h"

#include <array>
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

TEST(UsageForm, HalfWrittenNumbersLeaveTheLabelsEmpty) {
    FormFixture fx;
    TForm1& f = fx.Make();
    f.generalrateed->SetText("0.25");
    for (const char* watts : {"100.", ".5"}) {
        f.wattsedit->SetText("100");
        ASSERT_FALSE(f.resultlabel->Caption().isEmpty());
        f.wattsedit->SetText(watts);
        for (TLabel* l : {f.resultlabel, f.kwhlabel, f.perweeklabel, f.peryearlabel}) {
            EXPECT_TRUE(l->Caption().isEmpty()) << watts << " " << l->Name().toStdString();
        }
    }
}

TEST(UsageForm, AnOverflowingFigureEmptiesAllFourLabels) {
    FormFixture fx;
    TForm1& f = fx.Make();
    // Each overflows in another figure: all of them, the year alone, the
    // kWh text alone (a zero rate keeps every cost finite).
    for (auto [rate, watts, hours] : {std::array<const char*, 3>{"0.25", "1e200", "1e200"},
                                      {"0.25", "1000", "1e306"},
                                      {"0", "1e300", "1e300"}}) {
        f.generalrateed->SetText("0.25");
        f.wattsedit->SetText("100");
        f.hrsedit->SetText("1");
        ASSERT_FALSE(f.kwhlabel->Caption().isEmpty());
        f.generalrateed->SetText(rate);
        f.wattsedit->SetText(watts);
        f.hrsedit->SetText(hours);
        for (TLabel* l : {f.resultlabel, f.kwhlabel, f.perweeklabel, f.peryearlabel}) {
            EXPECT_TRUE(l->Caption().isEmpty())
                << watts << " " << hours << " " << l->Name().toStdString() << ": "
                << l->Caption().toStdString();
        }
    }
}
