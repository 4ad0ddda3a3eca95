// The window in the user's locale as start-up builds it from the environment:
// money, numbers and dates each from their own category; short dates that
// read back at the next start; only the first argument as given.
#include "app/startuppage.h"
#include "mylib/locales.h"
#include "mylib/money.h"
#include "support/formfixture.h"
#include "support/testenv.h"

#include <QFile>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

// Sets the locale variables for one test and puts back what was there.
class LocaleVariables {
public:
    explicit LocaleVariables(std::vector<std::pair<const char*, const char*>> values) {
        for (const char* name : {"LC_ALL", "LC_NUMERIC", "LC_MONETARY", "LC_TIME", "LANG"}) {
            saved_.emplace_back(name, qgetenv(name));
            qunsetenv(name);
        }
        for (auto [name, value] : values) {
            qputenv(name, value);
        }
    }
    ~LocaleVariables() {
        for (const auto& [name, value] : saved_) {
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
        }
        TestEnv::UseLocale("en_US");
    }

private:
    std::vector<std::pair<const char*, QByteArray>> saved_;
};

// The worked example: 30 days of general and hot-water readings; charges
// written with `point` as the decimal separator.
void WorkedExample(TForm1& f, const QString& point) {
    f.dt1->SetDate(QDate(2026, 11, 8));
    f.dt2->UserSetDate(QDate(2026, 12, 8));
    f.Edit6->SetText("1000");
    f.Edit7->SetText("1300");
    f.Edit9->SetText("500");
    f.Edit10->SetText("560");
    f.generaldailyservicechargeed->SetText("1" + point + "00");
    f.generalrateed->SetText("0" + point + "25");
    f.hwdailyfixedchargeed->SetText("0" + point + "20");
    f.hwrateed->SetText("0" + point + "15");
}

// A window model on the locale parts that start-up builds.
struct StartedForm {
    FormFixture fx;
    TForm1* form;
    StartedForm() {
        fx.platform.locales = StartLocales();
        form = &fx.Make();
    }
};

} // namespace

TEST(LocaleAtStart, MoneyFollowsLcMonetaryAsAWhole) {
    {
        LocaleVariables env({{"LANG", "en_US.UTF-8"}, {"LC_MONETARY", "ja_JP.UTF-8"}});
        StartedForm s;
        WorkedExample(*s.form, ".");
        EXPECT_EQ(s.form->MoneyDecimals(), 0) << "the yen's own decimals";
        EXPECT_EQ(s.form->fresult->Caption(), QString::fromUtf8("￥36"));
        EXPECT_EQ(s.form->tresultwk->Caption(), QString::fromUtf8("((￥105 + ￥15) - ￥0)"));
        EXPECT_EQ(s.form->used->Caption(), "360.0") << "numbers stay en_US";
        s.form->wattsedit->SetText("2000");
        s.form->hrsedit->SetText("3");
        EXPECT_EQ(s.form->resultlabel->Caption(), QString::fromUtf8("Cost: ￥2"));
        EXPECT_EQ(s.form->perweeklabel->Caption(), QString::fromUtf8("￥11 per week"));
    }
    {
        LocaleVariables env({{"LANG", "en_US.UTF-8"}, {"LC_MONETARY", "de_DE.UTF-8"}});
        StartedForm s;
        WorkedExample(*s.form, ".");
        EXPECT_EQ(s.form->MoneyDecimals(), 2);
        EXPECT_EQ(s.form->fresult->Caption(), QString::fromUtf8("36,00\u00a0€"));
        EXPECT_EQ(s.form->dused->Caption(), "12.0");
        EXPECT_EQ(s.form->generalrateed->Text(), "0.25");
    }
}

// The decimals the program passes in are the window's, not the currency's.
TEST(LocaleAtStart, TheWindowUsesTheDecimalsPassedIn) {
    FormFixture fx;
    fx.platform.moneyDecimals = 0;
    TForm1& f = fx.Make();
    WorkedExample(f, ".");
    EXPECT_EQ(f.MoneyDecimals(), 0);
    EXPECT_EQ(f.fresult->Caption(), "$36");
    f.wattsedit->SetText("2000");
    f.hrsedit->SetText("3");
    EXPECT_EQ(f.perweeklabel->Caption(), "$11 per week");
}

