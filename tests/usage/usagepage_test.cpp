// The Usage page on a real history file: its figures as shown in a named
// locale, markup in a meter identifier shown as text, the import dialog with
// a role changed and a refused file, "Add to history…", and the tab that
// builds nothing until it is shown.

#include "app/readingspage.h"
#include "history/historysession.h"
#include "mylib/dates.h"
#include "plans/tariffplanstore.h"
#include "usage/importjob.h"
#include "usage/page/importdialog.h"
#include "usage/page/usagecharts.h"
#include "usage/page/usagepage.h"
#include "usage/page/usagetab.h"

#include "support/servicefakes.h"
#include "support/testenv.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString kMeter = QStringLiteral("<i>NMI</i>");

QByteArray Day300(const char* date, const char* value) {
    QByteArray line = QByteArray("300,") + date;
    for (int i = 0; i < 48; ++i) {
        line += QByteArray(",") + value;
    }
    return line + ",A,,,,\n";
}

// Two days: general 0.5 then 0.25 kWh a half-hour; hot water 0.125 and solar
// export 0.1 on the first day.
QString WriteFile(const QByteArray& body = QByteArray()) {
    const QString path = TestEnv::DataDir() + QStringLiteral("/NEM12#usage.csv");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    const QByteArray nmi = kMeter.toUtf8();
    f.write("100,NEM12,200402011200,MDP1,Retail1\n");
    if (!body.isEmpty()) {
        f.write(body);
    } else {
        f.write("200," + nmi + ",E1E2B1,1,E1,N1,1,kWh,30,20040202\n" + Day300("20040201", "0.5") +
                Day300("20040202", "0.25") + "200," + nmi + ",E1E2B1,2,E2,N1,1,kWh,30,20040202\n" +
                Day300("20040201", "0.125") + "200," + nmi + ",E1E2B1,3,B1,N1,1,kWh,30,20040202\n" +
                Day300("20040201", "0.1"));
    }
    f.write("900\n");
    return path;
}

struct FakeReadings : TReadingsPage {
    TLocales locales = TLocales::Uniform(QLocale(QStringLiteral("de_DE")));
    QStringList status;
    QDate Today() const override { return {2004, 3, 1}; }
    TLocales Locales() const override { return locales; }
    QDate PeriodFrom() const override { return {2004, 1, 1}; }
    QDate PeriodTo() const override { return {2004, 2, 1}; }
    PeriodInputs ReadPeriodInputs() const override {
        PeriodInputs in;
        in.generalDailyCharge = QStringLiteral("1,00");
        in.generalRate = QStringLiteral("0,30");
        in.hwDailyCharge = QStringLiteral("0,10");
        in.hwRate = QStringLiteral("0,20");
        in.feedIn = QStringLiteral("0,05");
        return in;
    }
    void WritePeriod(QDate, QDate, const PeriodInputs&) override {}
    void ShowStatus(const QString& text) override { status << text; }
    int MoneyDecimals() const override { return 2; }
};

void WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i) {
        QApplication::processEvents();
        QThread::msleep(5);
    }
}

class UsagePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestEnv::ResetConfig();
        session.emplace(TestEnv::DataDir() + QStringLiteral("/history.sqlite"));
    }
    MeterStore Store() { return MeterStore(session->OpenStore().Database()); }

    FakeReadings readings;
    FakeDialogs dialogs;
    FakeFileDialogs files;
    std::optional<THistorySession> session;
};

TEST_F(UsagePageTest, TheFiguresAreShownInTheWindowsLocale) {
    Store().Import(WriteFile());
    TUsagePresenter presenter(readings, *session, dialogs);
    TUsagePage page(presenter, readings, files);
    page.Refresh();
    const QLocale de(QStringLiteral("de_DE"));
    const struct {
        const char* label;
        QString text;
    } rows[] = {
        {"Total import", QStringLiteral("42,0 kWh")},
        {"Controlled load", QStringLiteral("6,0 kWh")},
        {"Export", QStringLiteral("4,8 kWh")},
        {"Average a day", QStringLiteral("21,00 kWh")},
        {"Highest half-hour",
         QStringLiteral("0,625 kWh on %1 at 00:00").arg(FormatShortDate(QDate(2004, 2, 1), de))},
        {"Base load", QStringLiteral("875 W")},
        {"Missing intervals", QStringLiteral("0")},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(page.FigureText(QString::fromLatin1(r.label)), r.text) << r.label;
    }
    // The hover text shows the net of import and export.
    const QString hover = presenter.CellText(0, 37);
    for (const QString& part : {FormatShortDate(QDate(2004, 2, 1), de), QStringLiteral("18:30"),
                                QStringLiteral(": 0,525 kWh")}) {
        EXPECT_TRUE(hover.contains(part)) << hover.toStdString();
    }
    // The quick choice of the last 7 days ends on the last day with data.
    page.SpanChoice()->setCurrentIndex(1);
    EXPECT_EQ(presenter.Summary().from, QDate(2004, 1, 27));
    EXPECT_EQ(page.FigureText(QStringLiteral("Total import")), QStringLiteral("42,0 kWh"));
}

