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
#include <optional>

namespace {

// One whole report: what steps 1 to 4 write, or steps 1 and 2 only when the
// day count is not positive.
struct Report {
    ReportReadingTexts readings;
    std::optional<QString> days;
    ReportResultTexts results;

    QStringList Lines() const {
        QStringList lines = ReportOpeningLines() + ReportReadingLines(readings);
        if (days) {
            lines << ReportDaysLine(*days);
            lines += ReportResultLines(results);
        }
        return lines;
    }
};

ReportReadingTexts StandardReadings() {
    ReportReadingTexts r;
    r.firstDate = QStringLiteral("11/8/2026");
    r.laterDate = QStringLiteral("12/8/2026");
    r.generalBefore = QStringLiteral("1000");
    r.generalAfter = QStringLiteral("1300");
    r.hotWaterBefore = QStringLiteral("500");
    r.hotWaterAfter = QStringLiteral("560");
    // Solar readings are on the window too but are not part of a standard report.
    r.exportBefore = QStringLiteral("7");
    r.importGeneralAfter = QStringLiteral("8");
    return r;
}

ReportResultTexts Charges(ReportResultTexts t, const char* generalRate) {
    t.generalDailyCharge = QStringLiteral("1.00");
    t.generalRate = QLatin1String(generalRate);
    t.hwDailyCharge = QStringLiteral("0.20");
    t.hwRate = QStringLiteral("0.15");
    return t;
}

// Standard mode with hot water: 30 days, 1000 -> 1300 and 500 -> 560 kWh.
Report StandardWithHotWater() {
    ReportResultTexts t;
    t.exportedlabel = QStringLiteral("0.0");
    t.used = QStringLiteral("360.0");
    t.usedwk = QStringLiteral("(300.0 + 60.0)");
    t.dused = QStringLiteral("12.0");
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
    return {StandardReadings(), QStringLiteral("30"), Charges(t, "0.25")};
}

// Solar mode without hot water: 10 days, 500 kWh exported, 100 kWh imported.
Report SolarWithoutHotWater() {
    ReportReadingTexts r;
    r.solar = true;
    r.firstDate = QStringLiteral("11/28/2026");
    r.laterDate = QStringLiteral("12/8/2026");
    r.exportBefore = QStringLiteral("0");
    r.exportAfter = QStringLiteral("500");
    r.importGeneralBefore = QStringLiteral("200");
    r.importGeneralAfter = QStringLiteral("300");
    r.generalBefore = QStringLiteral("9"); // standard readings stay out of a solar report
    ReportResultTexts t;
    t.solar = true;
    t.showHotWater = false;
    t.exportedlabel = QStringLiteral("500");
    t.used = QStringLiteral("100");
    t.dused = QStringLiteral("10.0");
    t.dcost = QStringLiteral("$3.00");
    t.tdcost = QStringLiteral("$4.00");
    t.exportedincome = QStringLiteral("$50.00");
    t.fresult = QStringLiteral("$10.00");
    t.vresult = QStringLiteral("$30.00");
    t.tresult = QStringLiteral("($10.00)");
    return {r, QStringLiteral("10"), Charges(t, "0.30")};
}

Report NoDays() {
    Report report = StandardWithHotWater();
    report.readings.firstDate = QStringLiteral("12/8/2026");
    report.days.reset();
    return report;
}

Report HotWaterHidden() {
    ReportResultTexts t;
    t.showHotWater = false;
    t.exportedlabel = QStringLiteral("0.0");
    t.used = QStringLiteral("300.0");
    t.dused = QStringLiteral("10.0");
    t.dcost = QStringLiteral("$2.50");
    t.tdcost = QStringLiteral("$3.50");
    t.exportedincome = QStringLiteral("$0.00");
    t.fresult = QStringLiteral("$30.00");
    t.vresult = QStringLiteral("$75.00");
    t.tresult = QStringLiteral("$105.00");
    return {StandardReadings(), QStringLiteral("30"), Charges(t, "0.25")};
}

// The general rate field is empty, so it counts as 0.
Report EmptyCharge() {
    Report report = StandardWithHotWater();
    ReportResultTexts& t = report.results;
    t.generalRate.clear();
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
Report Markup() {
    Report report = StandardWithHotWater();
    report.readings.generalBefore = QStringLiteral("<b>&\"x\"</b>");
    ReportResultTexts& t = report.results;
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
Report AllValues(const QString& v, bool solar, bool showHotWater) {
    ReportReadingTexts r;
    r.solar = solar;
    r.showHotWater = showHotWater;
    for (QString* field :
         {&r.firstDate, &r.laterDate, &r.generalBefore, &r.generalAfter, &r.hotWaterBefore,
          &r.hotWaterAfter, &r.exportBefore, &r.exportAfter, &r.importGeneralBefore,
          &r.importGeneralAfter, &r.importHwBefore, &r.importHwAfter}) {
        *field = v;
    }
    ReportResultTexts t{solar, showHotWater, v, v, v, v, v, v, v, v, v, v, v, v, v, v, v, v, v, v,
                        v};
    return {r, v, t};
}

} // namespace

TEST(ReportContent, WholeReportsMatchGoldenFiles) {
    const std::pair<const char*, Report> cases[] = {
        {"report_standard.html", StandardWithHotWater()},
        {"report_solar.html", SolarWithoutHotWater()},
        {"report_nodays.html", NoDays()},
        {"report_hwhidden.html", HotWaterHidden()},
        {"report_emptycharge.html", EmptyCharge()},
        {"report_markup.html", Markup()},
    };
    for (const auto& [name, report] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReportBytes(report.Lines()), Golden(name));
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
            const QStringList expected = AllValues(plain, solar, hw).Lines();
            const QStringList lines = AllValues(markup, solar, hw).Lines();
            ASSERT_EQ(lines.size(), expected.size());
            for (qsizetype i = 0; i < lines.size(); ++i) {
                EXPECT_FALSE(lines[i].contains(markup)) << lines[i].toStdString();
                EXPECT_EQ(QString(lines[i]).replace(escaped, plain), expected[i]);
            }
        }
    }
}

