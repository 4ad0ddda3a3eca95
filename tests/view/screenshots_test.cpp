// Pictures of the real window for the documentation. With VOLTISK_SCREENSHOTS
// set to a folder, each page and each switch state is saved there; without it
// the same windows are still built and checked to render.
#include "app/view/formview.h"
#include "app/view/historyhook.h"
#include "history/historystore.h"
#include "support/fakes.h"
#include "support/testenv.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTabWidget>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

struct Shot {
    FormFixture fx;
    TForm1* form = nullptr;
    std::unique_ptr<TFormView> view;
    Shot() {
        form = &fx.Make(false);
        view = std::make_unique<TFormView>(*form);
        form->Show();
        view->show();
        form->dt1->SetDate(QDate(2026, 11, 8));
        form->dt2->UserSetDate(QDate(2026, 12, 8));
        form->Edit6->SetText("41230");
        form->Edit7->SetText("41712");
        form->Edit9->SetText("9120");
        form->Edit10->SetText("9264");
        form->exportoriged->SetText("10500");
        form->exportlater->SetText("10812");
        form->importgenoriged->SetText("22340");
        form->importgenlatered->SetText("22598");
        form->importhworiged->SetText("7010");
        form->importhwlatered->SetText("7139");
        form->wattsedit->SetText("1500");
        form->hrsedit->SetText("2");
    }
    // Saves the window as `name`.png when pictures were asked for; the window
    // must render to a non-empty picture either way.
    void Save(const char* name) {
        QApplication::processEvents();
        const QPixmap picture = view->grab();
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.width(), qRound(view->width() * picture.devicePixelRatio()));
        const QString folder = qEnvironmentVariable("VOLTISK_SCREENSHOTS");
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            EXPECT_TRUE(picture.save(folder + "/" + QString::fromLatin1(name) + ".png"));
        }
    }
};

} // namespace

TEST(Screenshots, ThreePages) {
    Shot s;
    s.Save("standard");
    s.form->pagecontrol1->SetActivePage(s.form->calc);
    s.Save("calculator");
    s.form->pagecontrol1->SetActivePage(s.form->about);
    s.Save("help");
}

TEST(Screenshots, FourSwitchStates) {
    Shot s;
    s.Save("standard-hotwater");
    s.form->showhwcb->SetChecked(false);
    s.Save("standard-nohotwater");
    s.form->solarcb->SetChecked(true);
    s.Save("solar-nohotwater");
    s.form->showhwcb->SetChecked(true);
    s.Save("solar-hotwater");
    EXPECT_EQ(s.view->width(), s.form->Width());
}

TEST(Screenshots, HistoryOfAYear) {
    FakeFileDialogs files;
    const QString file = TestEnv::DataDir() + QStringLiteral("/history.sqlite");
    {
        // Twelve monthly solar bills: more used and less exported in winter.
        THistoryStore store(file);
        ASSERT_EQ(store.Open(), HistoryFault::None);
        double general = 22000, hotWater = 7000, exported = 10000;
        for (int m = 0; m < 12; ++m) {
            const QDate from = QDate(2025, 12, 8).addMonths(m);
            const double winter = 1.0 + 0.45 * std::cos((from.month() - 7) * 3.14159265 / 6.0);
            PeriodInputs in;
            in.solar = true;
            in.generalDailyCharge = QStringLiteral("1.10");
            in.generalRate = QStringLiteral("0.2828");
            in.hwDailyCharge = QStringLiteral("0.05");
            in.hwRate = QStringLiteral("0.1631");
            in.feedIn = QStringLiteral("0.08");
            auto step = [](double& reading, double by) {
                const QString before = QString::number(reading, 'f', 0);
                reading += by;
                return std::pair(before, QString::number(reading, 'f', 0));
            };
            std::tie(in.importGeneralBefore, in.importGeneralAfter) = step(general, 260 * winter);
            std::tie(in.importHwBefore, in.importHwAfter) = step(hotWater, 130 * winter);
            std::tie(in.exportBefore, in.exportAfter) = step(exported, 520 / winter);
            HistoryPeriod p =
                MakeHistoryPeriod(from, from.addMonths(1), in, QLocale(QStringLiteral("en_US")), 2,
                                  QDateTime::currentDateTimeUtc());
            if (m == 7) {
                p.note = QStringLiteral("Visitors for two weeks");
            }
            store.Add(p);
        }
    }
    Shot s;
    AddHistoryPage(*s.view, s.fx.dialogs, files, file);
    s.view->findChild<QTabWidget*>()->setCurrentIndex(3);
    auto* table = s.view->findChild<QTableView*>(QStringLiteral("historytable"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->rowCount(), 12);
    table->selectRow(4);
    s.Save("history");
}

// The readings page with results wider than their designed places: a German
// quarter with solar power and hot water, and an American year.
TEST(Screenshots, WideResultsInFull) {
    struct Case {
        const char* locale;
        const char* name;
        int days;
        const char *general, *hotWater, *exported, *generalRate, *hwRate;
        const char* expected;
    };
    const Case cases[] = {
        {"de_DE", "readings-de_DE-quarter", 90, "670", "282,5", "2000", "0,3", "0,16",
         "((291,00\u00a0\u20ac + 63,20\u00a0\u20ac) - 200,00\u00a0\u20ac)"},
        {"en_US", "readings-en_US-year", 365, "2420", "900", "12500", "0.25", "0.15",
         "(($970.00 + $208.00) - $1,250.00)"},
    };
    for (const Case& c : cases) {
        TestEnv::UseLocale(c.locale);
        Shot s;
        TForm1& f = *s.form;
        const QString point = QLocale().decimalPoint();
        f.solarcb->SetChecked(true);
        f.dt1->SetDate(QDate(2026, 1, 1));
        f.dt2->UserSetDate(QDate(2026, 1, 1).addDays(c.days));
        f.generaldailyservicechargeed->SetText("1" + point + "00");
        f.hwdailyfixedchargeed->SetText("0" + point + "20");
        f.feedined->SetText("0" + point + "10");
        f.generalrateed->SetText(c.generalRate);
        f.hwrateed->SetText(c.hwRate);
        for (TEdit* e : {f.exportoriged, f.importgenoriged, f.importhworiged}) {
            e->SetText("0");
        }
        f.exportlater->SetText(c.exported);
        f.importgenlatered->SetText(c.general);
        f.importhwlatered->SetText(c.hotWater);
        EXPECT_EQ(f.tresultwk->Caption(), QString::fromUtf8(c.expected));
        const auto* label = s.view->Widget<QLabel>(QStringLiteral("tresultwk"));
        ASSERT_NE(label, nullptr);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
        s.Save(c.name);
    }
}
