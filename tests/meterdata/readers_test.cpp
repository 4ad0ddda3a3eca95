// The meter data readers, rule by rule, on small files written here.

#include "meterdata/greenbutton.h"
#include "meterdata/meterfile.h"
#include "meterdata/ziploader.h"
#include "meterfiles.h"
#include "support/files.h"
#include "support/testenv.h"

#include <QDir>
#include <gtest/gtest.h>
#include <zip.h>

QString WriteMeterFile(const QString& name, const QByteArray& bytes) {
    const QString dir = TestEnv::DataDir() + QStringLiteral("/meter");
    QDir().mkpath(dir);
    const QString path = dir + u'/' + name;
    EXPECT_TRUE(WriteBytes(path, bytes));
    return path;
}

namespace {

CollectingSink Read(const QString& path, MeterReadOptions options = {}) {
    CollectingSink sink;
    ReadMeterFile(path, sink, options);
    return sink;
}

QByteArray Header200(const char* suffix, const char* unit, int length, const char* nmi = "NMI1") {
    return QByteArray("200,") + nmi + ",E1B1," + suffix + "," + suffix + ",N1,01009," + unit + "," +
           QByteArray::number(length) + ",\n";
}

struct Accepted {
    const char* rule;
    QByteArray text;
    std::size_t days;
    double total;
    const char* quality; // of the first day, or "" for all A
    std::size_t others;
};

TEST(Nem12Reader, ReadsWhatRealFilesHold) {
    const QByteArray day = Nem12Day();
    QByteArray padded = day;
    padded.replace("\n", ",,,,\r\n");
    const Accepted cases[] = {
        {"plain", day, 1, 48 * 1.111, "", 0},
        {"no header, blank lines, several 900",
         day.mid(day.indexOf("\n200") + 1) + "\n\n900\n900\n", 1, 48 * 1.111, "", 0},
        {"CRLF and trailing commas", padded, 1, 48 * 1.111, "", 0},
        {"repeated 200",
         day.left(day.indexOf("900")) + Header200("E1", "kWh", 30, "NEM1201009") +
             Nem300("20040202", 48, "1") + "900\n",
         2, 48 * 1.111 + 48, "", 0},
        {"Wh in lower case", Header200("E1", "wh", 30) + Nem300("20040201", 48, "500"), 1, 24, "",
         0},
        {"MWH", Header200("E1", "MWH", 30) + Nem300("20040201", 48, "0.001"), 1, 48, "", 0},
        {"5 minutes", Header200("E1", "kWh", 5) + Nem300("20040201", 288, "0.5"), 1, 144, "", 0},
        {"15 minutes", Header200("B1", "kWh", 15) + Nem300("20040201", 96, "0.25"), 1, 24, "", 0},
        {"quality V with 400 records",
         Header200("E1", "kWh", 30) + Nem300("20040201", 48, "1", "V") + "400,1,10,E52,,\n" +
             "400,11,48,S14,,\n",
         1, 48, "EEEEEEEEEESSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSS", 0},
        {"several meters, reactive listed",
         Header200("E1", "kWh", 30, "NMI1") + Nem300("20040201", 48, "1") +
             Header200("Q1", "kvarh", 30, "NMI1") + Nem300("20040201", 48, "3") +
             Header200("E1", "kWh", 30, "NMI2") + Nem300("20040201", 48, "2"),
         2, 48 * 3, "", 1},
    };
    for (const Accepted& c : cases) {
        SCOPED_TRACE(c.rule);
        const CollectingSink sink = Read(WriteMeterFile(QStringLiteral("a.csv"), c.text));
        ASSERT_EQ(sink.days.size(), c.days);
        EXPECT_NEAR(sink.Total(), c.total, 1e-9);
        EXPECT_EQ(sink.others.size(), c.others);
        const std::string quality =
            *c.quality ? c.quality : std::string(sink.days[0].kwh.size(), 'A');
        EXPECT_EQ(sink.days[0].quality, quality);
    }
}

TEST(Nem12Reader, DaysAreMarketTime) {
    const CollectingSink sink = Read(WriteMeterFile(QStringLiteral("a.csv"), Nem12Day()));
    ASSERT_EQ(sink.days.size(), 1U);
    EXPECT_EQ(sink.days[0].day, QDate(2004, 2, 1));
    // 00:00 at UTC+10 is 14:00 UTC the day before.
    EXPECT_EQ(sink.days[0].startUtc,
              QDateTime(QDate(2004, 1, 31), QTime(14, 0), QTimeZone::utc()).toSecsSinceEpoch());
    EXPECT_EQ(sink.days[0].meter, QStringLiteral("NEM1201009"));
    EXPECT_EQ(sink.days[0].channel, QStringLiteral("E1"));
}

struct Refused {
    const char* rule;
    QByteArray text;
    const char* message; // after the file name
};

TEST(MeterFiles, RefusalsNameTheFileAndLine) {
    const QByteArray h = Header200("E1", "kWh", 30);
    const Refused cases[] = {
        {"too few values", h + Nem300("20040201", 47, "1"),
         ", line 2: the 300 record holds 47 values"},
        {"too many values", h + Nem300("20040201", 49, "1"),
         ", line 2: the 300 record holds 49 values"},
        {"400 outside 1..n", h + Nem300("20040201", 48, "1", "V") + "400,40,49,A,,\n",
         ", line 3: the 400 record's intervals lie outside 1 to 48"},
        {"negative", h + Nem300("20040201", 48, "-1"), ", line 2: value 1 \"-1\" is negative"},
        {"not a number", h + Nem300("20040201", 48, "1e3"),
         ", line 2: value 1 \"1e3\" is not a number"},
        {"nonexistent date", h + Nem300("20040230", 48, "1"),
         ", line 2: the date 20040230 does not exist"},
        {"before 1900", h + Nem300("18991231", 48, "1"), ", line 2: the date 18991231 is outside"},
        {"after 2100", h + Nem300("21010101", 48, "1"), ", line 2: the date 21010101 is outside"},
        {"NEM13", "100,NEM13,200402011200,MDP1,Retail1\n250,NMI1,,\n",
         ": this is a NEM13 file of accumulation reads: two readings per period"},
        {"empty", "\r\n \n", ": the file is empty"},
        {"binary",
         QByteArray("\x7f"
                    "ELF\x02\x01\x01\0\0\0",
                    10) +
             QByteArray(200, '\x90'),
         ": the file holds binary data"},
        {"entities",
         "<?xml version=\"1.0\"?><!DOCTYPE feed [<!ENTITY a \"aaaa\">]><feed>&a;</feed>",
         ", line 1: the file declares entities"},
        {"CSV date",
         "TYPE,DATE,START TIME,END TIME,USAGE (kWh)\nElectric usage,2023-02-30,00:00,00:14,1\n",
         ", line 2: \"2023-02-30\" is not a date that exists"},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.rule);
        const QString path = WriteMeterFile(QStringLiteral("bad.csv"), c.text);
        try {
            Read(path);
            ADD_FAILURE() << "accepted";
        } catch (const MeterDataError& e) {
            EXPECT_TRUE(e.Message().startsWith(path + QLatin1String(c.message))) << e.what();
        }
    }
}

