// Pictures of the real window for docs/, written by scripts/screenshots.sh:
// each page, each switch state, the converter after a calculation and
// results wider than their designed places.
// Usage: voltisk_screenshots <folder> [all|readings]
// "readings" writes standard.png only (the scaled pictures). Runs in a
// temporary configuration folder in en_US, whatever the machine's settings.
#include "app/view/guidewindow.h"
#include "history/historystore.h"
#include "history/page/historychart.h"
#include "history/page/historyhook.h"
#include "meterdata/meterstore.h"
#include "plans/page/planspage.h"
#include "plans/page/plansprint.h"
#include "plans/page/planstab.h"
#include "plans/tariffplanstore.h"
#include "support/testenv.h"
#include "support/viewfixture.h"
#include "usage/page/usagecharts.h"
#include "usage/page/usagepage.h"
#include "usage/page/usagetab.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <array>
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

// Fourteen monthly solar bills in a new history file (more used and less
// exported in winter, one with a note, a price rise from July, and the newest
// billed $12.40 over); empty when it cannot be made.
QString StoreAYear() {
    TestEnv::ResetConfig();
    const QString file = TestEnv::DataDir() + QStringLiteral("/history.sqlite");
    {
        THistoryStore store(file);
        if (store.Open() != HistoryFault::None) {
            g_ok = false;
            return QString();
        }
        double general = 22000, hotWater = 7000, exported = 10000;
        for (int m = 0; m < 14; ++m) {
            const QDate from = QDate(2025, 10, 8).addMonths(m);
            // Use creeps up by 2 % a month.
            const double winter =
                (1.0 + 0.45 * std::cos((from.month() - 7) * 3.14159265 / 6.0)) * (1.0 + 0.02 * m);
            PeriodInputs in;
            in.solar = true;
            in.generalDailyCharge = QStringLiteral("1.10");
            in.generalRate = from.month() >= 7 && from.year() == 2026 ? QStringLiteral("0.3114")
                                                                      : QStringLiteral("0.2828");
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
            if (m == 9) {
                p.note = QStringLiteral("Visitors for two weeks");
            }
            if (m == 13) {
                p.billed = p.net + 12.40;
                p.billDate = QDate(2026, 12, 15);
                p.billReference = QStringLiteral("INV-20261215");
            }
            store.Add(p);
        }
    }
    return file;
}

void HistoryOfAYear() {
    const QString file = StoreAYear();
    if (file.isEmpty()) {
        return;
    }
    FakeFileDialogs files;
    Shot s;
    AddHistoryPage(*s.view, s.fx.dialogs, files, file);
    s.view->findChild<QTabWidget*>()->setCurrentIndex(3);
    auto* table = s.view->findChild<QTableView*>(QStringLiteral("historytable"));
    if (!table || table->model()->rowCount() != 14) {
        std::fprintf(stderr, "the History page does not show the fourteen periods\n");
        g_ok = false;
        return;
    }
    table->selectRow(0);
    // Three rows of the table leave the chart room for its axis labels.
    if (auto* body = s.view->findChild<QSplitter*>()) {
        body->setSizes({110, 400});
    }
    s.Save("history");
}

