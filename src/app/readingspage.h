#pragma once
// What the pages beside "Standard readings" (History, Compare plans) need of
// it, so that their presenters do not depend on the whole window model: the
// locale parts, the period's dates and field texts, putting a period back,
// and a passing note on the status line. TForm1 implements it.

#include "calc/periodcalc.h"
#include "mylib/locales.h"

#include <QDate>
#include <QString>

class TReadingsPage {
public:
    // Today's date from the window's clock.
    virtual QDate Today() const = 0;
    virtual ~TReadingsPage() = default;
    // The locale parts every parse and format of the window uses.
    virtual TLocales Locales() const = 0;
    // The decimals of every money text (the money part's currency's).
    virtual int MoneyDecimals() const = 0;
    // The dates of the original and of the later reading.
    virtual QDate PeriodFrom() const = 0;
    virtual QDate PeriodTo() const = 0;
    // The texts of every field the period calculation reads.
    virtual PeriodInputs ReadPeriodInputs() const = 0;
    // Shows the readings page with this period as typed and recalculates.
    virtual void WritePeriod(QDate from, QDate to, const PeriodInputs& inputs) = 0;
    // A note on the status line, cleared after a while as the report's is.
    virtual void ShowStatus(const QString& text) = 0;

protected:
    TReadingsPage() = default;
    TReadingsPage(const TReadingsPage&) = default;
    TReadingsPage& operator=(const TReadingsPage&) = default;
};