// A feed with usage point, local time, meter reading, reading type and one
// block of readings, in the order given; `p` is the element prefix.
QByteArray Feed(const QByteArray& p, int flow, const QByteArray& readings,
                const QByteArray& localTime = "") {
    const QByteArray ns = p.isEmpty() ? "" : " xmlns:espi=\"http://naesb.org/espi\"";
    const QByteArray base = "https://x/espi/1_1/resource/Subscription/5/UsagePoint/1";
    auto entry = [&](const QByteArray& links, const QByteArray& content) {
        return "<entry>" + links + "<content>" + content + "</content></entry>\n";
    };
    auto link = [](const char* rel, const QByteArray& href) {
        return QByteArray("<link rel=\"") + rel + "\" href=\"" + href + "\"/>";
    };
    QByteArray e = p.isEmpty() ? "" : p + ":";
    QByteArray block = "<" + e + "IntervalBlock xmlns=\"http://naesb.org/espi\">" + readings +
                       "</" + e + "IntervalBlock>";
    return "<?xml version=\"1.0\"?>\n<feed xmlns=\"http://www.w3.org/2005/Atom\"" + ns + ">\n" +
           entry(link("self", base + "/MeterReading/1/IntervalBlock/1") +
                     link("up", base + "/MeterReading/1/IntervalBlock"),
                 block) +
           entry(link("self", base) + link("related", base + "/MeterReading"),
                 "<" + e + "UsagePoint><" + e + "ServiceCategory><" + e + "kind>0</" + e +
                     "kind></" + e + "ServiceCategory></" + e + "UsagePoint>") +
           localTime +
           entry(link("self", base + "/MeterReading/1") + link("up", base + "/MeterReading") +
                     link("related", "https://x/espi/1_1/resource/ReadingType/7") +
                     link("related", base + "/MeterReading/1/IntervalBlock"),
                 "<" + e + "MeterReading/>") +
           entry(link("self", "https://x/espi/1_1/resource/ReadingType/7"),
                 "<" + e + "ReadingType><" + e + "flowDirection>" + QByteArray::number(flow) +
                     "</" + e + "flowDirection><" + e + "powerOfTenMultiplier>-1</" + e +
                     "powerOfTenMultiplier><" + e + "uom>72</" + e + "uom></" + e +
                     "ReadingType>") +
           "</feed>\n";
}

