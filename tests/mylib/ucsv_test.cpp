#include "mylib/errors.h"
#include "mylib/ucsv.h"
#include "support/servicefakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct CsvRead {
    int headerCount = -7;
    int recordCount = -7;
    QStringList cells;
    QString error;
};

class CsvReaderTest : public testing::Test {
protected:
    QString Write(const QByteArray& content, const QString& name = QStringLiteral("t.csv")) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
    CsvRead ReadPath(const QString& path, bool lenient = false, TDialogs* dialogs = nullptr) {
        const CsvReadResult read = ReadCsvFile(path, lenient);
        // The warning as the program's callers show it.
        if (read.recordsCut && dialogs) {
            dialogs->ShowMessage(CsvRecordsCutWarning());
        }
        return {read.headerCount, read.recordCount, read.cells, read.error};
    }
    CsvRead Read(const QByteArray& content, bool lenient = false, TDialogs* dialogs = nullptr) {
        return ReadPath(Write(content), lenient, dialogs);
    }

    QTemporaryDir dir_;
};

QStringList Split(const QString& text) {
    QStringList fields{QStringLiteral("left over")};
    SplitCsvRecord(text, fields, QChar(u','), QChar(u'"'));
    return fields;
}

const QString CrLf = QStringLiteral("\r\n");

} // namespace

TEST(CsvSplit, QuotesSeparatorsAndEmptyFields) {
    EXPECT_EQ(Split(QStringLiteral("x,\"a,b\",y")),
              (QStringList{QStringLiteral("x"), QStringLiteral("a,b"), QStringLiteral("y")}));
    EXPECT_EQ(Split(QStringLiteral("\"say \"\"hi\"\"\"")),
              QStringList{QStringLiteral("say \"hi\"")});
    EXPECT_EQ(Split(QStringLiteral("a,b,")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QString()}));
    EXPECT_EQ(Split(QStringLiteral(",")), (QStringList{QString(), QString()}));
    EXPECT_EQ(Split(QStringLiteral(",,a")), (QStringList{QString(), QString(), "a"}));
    EXPECT_EQ(Split(QStringLiteral(" a , b ")), (QStringList{" a ", " b "}));
    EXPECT_EQ(Split(QString()), QStringList{});
    // A quote inside a plain field is an ordinary character.
    EXPECT_EQ(Split(QStringLiteral("ab\"c,d")), (QStringList{"ab\"c", "d"}));
    // Line breaks inside quotes stay in the field.
    EXPECT_EQ(Split(QStringLiteral("\"1\r\n2\",3")), (QStringList{"1\r\n2", "3"}));
    EXPECT_EQ(Split(QStringLiteral("\"\",\"\"")), (QStringList{QString(), QString()}));
}

TEST(CsvSplit, CharactersAfterAClosingQuoteAreDroppedUpToTheNextQuote) {
    // The x, the separator and the c are lost, and the field ending in that
    // state is not added at all.
    EXPECT_EQ(Split(QStringLiteral("\"ab\"x,c")), QStringList{});
    EXPECT_EQ(Split(QStringLiteral("1,\"ab\"x,c")), QStringList{"1"});
    // The next quote returns to the quoted field and is kept.
    EXPECT_EQ(Split(QStringLiteral("\"ab\"x\"y\"")), QStringList{"ab\"y"});
    // A quoted field still open at the end is not added.
    EXPECT_EQ(Split(QStringLiteral("a,\"open")), QStringList{"a"});
}

TEST(CsvSplit, OtherSeparatorAndQuoteCharacters) {
    QStringList fields;
    SplitCsvRecord(QStringLiteral("'a;b';c,d"), fields, QChar(u';'), QChar(u'\''));
    EXPECT_EQ(fields, (QStringList{"a;b", "c,d"}));
}

