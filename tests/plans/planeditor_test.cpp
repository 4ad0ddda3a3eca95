// The plan editor's presenter: typed texts in the window's locale become the
// plan or are refused with the reason; windows are added over the week's
// gaps; saving is refused while a gap, an overlap or the plan's check says so.
#include "plans/editor/planeditordialog.h"
#include "plans/editor/planeditorpresenter.h"

#include "plans/editor/weekgridwidget.h"
#include "tariff/cdrplan.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const RatePart kUsage{RatePart::Kind::Usage, 0};

TariffPlan Flat() {
    return FlatTariffPlan(QStringLiteral("Saver"), 1.1, 0.3, 0, 0.2, 0.05, 10, false);
}

} // namespace

TEST(PlanEditor, DaysAndTimesAsTyped) {
    const struct {
        const char* text;
        int days; // -1: refused
        const char* shown;
    } days[] = {{"Mon-Fri", 0x1F, "Mon-Fri"},
                {"sat, SUN", 0x60, "Sat, Sun"},
                {"weekdays", 0x1F, "Mon-Fri"},
                {"Fri-Mon", 0x71, "Mon, Fri-Sun"},
                {"mon, wed", 0x05, "Mon, Wed"},
                {"every day", 0x7F, "Every day"},
                {"Mo", -1, ""},
                {"", -1, ""}};
    for (const auto& row : days) {
        const std::optional<quint8> read = PlanEditorPresenter::ParseDays(row.text);
        EXPECT_EQ(read ? int(*read) : -1, row.days) << row.text;
        if (read) {
            EXPECT_EQ(PlanEditorPresenter::DaysText(*read), row.shown) << row.text;
        }
    }
    const struct {
        const char* text;
        bool end;
        int minute; // -1: refused
    } times[] = {{"7:00", false, 420},  {"14:59", true, 900}, {"24:00", true, 1440},
                 {"00:00", true, 1440}, {"24:00", false, -1}, {"7:60", true, -1},
                 {"seven", false, -1}};
    for (const auto& row : times) {
        const std::optional<int> read = PlanEditorPresenter::ParseTime(row.text, row.end);
        EXPECT_EQ(read.value_or(-1), row.minute) << row.text;
    }
}

TEST(PlanEditor, TextsInTheLocaleOrRefusedUnchanged) {
    PlanEditorPresenter de(Flat(), QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.SetSeasonSupply(0, "1,3684"), "");
    EXPECT_DOUBLE_EQ(de.Plan().seasons[0].dailySupply, 1.3684);
    EXPECT_EQ(de.Number(0.3009), "0,3009");
    const struct {
        const char* what;
        std::function<QString(PlanEditorPresenter&)> set;
        QString refusal;
    } rows[] = {
        {"tax above 100", [](auto& p) { return p.SetTax("120"); },
         "The tax must be from 0 to 100 percent."},
        {"supply not a number", [](auto& p) { return p.SetSeasonSupply(0, "1.2.3"); },
         "\"1.2.3\" is not a number."},
        {"no such day", [](auto& p) { return p.SetSeasonDates(0, "02-30", "12-31"); },
         "\"02-30\" is not a day of the year; write it as mm-dd, for example 11-01."},
        {"zero volume", [](auto& p) { return p.SetStepVolume(kUsage, -1, 0, "0"); },
         "A step's volume must be a number above 0."},
        {"discount over 100",
         [](auto& p) {
             p.AddDiscount();
             return p.SetDiscountPercent(0, "101");
         },
         "A discount must be from 0 to 100 percent."},
    };
    for (const auto& row : rows) {
        PlanEditorPresenter p(Flat(), QLocale(QLocale::English, QLocale::Australia));
        EXPECT_EQ(row.set(p), row.refusal) << row.what;
        EXPECT_EQ(p.Plan().taxPercent, 10) << row.what;
        EXPECT_EQ(p.Plan().seasons[0].dailySupply, 1.1) << row.what;
        EXPECT_EQ(p.Plan().seasons[0].endMonth, 12) << row.what;
        EXPECT_FALSE(p.Plan().seasons[0].usage.single.steps[0].volume) << row.what;
        EXPECT_TRUE(p.Plan().discounts.isEmpty() || p.Plan().discounts[0].percent == 0);
    }
}

