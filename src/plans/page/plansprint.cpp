#include "plans/page/plansprint.h"

#include "plans/planspresenter.h"

PrintPage ComparisonPage(const TPlansPresenter& p, const QImage& chart) {
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
    return {QStringLiteral("Plan comparison: %1").arg(period), body, chart};
}
