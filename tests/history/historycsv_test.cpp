// The CSV export reads back through the project's CSV reader to the same
// periods, byte for byte in every text; anything else is refused with the
// line named.

#include "history/historycsv.h"
#include "mylib/errors.h"

#include "historysamples.h"
#include "support/testenv.h"

#include <QFile>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

QString CsvFile() {
    return TestEnv::DataDir() + QStringLiteral("/export.csv");
}

void WriteText(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString RefusalOf(const QString& path) {
    try {
        ReadHistoryCsv(path);
    } catch (const EVoltiskError& e) {
        return e.Message();
    }
    return QString();
}

const QStringList& AwkwardTexts() {
    static const QStringList texts{
        QStringLiteral("<b>bold</b> & <i>\"quoted\"</i>, with commas, 'single'"),
        QStringLiteral("line one\r\nline two\nline three\rline four"),
        QStringLiteral("\n\nblank lines\n\n  \n"), // lines the reader would skip
        QStringLiteral("  spaces around  "),
        QStringLiteral("back\\slash \\n not a break \\x41"),
        QStringLiteral("Grüße, naïve café, 電気代, emoji \U0001F50C"),
        QStringLiteral("tab\there, bell\x07, nul") + QChar(u'\0') + QStringLiteral("end"),
        QStringLiteral("\"\"\"only quotes\"\"\""),
        QStringLiteral("=HYPERLINK(\"x\")"), // a formula to a spreadsheet
        QStringLiteral("'@already quoted"),
        QStringLiteral("-1"),
        QString(),
    };
    return texts;
}

TEST(HistoryCsv, EveryPeriodAndEveryTextComesBackByteForByte) {
    std::vector<HistoryPeriod> periods;
    for (int i = 0; i < AwkwardTexts().size(); ++i) {
        HistoryPeriod p = SamplePeriod(QDate(2023, 1, 1).addMonths(i),
                                       QDate(2023, 1, 1).addMonths(i + 1), i, i % 2 == 0);
        p.typed.showHotWater = i % 3 != 1;
        // The import recomputes the figures: the awkward text goes into a
        // field the period's mode does not read.
        (p.typed.solar ? p.typed.generalAfter : p.typed.exportAfter) =
            AwkwardTexts()[(i + 1) % AwkwardTexts().size()];
        p = MakeHistoryPeriod(p.from, p.to, p.typed, QLocale(QStringLiteral("en_US")), 2,
                              p.savedAt);
        p.note = AwkwardTexts()[i];
        p.currencySymbol = i % 3 == 0 ? QStringLiteral("€") : QStringLiteral("$");
        p.numbers.exportBefore = 1.0 / 3.0 + i; // needs all 17 digits
        if (i % 2 == 1) {
            p.billed = 100.0 / 3.0 + i;
            p.billDate = QDate(2024, 2, 3).addDays(i);
            p.billReference = AwkwardTexts()[i];
            p.estimated = QStringList{QStringLiteral("general_after")};
            p.warnings = QStringList{AwkwardTexts()[0], QStringLiteral("second")};
        }
        periods.push_back(p);
    }
    ExportHistoryCsv(CsvFile(), periods);
    const std::vector<HistoryPeriod> back = ReadHistoryCsv(CsvFile());
    ASSERT_EQ(back.size(), periods.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSamePeriod(back[i], periods[i]);
        EXPECT_EQ(back[i].note.toUtf8(), periods[i].note.toUtf8());
        EXPECT_EQ(back[i].id, 0);
    }
}

TEST(HistoryCsv, AnExportFromBeforeTheBillColumnsStillImports) {
    HistoryPeriod p = SamplePeriod(QDate(2023, 1, 1), QDate(2023, 2, 1));
    QList<QByteArray> lines = HistoryCsvText({p}).split('\n');
    for (QByteArray& line : lines) { // drop billed ... warnings: 5 cells, the last empty
        for (int cut = 0; cut < 5 && !line.isEmpty(); ++cut) {
            line.truncate(line.lastIndexOf(','));
        }
        if (!line.isEmpty()) {
            line += '\r';
        }
    }
    EXPECT_TRUE(lines[0].endsWith("saved_at\r"));
    WriteText(CsvFile(), lines.join('\n'));
    const std::vector<HistoryPeriod> back = ReadHistoryCsv(CsvFile());
    ASSERT_EQ(back.size(), 1u);
    ExpectSamePeriod(back[0], p);
}

TEST(HistoryCsv, TheFileIsPlainRfc4180WithIsoDatesAndPointDecimals) {
    HistoryPeriod p = MakeHistoryPeriod(QDate(2026, 11, 8), QDate(2026, 12, 8),
                                        WorkedExampleInputs(), QLocale(QStringLiteral("en_US")), 2,
                                        QDateTime(QDate(2026, 12, 8), QTime(10, 0), Qt::UTC));
    p.note = QStringLiteral("say \"hi\", bye");
    p.netPerDay = 4.25;
    const QByteArray text = HistoryCsvText({p});
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_EQ(lines.size(), 3); // header, one period, the end after the last CR LF
    EXPECT_TRUE(lines[0].startsWith("date_from,date_to,days,solar,hot_water,"));
    EXPECT_TRUE(
        lines[0].endsWith("note,saved_at,billed,bill_date,bill_reference,estimated,warnings\r"));
    EXPECT_TRUE(lines[1].startsWith("2026-11-08,2026-12-08,30,0,1,\"1.00\",1,\"0.25\",0.25,"));
    EXPECT_TRUE(lines[1].contains(
        ",4.25,\"$\",2,\"say \"\"hi\"\", bye\",2026-12-08T10:00:00.000Z,,,\"\",\"\",\"\"\r"))
        << lines[1].toStdString();
    EXPECT_FALSE(text.startsWith("\xEF\xBB\xBF"));

    // No binary noise (63583.5 - 63204.159 is 379.34100000000035); a note a
    // spreadsheet would run as a formula gets an apostrophe.
    PeriodInputs in = WorkedExampleInputs();
    in.generalBefore = QStringLiteral("63204.159");
    in.generalAfter = QStringLiteral("63583.5");
    p = MakeHistoryPeriod(p.from, p.to, in, QLocale(QStringLiteral("en_US")), 2, p.savedAt);
    p.note = QStringLiteral("=1+2");
    const QByteArray noisy = HistoryCsvText({p});
    EXPECT_TRUE(noisy.contains(",379.341,")) << noisy.toStdString();
    EXPECT_TRUE(noisy.contains(",\"'=1+2\",")) << noisy.toStdString();
}

TEST(HistoryCsv, EscapesAreReversibleAndUnknownOnesRefused) {
    for (const QString& t : AwkwardTexts()) {
        const QString escaped = EscapeCsvText(t);
        EXPECT_FALSE(escaped.contains(u'\n'));
        EXPECT_FALSE(escaped.contains(u'\r'));
        EXPECT_EQ(UnescapeCsvText(escaped), std::optional<QString>(t));
    }
    EXPECT_FALSE(UnescapeCsvText(QStringLiteral("ends in \\")).has_value());
    EXPECT_FALSE(UnescapeCsvText(QStringLiteral("\\q")).has_value());
    EXPECT_FALSE(UnescapeCsvText(QStringLiteral("\\x4")).has_value());
    EXPECT_FALSE(UnescapeCsvText(QStringLiteral("\\x41")).has_value()); // printable: never written
}

TEST(HistoryCsv, AForeignFileIsRefusedWithTheLineNamed) {
    // A bill file: another header.
    EXPECT_TRUE(RefusalOf(QStringLiteral(VOLTISK_TEST_DATA "/csv/worked_example.csv"))
                    .contains(QStringLiteral("line 1 does not hold the export's column names")));

    HistoryPeriod p = SamplePeriod(QDate(2025, 1, 1), QDate(2025, 2, 1));
    const QByteArray good = HistoryCsvText({p, SamplePeriod(QDate(2025, 2, 1), QDate(2025, 3, 1))});
    QList<QByteArray> lines = good.split('\n');

    // A date that is no date on line 3.
    QByteArray bad = lines[0] + '\n' + lines[1] + '\n' +
                     QByteArray(lines[2]).replace("2025-02-01", "2025-02-30") + '\n';
    WriteText(CsvFile(), bad);
    QString why = RefusalOf(CsvFile());
    EXPECT_TRUE(why.contains(QStringLiteral("line 3, column \"date_from\""))) << why.toStdString();
    EXPECT_TRUE(why.contains(QStringLiteral("not a Voltisk history export")));

    // One field too many on line 2.
    WriteText(CsvFile(), lines[0] + '\n' + lines[1].chopped(1) + ",extra\r\n");
    why = RefusalOf(CsvFile());
    EXPECT_TRUE(why.contains(QStringLiteral("line 2"))) << why.toStdString();

    // Days that do not match the dates.
    bad = good;
    bad.replace("2025-01-01,2025-02-01,31,", "2025-01-01,2025-02-01,30,");
    WriteText(CsvFile(), bad);
    why = RefusalOf(CsvFile());
    EXPECT_TRUE(why.contains(QStringLiteral("line 2: the days do not match"))) << why.toStdString();

    // A number that is not a number; a flag that is not 0 or 1.
    bad = good;
    bad.replace(",0.27,", ",0.27x,");
    WriteText(CsvFile(), bad);
    EXPECT_TRUE(RefusalOf(CsvFile()).contains(QStringLiteral("column \"general_rate\"")));
    bad = good;
    bad.replace("2025-02-01,2025-03-01,28,1,", "2025-02-01,2025-03-01,28,yes,");
    WriteText(CsvFile(), bad);
    EXPECT_TRUE(RefusalOf(CsvFile()).contains(QStringLiteral("line 3, column \"solar\"")));

    // A missing file says so.
    EXPECT_TRUE(RefusalOf(TestEnv::DataDir() + QStringLiteral("/none.csv"))
                    .startsWith(QStringLiteral("File not found.")));
    // The good file reads.
    WriteText(CsvFile(), good);
    EXPECT_EQ(ReadHistoryCsv(CsvFile()).size(), 2u);
}

TEST(HistoryCsv, BadRowsAreRefusedWithLineAndColumnAndNothingIsRead) {
    const struct {
        const char* what;
        std::function<void(HistoryPeriod&)> change;
        QString refusal;
    } cases[] = {
        {"a net beside other figures", [](HistoryPeriod& p) { p.net = 999.99; },
         "line 3, column \"net_cost\" differs by more than a cent"},
        {"a fixed cost two cents off", [](HistoryPeriod& p) { p.fixed += 0.02; },
         "line 3, column \"fixed_cost\""},
        {"nan", [](HistoryPeriod& p) { p.kwhExported = std::nan(""); },
         "line 3, column \"kwh_exported\" holds \"nan\""},
        {"inf", [](HistoryPeriod& p) { p.income = HUGE_VAL; }, "line 3, column \"income\""},
        {"-inf", [](HistoryPeriod& p) { p.numbers.generalRate = -HUGE_VAL; },
         "line 3, column \"general_rate\""},
        {"1e308", [](HistoryPeriod& p) { p.numbers.feedIn = 1e308; }, "line 3, column \"feed_in\""},
        {"-1e308", [](HistoryPeriod& p) { p.variable = -1e308; },
         "line 3, column \"variable_cost\""},
        {"an over-long note", [](HistoryPeriod& p) { p.note = QString(2001, u'x'); },
         "line 3, column \"note\": A note can hold at most 2,000 characters."},
        {"a file cut inside the note", nullptr, "line 3 opens a quoted field that never closes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HistoryPeriod last = SamplePeriod(QDate(2025, 2, 1), QDate(2025, 3, 1), 1);
        last.note = QString(2000, u'n'); // the longest note is fine
        if (c.change) {
            c.change(last);
        }
        QByteArray text =
            HistoryCsvText({SamplePeriod(QDate(2025, 1, 1), QDate(2025, 2, 1)), last});
        if (!c.change) {
            text.truncate(text.indexOf("\"nnnn") + 3);
        }
        WriteText(CsvFile(), text);
        const QString why = RefusalOf(CsvFile());
        EXPECT_TRUE(why.contains(c.refusal)) << why.toStdString();
    }
    // A German export's texts ("1,10") recompute too.
    const QLocale german(QStringLiteral("de_DE"));
    PeriodInputs in = WorkedExampleInputs();
    in.generalRate = QStringLiteral("0,27");
    in.generalAfter = QStringLiteral("63583,5");
    ExportHistoryCsv(CsvFile(), {MakeHistoryPeriod(QDate(2025, 1, 1), QDate(2025, 2, 1), in, german,
                                                   2, QDateTime::currentDateTimeUtc())});
    EXPECT_EQ(ReadHistoryCsv(CsvFile()).size(), 1u);
}

} // namespace