TEST(LocaleAtStart, NumbersAndDatesFollowTheirOwnCategories) {
    LocaleVariables env(
        {{"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "de_DE.UTF-8"}, {"LC_TIME", "en_AU.UTF-8"}});
    StartedForm s;
    TForm1& f = *s.form;
    EXPECT_EQ(f.generalrateed->Text(), "0,28283") << "default tariffs in the numbers locale";
    WorkedExample(f, ",");
    EXPECT_EQ(f.used->Caption(), "360,0");
    EXPECT_EQ(f.fresult->Caption(), "$36.00") << "money stays en_US";
    QChar comma(',');
    f.Edit6KeyPress(nullptr, comma);
    EXPECT_EQ(comma, QChar(',')) << "the key filter takes the numbers locale's separator";
    f.Destroy();
    QFile ini(f.IniSettings1->GetFullIniFilename());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("DateBefore=8/11/2026")) << "day first, as en_AU writes";
    FormFixture next;
    next.platform.locales = StartLocales();
    TForm1& again = next.Make(false);
    EXPECT_EQ(again.dt1->Date(), QDate(2026, 11, 8));
    EXPECT_TRUE(next.dialogs.errors.isEmpty());
}

TEST(LocaleAtStart, LcAllStandsOverEveryCategory) {
    LocaleVariables env({{"LC_ALL", "de_DE.UTF-8"},
                         {"LANG", "en_US.UTF-8"},
                         {"LC_MONETARY", "ja_JP.UTF-8"},
                         {"LC_NUMERIC", "en_US.UTF-8"}});
    StartedForm s;
    WorkedExample(*s.form, ",");
    EXPECT_EQ(s.form->fresult->Caption(), QString::fromUtf8("36,00\u00a0€"));
    EXPECT_EQ(s.form->used->Caption(), "360,0");
}

TEST(DatesAtStart, ChakmaAndAdlamDatesComeBackWithoutAnErrorBox) {
    for (const QLocale& locale : {QLocale(QStringLiteral("ccp_BD")),
                                  QLocale(QLocale::Fulah, QLocale::AdlamScript, QLocale::Guinea)}) {
        TestEnv::ResetConfig();
        QLocale::setDefault(locale);
        {
            FormFixture fx;
            TForm1& f = fx.Make();
            f.dt1->SetDate(QDate(2026, 1, 15));
            f.dt2->SetDate(QDate(2026, 3, 1));
            f.Destroy();
        }
        FormFixture fx;
        TForm1& f = fx.Make(false);
        EXPECT_TRUE(fx.dialogs.errors.isEmpty())
            << locale.name().toStdString() << ": " << fx.dialogs.errors.join("|").toStdString();
        EXPECT_EQ(f.dt1->Date(), QDate(2026, 1, 15)) << locale.name().toStdString();
        EXPECT_EQ(f.dt2->Date(), QDate(2026, 3, 1)) << locale.name().toStdString();
    }
}

TEST(ArgumentsAtStart, OnlyTheFirstArgumentAsGivenCounts) {
    const char* reverse[] = {"voltisk", "-reverse", "calc"};
    const QStringList given = ArgumentsAsGiven(3, reverse);
    EXPECT_EQ(given, QStringList({"-reverse", "calc"}));
    FormFixture fx(given);
    TForm1& f = fx.Make();
    EXPECT_EQ(f.pagecontrol1->ActivePage(), f.readingsts)
        << "a toolkit option first hides the later CALC";

    const char* calcFirst[] = {"voltisk", "CaLc", "-reverse"};
    FormFixture calc(ArgumentsAsGiven(3, calcFirst));
    TForm1& c = calc.Make();
    EXPECT_EQ(c.pagecontrol1->ActivePage(), c.calc);

    const char* none[] = {"voltisk"};
    EXPECT_TRUE(ArgumentsAsGiven(1, none).isEmpty());
    const char* utf8[] = {"voltisk", "Zähler"};
    EXPECT_EQ(ArgumentsAsGiven(2, utf8), QStringList{QString::fromUtf8("Zähler")});
}
