// The calculator's settings: what FormDestroy stores and FormCreate restores.

#include "settings/inifile.h"
#include "support/files.h"
#include "support/formfixture.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString Folder() {
    return TestEnv::ConfigDir() + QStringLiteral("/BrindleSoftware/voltisk");
}
QString IniPath() {
    return Folder() + QStringLiteral("/voltisk.ini");
}

void Given(const QByteArray& text) {
    QDir().mkpath(Folder());
    ASSERT_TRUE(WriteBytes(IniPath(), text));
}

// The fifteen text fields in the order they are stored.
std::vector<TEdit*> TextFields(TForm1& f) {
    return {f.generaldailyservicechargeed,
            f.generalrateed,
            f.hwdailyfixedchargeed,
            f.hwrateed,
            f.feedined,
            f.Edit6,
            f.Edit7,
            f.Edit9,
            f.Edit10,
            f.exportoriged,
            f.exportlater,
            f.importgenoriged,
            f.importgenlatered,
            f.importhworiged,
            f.importhwlatered};
}

// Distinct texts, some with blanks that must be kept as typed.
void TypeEverything(TForm1& f) {
    const QStringList texts{"1.5", " 0.3 ", "0.19", "0.17", "0.08", "100", "200", "300",
                            "400", "500",   "600",  "700",  "800",  "900", "1000"};
    int i = 0;
    for (TEdit* e : TextFields(f)) {
        e->SetText(texts[i++]);
    }
    f.solarcb->SetChecked(true);
    f.showhwcb->SetChecked(false);
    f.dt1->UserSetDate(QDate(2026, 1, 15));
    f.dt2->UserSetDate(QDate(2026, 3, 1));
    f.wattsedit->SetText(QStringLiteral(" \t150 "));
    f.hrsedit->SetText(QStringLiteral("2.5\r\n"));
    f.SetBounds(100, 120, f.Width(), f.Height());
}

const QByteArray kTypedFile = "[Settings]\n"
                              "Maximized=0\n"
                              "Left=100\n"
                              "Top=120\n"
                              "DailyServiceCharge=1.5\n"
                              "GeneralChargePerUnit= 0.3 \n"
                              "HotWaterDailyMeterCharge=0.19\n"
                              "HotWaterChargePerUnit=0.17\n"
                              "FeedInTariff=0.08\n"
                              "GeneralBefore=100\n"
                              "GeneralAfter=200\n"
                              "HotWaterBefore=300\n"
                              "HotWaterAfter=400\n"
                              "ExportBefore=500\n"
                              "ExportAfter=600\n"
                              "ImportGeneralBefore=700\n"
                              "ImportGeneralAfter=800\n"
                              "ImportHWBefore=900\n"
                              "ImportHWAfter=1000\n"
                              "StandardReadings=0\n"
                              "ShowHotWater=0\n"
                              "DateBefore=1/15/2026\n"
                              "DateBeforeIso=2026-01-15\n"
                              "DateAfter=3/1/2026\n"
                              "DateAfterIso=2026-03-01\n"
                              "Watts=150\n"
                              "Hours=2.5\n";

TEST(CalculatorSettings, SavesTheTwentyFourKeysInOrder) {
    FormFixture fx;
    TForm1& f = fx.Make();
    TypeEverything(f);
    f.Destroy();
    EXPECT_EQ(ReadBytes(IniPath()), kTypedFile);
    EXPECT_TRUE(fx.dialogs.errors.isEmpty()) << fx.dialogs.errors.join('\n').toStdString();
}

// One save replaces the file once, leaving the very bytes that writing its
// keys one at a time leaves: into a new file, and around the other sections,
// keys, comments and line endings of an existing one.
TEST(CalculatorSettings, OneSaveLeavesTheBytesOfKeyByKeyWrites) {
    const QString reference = TestEnv::ConfigDir() + QStringLiteral("/reference.ini");
    for (const QByteArray& start :
         {QByteArray(), QByteArray("; mine\r\n[Other]\r\nKey=1\r\n[settings]\r\nwatts = 40\r\n"
                                   "; note\r\nLEFT=5\r\nExtra=kept\r\n\r\n[Tail]\r\nx=y")}) {
        QFile::remove(IniPath());
        QFile::remove(reference);
        if (!start.isEmpty()) {
            Given(start);
            ASSERT_TRUE(WriteBytes(reference, start));
        }
        {
            FormFixture fx;
            TForm1& f = fx.Make();
            f.Edit6->SetText(QStringLiteral("100"));
            f.hrsedit->SetText(QStringLiteral("2.5"));
            f.Destroy();
        }
        const TIniFile saved(IniPath());
        TIniFile oneByOne(reference);
        const QString section = QStringLiteral("Settings");
        for (const QString& key : saved.ReadSection(section)) {
            oneByOne.WriteString(section, key, saved.ReadString(section, key, QString()));
        }
        EXPECT_EQ(ReadBytes(IniPath()), ReadBytes(reference)) << start.toStdString();
        EXPECT_TRUE(saved.ValueExists(section, QStringLiteral("Hours")));
    }
}

