// The real date pickers: they hold every date the program stores, so what is
// shown is what is counted, and they write dates as the dates locale does.
#include "app/view/formview.h"
#include "mylib/dates.h"
#include "support/testenv.h"
#include "support/viewfixture.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
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
    // The user's choice reaches the model unchanged at both ends.
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
