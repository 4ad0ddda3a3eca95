#include "history/periodrecord.h"

#include "mylib/numbers.h"

#include <cmath>

QString NoteTooLongText() {
    return QStringLiteral("A note can hold at most 2,000 characters.");
}

QString FiguresTooLargeText() {
    return QStringLiteral("The figures of this period are too large to store.");
}

bool HasStorableFigures(const HistoryPeriod& p) {
    for (const PeriodField& f : PeriodFields()) {
        if (!(std::fabs(p.numbers.*f.number) <= kLargestFigure)) {
            return false;
        }
    }
    for (double v : {p.kwhGeneral, p.kwhHotWater, p.kwhExported, p.fixed, p.variable, p.income,
                     p.net, p.netPerDay}) {
        if (!(std::fabs(v) <= kLargestFigure)) {
            return false;
        }
    }
    return true;
}

const std::array<PeriodField, 15>& PeriodFields() {
    // The number of each field, in the order of PeriodInputFields().
    static constexpr std::array<double PeriodNumbers::*, 15> numbers{
        &PeriodNumbers::generalDailyCharge,
        &PeriodNumbers::generalRate,
        &PeriodNumbers::hwDailyCharge,
        &PeriodNumbers::hwRate,
        &PeriodNumbers::feedIn,
        &PeriodNumbers::generalBefore,
        &PeriodNumbers::generalAfter,
        &PeriodNumbers::hotWaterBefore,
        &PeriodNumbers::hotWaterAfter,
        &PeriodNumbers::exportBefore,
        &PeriodNumbers::exportAfter,
        &PeriodNumbers::importGeneralBefore,
        &PeriodNumbers::importGeneralAfter,
        &PeriodNumbers::importHwBefore,
        &PeriodNumbers::importHwAfter};
    static const std::array<PeriodField, 15> fields = [] {
        std::array<PeriodField, 15> out{};
        for (std::size_t i = 0; i < out.size(); ++i) {
            const PeriodInputField& input = PeriodInputFields()[i];
            out[i] = {input.column, input.text, numbers[i]};
        }
        return out;
    }();
    return fields;
}

HistoryPeriod MakeHistoryPeriod(QDate from, QDate to, const PeriodInputs& inputs,
                                const QLocale& locale, const QLocale& money, int moneyDecimals,
                                const QDateTime& savedAt) {
    HistoryPeriod p;
    p.from = from;
    p.to = to;
    p.days = from.daysTo(to);
    p.typed = inputs;
    for (const PeriodField& field : PeriodFields()) {
        p.numbers.*field.number = ParseLocaleNumber(inputs.*field.text, locale).value_or(0.0);
    }
    const PeriodFigures f = ComputePeriod(p.days, inputs, locale);
    // The calculation's own replacements, so the numbers are the ones it used.
    p.numbers.hwDailyCharge = f.hwDailyCharge;
    p.numbers.feedIn = f.feedIn;
    p.kwhGeneral = f.generalKwh;
    p.kwhHotWater = f.hwKwh;
    p.kwhExported = f.exportedKwh;
    p.fixed = f.fixed;
    p.variable = f.variable;
    p.income = f.income;
    p.net = f.totalNet;
    p.netPerDay = p.days > 0 ? f.totalNet / static_cast<double>(p.days) : 0.0;
    p.currencySymbol = money.currencySymbol();
    p.moneyDecimals = moneyDecimals;
    p.savedAt = savedAt.toUTC();
    return p;
}

PeriodInputs TextsInLocale(const HistoryPeriod& p, const QLocale& locale) {
    // The locale the period was saved in is not stored; its decimal
    // separator is the one that reads the most texts as their stored numbers.
    // (The hot-water charge and feed-in tariff may be stored as 0 for the
    // calculation, so the texts are read again rather than the numbers used.)
    QChar saved = u'.';
    int best = -1;
    for (const QChar separator : {QChar(u'.'), QChar(u',')}) {
        int agree = 0;
        for (const PeriodField& f : PeriodFields()) {
            agree += ParseDecimal(p.typed.*f.text, separator) == p.numbers.*f.number ? 1 : 0;
        }
        if (agree > best) {
            best = agree;
            saved = separator;
        }
    }
    PeriodInputs in = p.typed;
    for (const PeriodField& f : PeriodFields()) {
        const QString& text = p.typed.*f.text;
        const std::optional<double> value = ParseDecimal(text, saved);
        if (value && ParseLocaleNumber(text, locale) != value) {
            in.*f.text = FormatGeneral(*value, locale);
        }
    }
    return in;
}
