// The period report's content against the golden files, the escaping of
// inserted values, and the atomic writer.

#include "calc/report.h"
#include "support/files.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The readings of the standard example, with the charges as typed.
PeriodReport StandardReadings() {
    PeriodReport r;
    r.firstDate = QStringLiteral("11/8/2026");
    r.laterDate = QStringLiteral("12/8/2026");
    PeriodInputs& in = r.inputs;
    in.generalBefore = QStringLiteral("1000");
    in.generalAfter = QStringLiteral("1300");
    in.hotWaterBefore = QStringLiteral("500");
    in.hotWaterAfter = QStringLiteral("560");
    // Solar readings are on the window too but are not part of a standard report.
    in.exportBefore = QStringLiteral("7");
    in.importGeneralAfter = QStringLiteral("8");
    in.generalDailyCharge = QStringLiteral("1.00");
    in.generalRate = QStringLiteral("0.25");
    in.hwDailyCharge = QStringLiteral("0.20");
    in.hwRate = QStringLiteral("0.15");
    return r;
}

// Standard mode with hot water: 30 days, 1000 -> 1300 and 500 -> 560 kWh.
PeriodReport StandardWithHotWater() {
    PeriodReport r = StandardReadings();
    PeriodLabels t;
    t.dayslabel = QStringLiteral("30");
    t.exportedlabel = QStringLiteral("0.0");
    t.used = QStringLiteral("360.0");
    t.usedwk = QStringLiteral("(300.0 + 60.0)");
    t.dused = QStringLiteral("12.0");
    t.dusedwk = QStringLiteral("(10.0 + 2.0)"); // shown in the window only
    t.dcost = QStringLiteral("$2.80");
    t.dcostwk = QStringLiteral("($2.50 + $0.30)");
    t.tdcost = QStringLiteral("$4.00");
    t.tdcostwk = QStringLiteral("($3.50 + $0.50)");
    t.exportedincome = QStringLiteral("$0.00");
    t.fresult = QStringLiteral("$36.00");
    t.fresultwk = QStringLiteral("($30.00 + $6.00)");
    t.vresult = QStringLiteral("$84.00");
    t.vresultwk = QStringLiteral("($75.00 + $9.00)");
    t.tresult = QStringLiteral("$120.00");
    t.tresultwk = QStringLiteral("(($105.00 + $15.00) - $0.00)");
    r.labels = t;
    return r;
}

// Solar mode without hot water: 10 days, 500 kWh exported, 100 kWh imported.
PeriodReport SolarWithoutHotWater() {
    PeriodReport r = StandardReadings();
    PeriodInputs& in = r.inputs;
    in = PeriodInputs();
    in.solar = true;
    in.showHotWater = false;
    r.firstDate = QStringLiteral("11/28/2026");
    in.exportBefore = QStringLiteral("0");
    in.exportAfter = QStringLiteral("500");
    in.importGeneralBefore = QStringLiteral("200");
    in.importGeneralAfter = QStringLiteral("300");
    in.generalBefore = QStringLiteral("9"); // standard readings stay out of a solar report
    in.generalDailyCharge = QStringLiteral("1.00");
    in.generalRate = QStringLiteral("0.30");
    in.hwDailyCharge = QStringLiteral("0.20");
    in.hwRate = QStringLiteral("0.15");
    PeriodLabels t;
    t.dayslabel = QStringLiteral("10");
    t.exportedlabel = QStringLiteral("500");
    t.used = QStringLiteral("100");
    t.dused = QStringLiteral("10.0");
    t.dcost = QStringLiteral("$3.00");
    t.tdcost = QStringLiteral("$4.00");
    t.exportedincome = QStringLiteral("$50.00");
    t.fresult = QStringLiteral("$10.00");
    t.vresult = QStringLiteral("$30.00");
    t.tresult = QStringLiteral("($10.00)");
    r.labels = t;
    return r;
}

PeriodReport NoDays() {
    PeriodReport report = StandardWithHotWater();
    report.firstDate = QStringLiteral("12/8/2026");
    report.labels.reset();
    return report;
}

PeriodReport HotWaterHidden() {
    PeriodReport r = StandardReadings();
    r.inputs.showHotWater = false;
    PeriodLabels t;
    t.dayslabel = QStringLiteral("30");
    t.exportedlabel = QStringLiteral("0.0");
    t.used = QStringLiteral("300.0");
    t.dused = QStringLiteral("10.0");
    t.dcost = QStringLiteral("$2.50");
    t.tdcost = QStringLiteral("$3.50");
    t.exportedincome = QStringLiteral("$0.00");
    t.fresult = QStringLiteral("$30.00");
    t.vresult = QStringLiteral("$75.00");
    t.tresult = QStringLiteral("$105.00");
    r.labels = t;
    return r;
}

