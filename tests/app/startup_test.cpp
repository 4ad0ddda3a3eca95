// What the window shows after FormCreate and FormShow on a new account.
#include "app/commandline.h"
#include "app/startuppage.h"
#include "support/formfixture.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(Startup, FirstStartShowsTheStartValuesCentredWithoutASettingsFile) {
    FormFixture fx;
    TForm1& f = fx.Make();
    EXPECT_EQ(f.Caption(), "Voltisk");
    EXPECT_EQ(f.ApplicationTitle, "Voltisk");
    EXPECT_TRUE(f.todaysdaterb->Checked());
    EXPECT_FALSE(f.lastdaterb->Checked());
    EXPECT_EQ(f.generaldailyservicechargeed->Text(), "1.00326");
    EXPECT_EQ(f.generalrateed->Text(), "0.28283");
    EXPECT_EQ(f.feedined->Text(), "0.28283");
    EXPECT_EQ(f.hwdailyfixedchargeed->Text(), "0.19431");
    EXPECT_EQ(f.hwrateed->Text(), "0.17057");
    EXPECT_EQ(f.versionlabel->Caption(), "v" + ProgramVersion());
    EXPECT_EQ(f.dt1->Date(), fx.clock.today);
    EXPECT_EQ(f.dt2->Date(), fx.clock.today);
    for (TEdit* e : {f.Edit6, f.Edit7, f.Edit9, f.Edit10, f.exportoriged, f.exportlater,
                     f.importgenoriged, f.importgenlatered, f.importhworiged, f.importhwlatered,
                     f.voltsedit, f.wedit, f.ampsedit, f.ohmsedit}) {
        EXPECT_TRUE(e->Text().isEmpty()) << e->Name().toStdString();
    }
    EXPECT_FALSE(f.solarcb->Checked());
    EXPECT_TRUE(f.showhwcb->Checked());
    EXPECT_EQ(f.Left(), 1920 / 2 - f.Width() / 2);
    EXPECT_EQ(f.Top(), 1080 / 2 - f.Height() / 2);
    EXPECT_EQ(f.pagecontrol1->ActivePage(), f.readingsts);
    EXPECT_EQ(f.solarexportreadingsgb->Color(), RGBColor(255, 251, 240));
    EXPECT_EQ(f.standardhwreadingsgb->Color(), RGBColor(215, 228, 242));
    EXPECT_EQ(f.readingdatesgb->Color(), clBtnFace);
    EXPECT_EQ(f.typelabel->Caption(), "Standard power");
    EXPECT_EQ(f.dayslabel->Caption(), "0");
    EXPECT_TRUE(fx.dialogs.errors.isEmpty());
    EXPECT_FALSE(QFile::exists(TestEnv::ConfigDir() + "/BrindleSoftware/voltisk/voltisk.ini"));
}

TEST(Startup, HelpTextHasItsFiveLines) {
    FormFixture fx;
    TForm1& f = fx.Make();
    const QStringList lines = f.Memo1->Lines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "If you have solar power, then check the checkbox for solar power.");
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_EQ(lines[2],
              "If you don't have separate readings for hot water, then uncheck the checkbox "
              "\"Show rates and readings for hot water\".");
    EXPECT_TRUE(lines[3].isEmpty());
    EXPECT_EQ(lines[4],
              "If you have solar, then enter your solar feed-in tariff (the amount you get paid "
              "per Kwh for power you export to the grid).");
}

TEST(Startup, TariffTextsFollowTheLocaleSeparator) {
    TestEnv::UseLocale("de_DE");
    FormFixture fx;
    TForm1& f = fx.Make();
    EXPECT_EQ(f.generaldailyservicechargeed->Text(), "1,00326");
    EXPECT_EQ(f.hwrateed->Text(), "0,17057");
}

TEST(Startup, FirstArgumentChoosesThePage) {
    EXPECT_TRUE(StartOnCalculatorPage({"CALC"}));
    EXPECT_TRUE(StartOnCalculatorPage({"calc"}));
    EXPECT_TRUE(StartOnCalculatorPage({"Calc", "x"}));
    EXPECT_FALSE(StartOnCalculatorPage({"CALCULATE"}));
    EXPECT_FALSE(StartOnCalculatorPage({"x", "CALC"}));
    EXPECT_FALSE(StartOnCalculatorPage({}));
    EXPECT_FALSE(StartOnCalculatorPage({""}));
    FormFixture calc({"cAlC"});
    TForm1& c = calc.Make();
    EXPECT_EQ(c.pagecontrol1->ActivePage(), c.calc);
    FormFixture other({"CALCULATE"});
    TForm1& o = other.Make();
    EXPECT_EQ(o.pagecontrol1->ActivePage(), o.readingsts);
}

TEST(Startup, CsvLoadButtonOnlyWithTheMarkerFile) {
    FormFixture absent;
    EXPECT_FALSE(absent.Make().csvloadbtn->Visible());
    FormFixture present;
    present.platform.markerPath = TestEnv::ConfigDir() + "/marker.txt";
    QFile marker(present.platform.markerPath);
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    EXPECT_TRUE(present.Make().csvloadbtn->Visible());
}

TEST(Startup, HelpTextGivesTheFocusBack) {
    FormFixture fx;
    TForm1& f = fx.Make();
    f.SetActiveControl(f.Memo1);
    f.Memo1->Enter();
    EXPECT_EQ(f.ActiveControl(), nullptr);
}

TEST(Startup, ActivationRestoresAMinimisedWindowAndRaisesIt) {
    FormFixture fx;
    TForm1& f = fx.Make();
    int raised = 0;
    f.onBringToFront = [&] { ++raised; };
    f.SetWindowState(TWindowState::wsMinimized);
    f.ActivationMessage();
    EXPECT_EQ(f.WindowState(), TWindowState::wsNormal);
    EXPECT_EQ(raised, 1);
    f.SetWindowState(TWindowState::wsMaximized);
    f.ActivationMessage();
    EXPECT_EQ(f.WindowState(), TWindowState::wsMaximized) << "only a minimised window is restored";
    EXPECT_EQ(raised, 2);
}

// Every "today" of a run comes from the one clock: the start dates, the
// fallback for a damaged stored date and the name of today's report.
TEST(Startup, TodayComesFromTheClockEverywhere) {
    FormFixture fx;
    fx.clock.today = QDate(2027, 3, 1);
    const QString folder = TestEnv::ConfigDir() + "/BrindleSoftware/voltisk";
    QDir().mkpath(folder);
    QFile ini(folder + "/voltisk.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Settings]\nDateAfter=not a date\n");
    ini.close();
    TForm1& f = fx.Make();
    EXPECT_EQ(f.dt1->Date(), QDate(2027, 3, 1));
    EXPECT_EQ(f.dt2->Date(), QDate(2027, 3, 1)) << "the damaged date falls back to the clock's";
    f.dt1->SetDate(QDate(2027, 2, 1));
    f.Edit7->SetText("10");
    EXPECT_TRUE(QFile::exists(folder + "/report_20270301.html"));
    EXPECT_FALSE(QFile::exists(folder + "/report_20261208.html"));
}