// The Usage page on ninety days of half-hours: a house with a morning and an
// evening peak, hot water heated after midnight, panels exporting at midday.
void UsageOfAQuarter() {
    const QString file = StoreAYear();
    if (file.isEmpty()) {
        return;
    }
    const QString nem12 = TestEnv::DataDir() + QStringLiteral("/quarter.csv");
    {
        QByteArray text = "100,NEM12,202612090000,MDP1,Retailer\n";
        const auto channel = [&](const char* suffix, auto kwhAt) {
            text +=
                QByteArray("200,4102345678,E1E2B1,") + suffix + "," + suffix + ",N1,M1,kWh,30,\n";
            for (QDate d(2026, 9, 1); d <= QDate(2026, 11, 29); d = d.addDays(1)) {
                text += "300," + d.toString(QStringLiteral("yyyyMMdd")).toLatin1();
                const double season = 1.0 - 0.3 * (d.month() - 9) / 2.0;
                for (int i = 0; i < 48; ++i) {
                    const double wobble = 1.0 + 0.15 * std::sin(d.dayOfYear() * 1.7 + i);
                    text += "," + QByteArray::number(kwhAt(i, d, season) * wobble, 'f', 3);
                }
                text += ",A,,,20261201000000,\n";
            }
        };
        channel("E1", [](int i, QDate d, double season) {
            const bool weekend = d.dayOfWeek() >= 6;
            double kwh = 0.12;
            if (i >= 13 && i < 17) {
                kwh += 0.45;
            }
            if (i >= 34 && i < 44) {
                kwh += 0.55 * season;
            }
            if (weekend && i >= 18 && i < 34) {
                kwh += 0.25;
            }
            return kwh;
        });
        channel("E2",
                [](int i, QDate, double season) { return i >= 1 && i < 7 ? 0.6 * season : 0.0; });
        channel("B1", [](int i, QDate d, double season) {
            const double sun = std::sin((i - 14) * 3.14159265 / 22.0);
            const bool cloudy = d.day() % 7 == 3;
            return i > 14 && i < 36 ? (cloudy ? 0.3 : 0.8) * sun * (1.3 - season * 0.3) : 0.0;
        });
        text += "900\n";
        QSaveFile out(nem12);
        if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
            g_ok = false;
            return;
        }
        THistoryStore store(file);
        store.Open();
        MeterStore(store.Database()).Import(nem12);
    }
    FakeFileDialogs files;
    Shot s;
    THistoryHook* hook = AddHistoryPage(*s.view, s.fx.dialogs, files, file);
    AddPlansPage(*s.view, *hook);
    TUsageTab* usage = AddUsagePage(*s.view, *hook, files);
    s.view->findChild<QTabWidget*>()->setCurrentWidget(usage->Tab());
    if (!usage->Page()) {
        std::fprintf(stderr, "the Usage page was not built when shown\n");
        g_ok = false;
        return;
    }
    s.Save("usage");

    // The heat map by the rate type of a time-of-use plan: weekday evenings
    // at the peak rate, weekday days and late evenings at the shoulder.
    TariffSeason year;
    year.usage.timeOfUse = true;
    year.usage.tou = {
        {RateType::Peak, {}, {{RateStep{0.45, {}}}}, {{0x1F, 900, 1260}}},
        {RateType::Shoulder, {}, {{RateStep{0.28, {}}}}, {{0x1F, 420, 900}, {0x1F, 1260, 1320}}},
        {RateType::OffPeak, {}, {{RateStep{0.18, {}}}}, {{0x1F, 1320, 420}, {0x60, 0, 1440}}}};
    TariffPlan plan;
    plan.name = QStringLiteral("Evening Peak");
    plan.seasons = {year};
    {
        THistoryStore store(file);
        store.Open();
        TariffPlanStore(store.Database()).Add(plan);
    }
    TUsagePage* page = usage->Page();
    page->Refresh();
    page->HeatMapColouring()->setCurrentIndex(1);
    for (QTabWidget* charts : page->findChildren<QTabWidget*>()) {
        charts->setCurrentWidget(page->HeatMap());
    }
    s.Save("usage-ratetype");
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

// The user guide window on its worked example, and the plan comparison as
// printed (its PDF rendered by pdftoppm).
void GuideAndPrintedComparison() {
    TestEnv::ResetConfig();
    {
        TGuideWindow guide(QStringLiteral(VOLTISK_GUIDE_DIR));
        guide.Browser()->setSource(
            QUrl::fromLocalFile(QStringLiteral(VOLTISK_GUIDE_DIR "/figures.html")));
        guide.show();
        QApplication::processEvents();
        if (!guide.grab().save(g_folder + "/guide.png")) {
            g_ok = false;
        }
    }
    const QString file = StoreAYear();
    FakeFileDialogs files;
    Shot s;
    THistoryHook* hook = AddHistoryPage(*s.view, s.fx.dialogs, files, file);
    TPlansTab* tab = AddPlansPage(*s.view, *hook);
    s.view->findChild<QTabWidget*>()->setCurrentWidget(tab->Tab());
    const auto type = [&](const char* field, const char* text) {
        if (auto* e = s.view->findChild<QLineEdit*>(QString::fromLatin1(field))) {
            e->setText(QString::fromUtf8(text));
        }
    };
    const auto add = [&] {
        QTest::mouseClick(s.view->findChild<QPushButton*>(QStringLiteral("planadd")),
                          Qt::LeftButton);
    };
    for (const auto& plan : {std::array<const char*, 7>{"Sunrise Saver", "0.95", "0.2612", "0.05",
                                                        "0.1590", "0.06", "0"},
                             {"Flat Rate Home", "1.21", "0.2450", "0", "0.1500", "0.10", "0"}}) {
        const char* fields[] = {"planname",   "plangeneraldaily", "plangeneralrate", "planhwdaily",
                                "planhwrate", "planfeedin",       "plantax"};
        for (std::size_t i = 0; i < plan.size(); ++i) {
            type(fields[i], plan[i]);
        }
        add();
    }
    QApplication::processEvents();
    const QString pdf = g_folder + "/plans-printed.pdf";
    if (!tab->Presenter() ||
        !WritePdf(ComparisonPage(*tab->Presenter(), ChartPicture(tab->Page()), tab->Tariffs()),
                  s.form->Today(), QLocale(QStringLiteral("en_US")), pdf, QPageSize::A4)) {
        g_ok = false;
        return;
    }
    QProcess::execute(QStringLiteral("pdftoppm"), {"-png", "-r", "70", "-f", "1", "-singlefile",
                                                   pdf, g_folder + "/plans-printed"});
    QFile::remove(pdf);
    g_ok = g_ok && QFile::exists(g_folder + "/plans-printed.png");
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
        UsageOfAQuarter();
        GuideAndPrintedComparison();
    } else {
        Shot s;
        s.Save("standard");
    }
    return g_ok ? 0 : 1;
}
