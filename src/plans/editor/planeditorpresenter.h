#pragma once
// The plan editor without widgets: it holds the plan being edited and turns
// the texts the user types (numbers in the window's locale, days such as
// "Mon-Fri", times such as "14:59", dates "mm-dd") into the plan, refusing a
// text it cannot read with the reason and leaving the plan unchanged. The
// dialog calls one setter per user action and then reads the plan, the rows
// and the week grid again. SaveProblem() says what stops the plan being
// saved, in the validation's words (a gap or overlap names day and time).

#include "tariff/tariffplan.h"
#include "tariff/weekgrid.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

// Which rates an action works on: a tariff period's usage, the controlled
// load or the feed-in.
struct RatePart {
    enum class Kind { Usage, ControlledLoad, FeedIn };
    Kind kind = Kind::Usage;
    int season = 0; // for Usage
};

// One row of the windows table: a window of the time-of-use rate `rate`.
struct WindowRow {
    int rate = 0, window = 0;
    RateType type = RateType::Peak;
    QString days, start, end, price; // price: the rate's first step
};

class PlanEditorPresenter {
public:
    // `takenNames`: the other stored plans' names, refused ignoring case.
    PlanEditorPresenter(TariffPlan plan, const QLocale& locale, QStringList takenNames = {});

    const TariffPlan& Plan() const { return plan_; }
    QString Number(double value) const;

    // Every setter taking a text returns why it was refused, empty when taken.
    QString SetName(const QString& text);
    QString SetTax(const QString& text);
    void SetZone(TariffZone zone) { plan_.zone = zone; }
    void SetTaxOnFeedIn(bool taxed) { plan_.taxOnFeedIn = taxed; }

    // Tariff periods. A new one copies the last one's charges and rates; the
    // last one cannot be removed.
    int AddSeason();
    void RemoveSeason(int season);
    QString SetSeasonName(int season, const QString& text);
    QString SetSeasonDates(int season, const QString& from, const QString& to);
    QString SetSeasonSupply(int season, const QString& text);
    // The zone a tariff period's windows are read in; none reads them in the
    // plan's.
    void SetSeasonZone(int season, std::optional<TariffZone> zone);
    static QString MonthDayText(int month, int day);

    void SetControlledLoad(bool present);
    // An empty text removes the controlled load's own daily charge.
    QString SetControlledLoadCharge(const QString& text);
    void SetFeedIn(bool present);

    // Single rate or time-of-use rates (time-varying for the feed-in).
    bool TimeOfUse(RatePart part) const;
    void SetTimeOfUse(RatePart part, bool timeOfUse);

    // The steps of the single rate (`rate` -1) or of time-of-use rate `rate`.
    const SteppedRate& Steps(RatePart part, int rate) const;
    void AddStep(RatePart part, int rate);
    void RemoveStep(RatePart part, int rate, int step);
    QString SetStepPrice(RatePart part, int rate, int step, const QString& text);
    // An empty volume is allowed on the last step only (it takes the rest).
    QString SetStepVolume(RatePart part, int rate, int step, const QString& text);
    void SetStepPeriod(RatePart part, int rate, StepPeriod period);

    // The windows, one row each, rate by rate.
    QList<WindowRow> Windows(RatePart part) const;
    // Adds a window over the first gap of the week (its day, to the gap's
    // end), else over the whole week; returns its row.
    int AddWindow(RatePart part);
    void RemoveWindow(RatePart part, int row);
    // Moves the window to the rate of that type, made with this one's price
    // when the plan has none; returns the window's new row.
    int SetWindowType(RatePart part, int row, RateType type);
    QString SetWindowDays(RatePart part, int row, const QString& text);
    QString SetWindowTime(RatePart part, int row, bool end, const QString& text);
    QString SetWindowPrice(RatePart part, int row, const QString& text);
    WeekGrid Grid(RatePart part) const { return WeekGrid(Rates(part)); }

    // Discounts: name, guaranteed or conditional, percent of use or bill.
    void AddDiscount();
    void RemoveDiscount(int index);
    void SetDiscountName(int index, const QString& text);
    void SetDiscountKind(int index, bool guaranteed, TariffDiscount::Method method);
    QString SetDiscountPercent(int index, const QString& text);

    // Empty when the plan can be saved; else the first problem, naming the
    // part and, for windows, the day and time.
    QString SaveProblem() const;

    // "Mon-Fri", "Sat, Sun", "Every day"; read back case-blind, with ranges
    // and lists ("mon-wed, fri", "weekdays", "weekends").
    static QString DaysText(quint8 days);
    static std::optional<quint8> ParseDays(const QString& text);
    // "7:00", "07:00", "14:59", "24:00" by the model's rules; nullopt otherwise.
    static std::optional<int> ParseTime(const QString& text, bool end);

private:
    std::optional<double> Parse(const QString& text) const;
    RateBlock* Block(RatePart part);
    QList<TouRate>& Rates(RatePart part);
    const QList<TouRate>& Rates(RatePart part) const;
    SteppedRate& MutableSteps(RatePart part, int rate);
    TimeWindow& Window(RatePart part, int row, int* rate = nullptr);

    TariffPlan plan_;
    QLocale locale_;
    QStringList taken_;
};
