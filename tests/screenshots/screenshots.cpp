// Pictures of the real window for docs/, written by scripts/screenshots.sh:
// each page, each switch state, the converter after a calculation and
// results wider than their designed places.
// Usage: voltisk_screenshots <folder> [all|readings]
// "readings" writes standard.png only (the scaled pictures). Runs in a
// temporary configuration folder in en_US, whatever the machine's settings.
#include "history/historystore.h"
#include "history/page/historychart.h"
#include "history/page/historyhook.h"
#include "support/testenv.h"
#include "support/viewfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <tuple>

namespace {

QString g_folder;
bool g_ok = true;

// The window with the readings of a typical month.
struct Shot : ViewFixture {
    explicit Shot(const QStringList& args = {}) : ViewFixture(args) {
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
    void Save(const char* name) {
        QApplication::processEvents();
        const QString file = g_folder + "/" + QString::fromLatin1(name) + ".png";
        const QPixmap picture = view->grab();
        if (picture.isNull() || !picture.save(file)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(file));
            g_ok = false;
        }
    }
};

void Pages() {
    Shot s;
    s.Save("standard");
    s.form->pagecontrol1->SetActivePage(s.form->calc);
    s.Save("calculator");
    s.form->pagecontrol1->SetActivePage(s.form->about);
    s.Save("help");
}

void SwitchStates() {
    Shot s;
    s.Save("standard-hotwater");
    s.form->showhwcb->SetChecked(false);
    s.Save("standard-nohotwater");
    s.form->solarcb->SetChecked(true);
    s.Save("solar-nohotwater");
    s.form->showhwcb->SetChecked(true);
    s.Save("solar-hotwater");
}

// Results wider than their designed places: a German quarter with solar
// power and hot water, and an American year.
void WideResults() {
    struct Case {
        const char* locale;
        const char* name;
        int days;
        const char *general, *hotWater, *exported, *generalRate, *hwRate;
    };
    const Case cases[] = {
        {"de_DE", "readings-de_DE-quarter", 90, "670", "282,5", "2000", "0,3", "0,16"},
        {"en_US", "readings-en_US-year", 365, "2420", "900", "12500", "0.25", "0.15"},
    };
    for (const Case& c : cases) {
        TestEnv::ResetConfig();
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
        s.Save(c.name);
    }
    TestEnv::UseLocale("en_US");
}

// The History page with twelve monthly solar bills: more used and less
// exported in winter, one with a note.
void HistoryOfAYear() {
    TestEnv::ResetConfig();
    FakeFileDialogs files;
    const QString file = TestEnv::DataDir() + QStringLiteral("/history.sqlite");
    {
        THistoryStore store(file);
        if (store.Open() != HistoryFault::None) {
            g_ok = false;
            return;
        }
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
    if (!table || table->model()->rowCount() != 12) {
        std::fprintf(stderr, "the History page does not show the twelve periods\n");
        g_ok = false;
        return;
    }
    table->selectRow(4);
    s.Save("history");
}

// The converter page after typing two values and pressing "Calculate".
void Converter() {
    ViewFixture v(QStringList{"CALC"});
    v.form->wattsedit->SetText("1500");
    v.form->hrsedit->SetText("2");
    QTest::keyClicks(v.W_<QLineEdit>("voltsedit"), "230");
    QTest::keyClicks(v.W_<QLineEdit>("wedit"), "100");
    QTest::mouseClick(v.W_<QAbstractButton>("calculatebutton"), Qt::LeftButton);
    if (!v.view->grab().save(g_folder + "/converter.png")) {
        g_ok = false;
    }
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir root;
    TestEnv::SetRoot(root.path());
    qputenv("XDG_CONFIG_HOME", TestEnv::ConfigDir().toUtf8());
    qputenv("XDG_DATA_HOME", TestEnv::DataDir().toUtf8());
    qputenv("XDG_RUNTIME_DIR", (root.path() + "/run").toUtf8());
    qputenv("LC_ALL", "C.UTF-8");
    QApplication app(argc, argv);
    SetHistoryChartModulePath(QStringLiteral(VOLTISK_CHART_MODULE));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [all|readings]\n", argv[0]);
        return 2;
    }
    g_folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_folder);
    const bool all = argc < 3 || QByteArray(argv[2]) != "readings";
    TestEnv::ResetConfig();
    TestEnv::UseLocale("en_US");
    if (all) {
        Pages();
        TestEnv::ResetConfig();
        SwitchStates();
        TestEnv::ResetConfig();
        Converter();
        WideResults();
        HistoryOfAYear();
    } else {
        Shot s;
        s.Save("standard");
    }
    return g_ok ? 0 : 1;
}
