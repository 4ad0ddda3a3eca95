// The locale parts taken from the environment, and short dates that read back
// in every locale Qt knows.
#include "mylib/dates.h"
#include "mylib/locales.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

TLocales FromVariables(const QHash<QString, QString>& vars) {
    return LocalesFromEnvironment(
        [&](const char* name) { return vars.value(QString::fromLatin1(name)); });
}

} // namespace

TEST(Locales, EachCategoryFollowsItsOwnVariableWithLcAllOverAndLangUnder) {
    TLocales l = FromVariables({{"LANG", "en_US.UTF-8"}, {"LC_MONETARY", "ja_JP.UTF-8"}});
    EXPECT_EQ(l.numbers.name(), "en_US");
    EXPECT_EQ(l.money.name(), "ja_JP");
    EXPECT_EQ(l.dates.name(), "en_US");

    l = FromVariables({{"LANG", "en_US.UTF-8"},
                       {"LC_NUMERIC", "de_DE.UTF-8"},
                       {"LC_TIME", "en_AU.UTF-8"},
                       {"LC_MONETARY", "id_ID.UTF-8"}});
    EXPECT_EQ(l.numbers.name(), "de_DE");
    EXPECT_EQ(l.money.name(), "id_ID");
    EXPECT_EQ(l.dates.name(), "en_AU");

    l = FromVariables({{"LC_ALL", "fr_FR.UTF-8"},
                       {"LANG", "en_US.UTF-8"},
                       {"LC_NUMERIC", "de_DE.UTF-8"},
                       {"LC_MONETARY", "ja_JP.UTF-8"}});
    EXPECT_EQ(l.numbers.name(), "fr_FR");
    EXPECT_EQ(l.money.name(), "fr_FR");
    EXPECT_EQ(l.dates.name(), "fr_FR");

    // An empty variable counts as unset, as in the C library.
    l = FromVariables({{"LC_ALL", ""}, {"LC_MONETARY", ""}, {"LANG", "de_DE.UTF-8"}});
    EXPECT_EQ(l.money.name(), "de_DE");

    l = FromVariables({});
    EXPECT_EQ(l.numbers, QLocale::c());
    EXPECT_EQ(l.money, QLocale::c());
    EXPECT_EQ(l.dates, QLocale::c());
}

TEST(Locales, NamesWithCodeSetsAndModifiers) {
    EXPECT_EQ(LocaleOfName("de_DE.UTF-8").name(), "de_DE");
    EXPECT_EQ(LocaleOfName("de_DE@euro").name(), "de_DE");
    EXPECT_EQ(LocaleOfName("ja_JP").name(), "ja_JP");
    EXPECT_EQ(LocaleOfName("POSIX"), QLocale::c());
    EXPECT_EQ(LocaleOfName("C.UTF-8"), QLocale::c());
    EXPECT_EQ(LocaleOfName(""), QLocale::c());
}

TEST(Dates, EveryLocalesShortDateReadsBack) {
    const QList<QLocale> all =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(all.size(), 300);
    int outsideTheBmp = 0;
    for (const QLocale& locale : all) {
        outsideTheBmp += locale.zeroDigit().size() == 2 ? 1 : 0;
        for (const QDate date :
             {QDate(2026, 12, 8), QDate(1700, 1, 1), FirstDate, LastDate, QDate(2024, 2, 29)}) {
            const QString text = FormatShortDate(date, locale);
            const auto back = ParseShortDate(text, locale);
            ASSERT_TRUE(back.has_value())
                << locale.name().toStdString() << " " << text.toStdString();
            EXPECT_EQ(*back, date) << locale.name().toStdString() << " " << text.toStdString();
        }
    }
    EXPECT_GE(outsideTheBmp, 14) << "the Chakma and Adlam locales are among them";
}

TEST(Dates, DigitsOutsideTheBmpAndAsciiDigitsBothRead) {
    const QLocale chakma(QStringLiteral("ccp_BD"));
    const QLocale adlam(QLocale::Fulah, QLocale::AdlamScript, QLocale::Guinea);
    ASSERT_EQ(chakma.zeroDigit().size(), 2);
    ASSERT_EQ(adlam.zeroDigit().size(), 2);
    EXPECT_EQ(ParseShortDate(FormatShortDate(QDate(2026, 12, 8), chakma), chakma),
              QDate(2026, 12, 8));
    EXPECT_EQ(ParseShortDate("8/12/2026", chakma), QDate(2026, 12, 8));
    EXPECT_EQ(ParseShortDate(FormatShortDate(QDate(1999, 1, 2), adlam), adlam), QDate(1999, 1, 2));
    EXPECT_FALSE(ParseShortDate(FormatShortDate(QDate(2026, 12, 8), chakma) + "x", chakma));
}

TEST(Dates, OnlyYearsOneHundredToNineThousandNineHundredNinetyNine) {
    const QLocale us(QStringLiteral("en_US"));
    EXPECT_EQ(FormatShortDate(FirstDate, us), "1/1/0100");
    EXPECT_EQ(ParseShortDate("1/1/0100", us), FirstDate);
    EXPECT_EQ(ParseShortDate("12/31/9999", us), LastDate);
    EXPECT_FALSE(ParseShortDate("12/31/0099", us).has_value());
    EXPECT_EQ(ParseShortDate("1/1/1700", us), QDate(1700, 1, 1));
}
