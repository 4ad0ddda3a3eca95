// The real date pickers: they hold every date the program stores, so what is
// shown is what is counted, and they write dates as the dates locale does.
#include "app/view/formview.h"
#include "mylib/dates.h"
#include "support/testenv.h"
#include "support/viewfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The real window on the recording fakes.
struct Window : ViewFixture {
    QDateEdit* Picker(const TDateTimePicker* p) const {
        return qobject_cast<QDateEdit*>(view->WidgetOf(p));
    }
};

} // namespace

TEST(DatePickers, AStoredDateBefore1752IsShownAsItIsCounted) {
    const QString folder = TestEnv::ConfigDir() + "/BrindleSoftware/voltisk";
    QDir().mkpath(folder);
    QFile ini(folder + "/voltisk.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Settings]\nDateBefore=1/1/1700\nDateAfter=12/8/2026\n");
    ini.close();
    Window w;
    EXPECT_TRUE(w.fx.dialogs.errors.isEmpty());
    QDateEdit* first = w.Picker(w.form->dt1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->date(), QDate(1700, 1, 1));
    EXPECT_EQ(first->text(), "1/1/1700");
    const qint64 days = QDate(1700, 1, 1).daysTo(QDate(2026, 12, 8));
    EXPECT_EQ(w.form->dayslabel->Caption(), QString::number(days));
    EXPECT_EQ(qobject_cast<QLabel*>(w.view->WidgetOf(w.form->dayslabel))->text(),
              QString::number(days));
}

TEST(DatePickers, EveryDateFromYearOneHundredToNineThousandNineHundredNinetyNine) {
    Window w;
    for (const TDateTimePicker* p : {w.form->dt1, w.form->dt2}) {
        QDateEdit* picker = w.Picker(p);
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->minimumDate(), QDate(100, 1, 1));
        EXPECT_EQ(picker->maximumDate(), QDate(9999, 12, 31));
    }
    // The user's choice reaches the model unchanged at both ends (once the
    // user says it is meant: before 1900, over a year ahead).
    w.fx.dialogs.answers = {true, true};
    QDateEdit* first = w.Picker(w.form->dt1);
    first->setDate(QDate(100, 1, 1));
    EXPECT_EQ(w.form->dt1->Date(), QDate(100, 1, 1));
    first->setDate(QDate(9999, 12, 31));
    EXPECT_EQ(w.form->dt1->Date(), QDate(9999, 12, 31));
    // A program-set date at the ends shows as it is.
    w.form->dt2->SetDate(QDate(100, 3, 1));
    EXPECT_EQ(w.Picker(w.form->dt2)->date(), QDate(100, 3, 1));
}

TEST(DatePickers, ShortDatesInTheDatesLocale) {
    FormFixture fx;
    fx.platform.locales =
        TLocales{QLocale("en_US"), QLocale("en_US"), QLocale(QStringLiteral("en_AU"))};
    TForm1& form = fx.Make(false);
    TFormView view(form);
    form.Show();
    view.show();
    form.dt1->SetDate(QDate(2026, 12, 8));
    auto* picker = qobject_cast<QDateEdit*>(view.WidgetOf(form.dt1));
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->text(), "8/12/2026");
    EXPECT_EQ(picker->locale(), QLocale("en_AU"));
}

TEST(DatePickers, AWholeDateTypedOrPastedIsReadAsAWholeDate) {
    Window w;
    QDateEdit* picker = w.Picker(w.form->dt1);
    w.form->dt1->SetDate(QDate(2026, 11, 8));
    picker->setFocus();
    const struct {
        const char* keys; // "^A" selects all, "^V" pastes
        QDate shown;
    } cases[] = {{"12/15/2024", QDate(2024, 12, 15)},
                 {"^A1/14/2025", QDate(2025, 1, 14)},
                 {"^V3/2/2025", QDate(2025, 3, 2)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        QString keys = QString::fromLatin1(c.keys);
        picker->setCurrentSection(QDateTimeEdit::MonthSection);
        if (keys.startsWith(u'^')) {
            if (keys[1] == u'V') {
                QGuiApplication::clipboard()->setText(keys.mid(2));
                QTest::keyClick(picker, Qt::Key_V, Qt::ControlModifier);
                keys.clear();
            } else {
                QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
                keys = keys.mid(2);
            }
        }
        QTest::keyClicks(picker, keys);
        QTest::keyClick(picker, Qt::Key_Return);
        EXPECT_EQ(w.form->dt1->Date(), c.shown);
        EXPECT_EQ(picker->date(), c.shown);
    }
    EXPECT_TRUE(w.fx.dialogs.questions.isEmpty());
}

TEST(DatePickers, ADateBefore1900OrOverAYearAheadIsAskedAboutBeforeItIsUsed) {
    const struct {
        const char* typed;
        QDate date;
        const char* question;
    } cases[] = {
        {"1/14/1850", QDate(1850, 1, 14), "The date 1/14/1850 is before 1900. Use it?"},
        // Today is 12/8/2026 (the fixed clock).
        {"12/9/2027", QDate(2027, 12, 9),
         "The date 12/9/2027 is more than a year after today. Use it?"},
    };
    for (const auto& c : cases) {
        for (bool answer : {false, true}) {
            SCOPED_TRACE(std::string(c.typed) + (answer ? " yes" : " no"));
            Window w;
            QDateEdit* picker = w.Picker(w.form->dt1);
            w.form->dt1->SetDate(QDate(2026, 11, 8));
            picker->setFocus();
            w.fx.dialogs.answers = {answer};
            QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(picker, QString::fromLatin1(c.typed));
            EXPECT_NE(w.form->dt1->Date(), c.date) << "not used while typed";
            QTest::keyClick(picker, Qt::Key_Return);
            EXPECT_EQ(w.fx.dialogs.questions, QStringList{QString::fromLatin1(c.question)});
            EXPECT_EQ(w.form->dt1->Date() == c.date, answer);
            EXPECT_EQ(picker->date(), w.form->dt1->Date());
        }
    }
}
