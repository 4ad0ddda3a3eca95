#include "plans/page/plansprint.h"

#include "plans/planspresenter.h"
#include "plans/tariffpresenter.h"

namespace {

// The ranked tariff plans and, plan by plan, what each total is made of.
QString TariffPlansHtml(const TTariffPresenter& t) {
    QString body = QStringLiteral("<h3>Tariff plans</h3>") + PrintParagraph(t.Basis()) +
                   PrintParagraph(t.Notice());
    QList<QStringList> ranked;
    for (const TariffRowTexts& r : t.Rows()) {
        ranked << QStringList{r.name, r.total, r.difference, r.myPlan, r.note};
    }
    if (ranked.isEmpty()) {
        return body;
    }
    body += PrintTableHtml({QStringLiteral("Plan"), QStringLiteral("Total"),
                            QStringLiteral("Against the cheapest"), QStringLiteral("My plan"),
                            QStringLiteral("Note")},
                           ranked);
    for (int row = 0; row < ranked.size(); ++row) {
        QList<QStringList> parts;
        for (const BreakdownTexts& b : t.BreakdownOf(row)) {
            parts << QStringList{b.item, b.kwh, b.rate, b.cost};
        }
        if (!parts.isEmpty()) {
            body += QStringLiteral("<h4>%1</h4>").arg(ranked[row][0].toHtmlEscaped()) +
                    PrintTableHtml({QStringLiteral("Part"), QStringLiteral("kWh"),
                                    QStringLiteral("Rate"), QStringLiteral("Cost")},
                                   parts);
        }
    }
    return body;
}

} // namespace

PrintPage ComparisonPage(const TPlansPresenter& p, const QImage& chart,
                         const TTariffPresenter* tariffs) {
    QStringList names;
    QList<QStringList> rows;
    for (const PlanTableRow& row : p.Rows()) {
        const PlanRowTexts& t = row.texts;
        names << t.name;
        rows << QStringList{t.name, t.fixed, t.variable, t.income,
                            t.tax,  t.net,   t.perDay,   t.difference};
    }
    const QString period = p.PeriodChoices().value(p.SelectedPeriod());
    QString body = PrintParagraph(QStringLiteral("Plans: ") + names.join(QStringLiteral(", "))) +
                   PrintParagraph(p.FaultText()) + PrintParagraph(p.PeriodNotice());
    if (!rows.isEmpty()) {
        body += PrintTableHtml({QStringLiteral("Plan"), QStringLiteral("Fixed"),
                                QStringLiteral("Variable"), QStringLiteral("Income"),
                                QStringLiteral("Tax"), QStringLiteral("Net"),
                                QStringLiteral("Cost a day"), QStringLiteral("Difference")},
                               rows);
    }
    body += PrintParagraph(p.CheapestText());
    body += QStringLiteral("<h3>A year at a glance</h3>") + PrintParagraph(p.YearSummary());
    QList<QStringList> year;
    for (const YearRow& row : p.YearRows()) {
        year << QStringList{row.name, row.total, row.savingPerYear};
    }
    if (!year.isEmpty()) {
        body += PrintTableHtml(
            {QStringLiteral("Plan"), QStringLiteral("Year total"), QStringLiteral("Saving a year")},
            year);
    }
    if (tariffs) {
        body += TariffPlansHtml(*tariffs);
    }
    return {QStringLiteral("Plan comparison: %1").arg(period), body, chart};
}