TEST(PlanEditor, WindowsFillTheGapsUntilThePlanSaves) {
    PlanEditorPresenter p(Flat(), QLocale(QLocale::English, QLocale::Australia));
    p.SetTimeOfUse(kUsage, true);
    EXPECT_EQ(p.SaveProblem(), "");
    ASSERT_EQ(p.SetWindowDays(kUsage, 0, "Mon-Fri"), "");
    ASSERT_EQ(p.SetWindowTime(kUsage, 0, false, "07:00"), "");
    ASSERT_EQ(p.SetWindowTime(kUsage, 0, true, "21:59"), "");
    EXPECT_EQ(p.SaveProblem(), "Tariff period \"All year\": No rate covers Monday at 00:00.");
    // Each new window takes the earliest gap's hours on every day lacking them.
    const struct {
        RateType type;
        const char* days;
        const char* start;
        const char* end;
    } added[] = {{RateType::OffPeak, "Every day", "00:00", "07:00"},
                 {RateType::Shoulder, "Every day", "22:00", "24:00"},
                 {RateType::Shoulder1, "Sat, Sun", "07:00", "22:00"}};
    for (const auto& row : added) {
        const int added = p.AddWindow(kUsage);
        const WindowRow w = p.Windows(kUsage).at(added);
        EXPECT_EQ(w.type, row.type);
        EXPECT_EQ(w.days, row.days);
        EXPECT_EQ(w.start, row.start);
        EXPECT_EQ(w.end, row.end);
        EXPECT_EQ(w.price, "0.3");
    }
    EXPECT_EQ(p.SaveProblem(), "");
    EXPECT_EQ(p.Grid(kUsage).Cell(5, 20).state, WeekGridCell::State::Covered);
    // The late shoulder joins the off-peak rate, which then holds two windows.
    const int moved = p.SetWindowType(kUsage, 2, RateType::OffPeak);
    EXPECT_EQ(p.Plan().seasons[0].usage.tou.size(), 3);
    EXPECT_EQ(p.Windows(kUsage).at(moved).rate, 1);
    EXPECT_EQ(p.SetWindowPrice(kUsage, moved, "0.15"), "");
    EXPECT_EQ(p.Plan().seasons[0].usage.tou[1].rate.steps[0].price, 0.15);
    p.RemoveWindow(kUsage, 0);
    EXPECT_EQ(p.SaveProblem(), "Tariff period \"All year\": No rate covers Monday at 07:00.");
}

TEST(PlanEditor, StepsSeasonsAndPartsKeepThePlanPriceable) {
    const RatePart load{RatePart::Kind::ControlledLoad, 0}, feedIn{RatePart::Kind::FeedIn, 0};
    const struct {
        const char* what;
        std::function<void(PlanEditorPresenter&)> act;
        QString problem;
    } rows[] = {
        {"a second step before the first has a volume", [](auto& p) { p.AddStep(kUsage, -1); },
         "Tariff period \"All year\": a step without a volume comes before the last step."},
        {"the first 10 kWh a day, then the rest",
         [](auto& p) {
             p.AddStep(kUsage, -1);
             EXPECT_EQ(p.SetStepVolume(kUsage, -1, 0, "10"), "");
             EXPECT_EQ(p.SetStepVolume(kUsage, -1, 0, ""),
                       "Only the last step may go without a volume.");
             p.SetStepPeriod(kUsage, -1, StepPeriod::Day);
             EXPECT_EQ(p.Plan().seasons[0].usage.single.steps[0].volume, 10.0);
         },
         ""},
        {"removing the last step leaves the rest open",
         [](auto& p) {
             p.AddStep(kUsage, -1);
             p.SetStepVolume(kUsage, -1, 0, "10");
             p.SetStepVolume(kUsage, -1, 1, "20");
             p.RemoveStep(kUsage, -1, 1);
             EXPECT_FALSE(p.Plan().seasons[0].usage.single.steps.last().volume);
         },
         ""},
        {"a second period copying the first holds the same days", [](auto& p) { p.AddSeason(); },
         "Tariff periods \"All year\" and \"Tariff period 2\" both hold 01-01."},
        {"summer wrapping the year end beside the rest",
         [](auto& p) {
             p.AddSeason();
             EXPECT_EQ(p.SetSeasonDates(0, "11-01", "03-31"), "");
             EXPECT_EQ(p.SetSeasonDates(1, "4-1", "10-31"), "");
         },
         ""},
        {"the last period stays", [](auto& p) { p.RemoveSeason(0); }, ""},
        {"time-varying feed-in starts over the whole week",
         [feedIn](auto& p) {
             p.SetTimeOfUse(feedIn, true);
             EXPECT_EQ(p.Windows(feedIn).size(), 1);
             EXPECT_EQ(p.Windows(feedIn)[0].price, "0.05");
             p.SetWindowDays(feedIn, 0, "Mon-Sat");
         },
         "Feed-in: No rate covers Sunday at 00:00."},
        {"controlled load without its own charge",
         [load](auto& p) {
             EXPECT_EQ(p.SetControlledLoadCharge(" "), "");
             EXPECT_FALSE(p.Plan().controlledLoad.dailyCharge);
             EXPECT_EQ(p.SetStepPrice(load, -1, 0, "x"), "\"x\" is not a number.");
             EXPECT_EQ(p.Plan().controlledLoad.rates.single.steps[0].price, 0.2);
         },
         ""},
    };
    for (const auto& row : rows) {
        PlanEditorPresenter p(Flat(), QLocale::c());
        row.act(p);
        EXPECT_EQ(p.SaveProblem(), row.problem) << row.what;
        EXPECT_FALSE(p.Plan().seasons.isEmpty()) << row.what;
    }
}