TEST(CsvOpenQuote, CountsQuotesWithDoubledOnesAsOne) {
    EXPECT_FALSE(HasOpenQuote(QString()));
    EXPECT_TRUE(HasOpenQuote(QStringLiteral("a,\"b")));
    EXPECT_FALSE(HasOpenQuote(QStringLiteral("a,\"b\"")));
    EXPECT_TRUE(HasOpenQuote(QStringLiteral("\"say \"\"")));
    EXPECT_FALSE(HasOpenQuote(QStringLiteral("\"\"")));
    EXPECT_FALSE(HasOpenQuote(QStringLiteral("\"\"\"\"")));
    EXPECT_TRUE(HasOpenQuote(QStringLiteral("\"\"\"")));
    EXPECT_TRUE(HasOpenQuote(QStringLiteral("ab\"c")));
    EXPECT_TRUE(HasOpenQuote(QStringLiteral("'x"), QChar(u'\'')));
    EXPECT_FALSE(HasOpenQuote(QStringLiteral("'x"), QChar(u'"')));
}

TEST_F(CsvReaderTest, FlatListOfHeaderThenRecordsWithShortRecordsPadded) {
    const CsvRead r = Read("a,b,c\n1,2,3\n1,2\n\"q\"\n");
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.headerCount, 3);
    EXPECT_EQ(r.recordCount, 4);
    EXPECT_EQ(r.cells, (QStringList{"a", "b", "c", "1", "2", "3", "1", "2", "", "q", "", ""}));
}

TEST_F(CsvReaderTest, BlankLinesAreSkippedEverywhereAndNotCounted) {
    // Blank before the header, between records and inside a quoted field; the
    // line numbers of the error count non-blank lines only.
    const CsvRead r = Read("\n  \t\na,b,c\n\n1,\"x\n\n \x01\ny\",3\r\n\r\n\n1,2,3,4\n");
    EXPECT_EQ(r.headerCount, 3);
    EXPECT_EQ(r.recordCount, 3);
    EXPECT_EQ(r.cells, (QStringList{"a", "b", "c", "1", "x\r\ny", "3"}));
    EXPECT_EQ(r.error, QStringLiteral("The record at line 4 has a different number of fields than "
                                      "is specified in the headers.\r\n(3 header fields, 4 "
                                      "fields)\r\n1,2,3,4"));
}

TEST_F(CsvReaderTest, QuotedFieldOverTwoLinesKeepsCrLfWhateverTheFileUses) {
    for (const QByteArray& end : {QByteArray("\n"), QByteArray("\r\n"), QByteArray("\r")}) {
        const CsvRead r = Read("name,note" + end + "x,\"first" + end + "second\"" + end);
        EXPECT_EQ(r.error, QString());
        EXPECT_EQ(r.cells, (QStringList{"name", "note", "x", "first\r\nsecond"}))
            << end.toHex().toStdString();
    }
}

TEST_F(CsvReaderTest, StrictErrorNamesLineHeaderAndFieldCounts) {
    const CsvRead r = Read("a,b,c\n1,2,3\n4,5\n6,7,8\n9,\"x,y\",10,11\n12,13,14\n");
    const QString expected = QStringLiteral("The record at line ") + "5" +
                             " has a different number of fields than is specified in the headers." +
                             CrLf + "(" + "3" + " header fields, " + "4" + " fields)" + CrLf +
                             "9,\"x,y\",10,11";
    EXPECT_EQ(r.error, expected);
    EXPECT_EQ(r.headerCount, 3);
    EXPECT_EQ(r.recordCount, 5);
    // The header and the records before the failing one.
    EXPECT_EQ(r.cells, (QStringList{"a", "b", "c", "1", "2", "3", "4", "5", "", "6", "7", "8"}));
}

TEST_F(CsvReaderTest, StrictErrorQuotesAtMost200CharactersOfTheRecord) {
    const QString head =
        QStringLiteral("The record at line 2 has a different number of fields than "
                       "is specified in the headers.\r\n(1 header fields, ");
    // Exactly 200 characters stand as they are.
    const QByteArray fits = "a," + QByteArray(198, 'b');
    EXPECT_EQ(Read("h\n" + fits + "\n").error, head + "2 fields)\r\n" + fits);

    // A 1 MB record: its first 200 characters and an ellipsis.
    const QByteArray huge = "x," + QByteArray(1024 * 1024, 'y');
    const CsvRead r = Read("h\n" + huge + "\n");
    EXPECT_EQ(r.error, head + "2 fields)\r\nx," + QString(198, u'y') + QChar(0x2026));

    // A character outside the BMP at the cut is never split in half.
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");
    const CsvRead pair = Read("h\n" + QByteArray(199, ',') + clef.toUtf8() + "tail\n");
    ASSERT_TRUE(pair.error.endsWith(QChar(0x2026)));
    EXPECT_EQ(pair.error, head + "200 fields)\r\n" + QString(199, u',') + QChar(0x2026));
}