TEST_F(UsagePageTest, MarkupInAMeterIdentifierIsShownAsText) {
    Store().Import(WriteFile());
    TUsagePresenter presenter(readings, *session, dialogs);
    TUsagePage page(presenter, readings, files);
    page.Refresh();
    ASSERT_EQ(page.ChannelList()->topLevelItemCount(), 3);
    EXPECT_EQ(page.ChannelList()->topLevelItem(0)->text(0), kMeter);
    EXPECT_EQ(page.MeterChoice()->itemText(1), kMeter);
    page.ChooseAndImport(); // the file choice cancelled: nothing more
    EXPECT_EQ(files.asked, QStringList{"Import meter data"});
    for (const QLabel* label : page.findChildren<QLabel*>()) {
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
    }
}

TEST_F(UsagePageTest, TheImportDialogStoresOnlyWhatTheUserKeeps) {
    session->OpenStore();
    TImportDialog dialog(WriteFile(), session->FileName(), {}, readings.locales);
    QTableWidget* table = dialog.Table();
    WaitFor([&] { return table->rowCount() == 3; });
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, 0)->text(), kMeter);
    EXPECT_EQ(table->item(0, 5)->text(), QStringLiteral("96"));
    EXPECT_EQ(table->item(0, 6)->text(), QStringLiteral("A 96"));
    EXPECT_TRUE(Store().Channels().empty()); // nothing stored before Import
    auto* role = qobject_cast<QComboBox*>(table->cellWidget(1, 7));
    ASSERT_NE(role, nullptr);
    EXPECT_EQ(role->currentText(), QStringLiteral("Controlled load"));
    role->setCurrentIndex(role->findText(QStringLiteral("Leave out")));
    dialog.StartImport();
    WaitFor([&] { return dialog.result() == QDialog::Accepted; });
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    const std::vector<StoredChannel> stored = Store().Channels();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].channel, QStringLiteral("B1"));
    EXPECT_EQ(stored[1].channel, QStringLiteral("E1"));
}

// Two meters with an E1 each: the role chosen in one row is that meter's
// alone, and the next import shows each meter's stored role.
TEST_F(UsagePageTest, TheImportDialogsRoleIsOneMetersChannel) {
    session->OpenStore();
    const QString path = WriteFile("200,AAA,E1,1,E1,N1,1,kWh,30,\n" + Day300("20040201", "1") +
                                   "200,BBB,E1,1,E1,N1,1,kWh,30,\n" + Day300("20040201", "2"));
    const auto roleIn = [](TImportDialog& dialog, int row) {
        WaitFor([&] { return dialog.Table()->rowCount() == 2; });
        EXPECT_EQ(dialog.Table()->item(row, 0)->text(), row == 0 ? "AAA" : "BBB");
        return qobject_cast<QComboBox*>(dialog.Table()->cellWidget(row, 7));
    };
    {
        TImportDialog dialog(path, session->FileName(), {}, readings.locales);
        QComboBox* b = roleIn(dialog, 1);
        ASSERT_NE(b, nullptr);
        b->setCurrentIndex(b->findText(QStringLiteral("Controlled load")));
        dialog.StartImport();
        WaitFor([&] { return dialog.result() == QDialog::Accepted; });
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
    }
    const std::vector<StoredChannel> stored = Store().Channels();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].role, ChannelRole::General);
    EXPECT_EQ(stored[1].role, ChannelRole::ControlledLoad);

    TUsagePresenter presenter(readings, *session, dialogs);
    ASSERT_TRUE(presenter.Load());
    TImportDialog again(path, session->FileName(), presenter.StoredRoles(), readings.locales);
    for (const auto& [row, text] : {std::pair{0, "General"}, std::pair{1, "Controlled load"}}) {
        QComboBox* role = roleIn(again, row);
        ASSERT_NE(role, nullptr);
        EXPECT_EQ(role->currentText(), QLatin1String(text)) << row;
    }
}

