#pragma once
// The Usage page without its widgets: the stored meters and channels, the
// chosen meter and date range, the summary of that range (usage/usagefigures.h)
// and its texts in the window's locale, and "Add to history…", which stores
// the range as a bill-history period priced with the readings page's tariff.
//
// Reads the history file through THistorySession only when Load() is called
// (the page's first show). All calls on the window's thread.

#include "history/periodrecord.h"
#include "tariff/tariffplan.h"
#include "usage/usagefigures.h"

#include <QDate>
#include <QString>
#include <map>
#include <optional>
#include <vector>

class TDialogs;
class THistorySession;
class TReadingsPage;

class TUsagePresenter {
public:
    enum class Span { Whole, Last7Days, Last30Days, Last12Months, Chosen };

    TUsagePresenter(TReadingsPage& readings, THistorySession& session, TDialogs& dialogs);

    // Reads the channels and the summary of the chosen range (the whole data
    // unless a span was chosen); false when the history file cannot be used
    // (Fault() says why).
    bool Load();
    const QString& Fault() const { return fault_; }
    const QString& FileName() const;

    const std::vector<StoredChannel>& Channels() const { return channels_; }
    // The meters of the channels, each once, in order.
    std::vector<QString> Meters() const;
    // Every meter when empty.
    void SetMeter(const QString& meter);
    const QString& Meter() const { return meter_; }

    // The quick spans end on the last day with data.
    void SetSpan(Span span);
    // From and to swapped when given the wrong way round.
    void SetRange(QDate from, QDate to);
    Span CurrentSpan() const { return span_; }
    bool HasData() const { return dataFrom_.isValid(); }
    QDate DataFrom() const { return dataFrom_; }
    QDate DataTo() const { return dataTo_; }
    const UsageSummary& Summary() const { return summary_; }

    // The heat map coloured by use (no plan) or by the rate type of a stored
    // plan whose usage rates depend on the time of day: the names of those
    // plans, the one chosen, and each cell's type as RateTypeGrid gives it
    // (empty when by use). A chosen plan no longer stored goes back to use.
    const std::vector<QString>& ColourPlans() const { return colourPlanNames_; }
    void SetColourPlan(const QString& name);
    const QString& ColourPlan() const { return colourPlan_; }
    const std::vector<qint8>& RateTypes() const { return rateTypes_; }

    // The roles of the stored channels, by meter and channel, for the import dialog.
    MeterChannelRoles StoredRoles() const;

    // Texts in the window's locale.
    struct Figure {
        QString label, value;
    };
    std::vector<Figure> FigureTexts() const;
    QString KwhText(double kwh, int decimals) const;
    QString DayText(QDate day) const;
    QString SlotText(int slot) const;
    // "Tue 05/03/2024, 18:30: 1.234 kWh" for a heat map cell, then its rate
    // type (", Peak") when coloured by a plan.
    QString CellText(int day, int slot) const;

    // The period "Add to history…" would store for the range; none without
    // data.
    std::optional<HistoryPeriod> PeriodForHistory() const;
    // Asks, then stores it and tells the History page; true when stored.
    bool AddToHistory();

private:
    void Recompute();
    void ColourByPlan();

    TReadingsPage& readings_;
    THistorySession& session_;
    TDialogs& dialogs_;
    QString fault_;
    std::vector<StoredChannel> channels_;
    QString meter_;
    Span span_ = Span::Whole;
    QDate dataFrom_, dataTo_, from_, to_;
    UsageSummary summary_;
    std::vector<TariffPlan> colourPlans_;
    std::vector<QString> colourPlanNames_;
    QString colourPlan_;
    std::vector<qint8> rateTypes_;
};

QString RoleText(ChannelRole role);
