// The period report as CalcAll writes it: the window's fields and labels
// against the golden files, where the report goes, and what the status line
// says when it cannot go there.

#include "support/files.h"
#include "support/formfixture.h"
#include "support/testenv.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kWritten = QStringLiteral("    Report file written to disk.");
const QString kNotWritten = QStringLiteral("    Report file could not be written.");
const QString kTodaysReport = QStringLiteral("report_20261208.html"); // FixedClock's today

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// What the user has typed and chosen; every field is set, so nothing carries
// over from an earlier case.
struct Inputs {
    bool solar = false, showhw = true;
    QDate first{2026, 11, 8}, later{2026, 12, 8};
    QString edit6 = QStringLiteral("1000"), edit7 = QStringLiteral("1300"),
            edit9 = QStringLiteral("500"), edit10 = QStringLiteral("560");
    QString exportOrig, exportLater, importGenOrig, importGenLater, importHwOrig, importHwLater;
    QString generalDaily = QStringLiteral("1.00"), generalRate = QStringLiteral("0.25"),
            hwDaily = QStringLiteral("0.20"), hwRate = QStringLiteral("0.15"),
            feedIn = QStringLiteral("0.10");
};

Inputs Solar() {
    Inputs in;
    in.solar = true;
    in.showhw = false;
    in.first = QDate(2026, 11, 28);
    in.exportOrig = QStringLiteral("0");
    in.exportLater = QStringLiteral("500");
    in.importGenOrig = QStringLiteral("200");
    in.importGenLater = QStringLiteral("300");
    in.generalRate = QStringLiteral("0.30");
    return in;
}

class ReportFormTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        f = &fx.Make();
        folder = tmp.path() + QStringLiteral("/BrindleSoftware/voltisk/");
        f->IniSettings1->SetIniFileName(folder + QStringLiteral("voltisk.ini"));
    }

    // Enters `in` and runs one more calculation, as the last keystroke would.
    void Enter(const Inputs& in) {
        f->solarcb->SetChecked(in.solar);
        f->showhwcb->SetChecked(in.showhw);
        f->dt1->SetDate(in.first);
        f->dt2->SetDate(in.later);
        const std::pair<TEdit*, QString> fields[] = {
            {f->Edit6, in.edit6},
            {f->Edit7, in.edit7},
            {f->Edit9, in.edit9},
            {f->Edit10, in.edit10},
            {f->exportoriged, in.exportOrig},
            {f->exportlater, in.exportLater},
            {f->importgenoriged, in.importGenOrig},
            {f->importgenlatered, in.importGenLater},
            {f->importhworiged, in.importHwOrig},
            {f->importhwlatered, in.importHwLater},
            {f->generaldailyservicechargeed, in.generalDaily},
            {f->generalrateed, in.generalRate},
            {f->hwdailyfixedchargeed, in.hwDaily},
            {f->hwrateed, in.hwRate},
            {f->feedined, in.feedIn},
        };
        for (const auto& [edit, text] : fields) {
            edit->SetText(text);
        }
        f->CalcAll();
    }

    FormFixture fx;
    TForm1* f = nullptr;
    QTemporaryDir tmp;
    QString folder;
};

} // namespace

TEST_F(ReportFormTest, ReportsMatchGoldenFiles) {
    Inputs hidden;
    hidden.showhw = false;
    Inputs emptyCharge;
    emptyCharge.generalRate.clear();
    Inputs markup;
    markup.edit6 = QStringLiteral("<b>&\"x\"</b>");
    const std::pair<const char*, Inputs> cases[] = {
        {"report_standard.html", Inputs()}, {"report_solar.html", Solar()},
        {"report_hwhidden.html", hidden},   {"report_emptycharge.html", emptyCharge},
        {"report_markup.html", markup},
    };
    for (const auto& [name, in] : cases) {
        SCOPED_TRACE(name);
        Enter(in);
        EXPECT_EQ(ReadBytes(folder + kTodaysReport), Golden(name));
        EXPECT_EQ(f->sb1->SimpleText(), kWritten);
        EXPECT_TRUE(f->Timer1->Enabled());
    }
}

TEST_F(ReportFormTest, NoPositiveDayCountClosesAfterTheReadingsAndShowsNoStatus) {
    Inputs in;
    in.first = in.later;
    Enter(in);
    EXPECT_EQ(ReadBytes(folder + kTodaysReport), Golden("report_nodays.html"));
    EXPECT_EQ(f->dayslabel->Caption(), QStringLiteral("0"));
    EXPECT_EQ(f->sb1->SimpleText(), QString());
}

