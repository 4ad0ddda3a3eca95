// The History page's actions on the real window model: the period on the
// readings page goes into the history and comes back into the fields, every
// change is asked for where it replaces or removes, and a faulty file never
// stops the calculator.

#include "history/historycsv.h"
#include "history/historypresenter.h"
#include "meterdata/meterfiles.h"
#include "meterdata/meterstore.h"

#include "support/formfixture.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct HistoryFixture : FormFixture {
    FakeFileDialogs files;
    QString file = TestEnv::DataDir() + QStringLiteral("/BrindleSoftware/voltisk/history.sqlite");
    TForm1* f = nullptr;
    std::unique_ptr<THistoryPresenter> history;
    int changes = 0;

    HistoryFixture() {
        f = &Make();
        history = std::make_unique<THistoryPresenter>(*f, dialogs, files, file);
        history->onChanged = [this] { ++changes; };
    }
    // The standard worked example on the readings page.
    void TypeWorkedExample(QDate from = QDate(2026, 11, 8), QDate to = QDate(2026, 12, 8)) {
        f->solarcb->SetChecked(false);
        f->showhwcb->SetChecked(true);
        f->dt1->SetDate(from);
        f->dt2->UserSetDate(to);
        f->Edit6->SetText("1000");
        f->Edit7->SetText("1300");
        f->Edit9->SetText("500");
        f->Edit10->SetText("560");
        f->generaldailyservicechargeed->SetText("1.00");
        f->generalrateed->SetText("0.25");
        f->hwdailyfixedchargeed->SetText("0.20");
        f->hwrateed->SetText("0.15");
    }
    // The next period's readings, starting where the worked example ends.
    void TypeFollowingReadings() {
        f->Edit6->SetText("1300");
        f->Edit7->SetText("1600");
        f->Edit9->SetText("560");
        f->Edit10->SetText("620");
    }
};

TEST(HistoryPresenter, TheFileIsOpenedOnlyWhenThePageIsShownOrAPeriodAdded) {
    HistoryFixture h;
    h.TypeWorkedExample();
    EXPECT_EQ(h.f->tresult->Caption(), QStringLiteral("$120.00"));
    EXPECT_FALSE(QFileInfo::exists(h.file));
    EXPECT_FALSE(h.history->Opened());
    h.history->PageShown();
    EXPECT_TRUE(QFileInfo::exists(h.file));
    EXPECT_EQ(h.history->Fault(), HistoryFault::None);

    HistoryFixture second;
    second.TypeWorkedExample(QDate(2026, 10, 8), QDate(2026, 11, 8));
    second.history->AddCurrentPeriod();
    EXPECT_EQ(second.history->Store().Periods().size(), 1u);
}

TEST(HistoryPresenter, AddsThePeriodAsCalculatedAndAsksBeforeReplacing) {
    HistoryFixture h;
    h.TypeWorkedExample();
    h.history->AddCurrentPeriod();
    ASSERT_EQ(h.history->Model().rowCount(), 1);
    const HistoryPeriod& p = h.history->Model().Period(0);
    EXPECT_DOUBLE_EQ(p.net, 120.0);
    EXPECT_DOUBLE_EQ(p.netPerDay, 4.0);
    EXPECT_EQ(p.typed.generalRate, QStringLiteral("0.25"));
    EXPECT_EQ(h.f->sb1->SimpleText(), QStringLiteral("    Period added to the history."));
    EXPECT_TRUE(h.dialogs.questions.isEmpty());

    h.f->generalrateed->SetText("0.30");
    h.dialogs.answers = {false};
    h.history->AddCurrentPeriod();
    ASSERT_EQ(h.dialogs.questions.size(), 1);
    EXPECT_EQ(h.dialogs.questions[0],
              QStringLiteral("A period from 11/8/2026 to 12/8/2026 is already in the history. "
                             "Replace it with the period as calculated now?"));
    EXPECT_DOUBLE_EQ(h.history->Store().Periods().at(0).net, 120.0);

    h.dialogs.answers = {true};
    h.history->AddCurrentPeriod();
    ASSERT_EQ(h.history->Model().rowCount(), 1);
    EXPECT_DOUBLE_EQ(h.history->Model().Period(0).net, 135.0);
}