TEST(PlanEditor, NameMustBeGivenAndFree) {
    const struct {
        const char* name;
        QString problem;
    } rows[] = {{"  ", "Enter a name for the plan."},
                {"saver ", "A plan named \"Saver\" already exists."},
                {"Saver two", ""}};
    for (const auto& row : rows) {
        PlanEditorPresenter p(Flat(), QLocale::c(), {QStringLiteral("Saver")});
        p.SetName(row.name);
        EXPECT_EQ(p.SaveProblem(), row.problem) << row.name;
    }
}

TEST(PlanEditorDialog, AGapBlocksSavingAndNamesDayAndTime) {
    TariffPlan plan = Flat();
    plan.seasons[0].usage.timeOfUse = true;
    plan.seasons[0].usage.tou = {
        {RateType::Peak, {}, {{RateStep{0.4, {}}}, {}}, {{0x7F, 0, 840}}},
        {RateType::OffPeak, {}, {{RateStep{0.2, {}}}, {}}, {{0x1F, 840, 0}}}};
    PlanEditorDialog dialog(plan, {});
    dialog.show();
    auto* problem = dialog.findChild<QLabel*>("editorproblem");
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->text(), "Tariff period \"All year\": No rate covers Saturday at 14:00.");
    QPushButton* ok = nullptr;
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == "OK") {
            ok = b;
        }
    }
    ASSERT_TRUE(ok);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(problem->text(),
              "Not saved: Tariff period \"All year\": No rate covers Saturday at 14:00.");
}

TEST(PlanEditorDialog, TypedWindowCellsReachTheGridAndRefusalsAreUndone) {
    TariffPlan plan = Flat();
    plan.seasons[0].usage.timeOfUse = true;
    plan.seasons[0].usage.tou = {{RateType::Peak, {}, {{RateStep{0.4, {}}}, {}}, {{0x7F, 0, 0}}}};
    PlanEditorDialog dialog(plan, {});
    dialog.show();
    // The shown tab's table and grid: the other tabs have their own.
    auto shown = [&dialog]<class W>(W*, const char* name) {
        for (W* w : dialog.findChildren<W*>(name)) {
            if (w->isVisible()) {
                return w;
            }
        }
        return static_cast<W*>(nullptr);
    };
    QTableWidget* windows = shown(static_cast<QTableWidget*>(nullptr), "windows");
    ASSERT_TRUE(windows);
    auto* problem = dialog.findChild<QLabel*>("editorproblem");
    const struct {
        int column;
        const char* text;
        const char* shown; // the cell after the edit
        QString problem;
    } rows[] = {
        {1, "weekdays", "Mon-Fri", "Tariff period \"All year\": No rate covers Saturday at 00:00."},
        {1, "someday", "Mon-Fri",
         "\"someday\" is not a list of days; write for example Mon-Fri or Sat, Sun."},
        {3, "6:59", "07:00", "Tariff period \"All year\": No rate covers Monday at 07:00."},
        {4, "0.45", "0.45", "Tariff period \"All year\": No rate covers Monday at 07:00."},
    };
    for (const auto& row : rows) {
        windows->item(0, row.column)->setText(row.text);
        QApplication::processEvents();
        EXPECT_EQ(windows->item(0, row.column)->text(), row.shown) << row.text;
        EXPECT_EQ(problem->text(), row.problem) << row.text;
    }
    EXPECT_EQ(dialog.Plan().seasons[0].usage.tou[0].rate.steps[0].price, 0.45);
    // The grid paints Monday 06:30 in the peak's colour and Monday 07:00 as a gap.
    WeekGridWidget* grid = shown(static_cast<WeekGridWidget*>(nullptr), "weekgrid");
    ASSERT_TRUE(grid);
    const QImage picture = grid->grab().toImage();
    const QColor peak = WeekGridWidget::TypeColour(RateType::Peak);
    EXPECT_EQ(picture.pixelColor(34 + 13 * 12 + 3, 16 + 8), peak);
    EXPECT_NE(picture.pixelColor(34 + 14 * 12 + 3, 16 + 8), peak);
}

// A tariff period's own zone, chosen in the editor, is the plan's and its file's.
TEST(PlanEditorDialog, APeriodReadsItsWindowsInAZoneOfItsOwn) {
    TariffPlan plan = Flat();
    plan.seasons.append(plan.seasons[0]);
    plan.seasons[0].endMonth = 3;
    plan.seasons[1].startMonth = 4;
    PlanEditorDialog dialog(plan, {});
    auto* seasons = dialog.findChild<QListWidget*>("seasons");
    auto* zone = dialog.findChild<QComboBox*>("seasonzone");
    const struct {
        int index;
        std::optional<TariffZone> zone;
    } rows[] = {{2, TariffZone::Aest}, {1, TariffZone::Local}, {0, std::nullopt}};
    for (const auto& row : rows) {
        seasons->setCurrentRow(1);
        emit zone->activated(row.index);
        const CdrImport back = ReadCdrPlan(WriteCdrPlan(dialog.Plan()));
        EXPECT_EQ(back.plan.seasons[1].zone, row.zone) << row.index;
        EXPECT_EQ(back.plan.seasons[0].zone, std::nullopt) << row.index;
        seasons->setCurrentRow(0);
        seasons->setCurrentRow(1); // shown again as chosen
        EXPECT_EQ(zone->currentIndex(), row.index);
    }
}