TEST_F(ReportFormTest, NameFollowsTheReportDateChoice) {
    f->lastdaterb->SetChecked(true);
    Inputs in;
    in.first = QDate(2024, 2, 5);
    in.later = QDate(2024, 3, 5);
    Enter(in);
    EXPECT_EQ(Entries(folder), QStringList{QStringLiteral("report_20240305.html")});

    f->todaysdaterb->SetChecked(true);
    f->CalcAll();
    EXPECT_EQ(Entries(folder),
              (QStringList{QStringLiteral("report_20240305.html"), kTodaysReport}));
}

TEST_F(ReportFormTest, TwoRunsOnOneDayLeaveOneFileHoldingTheSecond) {
    Inputs markup;
    markup.edit6 = QStringLiteral("<b>&\"x\"</b>");
    Enter(markup);
    Enter(Inputs());
    EXPECT_EQ(Entries(folder), QStringList{kTodaysReport});
    EXPECT_EQ(ReadBytes(folder + kTodaysReport), Golden("report_standard.html"));
}

TEST_F(ReportFormTest, MissingSettingsFolderIsCreated) {
    ASSERT_FALSE(QFileInfo::exists(folder));
    f->CalcAll();
    EXPECT_TRUE(QFileInfo::exists(folder + kTodaysReport));
}

TEST_F(ReportFormTest, EmptySettingsNameWritesIntoTheProgramFolder) {
    // With no product name the settings component keeps an empty name.
    f->IniSettings1->SetProductName(QString());
    f->IniSettings1->SetIniFileName(QString());
    ASSERT_EQ(f->IniSettings1->GetFullIniFilename(), QString());
    const QString programReport = TestEnv::ExeDir() + QLatin1Char('/') + kTodaysReport;
    QFile::remove(programReport);
    Enter(Inputs());
    EXPECT_EQ(ReadBytes(programReport), Golden("report_standard.html"));
    EXPECT_EQ(f->sb1->SimpleText(), kWritten);
}

TEST_F(ReportFormTest, FolderThatCannotBeCreatedShowsFiguresAndSaysSo) {
    const QString blocker = tmp.path() + QStringLiteral("/blocker");
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    f->IniSettings1->SetIniFileName(blocker + QStringLiteral("/voltisk/voltisk.ini"));
    Enter(Inputs());
    EXPECT_EQ(f->dayslabel->Caption(), QStringLiteral("30"));
    EXPECT_EQ(f->tresult->Caption(), QStringLiteral("$120.00"));
    EXPECT_EQ(f->tresultwk->Caption(), QStringLiteral("(($105.00 + $15.00) - $0.00)"));
    EXPECT_EQ(f->sb1->SimpleText(), kNotWritten);
    EXPECT_TRUE(f->Timer1->Enabled());
    EXPECT_TRUE(fx.dialogs.errors.isEmpty());
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());

    // Once the folder can be made, the next run writes again.
    QFile::remove(blocker);
    f->CalcAll();
    EXPECT_EQ(f->sb1->SimpleText(), kWritten);
    EXPECT_EQ(ReadBytes(blocker + QStringLiteral("/voltisk/") + kTodaysReport),
              Golden("report_standard.html"));
}

TEST_F(ReportFormTest, ReadOnlyFolderShowsFiguresAndSaysSo) {
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& p : {tmp.path(), tmp.path() + QStringLiteral("/BrindleSoftware"), folder}) {
        Unprivileged::Give(p);
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray seen = Unprivileged::Run([&] {
        Enter(Inputs());
        return (f->tresult->Caption() + u'|' + f->sb1->SimpleText() + u'|' +
                fx.dialogs.errors.join(u'|'))
            .toUtf8();
    });
    EXPECT_EQ(seen, (QStringLiteral("$120.00|") + kNotWritten + u'|').toUtf8());
    EXPECT_TRUE(Entries(folder).isEmpty());
}

TEST_F(ReportFormTest, ViewSavedReportsShowsTheSettingsFolderOnly) {
    f->IniSettings1->SetIniFileName(
        QStringLiteral("/home/u/.config/BrindleSoftware/voltisk/voltisk.ini"));
    f->reportsbtn->OnClick(f->reportsbtn);
    // No fallback to the program's folder when the settings name is empty.
    f->IniSettings1->SetProductName(QString());
    f->IniSettings1->SetIniFileName(QString());
    f->reportsbtn->OnClick(f->reportsbtn);
    EXPECT_EQ(fx.shell.folders,
              (QStringList{QStringLiteral("/home/u/.config/BrindleSoftware/voltisk/"), QString()}));
}