TEST(CalculatorSettings, TheNextStartShowsEverythingAsItWas) {
    {
        FormFixture fx;
        TypeEverything(fx.Make());
        fx.form->Destroy();
    }
    FormFixture fx;
    TForm1& f = fx.Make(/*show=*/false);
    const QStringList expected{"1.5", "0.3", "0.19", "0.17", "0.08", "100", "200", "300",
                               "400", "500", "600",  "700",  "800",  "900", "1000"};
    QStringList loaded;
    for (TEdit* e : TextFields(f)) {
        loaded << e->Text();
    }
    EXPECT_EQ(loaded, expected) << "texts come back as stored, blanks around dropped";
    EXPECT_TRUE(f.solarcb->Checked());
    EXPECT_FALSE(f.showhwcb->Checked());
    // The switches' display handlers ran while loading.
    EXPECT_TRUE(f.solarexportreadingsgb->Visible());
    EXPECT_FALSE(f.stadardlightandpowerreadingsgb->Visible());
    EXPECT_FALSE(f.hotwatersettingsgb->Visible());
    EXPECT_EQ(f.dt1->Date(), QDate(2026, 1, 15));
    EXPECT_EQ(f.dt2->Date(), QDate(2026, 3, 1));
    EXPECT_EQ(f.wattsedit->Text(), "150");
    EXPECT_EQ(f.hrsedit->Text(), "2.5");
    EXPECT_EQ(f.Left(), 100);
    EXPECT_EQ(f.Top(), 120);
    EXPECT_TRUE(fx.dialogs.errors.isEmpty());
}

TEST(CalculatorSettings, AFirstRunReadsNothingAndCreatesNothing) {
    FormFixture fx;
    TForm1& f = fx.Make(/*show=*/false);
    EXPECT_FALSE(QFileInfo::exists(TestEnv::ConfigDir() + QStringLiteral("/BrindleSoftware")));
    EXPECT_EQ(f.generaldailyservicechargeed->Text(), "1.00326");
    EXPECT_EQ(f.wattsedit->Text(), "0");
    EXPECT_EQ(f.IniSettings1->GetFullIniFilename(), IniPath());
}

TEST(CalculatorSettings, AFileWithOnlyItsSectionGivesTheMissingKeyValues) {
    Given("[Settings]\n");
    FormFixture fx;
    fx.clock.today = QDate(2027, 2, 3);
    TForm1& f = fx.Make(/*show=*/false);
    for (TEdit* e : TextFields(f)) {
        EXPECT_EQ(e->Text(), "") << e->Name().toStdString();
    }
    EXPECT_EQ(f.dt1->Date(), QDate(2027, 2, 3));
    EXPECT_EQ(f.dt2->Date(), QDate(2027, 2, 3));
    EXPECT_FALSE(f.solarcb->Checked());
    EXPECT_TRUE(f.showhwcb->Checked());
    EXPECT_EQ(f.wattsedit->Text(), "0");
    EXPECT_EQ(f.hrsedit->Text(), "1");
    EXPECT_EQ(f.WindowState(), TWindowState::wsNormal);
    EXPECT_TRUE(fx.dialogs.errors.isEmpty());

    // The window stays centred when no position is stored.
    EXPECT_EQ(f.Left(), 960 - f.Width() / 2);
    EXPECT_EQ(f.Top(), 540 - f.Height() / 2);
}

TEST(CalculatorSettings, ADeletedTariffLineEmptiesItsField) {
    {
        FormFixture fx;
        TypeEverything(fx.Make());
        fx.form->Destroy();
    }
    TIniFile(IniPath()).DeleteKey(QStringLiteral("Settings"), QStringLiteral("DailyServiceCharge"));
    FormFixture fx;
    TForm1& f = fx.Make(false);
    EXPECT_EQ(f.generaldailyservicechargeed->Text(), "");
    EXPECT_EQ(f.generalrateed->Text(), "0.3");
}