// The general rate field is empty, so it counts as 0.
PeriodReport EmptyCharge() {
    PeriodReport report = StandardWithHotWater();
    report.inputs.generalRate.clear();
    PeriodLabels& t = *report.labels;
    t.dcost = QStringLiteral("$0.30");
    t.dcostwk = QStringLiteral("($0.00 + $0.30)");
    t.tdcost = QStringLiteral("$1.50");
    t.tdcostwk = QStringLiteral("($1.00 + $0.50)");
    t.vresult = QStringLiteral("$9.00");
    t.vresultwk = QStringLiteral("($0.00 + $9.00)");
    t.tresult = QStringLiteral("$45.00");
    t.tresultwk = QStringLiteral("(($30.00 + $15.00) - $0.00)");
    return report;
}

// The original general reading holds markup, so it counts as 0.
PeriodReport Markup() {
    PeriodReport report = StandardWithHotWater();
    report.inputs.generalBefore = QStringLiteral("<b>&\"x\"</b>");
    PeriodLabels& t = *report.labels;
    t.used = QStringLiteral("1360.0");
    t.usedwk = QStringLiteral("(1300.0 + 60.0)");
    t.dused = QStringLiteral("45.3");
    t.dcost = QStringLiteral("$11.13");
    t.dcostwk = QStringLiteral("($10.83 + $0.30)");
    t.tdcost = QStringLiteral("$12.33");
    t.tdcostwk = QStringLiteral("($11.83 + $0.50)");
    t.vresult = QStringLiteral("$334.00");
    t.vresultwk = QStringLiteral("($325.00 + $9.00)");
    t.tresult = QStringLiteral("$370.00");
    t.tresultwk = QStringLiteral("(($355.00 + $15.00) - $0.00)");
    return report;
}

// Every inserted value set to `v`.
PeriodReport AllValues(const QString& v, bool solar, bool showHotWater) {
    PeriodReport r;
    PeriodInputs& in = r.inputs;
    in.solar = solar;
    in.showHotWater = showHotWater;
    PeriodLabels t;
    for (QString* field : {&r.firstDate,
                           &r.laterDate,
                           &in.generalBefore,
                           &in.generalAfter,
                           &in.hotWaterBefore,
                           &in.hotWaterAfter,
                           &in.exportBefore,
                           &in.exportAfter,
                           &in.importGeneralBefore,
                           &in.importGeneralAfter,
                           &in.importHwBefore,
                           &in.importHwAfter,
                           &in.hwDailyCharge,
                           &in.generalDailyCharge,
                           &in.generalRate,
                           &in.hwRate,
                           &in.feedIn,
                           &t.dayslabel,
                           &t.exportedlabel,
                           &t.exportedincome,
                           &t.used,
                           &t.usedwk,
                           &t.dused,
                           &t.dusedwk,
                           &t.dcost,
                           &t.dcostwk,
                           &t.tdcost,
                           &t.tdcostwk,
                           &t.fresult,
                           &t.fresultwk,
                           &t.vresult,
                           &t.vresultwk,
                           &t.tresult,
                           &t.tresultwk}) {
        *field = v;
    }
    r.labels = t;
    return r;
}

QStringList Lines(const PeriodReport& report) {
    QStringList lines = ReportText(report).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString()) << "the last line ends with CR LF too";
    return lines;
}

} // namespace

TEST(ReportContent, WholeReportsMatchGoldenFiles) {
    const std::pair<const char*, PeriodReport> cases[] = {
        {"report_standard.html", StandardWithHotWater()},
        {"report_solar.html", SolarWithoutHotWater()},
        {"report_nodays.html", NoDays()},
        {"report_hwhidden.html", HotWaterHidden()},
        {"report_emptycharge.html", EmptyCharge()},
        {"report_markup.html", Markup()},
    };
    for (const auto& [name, report] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReportBytes(report), Golden(name));
    }
}

TEST(ReportContent, EveryInsertedValueIsEscapedAndFixedFragmentsStay) {
    const QString plain = QStringLiteral("#v#");
    const QString markup = QStringLiteral("<i a=\"1\">&amp;</i>");
    const QString escaped = QStringLiteral("&lt;i a=&quot;1&quot;&gt;&amp;amp;&lt;/i&gt;");
    EXPECT_EQ(HtmlEscape(markup), escaped);
    for (const bool solar : {false, true}) {
        for (const bool hw : {false, true}) {
            SCOPED_TRACE(testing::Message() << "solar " << solar << " hot water " << hw);
            const QStringList expected = Lines(AllValues(plain, solar, hw));
            const QStringList lines = Lines(AllValues(markup, solar, hw));
            ASSERT_EQ(lines.size(), expected.size());
            for (qsizetype i = 0; i < lines.size(); ++i) {
                EXPECT_FALSE(lines[i].contains(markup)) << lines[i].toStdString();
                EXPECT_EQ(QString(lines[i]).replace(escaped, plain), expected[i]);
            }
        }
    }
}