TEST(HistoryPresenter, APeriodWithoutDaysIsNotAdded) {
    HistoryFixture h;
    h.TypeWorkedExample(QDate(2026, 12, 8), QDate(2026, 12, 8));
    h.history->AddCurrentPeriod();
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_TRUE(h.dialogs.messages[0].startsWith(
        QStringLiteral("Only a period with more than 0 days can be added")));
    EXPECT_FALSE(QFileInfo::exists(h.file));
}

TEST(HistoryPresenter, OpenInReadingsPutsThePeriodBackAndRecalculates) {
    HistoryFixture h;
    // A solar period with hot water hidden: the second worked example.
    h.f->solarcb->SetChecked(true);
    h.f->showhwcb->SetChecked(false);
    h.f->dt1->SetDate(QDate(2026, 1, 1));
    h.f->dt2->UserSetDate(QDate(2026, 1, 11));
    h.f->exportoriged->SetText("0");
    h.f->exportlater->SetText("500");
    h.f->importgenoriged->SetText("200");
    h.f->importgenlatered->SetText("300");
    h.f->feedined->SetText("0.10");
    h.f->generaldailyservicechargeed->SetText("1.00");
    h.f->generalrateed->SetText("0.30");
    h.history->AddCurrentPeriod();
    const QString solarNet = h.f->tresult->Caption();

    h.TypeWorkedExample(); // back to standard mode, other figures
    h.f->pagecontrol1->SetActivePage(h.f->about);
    ASSERT_EQ(h.f->tresult->Caption(), QStringLiteral("$120.00"));
    h.f->Timer1->SetEnabled(false);
    h.f->sb1->SetSimpleText(QString());

    h.history->PageShown();
    const int row = h.history->Model().RowOf(h.history->Store().Periods().back().id);
    ASSERT_EQ(h.history->Model().Period(row).from, QDate(2026, 1, 1));
    // The worked example was typed since the last store: asked first.
    h.history->OpenInReadings(row);
    ASSERT_EQ(h.dialogs.questions.size(), 1);
    EXPECT_EQ(h.f->tresult->Caption(), QStringLiteral("$120.00"));
    h.dialogs.answers = {true};
    h.history->OpenInReadings(row);
    EXPECT_EQ(h.f->pagecontrol1->ActivePage(), h.f->readingsts);
    EXPECT_EQ(h.f->dt1->Date(), QDate(2026, 1, 1));
    EXPECT_EQ(h.f->dt2->Date(), QDate(2026, 1, 11));
    EXPECT_TRUE(h.f->solarcb->Checked());
    EXPECT_FALSE(h.f->showhwcb->Checked());
    EXPECT_EQ(h.f->exportlater->Text(), QStringLiteral("500"));
    EXPECT_EQ(h.f->generalrateed->Text(), QStringLiteral("0.30"));
    EXPECT_EQ(h.f->dayslabel->Caption(), QStringLiteral("10"));
    EXPECT_EQ(h.f->tresult->Caption(), solarNet);
    EXPECT_EQ(h.f->exportedincome->Caption(), QStringLiteral("$50.00"));
    EXPECT_EQ(h.f->sb1->SimpleText(), QStringLiteral("    Report file written to disk."));
}

