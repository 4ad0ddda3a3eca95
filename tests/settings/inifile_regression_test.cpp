// Cases the INI fuzz target found (fuzz/ini_fuzz.cpp).

#include "settings/inifile.h"
#include "support/printers.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A key line that starts with a byte-order mark (a second file appended to the
// first brings its mark along) or a vertical tab is an entry; its key text
// drops that character. The rewrite wrote the key text back, so "[B" became a
// section header and "#E" a comment: the value written could not be read, and
// the lines after a new header left their section.
TEST(IniFileRegression, RewrittenKeysBehindInvisibleCharactersStayEntries) {
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
