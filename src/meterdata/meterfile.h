#pragma once
// Reads any meter data file the program knows: NEM12, Green Button XML or
// CSV, or a zip archive holding them. The format is told from the content,
// not the name. Refuses an empty file, binary data, a NEM13 file and a zip
// with no usable entry or with an entry expanding past `maxExpanded` bytes.

#include "meterdata/localzone.h"
#include "meterdata/meterday.h"

class MeterInput;

struct MeterReadOptions {
    qint64 maxExpanded = qint64{512} << 20;
    LocalZone zone; // for Green Button files without LocalTimeParameters
};

void ReadMeterFile(const QString& path, MeterSink& sink,
                   const MeterReadOptions& options = MeterReadOptions());

// Reads one stream of a known format; throws when it is none of them.
void ReadMeterStream(MeterInput& input, MeterSink& sink, const MeterReadOptions& options);