TEST(HistoryPresenter, AsksBeforeStoringReadingsThatDoNotFitAndAnswersTheBill) {
    HistoryFixture h;
    h.TypeWorkedExample(QDate(2026, 10, 8), QDate(2026, 11, 8));
    h.history->AddCurrentPeriod();
    h.TypeWorkedExample(QDate(2026, 11, 8), QDate(2026, 12, 8)); // starts at 1000 again
    h.history->AddCurrentPeriod();                               // answered No
    ASSERT_EQ(h.dialogs.questions.size(), 1);
    EXPECT_TRUE(h.dialogs.questions[0].startsWith(QStringLiteral("The readings do not fit")));
    EXPECT_EQ(h.history->Model().rowCount(), 1);
    h.dialogs.answers = {true};
    h.history->AddCurrentPeriod();
    ASSERT_EQ(h.history->Model().rowCount(), 2);
    EXPECT_EQ(h.history->Model().Period(0).warnings.size(), 2); // general and hot water
    // A roll-over note drops them, in the file too.
    auto& model = h.history->Model();
    ASSERT_TRUE(model.setData(model.index(0, THistoryTableModel::Note), "Meter rolled over"));
    EXPECT_TRUE(model.Period(0).warnings.isEmpty());
    EXPECT_TRUE(h.history->Store().Periods()[0].warnings.isEmpty());
    // The same readings over 30 days against 31: one day's charges, $1.20, less.
    EXPECT_EQ(h.history->ChangeLine(0),
              QStringLiteral("Against the previous period (10/8/2026 to 11/8/2026): ($1.20): "
                             "($1.20) from using as much, $0.00 from the same prices."));

    h.history->SetBill(0, QStringLiteral("132.40"), QDate(2026, 12, 12), QStringLiteral("B7"),
                       false, true);
    const HistoryPeriod& p = h.history->Model().Period(0);
    EXPECT_EQ(p.billed, 132.40);
    EXPECT_EQ(p.estimated, (QStringList{"general_after", "hot_water_after", "export_after",
                                        "import_general_after", "import_hw_after"}));
    h.history->SetBill(0, QStringLiteral("lots"), QDate(), QString(), false, false);
    EXPECT_TRUE(h.dialogs.messages.last().contains(QStringLiteral("\"lots\" is not a number")));
    h.history->SetBill(0, QString(), QDate(), QString(), false, false);
    EXPECT_FALSE(h.history->Model().Period(0).billed.has_value());

    // Halfway through the readings page's period (15 of 30 days): 36 + 2 x 84.
    h.history->today = [] { return QDate(2026, 11, 23); };
    EXPECT_EQ(h.history->ForecastLine(),
              QStringLiteral("Readings page, 11/8/2026 to 12/8/2026: If use goes on as so far, "
                             "this period will cost about $204.00."));
    h.history->today = [] { return QDate(2026, 12, 8); };
    EXPECT_EQ(h.history->ForecastLine(), QString());
}