TEST(ReportContent, BytesAreCrLfLinesInUtf8WithoutBom) {
    const QByteArray bytes = ReportBytes(AllValues(QStringLiteral("\u20AC\u00FC"), false, true));
    EXPECT_TRUE(bytes.startsWith("<HTML><HEAD></HEAD>\r\n<CENTER>")) << "no byte-order mark";
    EXPECT_TRUE(bytes.endsWith("<HR>\r\n</HTML>\r\n"));
    EXPECT_TRUE(bytes.contains("Original Reading:</TD><TD>\xE2\x82\xAC\xC3\xBC</TD>"));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n')) << "every line ends with CR LF";
    EXPECT_EQ(bytes, ReportText(AllValues(QStringLiteral("\u20AC\u00FC"), false, true)).toUtf8());
}

TEST(ReportPath, SettingsFolderElseProgramFolder) {
    const QDate date(2024, 3, 5);
    EXPECT_EQ(ReportPath(QStringLiteral("/c/BrindleSoftware/voltisk/voltisk.ini"),
                         QStringLiteral("/opt/voltisk/"), date),
              QStringLiteral("/c/BrindleSoftware/voltisk/report_20240305.html"));
    EXPECT_EQ(ReportPath(QString(), QStringLiteral("/opt/voltisk/"), date),
              QStringLiteral("/opt/voltisk/report_20240305.html"));
    EXPECT_EQ(ReportPath(QString(), QString(), QDate(987, 11, 20)),
              QStringLiteral("report_09871120.html"));
}

TEST(WriteReport, CreatesMissingFolderAndReplacesTheWholeFile) {
    QTemporaryDir tmp;
    const QString folder = tmp.path() + QStringLiteral("/new/BrindleSoftware/voltisk");
    const QString path = folder + QStringLiteral("/report_20261208.html");
    const QByteArray longer = ReportBytes(StandardWithHotWater());
    const QByteArray shorter = ReportBytes(NoDays());

    ASSERT_TRUE(WriteReport(path, longer));
    EXPECT_EQ(ReadBytes(path), longer);
    ASSERT_TRUE(WriteReport(path, shorter));
    EXPECT_EQ(ReadBytes(path), shorter);
    // Nothing but the report stays behind (no temporary file).
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("report_20261208.html")});
}

TEST(WriteReport, PlacesThatCannotHoldTheFileGiveFalse) {
    QTemporaryDir tmp;
    const QByteArray lines = ReportBytes(StandardWithHotWater());
    const QString blocker = tmp.path() + QStringLiteral("/blocker");
    {
        QFile f(blocker);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString directory = tmp.path() + QStringLiteral("/report_20261208.html");
    ASSERT_TRUE(QDir().mkpath(directory));

    EXPECT_FALSE(WriteReport(blocker + QStringLiteral("/report_20261208.html"), lines));
    EXPECT_FALSE(WriteReport(directory, lines));
    EXPECT_TRUE(QFileInfo(directory).isDir());
    EXPECT_FALSE(
        WriteReport(tmp.path() + QLatin1Char('/') + QString(300, QLatin1Char('r')), lines));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{QStringLiteral("blocker"), QStringLiteral("report_20261208.html")}));
    EXPECT_EQ(ReadBytes(blocker), QByteArray());
}

TEST(WriteReport, ReadOnlyFolderKeepsThePreviousReport) {
    const Unprivileged::Dir tmp;
    const QString path = tmp.path() + QStringLiteral("/report_20261208.html");
    const QByteArray previous = ReportBytes(NoDays());
    ASSERT_TRUE(WriteReport(path, previous));
    Unprivileged::Give(path);
    QFile::setPermissions(tmp.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    // The report itself is writable; only a whole replacement may take its place.
    const QByteArray next = ReportBytes(StandardWithHotWater());
    const QByteArray written = Unprivileged::Run(
        [&] { return WriteReport(path, next) ? QByteArray("written") : QByteArray("refused"); });
    EXPECT_EQ(written, "refused");
    EXPECT_EQ(ReadBytes(path), previous);
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"report_20261208.html"});
}