TEST_F(UsagePageTest, ARefusedFileNamesTheFileAndLineAndStoresNothing) {
    session->OpenStore();
    const QString path =
        WriteFile("200,NMI1234567,E1,1,E1,N1,1,kWh,30,20040202\n300,20040201,1,2\n");
    TMeterImportJob job(TMeterImportJob::Kind::Import, path, session->FileName(), {});
    WaitFor([&] { return job.Finished(); });
    EXPECT_TRUE(job.Error().contains(path)) << job.Error().toStdString();
    EXPECT_TRUE(job.Error().contains(QStringLiteral("line 3"))) << job.Error().toStdString();
    EXPECT_TRUE(Store().Imports().empty());
}

TEST_F(UsagePageTest, AddToHistoryStoresTheRangeWithTheReadingsPageTariff) {
    Store().Import(WriteFile());
    TUsagePresenter presenter(readings, *session, dialogs);
    presenter.Load();
    dialogs.answers = {true};
    ASSERT_TRUE(presenter.AddToHistory());
    session->Store().Close();
    session->Reopen();
    ASSERT_EQ(session->Periods().size(), 1u);
    const HistoryPeriod& p = session->Periods().front();
    EXPECT_EQ(p.from, QDate(2004, 2, 1));
    EXPECT_EQ(p.to, QDate(2004, 2, 3)); // the day after the last day
    EXPECT_TRUE(p.kwhFromMeterData);
    EXPECT_NEAR(p.kwhGeneral, 36, 1e-9);
    EXPECT_NEAR(p.kwhHotWater, 6, 1e-9);
    EXPECT_NEAR(p.kwhExported, 4.8, 1e-9);
    EXPECT_EQ(p.typed.generalRate, QStringLiteral("0,30"));
    // 2 days of 1.10 daily charges, 36 × 0.30 + 6 × 0.20, less 4.8 × 0.05.
    EXPECT_NEAR(p.net, 2.2 + 10.8 + 1.2 - 0.24, 1e-9);
    ASSERT_EQ(readings.status.size(), 1);
}

TEST_F(UsagePageTest, TheTabBuildsNothingUntilItIsShown) {
    QTabWidget tabs;
    tabs.addTab(new QWidget, QStringLiteral("Readings"));
    TUsageTab tab(&tabs, readings, *session, dialogs, files);
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("Usage"));
    EXPECT_EQ(tab.Page(), nullptr);
    EXPECT_FALSE(session->Opened());
    tabs.setCurrentIndex(1);
    ASSERT_NE(tab.Page(), nullptr);
    EXPECT_TRUE(session->Opened());
}

} // namespace

