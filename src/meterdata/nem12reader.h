#pragma once
// Reads an AEMO NEM12 interval data file (records 100, 200, 300, 400, 500,
// 900) front to back, handing each day of an energy channel to the sink.
// Days are market dates (UTC+10 all year); `E…` and `B…` channels in kWh, Wh
// or MWh are energy, every other channel is only listed. Refuses a NEM13 file
// and every fault of the data, naming the line.

#include "meterdata/meterday.h"

class MeterInput;

void ReadNem12(MeterInput& input, MeterSink& sink);

// The refusal of an accumulation (NEM13) file.
QString Nem13Refusal(const QString& name);

// Seconds since 1970 UTC of 00:00 of `day` in a zone `offsetSeconds` east of UTC.
qint64 MidnightUtc(QDate day, int offsetSeconds);