QByteArray XmlReading(const QByteArray& p, qint64 start, int seconds, int value) {
    const QByteArray e = p.isEmpty() ? "" : p + ":";
    return "<" + e + "IntervalReading><" + e + "timePeriod><" + e + "duration>" +
           QByteArray::number(seconds) + "</" + e + "duration><" + e + "start>" +
           QByteArray::number(start) + "</" + e + "start></" + e + "timePeriod><" + e + "value>" +
           QByteArray::number(value) + "</" + e + "value></" + e + "IntervalReading>";
}

TEST(GreenButtonReader, ReadsFeedsWithAndWithoutPrefixInAnyOrder) {
    // 2023-06-01 00:00 at UTC-5 (standard -6, daylight +1 in June).
    const qint64 midnight = 1685595600;
    const QByteArray lt =
        "<entry><content><LocalTimeParameters><dstEndRule>B40E2000</dstEndRule><dstOffset>3600"
        "</dstOffset><dstStartRule>360E2000</dstStartRule><tzOffset>-21600</tzOffset>"
        "</LocalTimeParameters></content></entry>\n";
    for (const QByteArray& p : {QByteArray(), QByteArray("espi")}) {
        for (int flow : {1, 19}) {
            SCOPED_TRACE(p.toStdString() + " flow " + std::to_string(flow));
            QByteArray readings; // descending
            for (int i = 23; i >= 0; --i) {
                readings += XmlReading(p, midnight + i * 3600, 3600, 1000 * (i + 1));
            }
            const CollectingSink sink =
                Read(WriteMeterFile(QStringLiteral("gb.xml"), Feed(p, flow, readings, lt)));
            ASSERT_EQ(sink.days.size(), 1U);
            const MeterDay& d = sink.days[0];
            EXPECT_EQ(d.day, QDate(2023, 6, 1));
            EXPECT_EQ(d.startUtc, midnight);
            EXPECT_EQ(d.channel, flow == 1 ? QStringLiteral("E1") : QStringLiteral("B1"));
            ASSERT_EQ(d.kwh.size(), 24U);
            EXPECT_DOUBLE_EQ(d.kwh[0], 0.1); // 1000 × 10^-1 Wh
            EXPECT_DOUBLE_EQ(d.kwh[23], 2.4);
        }
    }
}

TEST(GreenButtonReader, ADaylightSavingDayHasTwentyThreeHours) {
    // 2023-03-12, the second Sunday of March: 00:00 CST is 06:00 UTC.
    const qint64 midnight = 1678600800;
    const QByteArray lt =
        "<entry><content><LocalTimeParameters><dstEndRule>B40E2000</dstEndRule><dstOffset>3600"
        "</dstOffset><dstStartRule>360E2000</dstStartRule><tzOffset>-21600</tzOffset>"
        "</LocalTimeParameters></content></entry>\n";
    QByteArray readings;
    for (int i = 0; i < 23; ++i) {
        readings += XmlReading({}, midnight + i * 3600, 3600, 1000);
    }
    const CollectingSink sink =
        Read(WriteMeterFile(QStringLiteral("dst.xml"), Feed({}, 1, readings, lt)));
    ASSERT_EQ(sink.days.size(), 1U);
    EXPECT_EQ(sink.days[0].day, QDate(2023, 3, 12));
    EXPECT_EQ(sink.days[0].kwh.size(), 23U);
    EXPECT_NEAR(sink.Total(), 2.3, 1e-9);
}