TEST_F(CsvReaderTest, AFifoOrDeviceNeitherBlocksNorIsRead) {
    const QString fifo = dir_.filePath(QStringLiteral("bill.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(ReadPath(fifo).error, QStringLiteral("File not found.\r\n\r\n") + fifo);
    const QString zero = dir_.filePath(QStringLiteral("zero.csv"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    EXPECT_EQ(ReadPath(zero).error, QStringLiteral("File not found.\r\n\r\n") + zero);
}

TEST_F(CsvReaderTest, StrictErrorQuotesAMultiLineRecordWithItsJoins) {
    const CsvRead r = Read("a\n\"x\n\ny\",z\n");
    EXPECT_EQ(r.error, QStringLiteral("The record at line 3 has a different number of fields than "
                                      "is specified in the headers.\r\n(1 header fields, 2 "
                                      "fields)\r\n\"x\r\ny\",z"));
}

TEST_F(CsvReaderTest, HeaderSpanningTwoLinesIsReadAsARecordAgainstNoHeader) {
    const QByteArray content = "\"a\nb\",c\n1,2\n";
    const CsvRead strict = Read(content);
    EXPECT_EQ(strict.error, QStringLiteral("The record at line 2 has a different number of fields "
                                           "than is specified in the headers.\r\n(0 header "
                                           "fields, 2 fields)\r\n\"a\r\nb\",c"));
    EXPECT_EQ(strict.headerCount, 0);
    EXPECT_EQ(strict.recordCount, 1);
    EXPECT_TRUE(strict.cells.isEmpty());

    FakeDialogs dialogs;
    const CsvRead lenient = Read(content, true, &dialogs);
    EXPECT_EQ(lenient.error, QString());
    EXPECT_EQ(lenient.headerCount, 0);
    EXPECT_EQ(lenient.recordCount, 2);
    EXPECT_TRUE(lenient.cells.isEmpty());
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(CsvReaderTest, HeaderWithoutFieldsFailsOnlyAStrictRead) {
    // The after-quote state swallows the whole first line.
    const QByteArray content = "\n\"a\"b,c\n1,2\n";
    const CsvRead strict = Read(content);
    EXPECT_EQ(strict.error, QStringLiteral("Field names not found in first line of file."));
    EXPECT_EQ(strict.recordCount, 1);
    EXPECT_TRUE(strict.cells.isEmpty());

    FakeDialogs dialogs;
    const CsvRead lenient = Read(content, true, &dialogs);
    EXPECT_EQ(lenient.error, QString());
    EXPECT_EQ(lenient.headerCount, 0);
    EXPECT_EQ(lenient.recordCount, 2);
    EXPECT_TRUE(lenient.cells.isEmpty());
}

TEST_F(CsvReaderTest, LenientReadCutsLongRecordsAndWarnsOncePerRead) {
    FakeDialogs dialogs;
    const QByteArray content = "a,b\n1,2,3\n4\n5,6,7,8\n";
    const QString warning =
        QStringLiteral("Warning:\r\n\r\nAt least one record has more fields than the number of "
                       "headers.\r\n\r\nThese extra fields will not be displayed.");
    const CsvRead r = Read(content, true, &dialogs);
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.recordCount, 4);
    EXPECT_EQ(r.cells, (QStringList{"a", "b", "1", "2", "4", "", "5", "6"}));
    EXPECT_EQ(dialogs.messages, QStringList{warning});

    // A second read warns again; without dialogs it reads the same silently.
    Read(content, true, &dialogs);
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(Read(content, true).cells, r.cells);
}

TEST_F(CsvReaderTest, QuoteStillOpenAtTheEndDropsThatRecordSilently) {
    const CsvRead r = Read("a,b\n1,2\n3,\"open\n4,5\n");
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.recordCount, 2);
    EXPECT_EQ(r.cells, (QStringList{"a", "b", "1", "2"}));
}

TEST_F(CsvReaderTest, Utf8WithByteOrderMarkAndMixedLineEnds) {
    const CsvRead r = Read("\xEF\xBB\xBFOrt,Preis\r\nZ\xC3\xBCrich,1\r2,\xE2\x82\xAC\n3,4");
    EXPECT_EQ(r.error, QString());
    EXPECT_EQ(r.cells, (QStringList{"Ort", "Preis", QStringLiteral("Zürich"), "1", "2",
                                    QStringLiteral("€"), "3", "4"}));
    // A mark later in the file is text.
    EXPECT_EQ(Read("a\n\xEF\xBB\xBF"
                   "b\n")
                  .cells,
              (QStringList{"a", QStringLiteral("\uFEFFb")}));
}

TEST_F(CsvReaderTest, MissingFilesAndFoldersAreNotFound) {
    CsvRead r;
    r.cells = QStringList{"stale"};
    r.error = QStringLiteral("stale");
    const QString missing = dir_.filePath(QStringLiteral("none.csv"));
    r = ReadPath(missing);
    EXPECT_EQ(r.error, QStringLiteral("File not found.\r\n\r\n") + missing);
    EXPECT_TRUE(r.cells.isEmpty());

    QDir(dir_.path()).mkdir(QStringLiteral("folder.csv"));
    const QString folder = dir_.filePath(QStringLiteral("folder.csv"));
    EXPECT_EQ(ReadPath(folder).error, QStringLiteral("File not found.\r\n\r\n") + folder);
}

TEST_F(CsvReaderTest, ReadFailureThrowsTheSystemReason) {
    // A regular file whose read fails with an input/output error.
    const QString path = QStringLiteral("/proc/self/mem");
    ASSERT_TRUE(QFileInfo(path).isFile());
    try {
        ReadPath(path);
        FAIL() << "no exception";
    } catch (const EVoltiskError& e) {
        EXPECT_TRUE(
            e.Message().startsWith(QStringLiteral("Could not read the file /proc/self/mem: ")))
            << e.Message().toStdString();
        EXPECT_GT(e.Message().size(), 40);
    }
}

TEST_F(CsvReaderTest, EmptyBlankAndBinaryFilesGiveNoTableAndNoCrash) {
    for (const QByteArray& content :
         {QByteArray(), QByteArray("\n\r\n \t\n"), QByteArray(4096, '\0')}) {
        const CsvRead r = Read(content);
        EXPECT_EQ(r.error, QString());
        EXPECT_EQ(r.headerCount, 0);
        EXPECT_EQ(r.recordCount, 0);
        EXPECT_TRUE(r.cells.isEmpty());
    }
    // Every byte value, several times over, in a fixed scrambled order.
    QByteArray binary;
    quint32 x = 12345;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1103515245u + 12345u;
        binary.append(static_cast<char>(x >> 16));
    }
    const CsvRead strict = Read(binary);
    const CsvRead lenient = Read(binary, true);
    EXPECT_EQ(lenient.error, QString());
    EXPECT_EQ(lenient.cells.size(),
              static_cast<qsizetype>(lenient.recordCount) * lenient.headerCount);
    EXPECT_LE(strict.cells.size(), lenient.cells.size());
}

TEST_F(CsvReaderTest, LargeLinesRecordsAndQuotesReadInLinearTime) {
    // A 10 MB line of 10,000 fields as the header, then one record of 10,000
    // fields under a short header: neither may take quadratic time.
    QByteArray line;
    const QByteArray field(999, 'v');
    for (int i = 0; i < 10000; ++i) {
        line += field + (i + 1 < 10000 ? "," : "");
    }
    const CsvRead wide = Read(line + "\nx\n");
    EXPECT_EQ(wide.error, QString());
    EXPECT_EQ(wide.headerCount, 10000);
    EXPECT_EQ(wide.cells.size(), 20000);
    EXPECT_EQ(wide.cells[9999], QString::fromLatin1(field));

    FakeDialogs dialogs;
    const CsvRead cut = Read("a,b\n" + QByteArray(9999, ',') + "\n", true, &dialogs);
    EXPECT_EQ(cut.cells.size(), 4);
    EXPECT_EQ(dialogs.messages.size(), 1);

    // A quote opened on the first record line and never closed over 200,000
    // lines, and a file of nothing but quotes.
    const CsvRead open = Read("a\n\"" + QByteArray("x\n").repeated(200000));
    EXPECT_EQ(open.error, QString());
    EXPECT_EQ(open.cells, QStringList{"a"});
    const CsvRead quotes = Read(QByteArray(1 << 20, '"') + "\n" + QByteArray(8, '"'));
    EXPECT_EQ(quotes.error, QString());
    EXPECT_EQ(quotes.headerCount, 1);
    ASSERT_EQ(quotes.cells.size(), 2);
    EXPECT_EQ(quotes.cells[0], QString(524287, u'"'));
    EXPECT_EQ(quotes.cells[1], QString(3, u'"'));
}

TEST_F(CsvReaderTest, OversizedFilesAndRunawayPaddingAreRefused) {
    const QString big = Write(QByteArray(CsvMaxFileBytes + 1, 'a'), QStringLiteral("big.csv"));
    EXPECT_EQ(ReadPath(big).error, QStringLiteral("File too large.\r\n\r\n") + big);
    const QString limit = Write(QByteArray(CsvMaxFileBytes, ' '), QStringLiteral("limit.csv"));
    EXPECT_EQ(ReadPath(limit).error, QString());

    // A header of 20,000 fields over 3,000 one-field records would pad to 60
    // million cells from a file of 26 KB.
    const QString path = Write(QByteArray(19999, ',') + "\n" + QByteArray("x\n").repeated(3000));
    const CsvRead r = ReadPath(path);
    EXPECT_EQ(r.error, QStringLiteral("Too many cells in file.\r\n\r\n") + path);
    EXPECT_LE(r.cells.size(), 19999 + 6000 + CsvCellAllowance);
    EXPECT_GE(r.cells.size(), 20000 * 4);
}

TEST(CsvCellTest, FindsByNameIgnoringCaseThenOffsetsInFlatOrder) {
    // H = 3: a header and three records.
    const QStringList cells{"Name", "Kind",  "Value", "a", "b", "c",
                            "x",    "Total", "y",     "1", "2", "3"};
    EXPECT_EQ(CsvCell(cells, QStringLiteral("name"), 0, 1, 3), QStringLiteral("a"));
    EXPECT_EQ(CsvCell(cells, QStringLiteral("VALUE"), 0, 3, 3), QStringLiteral("3"));
    // A name found only in a later record.
    EXPECT_EQ(CsvCell(cells, QStringLiteral("total"), 0, 1, 3), QStringLiteral("2"));
    // No column check: the offset runs on into the next record.
    EXPECT_EQ(CsvCell(cells, QStringLiteral("total"), 2, 0, 3), QStringLiteral("1"));
    EXPECT_EQ(CsvCell(cells, QStringLiteral("Total"), -1, 0, 3), QStringLiteral("x"));
    // Blanks count; a missing name, a missing cell or an empty name give empty.
    EXPECT_EQ(CsvCell(cells, QStringLiteral(" Total"), 0, 1, 3), QString());
    EXPECT_EQ(CsvCell(cells, QStringLiteral("nothing"), 0, 0, 3), QString());
    EXPECT_EQ(CsvCell(cells, QStringLiteral("Total"), 0, 2, 3), QString());
    EXPECT_EQ(CsvCell(cells, QStringLiteral("Name"), -1, 0, 3), QString());
    EXPECT_EQ(CsvCell(cells, QString(), 0, 0, 3), QString());
    EXPECT_EQ(CsvCell(QStringList{}, QStringLiteral("Name"), 0, 0, 3), QString());
    // The first occurrence in flat order counts.
    const QStringList twice{"k", "1", "K", "2"};
    EXPECT_EQ(CsvCell(twice, QStringLiteral("k"), 1, 0, 2), QStringLiteral("1"));
}
