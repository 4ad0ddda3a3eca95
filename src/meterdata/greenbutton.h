#pragma once
// Green Button "Download my data" files: the ESPI XML feed and the
// utilities' CSV export. Each day of a channel reaches the sink as a (maybe
// partial) MeterDay in local time; flow 1 readings become channel `E1`, flow
// 19 readings `B1` (a further reading of the same flow `E2`, `B2`, …), other
// flows and units are listed only.

#include "meterdata/localzone.h"
#include "meterdata/meterday.h"

class MeterInput;

// The XML feed. A DOCTYPE that declares entities is refused; so is a reading
// whose ReadingType, interval or value cannot be read. `zone` is used when
// the file holds no LocalTimeParameters.
void ReadGreenButtonXml(MeterInput& input, MeterSink& sink, const LocalZone& zone = LocalZone());

// The CSV export (`TYPE,DATE,START TIME,END TIME,USAGE…` after a few account
// lines), in `zone`'s local time.
void ReadGreenButtonCsv(MeterInput& input, MeterSink& sink, const LocalZone& zone = LocalZone());
