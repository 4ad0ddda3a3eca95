#include "billimport/newestfile.h"
#include "support/printers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// An even second of local time, away from any daylight-saving change.
const QDateTime Base(QDate(2024, 3, 6), QTime(10, 0, 0));

class NewestFileTest : public testing::Test {
protected:
    QString folder() const { return dir_.path(); }
    QString Touch(const QString& name, const QDateTime& modified) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("a\n");
        // Written out first, or closing the file would stamp it again.
        file.flush();
        EXPECT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
        return path;
    }
    QString Newest() const { return FindNewestFile(folder(), QStringLiteral("*.csv")); }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(NewestFileTest, LatestModificationWinsWhateverTheName) {
    Touch(QStringLiteral("a.csv"), Base.addDays(-30));
    const QString newest = Touch(QStringLiteral("m.csv"), Base);
    Touch(QStringLiteral("z.csv"), Base.addSecs(-60));
    Touch(QStringLiteral("later.txt"), Base.addDays(1));
    EXPECT_EQ(Newest(), newest);
    EXPECT_EQ(newest, folder() + QStringLiteral("/m.csv"));
    // A folder given with its separator gives the same path.
    EXPECT_EQ(FindNewestFile(folder() + QStringLiteral("/"), QStringLiteral("*.csv")), newest);
}

TEST_F(NewestFileTest, TimesCountInTwoSecondSteps) {
    // 10:00:01 is in the same step as 10:00:00, so the first listed wins.
    const QString first = Touch(QStringLiteral("a.csv"), Base);
    Touch(QStringLiteral("b.csv"), Base.addMSecs(1999));
    EXPECT_EQ(Newest(), first);
    // The next step is newer.
    const QString next = Touch(QStringLiteral("c.csv"), Base.addSecs(2));
    EXPECT_EQ(Newest(), next);
}

TEST_F(NewestFileTest, HiddenFilesCountAndFoldersDoNot) {
    Touch(QStringLiteral("bill.csv"), Base);
    const QString hidden = Touch(QStringLiteral(".hidden.csv"), Base.addSecs(10));
    EXPECT_EQ(Newest(), hidden);
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("newer.csv")));
    EXPECT_EQ(Newest(), hidden);
    // The pattern ignores letter case, as the bill folder's file system did.
    const QString upper = Touch(QStringLiteral("BILL2.CSV"), Base.addSecs(20));
    EXPECT_EQ(Newest(), upper);
}

TEST_F(NewestFileTest, NoMatchOrNoFolderGivesNothing) {
    EXPECT_EQ(Newest(), QString());
    Touch(QStringLiteral("bill.csv.bak"), Base);
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("only.csv")));
    EXPECT_EQ(Newest(), QString());
    EXPECT_EQ(FindNewestFile(folder() + QStringLiteral("/missing"), QStringLiteral("*.csv")),
              QString());
    EXPECT_EQ(FindNewestFile(QString(), QStringLiteral("*.csv")), QString());
}