TEST(ReportContent, BytesAreCrLfLinesInUtf8WithoutBom) {
    EXPECT_EQ(ReportBytes({QStringLiteral("a"), QString(), QStringLiteral("\u20AC\u00FC")}),
              QByteArray("a\r\n\r\n\xE2\x82\xAC\xC3\xBC\r\n"));
    EXPECT_TRUE(ReportBytes({}).isEmpty());
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
    const QStringList longer = StandardWithHotWater().Lines();
    const QStringList shorter = NoDays().Lines();

    ASSERT_TRUE(WriteReport(path, longer));
    EXPECT_EQ(ReadBytes(path), ReportBytes(longer));
    ASSERT_TRUE(WriteReport(path, shorter));
    EXPECT_EQ(ReadBytes(path), ReportBytes(shorter));
    // Nothing but the report stays behind (no temporary file).
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("report_20261208.html")});
}

TEST(WriteReport, PlacesThatCannotHoldTheFileGiveFalse) {
    QTemporaryDir tmp;
    const QStringList lines = StandardWithHotWater().Lines();
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
    QTemporaryDir tmp;
    const QString path = tmp.path() + QStringLiteral("/report_20261208.html");
    const QStringList previous = NoDays().Lines();
    ASSERT_TRUE(WriteReport(path, previous));
    // The report itself stays writable; only a whole replacement may take its
    // place, and the folder refuses the temporary file.
    const QStringList next = StandardWithHotWater().Lines();
    const int written = RunUnprivileged({tmp.path(), path}, [&] {
        QFile::setPermissions(tmp.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        return WriteReport(path, next) ? 1 : 0;
    });
    EXPECT_EQ(written, 0);
    EXPECT_EQ(ReadBytes(path), ReportBytes(previous));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("report_20261208.html")});
}