TEST(HistoryPresenter, ForecastsFromTheStoredMeterDataDaysOfTheRunningPeriod) {
    HistoryFixture h;
    h.TypeWorkedExample(); // 11/8 to 12/8/2026, 30 days, $36.00 of daily charges
    h.history->PageShown();
    // 12 kWh a day on the general meter from 11/8 to 11/12; 11/7 is before
    // the period and 11/23 is today, still coming in: neither counts.
    QByteArray nem12("100,NEM12,202611231200,MDP1,Retail1\n"
                     "200,NEM1201009,E1Q1,1,E1,N1,01009,kWh,30,20261124\n");
    for (const char* day :
         {"20261107", "20261108", "20261109", "20261110", "20261111", "20261112", "20261123"}) {
        nem12 += Nem300(day, 48, "0.25");
    }
    const QString path = TestEnv::DataDir() + QStringLiteral("/meter.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(nem12 + "900\n");
    file.close();
    MeterStore(h.history->Store().Database()).Import(path);
    // 30 days x 12 kWh x $0.25 = $90.00, and no controlled load in the data.
    h.history->today = [] { return QDate(2026, 11, 23); };
    EXPECT_EQ(h.history->ForecastLine(),
              QStringLiteral("Readings page, 11/8/2026 to 12/8/2026: If use goes on as so far, "
                             "this period will cost about $126.00 (from 5 days of meter data)."));
    EXPECT_EQ(h.history->Store().Periods().size(), 0u); // a forecast is never stored
}

TEST(HistoryPresenter, DeleteAsksFirst) {
    HistoryFixture h;
    h.TypeWorkedExample(QDate(2026, 10, 8), QDate(2026, 11, 8));
    h.history->AddCurrentPeriod();
    h.TypeWorkedExample(QDate(2026, 11, 8), QDate(2026, 12, 8));
    h.TypeFollowingReadings();
    h.history->AddCurrentPeriod();
    h.dialogs.answers = {false, true};
    h.history->DeleteRows({0, 1});
    EXPECT_EQ(h.dialogs.questions.last(),
              QStringLiteral("Delete the 2 selected periods from the history?"));
    EXPECT_EQ(h.history->Store().Periods().size(), 2u);
    h.history->DeleteRows({0});
    // Named, with No as the default: a deletion cannot be undone.
    EXPECT_EQ(h.dialogs.questions.last(),
              QStringLiteral("Delete the period from 11/8/2026 to 12/8/2026 (net $120.00) from "
                             "the history?"));
    EXPECT_EQ(h.dialogs.defaultNo, h.dialogs.questions);
    ASSERT_EQ(h.history->Model().rowCount(), 1);
    EXPECT_EQ(h.history->Model().Period(0).to, QDate(2026, 11, 8));
}

TEST(HistoryPresenter, ExportThenImportSkipsWhatIsStoredAndRefusesOtherFiles) {
    HistoryFixture h;
    h.TypeWorkedExample(QDate(2026, 10, 8), QDate(2026, 11, 8));
    h.history->AddCurrentPeriod();
    h.TypeWorkedExample(QDate(2026, 11, 8), QDate(2026, 12, 8));
    h.TypeFollowingReadings();
    h.history->AddCurrentPeriod();
    h.history->Model().setData(h.history->Model().index(0, THistoryTableModel::Note),
                               QStringLiteral("a \"note\",\nwith a break"));
    const QString csv = TestEnv::DataDir() + QStringLiteral("/out.csv");
    h.files.saveAnswer = csv;
    h.history->ExportCsv();
    EXPECT_EQ(h.dialogs.messages.last(), QStringLiteral("2 periods exported to %1.").arg(csv));
    EXPECT_EQ(ReadHistoryCsv(csv).size(), 2u);

    h.history->DeleteRows({}); // nothing selected: nothing asked
    EXPECT_TRUE(h.dialogs.questions.isEmpty());
    h.dialogs.answers = {true};
    h.history->DeleteRows({0});
    h.files.openAnswer = csv;
    h.history->ImportCsv();
    EXPECT_EQ(h.dialogs.messages.last(),
              QStringLiteral("Import finished: 1 added, 1 skipped because a period with the same "
                             "dates is already in the history."));
    ASSERT_EQ(h.history->Model().rowCount(), 2);
    EXPECT_EQ(h.history->Model().Period(0).note, QStringLiteral("a \"note\",\nwith a break"));

    h.files.openAnswer = QStringLiteral(VOLTISK_TEST_DATA "/csv/worked_example.csv");
    h.history->ImportCsv();
    EXPECT_TRUE(h.dialogs.messages.last().contains(QStringLiteral("line 1")));
    EXPECT_EQ(h.history->Model().rowCount(), 2);
    // A cancelled choice does nothing.
    const int before = h.dialogs.messages.size();
    h.files.openAnswer.clear();
    h.history->ImportCsv();
    EXPECT_EQ(h.dialogs.messages.size(), before);
}

TEST(HistoryPresenter, ADamagedFileIsReportedAndReplacedOnlyWhenTheUserSaysSo) {
    HistoryFixture h;
    QDir().mkpath(QFileInfo(h.file).absolutePath());
    {
        QFile junk(h.file);
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("not a history");
    }
    h.history->PageShown();
    EXPECT_EQ(h.history->Fault(), HistoryFault::Damaged);
    EXPECT_TRUE(h.history->FaultText().contains(QStringLiteral("is damaged and cannot be read")));
    EXPECT_GT(h.changes, 0);

    // The calculator goes on; adding says why it cannot.
    h.TypeWorkedExample();
    EXPECT_EQ(h.f->tresult->Caption(), QStringLiteral("$120.00"));
    h.history->AddCurrentPeriod();
    EXPECT_TRUE(h.dialogs.messages.last().contains(QStringLiteral("damaged")));

    h.dialogs.answers = {false};
    h.history->StartNewHistory();
    EXPECT_EQ(h.history->Fault(), HistoryFault::Damaged);
    h.dialogs.answers = {true};
    h.history->StartNewHistory();
    EXPECT_EQ(h.history->Fault(), HistoryFault::None);
    EXPECT_TRUE(h.dialogs.messages.last().startsWith(
        QStringLiteral("A new history was started. The old file was kept as ")));
    const QStringList kept = QDir(QFileInfo(h.file).absolutePath())
                                 .entryList({QStringLiteral("history-*.sqlite")}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    QFile old(QFileInfo(h.file).absolutePath() + u'/' + kept[0]);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("not a history"));
    h.history->AddCurrentPeriod();
    EXPECT_EQ(h.history->Model().rowCount(), 1);
}

} // namespace

