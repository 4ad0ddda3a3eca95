#include "settings/inifile.h"

#include "mylib/errors.h"
#include "support/files.h"
#include "support/testenv.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

void Put(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(WriteBytes(path, bytes));
}

class IniFileTest : public testing::Test {
protected:
    QString path = TestEnv::ConfigDir() + QStringLiteral("/test.ini");
    TIniFile ini{path};

    QString Read(const char* section, const char* key, const char* def = "<none>") const {
        return ini.ReadString(QString::fromUtf8(section), QString::fromUtf8(key),
                              QString::fromUtf8(def));
    }
    void Write(const char* section, const char* key, const QString& value) {
        ini.WriteString(QString::fromUtf8(section), QString::fromUtf8(key), value);
    }
    // Everything in the folder besides the file itself (temporary leftovers).
    QStringList Others() const {
        QStringList names = QDir(TestEnv::ConfigDir()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral("test.ini"));
        return names;
    }
};

TEST_F(IniFileTest, ReadsNamesWithoutRegardToCaseAndCleansValues) {
    Put(path, "top=outside\n"
              "[Settings]\n"
              "Plain=abc\n"
              "  Spaced  =   two words  \t\n"
              "Double=\"  quoted  \"\n"
              "Single='x'\n"
              "Mixed=\"x'\n"
              "OneQuote=\"\n"
              "Twice=\"\"a\"\"\n"
              "Empty=\n"
              "Equals=a=b\n"
              "; Commented=no\n"
              "# Hashed=no\n"
              "no equals sign here\n"
              "[Other]\n"
              "Elsewhere=1\n");
    EXPECT_EQ(Read("settings", "PLAIN"), "abc");
    EXPECT_EQ(Read("Settings", "spaced"), "two words  \t") << "only blanks are trimmed";
    EXPECT_EQ(Read("Settings", "Double"), "  quoted  ");
    EXPECT_EQ(Read("Settings", "Single"), "x");
    EXPECT_EQ(Read("Settings", "Mixed"), "\"x'");
    EXPECT_EQ(Read("Settings", "OneQuote"), "\"");
    EXPECT_EQ(Read("Settings", "Twice"), "\"a\"");
    EXPECT_EQ(Read("Settings", "Empty"), "");
    EXPECT_EQ(Read("Settings", "Equals"), "a=b");
    EXPECT_EQ(Read("Settings", "; Commented"), "<none>");
    EXPECT_EQ(Read("Settings", "Commented"), "<none>");
    EXPECT_EQ(Read("Settings", "# Hashed"), "<none>");
    EXPECT_EQ(Read("Settings", "Elsewhere"), "<none>");
    EXPECT_EQ(Read("Other", "Elsewhere"), "1");
    EXPECT_EQ(Read("", "top"), "<none>");
    EXPECT_EQ(Read("Missing", "Plain"), "<none>");
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("SETTINGS"), QStringLiteral("empty")));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Settings"), QStringLiteral("Absent")));
    EXPECT_EQ(ini.ReadSections(), (QStringList{"Settings", "Other"}));
    EXPECT_EQ(ini.ReadSection(QStringLiteral("settings")),
              (QStringList{"Plain", "Spaced", "Double", "Single", "Mixed", "OneQuote", "Twice",
                           "Empty", "Equals"}));
}

TEST_F(IniFileTest, CutsLongValuesAt2047Characters) {
    const QString longValue(5000, QChar('v'));
    Put(path, "[S]\nK=" + longValue.toUtf8() + "\nQ=\"" + longValue.toUtf8() + "\"\nAfter=ok\n");
    EXPECT_EQ(Read("S", "K"), QString(2047, QChar('v')));
    EXPECT_EQ(Read("S", "Q"), QString(2047, QChar('v')));
    EXPECT_EQ(Read("S", "After"), "ok");

    // A character outside the BMP straddling the cut is not split in half.
    QString pairs(2046, QChar('a'));
    pairs += QString::fromUcs4(U"\U0001F600\U0001F600");
    Put(path, "[S]\nK=" + pairs.toUtf8() + "\n");
    const QString read = Read("S", "K");
    EXPECT_EQ(read, QString(2046, QChar('a')));
}

