#pragma once
// Whether a period's readings fit the stored history, checked before it is
// stored. The period before is the stored one that ends last among those
// starting earlier; a stored period with the same two dates is the one being
// replaced and is left out.
//
// Warnings, each naming the periods it is about:
// - an overlap with any stored period, or a gap after the period before;
// - per meter (general, hot water, export; the solar import meters in solar
//   mode), a start reading other than the end reading of the period before,
//   when both were typed in the same mode and no gap lies between them;
// - a period longer than 400 days;
// - a negative use (an end reading below the start reading).
// A note naming a meter change or a roll-over ("meter change", "new meter",
// "roll-over", "rollover", "rolled over") drops the two reading warnings.

#include "history/periodrecord.h"

#include <QLocale>
#include <QStringList>
#include <vector>

QStringList ReadingWarnings(const HistoryPeriod& p, const std::vector<HistoryPeriod>& stored,
                            const QLocale& dates);

// True when the note says the meter was changed or rolled over.
bool NotesMeterChange(const QString& note);