TEST(GreenButtonReader, ReadsTheUtilityCsvWithPreambleBomQuotesAndSolarColumns) {
    qputenv("TZ", "America/Chicago");
    const QByteArray csv =
        "\xEF\xBB\xBF\"Name\",\"A. Person\"\n\"Account Number\",\"12 34\"\n\n"
        "TYPE,DATE,START TIME,END TIME,IMPORT (kWh),EXPORT (kWh),NOTES\n"
        "Electric usage,2023-06-01,00:00,00:14,0.25,0.00,\n"
        "\"Electric usage\",\"2023-06-01\",\"00:15\",\"00:29\",\"0.50\",\"0.10\",\"x, y\"\n";
    MeterReadOptions options;
    options.zone = LocalZone(QTimeZone("America/Chicago"));
    const CollectingSink sink = Read(WriteMeterFile(QStringLiteral("gb.csv"), csv), options);
    ASSERT_EQ(sink.days.size(), 2U);
    for (const MeterDay& d : sink.days) {
        EXPECT_EQ(d.meter, QStringLiteral("12 34"));
        EXPECT_EQ(d.lengthMinutes, 15);
        EXPECT_EQ(d.kwh.size(), 96U);
        EXPECT_EQ(d.startUtc, 1685595600);
    }
    const bool importFirst = sink.days[0].channel == QLatin1String("E1");
    const MeterDay& import = sink.days[importFirst ? 0 : 1];
    const MeterDay& exported = sink.days[importFirst ? 1 : 0];
    EXPECT_EQ(exported.channel, QStringLiteral("B1"));
    EXPECT_DOUBLE_EQ(import.kwh[1], 0.5);
    EXPECT_DOUBLE_EQ(exported.kwh[1], 0.1);
    EXPECT_TRUE(std::isnan(exported.kwh[2]));
}

QString WriteZip(const QString& name,
                 const std::vector<std::pair<const char*, QByteArray>>& entries) {
    const QString path = TestEnv::DataDir() + QStringLiteral("/meter/") + name;
    QDir().mkpath(TestEnv::DataDir() + QStringLiteral("/meter"));
    QFile::remove(path);
    int error = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    std::vector<QByteArray> keep;
    for (const auto& [entry, bytes] : entries) {
        keep.push_back(bytes);
        zip_source_t* s = zip_source_buffer(z, keep.back().constData(),
                                            static_cast<zip_uint64_t>(keep.back().size()), 0);
        zip_file_add(z, entry, s, ZIP_FL_OVERWRITE);
    }
    EXPECT_EQ(zip_close(z), 0);
    return path;
}

TEST(MeterFiles, ZipArchivesAreReadWithinTheirBound) {
    SetZipModulePath(QStringLiteral(VOLTISK_ZIP_MODULE));
    const QString good = WriteZip(QStringLiteral("NEM12#1#2004#2004.zip"),
                                  {{"readme.bin", QByteArray(64, '\0')}, {"data.csv", Nem12Day()}});
    EXPECT_EQ(Read(good).days.size(), 1U);

    const QString none = WriteZip(QStringLiteral("none.zip"), {{"a.bin", QByteArray(64, '\0')}});
    EXPECT_THROW(Read(none), MeterDataError);

    MeterReadOptions small;
    small.maxExpanded = 100;
    try {
        Read(good, small);
        ADD_FAILURE() << "accepted";
    } catch (const MeterDataError& e) {
        EXPECT_TRUE(e.Message().contains(QLatin1String("data.csv: the archive entry expands past")))
            << e.what();
    }
}

// Without a loadable zip module an archive is refused with a reason naming
// the archive and the module, never a crash; with it the same archive reads.
TEST(MeterFiles, ZipArchivesNeedTheZipModule) {
    const QString archive = WriteZip(QStringLiteral("module.zip"), {{"data.csv", Nem12Day()}});
    const QString notLibrary = TestEnv::DataDir() + QStringLiteral("/libvoltisk_zip.so");
    QFile file(notLibrary);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    const struct {
        QString module;
        QString reason; // empty: the archive is read
    } cases[] = {
        {QStringLiteral("/nonexistent/libvoltisk_zip.so"),
         QStringLiteral("/nonexistent/libvoltisk_zip.so")},
        {notLibrary, notLibrary},
        {QStringLiteral("libm.so.6"), QStringLiteral("libm.so.6 is not the zip module")},
        {QStringLiteral(VOLTISK_ZIP_MODULE), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module.toStdString());
        SetZipModulePath(c.module);
        if (c.reason.isEmpty()) {
            EXPECT_EQ(Read(archive).days.size(), 1U);
            continue;
        }
        try {
            Read(archive);
            ADD_FAILURE() << "read without the module";
        } catch (const MeterDataError& e) {
            EXPECT_TRUE(e.Message().startsWith(
                archive + QStringLiteral(": this installation cannot read zip files: ")))
                << e.what();
            EXPECT_TRUE(e.Message().contains(c.reason)) << e.what();
        }
    }
}

} // namespace