TEST_F(IniFileTest, MissingAndOddFilesReadAsDefaults) {
    EXPECT_EQ(Read("S", "K"), "<none>");
    EXPECT_FALSE(QFileInfo::exists(path)) << "a read never creates the file";

    Put(path, "");
    EXPECT_EQ(Read("S", "K"), "<none>");
    EXPECT_TRUE(ini.ReadSections().isEmpty());

    Put(path, "K=1\nno sections at all\n");
    EXPECT_EQ(Read("S", "K"), "<none>");
    EXPECT_TRUE(ini.ReadSections().isEmpty());

    QByteArray binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 131 + 7) % 256);
    }
    Put(path, binary + "\n[S]\nK=found\n" + binary);
    EXPECT_EQ(Read("S", "K"), "found");

    // A folder where the file should be.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path));
    EXPECT_EQ(Read("S", "K"), "<none>");
}

TEST_F(IniFileTest, DuplicatesLetTheFirstWinForReadsAndWrites) {
    Put(path, "[S]\nK=first\nk=second\n[T]\nX=1\n[s]\nK=third\nOnlyLater=4\n");
    EXPECT_EQ(Read("S", "K"), "first");
    EXPECT_EQ(Read("S", "OnlyLater"), "4") << "a later occurrence still holds entries";
    EXPECT_EQ(ini.ReadSections(), (QStringList{"S", "T"}));
    EXPECT_EQ(ini.ReadSection(QStringLiteral("S")), (QStringList{"K", "OnlyLater"}));

    Write("S", "K", QStringLiteral("new"));
    Write("S", "OnlyLater", QStringLiteral("5"));
    EXPECT_EQ(ReadBytes(path), "[S]\nK=new\nk=second\n[T]\nX=1\n[s]\nK=third\nOnlyLater=5\n");
}

TEST_F(IniFileTest, LineEndingsAndByteOrderMark) {
    Put(path, "\xEF\xBB\xBF[S]\r\nA=1\r\n\r\n[T]\r\nB=2");
    EXPECT_EQ(Read("S", "A"), "1");
    EXPECT_EQ(Read("T", "B"), "2");
    EXPECT_EQ(ini.ReadSections(), (QStringList{"S", "T"}));

    Write("S", "New", QStringLiteral("x"));
    Write("T", "B", QStringLiteral("3"));
    Write("T", "C", QStringLiteral("4"));
    Write("U", "D", QStringLiteral("5"));
    EXPECT_EQ(ReadBytes(path),
              "\xEF\xBB\xBF[S]\r\nA=1\r\nNew=x\r\n\r\n[T]\r\nB=3\r\nC=4\r\n[U]\r\nD=5\r\n");

    // Mixed endings: a new entry takes the ending of the line it follows.
    Put(path, "[S]\rA=1\n\n[T]\rB=2");
    Write("S", "K", QStringLiteral("v"));
    EXPECT_EQ(ReadBytes(path), "[S]\rA=1\nK=v\n\n[T]\rB=2");
    EXPECT_EQ(Read("T", "B"), "2");

    // A BOM alone is not a line to end.
    Put(path, "\xEF\xBB\xBF");
    Write("S", "A", QStringLiteral("1"));
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF[S]\nA=1\n");
}

TEST_F(IniFileTest, WritesReplaceInPlaceAndKeepEverythingElse) {
    const QByteArray before = "; settings of the program\n"
                              "stray line before sections\n"
                              "\n"
                              "[Settings]\n"
                              "  Left = 10\n"
                              "; a comment inside\n"
                              "Top=20\n"
                              "\n"
                              "; about the next section\n"
                              "[Other]\n"
                              "Keep=\"quoted\"  \n"
                              "\x01\x02 binary \xFF junk\n";
    Put(path, before);
    Write("SETTINGS", "left", QStringLiteral("15"));
    Write("Settings", "Width", QStringLiteral(" spaced value "));
    Write("Other", "Added", QStringLiteral("y"));
    Write("New", "Key", QStringLiteral("z"));
    EXPECT_EQ(ReadBytes(path), "; settings of the program\n"
                               "stray line before sections\n"
                               "\n"
                               "[Settings]\n"
                               "Left=15\n"
                               "; a comment inside\n"
                               "Top=20\n"
                               "Width= spaced value \n"
                               "\n"
                               "; about the next section\n"
                               "[Other]\n"
                               "Keep=\"quoted\"  \n"
                               "Added=y\n"
                               "\x01\x02 binary \xFF junk\n"
                               "[New]\n"
                               "Key=z\n");
    EXPECT_EQ(Read("Settings", "Width"), "spaced value");
    EXPECT_EQ(Read("Other", "Keep"), "quoted");
}

TEST_F(IniFileTest, WritesCreateTheFileAndHandleUnendedLines) {
    Write("Settings", "A", QStringLiteral("1"));
    EXPECT_EQ(ReadBytes(path), "[Settings]\nA=1\n");

    Put(path, "[Settings]");
    Write("Settings", "A", QStringLiteral("1"));
    EXPECT_EQ(ReadBytes(path), "[Settings]\nA=1");

    Put(path, "[Settings]\nA=1");
    Write("Other", "B", QStringLiteral("2"));
    EXPECT_EQ(ReadBytes(path), "[Settings]\nA=1\n[Other]\nB=2\n");

    // A line break in a value cannot smuggle in a section or a second entry.
    Put(path, "");
    Write("S", "K", QStringLiteral("a\r\n[Evil]\nX=1"));
    EXPECT_EQ(ReadBytes(path), "[S]\nK=a  [Evil] X=1\n");
    EXPECT_TRUE(ini.ReadSection(QStringLiteral("Evil")).isEmpty());
    EXPECT_EQ(ini.ReadSections(), QStringList{"S"});

    // Non-ASCII text is stored as UTF-8 and compared without regard to case.
    Write("Größe", "Ключ", QStringLiteral("значение €"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("GRÖßE"), QStringLiteral("ключ"), QString()),
              QStringLiteral("значение €"));
    EXPECT_TRUE(
        ReadBytes(path).endsWith("[Größe]\n" + QStringLiteral("Ключ=значение €\n").toUtf8()));
}

TEST_F(IniFileTest, SeesChangesMadeByOthersAtTheNextRead) {
    Write("S", "K", QStringLiteral("mine"));
    EXPECT_EQ(Read("S", "K"), "mine");
    Put(path, "[S]\nK=theirs\n");
    EXPECT_EQ(Read("S", "K"), "theirs");
    Write("S", "Other", QStringLiteral("1"));
    EXPECT_EQ(ReadBytes(path), "[S]\nK=theirs\nOther=1\n");
}

// A held file is read once: reads and writes work on the copy, Flush writes
// it once with what the writes one by one leave, Release drops the writes.
TEST_F(IniFileTest, AHeldFileIsReadOnceAndWrittenOnceAtFlush) {
    const QByteArray start = "; top\r\n[A]\r\nk=1\r\n\r\n[b]\r\nx = 2\r\n; end";
    const QString other = TestEnv::ConfigDir() + QStringLiteral("/other.ini");
    Put(path, start);
    Put(other, start);
    TIniFile oneByOne(other);
    ini.Hold();
    Put(path, "[A]\nk=changed underneath\n");
    EXPECT_EQ(Read("A", "k"), "1") << "reads come from the copy";
    for (const auto& [section, key, value] :
         {std::tuple{"B", "X", "3"}, {"b", "new", "4"}, {"C", "y", "5"}, {"A", "k", "6"}}) {
        Write(section, key, QString::fromUtf8(value));
        oneByOne.WriteString(QString::fromUtf8(section), QString::fromUtf8(key),
                             QString::fromUtf8(value));
    }
    EXPECT_TRUE(ini.DeleteKey(QStringLiteral("a"), QStringLiteral("K")));
    oneByOne.DeleteKey(QStringLiteral("a"), QStringLiteral("K"));
    EXPECT_EQ(ReadBytes(path), "[A]\nk=changed underneath\n") << "nothing written before Flush";
    EXPECT_EQ(Read("b", "new"), "4");
    ini.Flush();
    EXPECT_FALSE(ini.Holding());
    EXPECT_EQ(ReadBytes(path), ReadBytes(other));

    ini.Hold();
    Write("A", "k", QStringLiteral("dropped"));
    ini.Release();
    EXPECT_EQ(ReadBytes(path), ReadBytes(other));
    EXPECT_EQ(Others(), QStringList{QStringLiteral("other.ini")}) << "no temporary file left";
}

TEST_F(IniFileTest, HugeFilesAndVeryLongLinesSurviveARewrite) {
    // About 10 MB: many sections, a 1 MB line, headers without their bracket,
    // and 3 MB of lines that are not entries before an entry at the very end.
    QByteArray big;
    big.reserve(11 * 1024 * 1024);
    for (int i = 0; i < 40000; ++i) {
        big += "[Section" + QByteArray::number(i) + "]\nKey=value " + QByteArray::number(i) +
               "\nFiller=" + QByteArray(128, 'f') + "\n";
    }
    big += "[Long]\nLine=" + QByteArray(1024 * 1024, 'L') + "\n";
    for (int i = 0; i < 10000; ++i) {
        big += "[ unclosed header " + QByteArray(64, 'u') + "\n";
    }
    big += "[Settings]\n";
    for (int i = 0; i < 20000; ++i) {
        big += "no equals sign " + QByteArray(128, 'n') + "\n";
    }
    big += "Last=end";
    Put(path, big);
    ASSERT_GT(big.size(), 10 * 1000 * 1000);

    EXPECT_EQ(Read("section39999", "key"), "value 39999");
    EXPECT_EQ(Read("Long", "Line"), QString(2047, QChar('L')));
    Write("Settings", "Last", QStringLiteral("changed"));
    Write("Section0", "Key", QStringLiteral("v0"));

    QByteArray expected = big;
    expected.replace("Last=end", "Last=changed");
    expected.replace("[Section0]\nKey=value 0\n", "[Section0]\nKey=v0\n");
    EXPECT_TRUE(ReadBytes(path) == expected) << "the rest of the file is kept byte for byte";
}

TEST_F(IniFileTest, DeleteKeyAndEraseSectionTakeEveryOccurrence) {
    EXPECT_FALSE(ini.DeleteKey(QStringLiteral("S"), QStringLiteral("K")));
    EXPECT_FALSE(ini.EraseSection(QStringLiteral("S")));
    EXPECT_FALSE(QFileInfo::exists(path)) << "nothing to remove writes nothing";

    Put(path, "; head\n[S]\nK=1\nJ=2\nk=3\n[T]\nK=4\n; t comment\n[s]\nK=5\n[U]\nL=6");
    EXPECT_TRUE(ini.DeleteKey(QStringLiteral("s"), QStringLiteral("k")));
    EXPECT_EQ(ReadBytes(path), "; head\n[S]\nJ=2\n[T]\nK=4\n; t comment\n[s]\n[U]\nL=6");
    EXPECT_FALSE(ini.DeleteKey(QStringLiteral("S"), QStringLiteral("K")));

    EXPECT_TRUE(ini.EraseSection(QStringLiteral("S")));
    EXPECT_EQ(ReadBytes(path), "; head\n[T]\nK=4\n; t comment\n[U]\nL=6");
    EXPECT_TRUE(ini.EraseSection(QStringLiteral("u")));
    EXPECT_EQ(ReadBytes(path), "; head\n[T]\nK=4\n; t comment\n");
    EXPECT_EQ(Read("T", "K"), "4");
}

TEST_F(IniFileTest, AReadOnlyFileIsNeverReplaced) {
    const QByteArray before = "[S]\nK=1\n";
    Put(path, before);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    try {
        Write("S", "K", QStringLiteral("2"));
        ADD_FAILURE() << "a read-only file was written";
    } catch (const EVoltiskError& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + path);
    }
    EXPECT_THROW(ini.DeleteKey(QStringLiteral("S"), QStringLiteral("K")), EVoltiskError);
    EXPECT_THROW(ini.EraseSection(QStringLiteral("S")), EVoltiskError);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(Read("S", "K"), "1");
    EXPECT_TRUE(Others().isEmpty());
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(IniFileTest, WritesNeverCreateAFolder) {
    const QString inMissing = TestEnv::ConfigDir() + QStringLiteral("/missing/test.ini");
    TIniFile lost(inMissing);
    try {
        lost.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1"));
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const EVoltiskError& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + inMissing);
    }
    EXPECT_FALSE(QFileInfo::exists(TestEnv::ConfigDir() + QStringLiteral("/missing")));

    // A "folder" that is a file fails for every user, root included.
    Put(path, "[S]\nK=1\n");
    TIniFile below(path + QStringLiteral("/inner.ini"));
    EXPECT_THROW(below.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("2")),
                 EVoltiskError);
    EXPECT_EQ(ReadBytes(path), "[S]\nK=1\n");
}

TEST_F(IniFileTest, AReadOnlyFolderStillSavesAWritableFileInPlace) {
    const Unprivileged::Dir home;
    const QString folder = home.Sub(QStringLiteral("locked"));
    const QString file = folder + QStringLiteral("/test.ini");
    const QString fixed = folder + QStringLiteral("/fixed.ini");
    Put(file, "; kept\n[S]\nK=1\n");
    Put(fixed, "[S]\nK=1\n");
    Unprivileged::Give(file);
    Unprivileged::Give(fixed);
    QFile::setPermissions(fixed, QFileDevice::ReadOwner);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray outcome = Unprivileged::Run([&] {
        QByteArray out;
        TIniFile locked(file);
        locked.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("2"));
        locked.WriteString(QStringLiteral("S"), QStringLiteral("New"), QStringLiteral("3"));
        try {
            TIniFile(fixed).WriteString(QStringLiteral("S"), QStringLiteral("K"),
                                        QStringLiteral("2"));
        } catch (const EVoltiskError& e) {
            out = e.Message().toUtf8();
        }
        return out;
    });
    EXPECT_EQ(outcome, "Unable to write to " + fixed.toUtf8());
    EXPECT_EQ(ReadBytes(file), "; kept\n[S]\nK=2\nNew=3\n");
    EXPECT_EQ(ReadBytes(fixed), "[S]\nK=1\n");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"fixed.ini", "test.ini"}));
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNeverWrittenOver) {
    const Unprivileged::Dir home;
    const QString file = home.path() + QStringLiteral("/test.ini");
    Put(file, "[S]\nK=1\nOther=2\n");
    Unprivileged::Give(file);
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    const QByteArray outcome = Unprivileged::Run([&] {
        TIniFile ini(file);
        QByteArray out =
            ini.ReadProblem().value_or(QStringLiteral("none")).toUtf8() + '|' +
            ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("default"))
                .toUtf8() +
            '|';
        try {
            ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("9"));
            out += "written";
        } catch (const EVoltiskError& e) {
            out += e.Message().toUtf8();
        }
        return out;
    });
    EXPECT_EQ(outcome, "Permission denied|default|Unable to write to " + file.toUtf8());
    EXPECT_EQ(ReadBytes(file), "[S]\nK=1\nOther=2\n");
}

TEST_F(IniFileTest, FifosDevicesAndHugeFilesAreUnreadableAndKept) {
    ASSERT_TRUE(QDir().mkpath(TestEnv::ConfigDir() + QStringLiteral("/odd")));
    const QString fifo = TestEnv::ConfigDir() + QStringLiteral("/odd/fifo.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = TestEnv::ConfigDir() + QStringLiteral("/odd/zero.ini");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString& odd : {fifo, zero}) {
        TIniFile ini(odd);
        EXPECT_EQ(ini.ReadProblem(), QStringLiteral("Not a regular file"));
        EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")),
                  "d");
        EXPECT_THROW(ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1")),
                     EVoltiskError);
    }
    EXPECT_TRUE(QFileInfo(zero).isSymLink());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    QFile huge(path);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write("[S]\nK=1\n");
    ASSERT_TRUE(huge.resize(TIniFile::MaxFileBytes + 1));
    huge.close();
    EXPECT_EQ(ini.ReadProblem(), QStringLiteral("The file is larger than 16 MB"));
    EXPECT_EQ(Read("S", "K"), "<none>");
    EXPECT_THROW(Write("S", "K", QStringLiteral("2")), EVoltiskError);
    EXPECT_EQ(QFileInfo(path).size(), TIniFile::MaxFileBytes + 1);
    EXPECT_TRUE(Others().isEmpty());

    EXPECT_EQ(TIniFile(TestEnv::ConfigDir() + QStringLiteral("/none.ini")).ReadProblem(),
              std::nullopt);
}

TEST_F(IniFileTest, ARewriteKeepsTheFilePermissions) {
    Put(path, "[S]\nK=1\n");
    const auto perms = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QFile::setPermissions(path, perms);
    Write("S", "K", QStringLiteral("2"));
    const QFileDevice::Permissions classes(0x7077); // owner, group, others
    EXPECT_EQ(QFile::permissions(path) & classes, perms & classes);
    EXPECT_TRUE(Others().isEmpty()) << "the temporary file is gone after the rename";
}

} // namespace

TEST_F(IniFileTest, OnlyBlanksAroundAValueAreTrimmed) {
    Put(path, "[Settings]\n"
              "Nbsp=  12\xC2\xA0\n"
              "NarrowNbsp=\xE2\x80\xAF"
              "5 \n"
              "Ideographic=\xE3\x80\x80x\xE3\x80\x80\n"
              "Tabbed=\tx\t\n"
              "Blanks=   x   \n");
    EXPECT_EQ(Read("Settings", "Nbsp"), QString::fromUtf8("12\u00a0"));
    EXPECT_EQ(Read("Settings", "NarrowNbsp"), QString::fromUtf8("\u202f"
                                                                "5"));
    EXPECT_EQ(Read("Settings", "Ideographic"), QString::fromUtf8("\u3000x\u3000"));
    EXPECT_EQ(Read("Settings", "Tabbed"), "\tx\t");
    EXPECT_EQ(Read("Settings", "Blanks"), "x");
}

// A key line that starts with a byte-order mark (a second file appended to the
// first brings its mark along) or a vertical tab is an entry; its key text
// drops that character. A rewrite keeps the key as the file spells it, so "[B"
// never turns into a section header nor "#E" into a comment.
TEST(IniFileKeys, RewrittenKeysBehindInvisibleCharactersStayEntries) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("test.ini"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_GT(f.write("[S]\nA=1\n\xEF\xBB\xBF[B = 2\n\v#E=3\nD=4\n"), 0);
    }
    TIniFile ini(path);
    const QString s = QStringLiteral("S");
    ASSERT_EQ(ini.ReadString(s, QStringLiteral("[B"), QString()), QStringLiteral("2"));
    ASSERT_EQ(ini.ReadString(s, QStringLiteral("#E"), QString()), QStringLiteral("3"));

    ini.WriteString(s, QStringLiteral("[b"), QStringLiteral("5"));
    ini.WriteString(s, QStringLiteral("#E"), QStringLiteral("6"));
    EXPECT_EQ(ini.ReadString(s, QStringLiteral("[B"), QString()), QStringLiteral("5"));
    EXPECT_EQ(ini.ReadString(s, QStringLiteral("#E"), QString()), QStringLiteral("6"));
    EXPECT_EQ(ini.ReadString(s, QStringLiteral("D"), QString()), QStringLiteral("4"));
    EXPECT_EQ(ini.ReadSections(), QStringList{s});
    // Only the value changed; blanks around "=" go, as on every rewrite.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[S]\nA=1\n\xEF\xBB\xBF[B=5\n\v#E=6\nD=4\n"));
}