namespace {

TEST(HistoryPresenter, NumbersMoneyAndDatesFollowTheirOwnLocaleParts) {
    // Decimal commas in the fields, dollars for money, Australian dates.
    const TLocales parts{QLocale(QStringLiteral("de_DE")), QLocale(QStringLiteral("en_US")),
                         QLocale(QStringLiteral("en_AU"))};
    FormFixture fx;
    fx.platform.locales = parts;
    FakeFileDialogs files;
    TForm1& f = fx.Make();
    THistoryPresenter history(f, fx.dialogs, files,
                              TestEnv::DataDir() + QStringLiteral("/history.sqlite"));
    f.solarcb->SetChecked(false);
    f.showhwcb->SetChecked(true);
    f.dt1->SetDate(QDate(2026, 11, 8));
    f.dt2->UserSetDate(QDate(2026, 12, 8));
    f.Edit6->SetText("1000");
    f.Edit7->SetText("1300");
    f.Edit9->SetText("500");
    f.Edit10->SetText("560");
    f.generaldailyservicechargeed->SetText("1,00");
    f.generalrateed->SetText("0,25");
    f.hwdailyfixedchargeed->SetText("0,20");
    f.hwrateed->SetText("0,15");
    ASSERT_EQ(f.tresult->Caption(), QStringLiteral("$120.00"));
    history.AddCurrentPeriod();
    const THistoryTableModel& m = history.Model();
    ASSERT_EQ(m.rowCount(), 1);
    EXPECT_EQ(m.data(m.index(0, THistoryTableModel::Net)).toString(), QStringLiteral("$120.00"));
    EXPECT_EQ(m.data(m.index(0, THistoryTableModel::Kwh)).toString(), QStringLiteral("360,0"));
    EXPECT_EQ(m.data(m.index(0, THistoryTableModel::From)).toString(), QStringLiteral("8/11/2026"));
    EXPECT_EQ(m.Period(0).currencySymbol, QStringLiteral("$"));
    EXPECT_DOUBLE_EQ(m.Period(0).numbers.generalRate, 0.25);
}

} // namespace

namespace {

TEST(HistoryPresenter, APeriodSavedInOneLocaleOpensInAnother) {
    const QString file = TestEnv::DataDir() + QStringLiteral("/history.sqlite");
    QString net;
    {
        FormFixture fx;
        fx.platform.locales =
            TLocales{QLocale(QStringLiteral("de_DE")), QLocale(QStringLiteral("en_US")),
                     QLocale(QStringLiteral("en_US"))};
        FakeFileDialogs files;
        TForm1& f = fx.Make();
        THistoryPresenter history(f, fx.dialogs, files, file);
        f.solarcb->SetChecked(false);
        f.showhwcb->SetChecked(false);
        f.dt1->SetDate(QDate(2026, 11, 8));
        f.dt2->UserSetDate(QDate(2026, 12, 8));
        f.Edit6->SetText("63000");
        f.Edit7->SetText("63583,5");
        f.generalrateed->SetText("1,10");
        f.hwdailyfixedchargeed->SetText("0,20"); // hidden: stored as 0
        history.AddCurrentPeriod();
        ASSERT_EQ(history.Model().rowCount(), 1);
        net = f.tresult->Caption();
    }
    HistoryFixture h;
    THistoryPresenter history(*h.f, h.dialogs, h.files, file);
    history.PageShown();
    history.OpenInReadings(0);
    EXPECT_EQ(h.f->Edit6->Text(), QStringLiteral("63000"));
    EXPECT_EQ(h.f->Edit7->Text(), QStringLiteral("63583.5"));
    EXPECT_EQ(h.f->generalrateed->Text(), QStringLiteral("1.1"));
    EXPECT_EQ(h.f->hwdailyfixedchargeed->Text(), QStringLiteral("0.2"));
    EXPECT_EQ(h.f->tresult->Caption(), net);
    EXPECT_EQ(history.Store().Periods().at(0).typed.generalRate, QStringLiteral("1,10"));
}

TEST(HistoryPresenter, FiguresTooLargeAndOverLongNotesAreRefusedWithTheirOwnMessage) {
    HistoryFixture h;
    h.TypeWorkedExample();
    h.f->Edit6->SetText("-1e308");
    h.f->Edit7->SetText("1e308");
    h.history->AddCurrentPeriod();
    EXPECT_EQ(h.dialogs.messages.last(),
              QStringLiteral("The figures of this period are too large to store."));
    EXPECT_FALSE(QFileInfo::exists(h.file));

    h.TypeWorkedExample();
    h.history->AddCurrentPeriod();
    THistoryTableModel& m = h.history->Model();
    EXPECT_FALSE(m.setData(m.index(0, THistoryTableModel::Note), QString(2001, u'x')));
    EXPECT_EQ(h.dialogs.messages.last(),
              QStringLiteral("A note can hold at most 2,000 characters."));
    EXPECT_TRUE(m.setData(m.index(0, THistoryTableModel::Note), QString(2000, u'x')));
    EXPECT_EQ(h.history->Store().Periods().at(0).note.size(), 2000);
}

} // namespace

