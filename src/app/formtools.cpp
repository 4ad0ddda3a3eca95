#include "app/tform1.h"

#include "mylib/blanks.h"
#include "mylib/errors.h"
#include "mylib/money.h"
#include "mylib/numbers.h"
#include "tools/converter.h"
#include "tools/usagecost.h"

void TForm1::CalcUsage() {
    const TLocales locales = Locales();
    const UsageTexts t =
        UsageLabelTexts(generalrateed->Text(), wattsedit->Text(), hrsedit->Text(),
                        DecimalSeparator(locales.numbers), locales.money, MoneyDecimals());
    resultlabel->SetCaption(QString());
    kwhlabel->SetCaption(QString());
    perweeklabel->SetCaption(QString());
    peryearlabel->SetCaption(QString());
    if (!t.valid) {
        return;
    }
    resultlabel->SetCaption(t.result);
    kwhlabel->SetCaption(t.kwh);
    perweeklabel->SetCaption(t.perWeek);
    peryearlabel->SetCaption(t.perYear);
}

void TForm1::wattseditChange(TComponent*) {
    CalcUsage();
}

namespace {

// A converter field read with the locale's decimal conversion; a text that is
// not a number ends the press.
double ConverterNumber(const TEdit* field, const QLocale& locale) {
    const std::optional<double> v = ParseLocaleNumber(field->Text(), locale);
    if (!v) {
        throw EVoltiskError(
            QStringLiteral("'%1' is not a valid floating point value").arg(field->Text()));
    }
    return *v;
}

} // namespace

void TForm1::SpeedButton1Click(TComponent*) {
    voltsedit->SetText(QString());
}

void TForm1::SpeedButton2Click(TComponent*) {
    wedit->SetText(QString());
}

void TForm1::SpeedButton3Click(TComponent*) {
    ampsedit->SetText(QString());
}

void TForm1::SpeedButton5Click(TComponent*) {
    ohmsedit->SetText(QString());
}

void TForm1::calculatebuttonClick(TComponent*) {
    const QLocale locale = Locales().numbers;
    TEdit* const fields[] = {wedit, ampsedit, voltsedit, ohmsedit};
    // A 0 is never a given value, so it cannot divide anything.
    for (TEdit* field : fields) {
        if (!IsBlank(field->Text()) && ConverterNumber(field, locale) == 0.0) {
            field->SetText(QString());
        }
    }
    double read[4] = {kConverterAbsent, kConverterAbsent, kConverterAbsent, kConverterAbsent};
    for (int i = 0; i < 4; ++i) {
        if (!IsBlank(fields[i]->Text())) {
            read[i] = ConverterNumber(fields[i], locale);
        }
    }
    ConverterValues given;
    given.watts = read[0];
    given.amps = read[1];
    given.volts = read[2];
    given.ohms = read[3];

    const QString countMessage = ConverterCountMessage(ConverterGivenCount(given));
    if (!countMessage.isEmpty()) {
        platform_.dialogs.ShowMessage(countMessage);
        return;
    }
    const ConverterSolution solution = SolveConverter(given);
    if (solution.outcome != ConverterOutcome::Solved) {
        platform_.dialogs.ShowMessage(ConverterFailureMessage(solution.outcome));
        return;
    }
    for (const ConverterFinding& f : solution.found) {
        TEdit* field = f.quantity == ConverterQuantity::Power     ? wedit
                       : f.quantity == ConverterQuantity::Current ? ampsedit
                       : f.quantity == ConverterQuantity::Voltage ? voltsedit
                                                                  : ohmsedit;
        field->SetText(ConverterFieldText(f.value, locale));
    }
}

void TForm1::resetbuttonClick(TComponent*) {
    for (TEdit* field : {voltsedit, wedit, ampsedit, ohmsedit}) {
        field->SetText(QString());
    }
}

// The check box is never shown; the ohms field always takes part.
void TForm1::ohmsenablecbClick(TComponent*) {}