TEST(CalculatorSettings, DatesUseTheLocalesShortFormat) {
    TestEnv::UseLocale("en_AU");
    Given("[Settings]\nDateBefore=8/12/2026\nDateAfter=31/1/2027\n");
    FormFixture fx;
    TForm1& f = fx.Make(false);
    EXPECT_EQ(f.dt1->Date(), QDate(2026, 12, 8));
    EXPECT_EQ(f.dt2->Date(), QDate(2027, 1, 31));
    f.Destroy();
    const TIniFile ini(IniPath());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Settings"), QStringLiteral("DateBefore"), QString()),
              "8/12/2026");
    EXPECT_EQ(ini.ReadString(QStringLiteral("Settings"), QStringLiteral("DateAfter"), QString()),
              "31/1/2027");
}

TEST(CalculatorSettings, ADamagedDateIsReportedAndLoadingGoesOn) {
    Given("[Settings]\nDateBefore=13/45/2026\nDateAfter=\nWatts=75\nHours=3\nShowHotWater=0\n");
    FormFixture fx;
    fx.clock.today = QDate(2027, 2, 3);
    TForm1& f = fx.Make(false);
    EXPECT_EQ(fx.dialogs.errors,
              (QStringList{"''13/45/2026'' is not a valid date.", "'''' is not a valid date."}));
    EXPECT_EQ(f.dt1->Date(), QDate(2027, 2, 3));
    EXPECT_EQ(f.dt2->Date(), QDate(2027, 2, 3));
    EXPECT_EQ(f.wattsedit->Text(), "75");
    EXPECT_EQ(f.hrsedit->Text(), "3");
    EXPECT_FALSE(f.showhwcb->Checked());

    // The next save repairs the dates and keeps what followed them.
    f.Destroy();
    const TIniFile ini(IniPath());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Settings"), QStringLiteral("DateBefore"), QString()),
              "2/3/2027");
    EXPECT_EQ(ini.ReadString(QStringLiteral("Settings"), QStringLiteral("Watts"), QString()), "75");
}

TEST(CalculatorSettings, DatesSurviveAChangeOfLocaleWithoutABox) {
    TestEnv::UseLocale("C.UTF-8");
    {
        FormFixture fx;
        TForm1& f = fx.Make(false);
        f.dt1->SetDate(QDate(2026, 9, 1));
        f.dt2->SetDate(QDate(2026, 10, 2));
        f.Destroy();
    }
    const TIniFile ini(IniPath());
    EXPECT_EQ(
        ini.ReadString(QStringLiteral("Settings"), QStringLiteral("DateBeforeIso"), QString()),
        "2026-09-01");
    TestEnv::UseLocale("de_DE");
    FormFixture fx;
    TForm1& f = fx.Make(false);
    EXPECT_TRUE(fx.dialogs.errors.isEmpty()) << fx.dialogs.errors.join('\n').toStdString();
    EXPECT_EQ(f.dt1->Date(), QDate(2026, 9, 1));
    EXPECT_EQ(f.dt2->Date(), QDate(2026, 10, 2));
}

TEST(CalculatorSettings, TheMaximisedStateSurvives) {
    {
        FormFixture fx;
        TForm1& f = fx.Make();
        f.SetWindowState(TWindowState::wsMaximized);
        f.Destroy();
    }
    const TIniFile ini(IniPath());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Settings"), QStringLiteral("Maximized"), QString()),
              "1");
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Settings"), QStringLiteral("Width")));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Settings"), QStringLiteral("Height")));
    FormFixture fx;
    EXPECT_EQ(fx.Make(false).WindowState(), TWindowState::wsMaximized);
}

TEST(CalculatorSettings, AnUnwritableFileIsReportedAndKeptAsItWas) {
    const QByteArray before = "[Settings]\nWatts=60\n";
    Given(before);
    QFile::setPermissions(IniPath(), QFileDevice::ReadOwner);
    FormFixture fx;
    TForm1& f = fx.Make();
    EXPECT_EQ(f.wattsedit->Text(), "60");
    f.wattsedit->SetText(QStringLiteral("75"));
    f.Destroy();
    EXPECT_EQ(fx.dialogs.errors, QStringList{"Unable to write to " + IniPath() + "."});
    EXPECT_EQ(ReadBytes(IniPath()), before);
    QFile::setPermissions(IniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace
