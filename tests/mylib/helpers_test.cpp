#include "mylib/blanks.h"
#include "mylib/dates.h"
#include "mylib/paths.h"
#include "mylib/textlist.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(Paths, TrailingSeparatorAndJoin) {
    EXPECT_EQ(AddTrailingBackslash(""), "");
    EXPECT_EQ(AddTrailingBackslash("/a/b"), "/a/b/");
    EXPECT_EQ(AddTrailingBackslash("/a/b/"), "/a/b/");
    EXPECT_EQ(JoinPath("", "x.ini"), "x.ini");
    EXPECT_EQ(JoinPath("/a", "x.ini"), "/a/x.ini");
    EXPECT_EQ(JoinPath("/a/", "x.ini"), "/a/x.ini");
    EXPECT_EQ(ExtractFilePath("/a/b/c.ini"), "/a/b/");
    EXPECT_EQ(ExtractFilePath("c.ini"), "");
}

TEST(Paths, AppDataFolderIsTheConfigFolderWithoutTrailingSeparator) {
    EXPECT_EQ(AppDataFolder(), TestEnv::ConfigDir());
}

TEST(Paths, ExeFolderKeepsItsTrailingSeparator) {
    EXPECT_EQ(ExeFolder("/opt/voltisk/bin/voltisk"), "/opt/voltisk/bin/");
}

TEST(Paths, DeveloperMarkerMustBeAFile) {
    const QString marker = TestEnv::ConfigDir() + "/marker.txt";
    EXPECT_FALSE(IsDeveloperMachine(marker));
    QDir().mkpath(marker);
    EXPECT_FALSE(IsDeveloperMachine(marker)) << "a folder of that name does not count";
    QDir().rmdir(marker);
    QFile f(marker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(IsDeveloperMachine(marker));
    const QString link = TestEnv::ConfigDir() + "/link.txt";
    ASSERT_TRUE(QFile::link(marker, link));
    EXPECT_TRUE(FileExists(link));
    QFile::remove(marker);
    EXPECT_FALSE(FileExists(link)) << "a dangling link does not count";
}

TEST(Dates, StampAndDifference) {
    EXPECT_EQ(DateStamp("", QDate(2024, 12, 31)), "20241231");
    EXPECT_EQ(DateStamp("-", QDate(2024, 3, 5)), "2024-03-05");
    EXPECT_EQ(RoundedDifference(QDate(2024, 3, 1), QDate(2024, 2, 1)), 29);
    EXPECT_EQ(RoundedDifference(QDate(2024, 2, 1), QDate(2024, 3, 1)), -29);
    const QDateTime a(QDate(2024, 1, 2), QTime(12, 0));
    const QDateTime b(QDate(2024, 1, 1), QTime(0, 0));
    // 1.5 days: the half goes to the even neighbour.
    EXPECT_EQ(RoundedDifference(a, b), 2);
    EXPECT_EQ(RoundedDifference(QDateTime(QDate(2024, 1, 3), QTime(12, 0)), b), 2);
}

TEST(Dates, ShortDateFormatWidensTheYear) {
    const QLocale us("en_US"), au("en_AU");
    EXPECT_EQ(FormatShortDate(QDate(2026, 12, 8), us), "12/8/2026");
    EXPECT_EQ(FormatShortDate(QDate(2026, 12, 8), au), "8/12/2026");
    EXPECT_EQ(*ParseShortDate("8/12/2026", au), QDate(2026, 12, 8));
    EXPECT_FALSE(ParseShortDate("31/12/2026", us).has_value());
    EXPECT_FALSE(ParseShortDate("", us).has_value());
    EXPECT_EQ(
        *ParseShortDate(FormatShortDate(QDate(1999, 1, 2), QLocale("de_DE")), QLocale("de_DE")),
        QDate(1999, 1, 2));
}

TEST(TextList, ExactCaseSensitiveMatch) {
    EXPECT_TRUE(InStringList("Edit6", {"Label1", "Edit6"}));
    EXPECT_FALSE(InStringList("edit6", {"Label1", "Edit6"}));
    EXPECT_FALSE(InStringList("x", {}));
}

TEST(Blanks, EveryCodePointUpToSpaceIsTrimmedAtBothEndsOnly) {
    const QString text = QString::fromLatin1("\t\x01 a \x1f b\r\n \x00", 12);
    EXPECT_EQ(TrimBlanks(text), QStringLiteral("a \x1f b"));
    const TextRange r = TrimmedRange(text);
    EXPECT_EQ(r.begin, 3);
    EXPECT_EQ(r.end, 8);
    EXPECT_EQ(TrimBlanks(QStringLiteral("\u00a0x\u00a0")), QStringLiteral("\u00a0x\u00a0"))
        << "a no-break space is a character, not a blank";
    EXPECT_TRUE(IsBlank(QString()));
    EXPECT_TRUE(IsBlank(QStringLiteral(" \t\x7\r\n")));
    EXPECT_FALSE(IsBlank(QStringLiteral(" \t!")));
    EXPECT_FALSE(IsBlank(QStringLiteral("\x21")));
    EXPECT_EQ(TrimBlanks(QStringLiteral("   ")), QString());
}