namespace {

// Meter A from 1 January to 31 March 2004, 0.5 kWh a half-hour; meter B on
// one day, 1 kWh a half-hour.
QByteArray TwoMeters() {
    QByteArray body = "200,AAAAAAAAAA,E1,1,E1,N1,1,kWh,30,20040402\n";
    for (QDate d(2004, 1, 1); d <= QDate(2004, 3, 31); d = d.addDays(1)) {
        body += Day300(d.toString(QStringLiteral("yyyyMMdd")).toLatin1().constData(), "0.5");
    }
    return body + "200,BBBBBBBBBB,E1,1,E1,N1,1,kWh,30,20040402\n" + Day300("20040315", "1");
}

TEST_F(UsagePageTest, SpansAndMetersChooseTheDays) {
    Store().Import(WriteFile(TwoMeters()));
    TUsagePresenter presenter(readings, *session, dialogs);
    presenter.Load();
    ASSERT_EQ(presenter.Meters(), (std::vector<QString>{"AAAAAAAAAA", "BBBBBBBBBB"}));
    using Span = TUsagePresenter::Span;
    const struct {
        Span span;
        QDate from;
        double importKwh;
    } rows[] = {{Span::Whole, {2004, 1, 1}, 91 * 24.0 + 48},
                {Span::Last7Days, {2004, 3, 25}, 7 * 24.0},
                {Span::Last30Days, {2004, 3, 2}, 30 * 24.0 + 48},
                {Span::Last12Months, {2003, 4, 1}, 91 * 24.0 + 48}};
    for (const auto& r : rows) {
        presenter.SetSpan(r.span);
        EXPECT_EQ(presenter.Summary().from, r.from);
        EXPECT_EQ(presenter.Summary().to, QDate(2004, 3, 31));
        EXPECT_NEAR(presenter.Summary().figures.ImportKwh(), r.importKwh, 1e-9);
    }
    presenter.SetRange(QDate(2004, 3, 16), QDate(2004, 3, 14)); // either way round
    EXPECT_EQ(presenter.Summary().from, QDate(2004, 3, 14));
    EXPECT_NEAR(presenter.Summary().figures.ImportKwh(), 3 * 24.0 + 48, 1e-9);
    presenter.SetMeter(QStringLiteral("BBBBBBBBBB"));
    presenter.SetSpan(Span::Whole);
    EXPECT_EQ(presenter.Summary().from, QDate(2004, 3, 15));
    EXPECT_NEAR(presenter.Summary().figures.ImportKwh(), 48, 1e-9);
    EXPECT_NEAR(presenter.Summary().figures.baseLoadW, 2000, 1e-9);
}

// The import waits for another program's write lock; Cancel meanwhile means
// nothing is stored once the lock goes.
TEST_F(UsagePageTest, ACancelledImportStoresNothing) {
    session->OpenStore();
    const QString path = WriteFile();
    {
        QSqlDatabase other =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(session->FileName());
        ASSERT_TRUE(other.open());
        ASSERT_TRUE(QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
        TMeterImportJob job(TMeterImportJob::Kind::Import, path, session->FileName(), {});
        QThread::msleep(100);
        job.Cancel();
        ASSERT_TRUE(QSqlQuery(other).exec(QStringLiteral("ROLLBACK")));
        WaitFor([&] { return job.Finished(); });
        EXPECT_TRUE(job.Cancelled());
        EXPECT_EQ(job.Error(), QStringLiteral("The import was cancelled."));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    EXPECT_TRUE(Store().Imports().empty());
    EXPECT_TRUE(Store().Channels().empty());
}

TEST_F(UsagePageTest, AddToHistoryStoresNothingWhenDeclinedOrWithoutData) {
    TUsagePresenter presenter(readings, *session, dialogs);
    presenter.Load();
    EXPECT_FALSE(presenter.AddToHistory());
    EXPECT_EQ(dialogs.messages, QStringList{"There is no meter data in the chosen range."});
    Store().Import(WriteFile());
    presenter.Load();
    EXPECT_FALSE(presenter.AddToHistory()); // the question answered No
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_TRUE(session->OpenStore().Periods().empty());
}

} // namespace

namespace {

TEST_F(UsagePageTest, TheWindowTakesOneDroppedFile) {
    QWidget window;
    auto* tabs = new QTabWidget(&window);
    TUsageTab tab(tabs, readings, *session, dialogs, files);
    tab.TakeDropsOn(&window);
    const struct {
        QList<QUrl> urls;
        bool taken;
    } rows[] = {{{QUrl::fromLocalFile(QStringLiteral("/tmp/a.csv"))}, true},
                {{QUrl::fromLocalFile(QStringLiteral("/tmp/a.csv")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/b.csv"))},
                 false},
                {{QUrl(QStringLiteral("https://example.org/a.csv"))}, false}};
    for (const auto& r : rows) {
        QMimeData mime;
        mime.setUrls(r.urls);
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(&window, &enter);
        EXPECT_EQ(enter.isAccepted(), r.taken) << r.urls.size();
    }
    EXPECT_EQ(tab.Page(), nullptr); // a drag alone builds nothing
}

} // namespace

namespace {

TEST_F(UsagePageTest, TheImportDialogShowsARefusalAndTheChannelsItLeavesOut) {
    session->OpenStore();
    const struct {
        QByteArray body;
        const char* status;
        const char* others;
    } rows[] = {
        {"200,NMI1234567,E1,1,E1,N1,1,kWh,30,20040202\n300,20040201,1,2\n", "line 3", ""},
        {"200,NMI1234567,E1Q1,1,E1,N1,1,kWh,30,20040202\n" + Day300("20040201", "0.5") +
             "200,NMI1234567,E1Q1,2,Q1,N1,1,kVArh,30,20040202\n" + Day300("20040201", "0.1"),
         "holds these channels", "Not energy, not stored: NMI1234567 Q1 (kVArh)"},
    };
    for (const auto& r : rows) {
        TImportDialog dialog(WriteFile(r.body), session->FileName(), {}, readings.locales);
        const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
        ASSERT_EQ(labels.size(), 2);
        WaitFor([&] { return !labels[0]->text().startsWith(QLatin1String("Reading")); });
        EXPECT_TRUE(labels[0]->text().contains(QLatin1String(r.status)))
            << labels[0]->text().toStdString();
        EXPECT_EQ(labels[1]->text(), QLatin1String(r.others));
    }
    EXPECT_TRUE(Store().Imports().empty());
}

// A file of version 6 opens with its periods, each read as typed readings.
TEST_F(UsagePageTest, AnOlderHistoryKeepsItsPeriods) {
    TUsagePresenter presenter(readings, *session, dialogs);
    Store().Import(WriteFile());
    presenter.Load();
    dialogs.answers = {true};
    ASSERT_TRUE(presenter.AddToHistory());
    {
        const QSqlDatabase db = session->OpenStore().Database();
        ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("ALTER TABLE period DROP COLUMN "
                                                      "kwh_from_meter_data")));
        ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = 6")));
    }
    session->Store().Close();
    session->Reopen();
    ASSERT_EQ(session->Periods().size(), 1u);
    EXPECT_FALSE(session->Periods().front().kwhFromMeterData);
    EXPECT_NEAR(session->Periods().front().kwhGeneral, 36, 1e-9);
}

} // namespace

// Coloured by a time-of-use plan, each cell takes the rate type its start is
// priced at, season by season: an AEST plan with a summer peak 14:00-20:00 to
// 31 March and a winter peak 17:00-21:00 from 1 April, on two days of the
// same use either side of the change (NEM12 days are AEST).
TEST_F(UsagePageTest, TheHeatMapColoursEachCellByThePlansRateType) {
    Store().Import(WriteFile("200,NMI1234567,E1,1,E1,N1,1,kWh,30,20040402\n" +
                             Day300("20040331", "0.5") + Day300("20040401", "0.5")));
    auto season = [](int startMonth, int endMonth, int peakFrom, int peakTo) {
        TariffSeason s;
        s.startMonth = startMonth;
        s.endMonth = endMonth;
        s.endDay = 31; // 31 March, 31 October
        s.usage.timeOfUse = true;
        s.usage.tou = {{RateType::Peak, {}, {{RateStep{0.5, {}}}}, {{0x7F, peakFrom, peakTo}}},
                       {RateType::OffPeak, {}, {{RateStep{0.2, {}}}}, {{0x7F, peakTo, peakFrom}}}};
        return s;
    };
    TariffPlan plan;
    plan.name = QStringLiteral("Seasons");
    plan.seasons = {season(11, 3, 840, 1200), season(4, 10, 1020, 1260)};
    TariffPlanStore plans(session->OpenStore().Database());
    plans.Add(plan);
    plans.Add(FlatTariffPlan("Flat", 1, 0.3, 0, 0, 0, 10, false)); // not offered

    TUsagePresenter presenter(readings, *session, dialogs);
    TUsagePage page(presenter, readings, files);
    page.Refresh();
    QComboBox* colour = page.HeatMapColouring();
    ASSERT_EQ(colour->count(), 2);
    EXPECT_EQ(colour->itemText(1), "By rate type of Seasons");
    colour->setCurrentIndex(1);

    THeatMap* map = page.HeatMap();
    map->resize(480, 330);
    const QImage shown = map->grab().toImage();
    const struct {
        int day, slot;
        RateType type;
    } cells[] = {
        {0, 28, RateType::Peak},    // 31 March 14:00, summer peak
        {1, 28, RateType::OffPeak}, // 1 April 14:00, winter off-peak
        {1, 36, RateType::Peak},    // 1 April 18:00, winter peak
        {0, 41, RateType::OffPeak}, // 31 March 20:30
    };
    for (const auto& c : cells) {
        EXPECT_TRUE(presenter.CellText(c.day, c.slot).endsWith(", " + RateTypeName(c.type)));
        QPoint sum; // the middle of the points showing the cell
        int n = 0;
        for (int i = 0; i < map->width() * map->height(); ++i) {
            const QPoint at(i % map->width(), i / map->width());
            n += map->CellAt(at) == std::make_pair(c.day, c.slot) ? (sum += at, 1) : 0;
        }
        ASSERT_GT(n, 0);
        EXPECT_EQ(shown.pixel(sum / n), THeatMap::TypeColour(c.type, 1).rgb())
            << c.day << " " << c.slot;
    }
    colour->setCurrentIndex(0); // back to use
    EXPECT_FALSE(presenter.CellText(0, 28).contains("Peak"));
}
