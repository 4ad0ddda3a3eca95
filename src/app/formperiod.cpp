#include "app/tform1.h"

#include "calc/periodcalc.h"
#include "calc/report.h"
#include "mylib/dates.h"
#include "mylib/money.h"

#include <array>

namespace {
constexpr TColor clGreen = RGBColor(0, 128, 0);
}

// One run: the fields are read once, the figures and label texts computed
// once; the labels show those texts and the report is built from the same
// values and written once, whichever way the run ends.
void TForm1::CalcAll() {
    if (!Visible()) {
        return;
    }
    CalcUsage();
    const PeriodReport report = CurrentReport();
    const qint64 days = RoundedDifference(dt2->Date(), dt1->Date());
    ShowPeriodLabels(days, report.labels);
    FitResultTexts();
    const bool written = WriteReport(ReportFilePath(), ReportBytes(report));
    // A day count of 0 or less shows no outcome: such a run leaves the status
    // line empty and does not start the timer, so a failure text would never
    // be cleared.
    if (days <= 0) {
        sb1->SetSimpleText(QString());
        return;
    }
    sb1->SetSimpleText(written ? QStringLiteral("    Report file written to disk.")
                               : QStringLiteral("    Report file could not be written."));
    Timer1->SetEnabled(true);
}

PeriodReport TForm1::CurrentReport() const {
    const TLocales locales = Locales();
    PeriodReport report;
    report.inputs = ReadPeriodInputs();
    report.firstDate = FormatShortDate(dt1->Date(), locales.dates);
    report.laterDate = FormatShortDate(dt2->Date(), locales.dates);
    const qint64 days = RoundedDifference(dt2->Date(), dt1->Date());
    if (days > 0) {
        const PeriodFigures f = ComputePeriod(days, report.inputs, locales.numbers);
        report.labels = PeriodLabelTexts(f, report.inputs.solar, report.inputs.showHotWater,
                                         locales.numbers, locales.money, MoneyDecimals());
    }
    return report;
}

void TForm1::ShowPeriodLabels(qint64 days, const std::optional<PeriodLabels>& labels) {
    if (!labels) {
        // Only the totals are cleared; the split labels keep their last texts.
        for (TLabel* l : {fresult, vresult, tresult, used, dused, dcost, tdcost}) {
            l->SetCaption(QString());
        }
        dayslabel->SetCaption(QString::number(days));
        return;
    }
    for (const auto& [label, text] : ResultLabels()) {
        if (label == tresult) {
            TFont font = tresult->Font();
            font.Color = labels->totalNegative ? clGreen : clWindowText;
            tresult->SetFont(font);
        }
        label->SetCaption((*labels).*text);
    }
}

std::vector<std::pair<TLabel*, QString PeriodLabels::*>> TForm1::ResultLabels() const {
    return {{dayslabel, &PeriodLabels::dayslabel},
            {exportedlabel, &PeriodLabels::exportedlabel},
            {exportedincome, &PeriodLabels::exportedincome},
            {used, &PeriodLabels::used},
            {usedwk, &PeriodLabels::usedwk},
            {dused, &PeriodLabels::dused},
            {dusedwk, &PeriodLabels::dusedwk},
            {dcost, &PeriodLabels::dcost},
            {dcostwk, &PeriodLabels::dcostwk},
            {tdcost, &PeriodLabels::tdcost},
            {tdcostwk, &PeriodLabels::tdcostwk},
            {fresult, &PeriodLabels::fresult},
            {fresultwk, &PeriodLabels::fresultwk},
            {vresult, &PeriodLabels::vresult},
            {vresultwk, &PeriodLabels::vresultwk},
            {tresult, &PeriodLabels::tresult},
            {tresultwk, &PeriodLabels::tresultwk}};
}

int TForm1::MoneyDecimals() const {
    return platform_.moneyDecimals.value_or(CurrencyDecimals(Locales().money));
}

PeriodInputs TForm1::ReadPeriodInputs() const {
    PeriodInputs in;
    in.solar = solarcb->Checked();
    in.showHotWater = showhwcb->Checked();
    for (const auto& [field, text] : PeriodFieldEdits()) {
        in.*text = field->Text();
    }
    return in;
}

QDate TForm1::PeriodFrom() const {
    return dt1->Date();
}

QDate TForm1::PeriodTo() const {
    return dt2->Date();
}

void TForm1::WritePeriod(QDate from, QDate to, const PeriodInputs& inputs) {
    // ShowPage: the model may still think the readings page is shown while a
    // page of the view's own (History, Compare plans) is on screen.
    pagecontrol1->ShowPage(readingsts);
    // Program-set dates fire nothing; the switches and texts fire their
    // handlers as any change does, and the last step recalculates in any case.
    dt1->SetDate(from);
    dt2->SetDate(to);
    solarcb->SetChecked(inputs.solar);
    showhwcb->SetChecked(inputs.showHotWater);
    for (const auto& [edit, member] : PeriodFieldEdits()) {
        edit->SetText(inputs.*member);
    }
    dt1Change(dt2);
}

void TForm1::ShowStatus(const QString& text) {
    sb1->SetSimpleText(text);
    Timer1->SetEnabled(true);
}

std::vector<std::pair<TEdit*, QString PeriodInputs::*>> TForm1::PeriodFieldEdits() const {
    // The edit of each field, in the order of PeriodInputFields().
    const std::array<TEdit*, 15> edits{generaldailyservicechargeed,
                                       generalrateed,
                                       hwdailyfixedchargeed,
                                       hwrateed,
                                       feedined,
                                       Edit6,
                                       Edit7,
                                       Edit9,
                                       Edit10,
                                       exportoriged,
                                       exportlater,
                                       importgenoriged,
                                       importgenlatered,
                                       importhworiged,
                                       importhwlatered};
    std::vector<std::pair<TEdit*, QString PeriodInputs::*>> fields;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        fields.emplace_back(edits[i], PeriodInputFields()[i].text);
    }
    return fields;
}

std::vector<std::pair<TEdit*, QString PeriodInputs::*>> TForm1::ReadingFields() const {
    auto fields = PeriodFieldEdits();
    fields.erase(fields.begin(), fields.begin() + kPeriodTariffFieldCount);
    return fields;
}