namespace {

TEST(HistoryPresenter, ADamagedPageFoundWhileAddingSaysDamagedAndNamesTheFile) {
    {
        HistoryFixture h;
        for (int m = 1; m <= 12; ++m) {
            h.TypeWorkedExample(QDate(2025, m, 1), QDate(2025, m, 1).addMonths(1));
            h.history->AddCurrentPeriod();
        }
    }
    const QString file =
        TestEnv::DataDir() + QStringLiteral("/BrindleSoftware/voltisk/history.sqlite");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 size = f.size();
    ASSERT_GT(size, 8192);
    f.seek(4096); // the header page stays, the table's pages are garbage
    f.write(QByteArray(size - 4096, '\xA5'));
    f.close();
    HistoryFixture h;
    h.TypeWorkedExample(QDate(2026, 1, 1), QDate(2026, 2, 1));
    h.history->AddCurrentPeriod();
    ASSERT_FALSE(h.dialogs.messages.isEmpty());
    EXPECT_TRUE(h.dialogs.messages.last().contains(QStringLiteral("is damaged")))
        << h.dialogs.messages.last().toStdString();
    EXPECT_TRUE(h.dialogs.messages.last().contains(file));
}

TEST(HistoryPresenter, AnOverlappingLongOrNegativePeriodIsAskedAboutBeforeStoring) {
    const struct {
        QDate from, to;
        const char* after; // the later general reading (the original is 1000)
        const char* reason;
    } cases[] = {
        {QDate(2026, 11, 20), QDate(2026, 12, 20), "1300",
         "It overlaps the stored period from 11/8/2026 to 12/8/2026; the days they share count "
         "once, for the period stored last."},
        {QDate(2025, 1, 1), QDate(2026, 3, 1), "1300", "It is 424 days long, more than 400."},
        {QDate(2026, 1, 1), QDate(2026, 2, 1), "900",
         "Its use is negative: a later reading is below the original one."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        HistoryFixture h;
        h.history = std::make_unique<THistoryPresenter>(*h.f, h.dialogs, h.files,
                                                        h.file + QString::fromLatin1(c.after) +
                                                            QString::number(c.from.year()));
        h.TypeWorkedExample();
        h.history->AddCurrentPeriod();
        ASSERT_TRUE(h.dialogs.questions.isEmpty());
        h.TypeWorkedExample(c.from, c.to);
        h.f->Edit7->SetText(QString::fromLatin1(c.after));
        for (bool answer : {false, true}) {
            h.dialogs.answers = {answer};
            h.history->AddCurrentPeriod();
            ASSERT_FALSE(h.dialogs.questions.isEmpty());
            EXPECT_TRUE(h.dialogs.questions.last().endsWith(QString::fromLatin1(c.reason)))
                << h.dialogs.questions.last().toStdString();
            EXPECT_EQ(h.history->Store().Periods().size(), answer ? 2u : 1u);
        }
    }
}

} // namespace
