#pragma once
// The CSV table reader. A file with a header line is read into one flat cell
// list, row after row: the H header cells first (flat indexes 0 .. H-1), then
// each record r = 1, 2, ... at flat indexes r*H .. r*H + H-1. Records are
// padded to H cells; longer ones stop a strict read or are cut in a lenient
// one. CsvCell then picks a cell by a field name and offsets from it.
//
// The file is UTF-8 (a byte-order mark at its start is skipped; invalid bytes
// become U+FFFD). Lines end at LF, CR LF or a lone CR. A line that holds only
// blanks and control characters is skipped and not counted, also inside a
// quoted field. A record continues on the next line while a quote is open;
// the lines are joined by CR LF.

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

// Files larger than this are refused with an error text, so that a stray
// huge file cannot exhaust memory; bill files are a few kilobytes.
inline constexpr qint64 CsvMaxFileBytes = 16 * 1024 * 1024;

// The field-count error quotes at most this many characters of the record,
// followed by "…" when it is longer.
inline constexpr qsizetype CsvErrorRecordChars = 200;

// Padding to the header's field count may add at most this many cells beyond
// one per byte of the file: without padding a cell costs at least one byte,
// so only a long header over many short records reaches the limit.
inline constexpr qint64 CsvCellAllowance = 65536;

// What a read gave: the cells, the header's field count H, the records
// split, and `error`, which is empty on success and otherwise one of:
//   "File not found.\r\n\r\n" + name      (no such file, or not a regular file)
//   "File too large.\r\n\r\n" + name      (more than CsvMaxFileBytes)
//   "Field names not found in first line of file."          (strict, H = 0)
//   "The record at line n has a different number of fields than is specified
//    in the headers.\r\n(H header fields, m fields)\r\n" + the record's text
//    (its first CsvErrorRecordChars characters and "…" when longer)
//                                          (strict, a record longer than H)
//   "Too many cells in file.\r\n\r\n" + name  (padding past the cell limit)
// After an error stop `cells` holds the header and the records before the
// failing one. `headerCount` (H) and `recordCount` (records split, header
// included; after an error stop the failing one too) are set whenever the
// file was found, 0 when it was not read. Line numbers count non-blank lines
// only.
// Lenient mode cuts long records to H fields and sets `recordsCut`; the
// caller shows CsvRecordsCutWarning() if it wants the user told.
// A file that exists but cannot be opened or read throws EVoltiskError with
// the system's reason; `cells` then holds nothing.
struct CsvReadResult {
    QStringList cells;
    int headerCount = 0;
    int recordCount = 0;
    QString error;
    bool recordsCut = false;
};

// Reads `fileName`; the reader shows nothing itself.
CsvReadResult ReadCsvFile(const QString& fileName, bool lenient, QChar separator = QChar(u','),
                          QChar quote = QChar(u'"'));

// The warning for a lenient read that cut records.
QString CsvRecordsCutWarning();

// True when `text` ends inside a quoted field: each quote flips the state,
// except a doubled quote, which is stepped over as one escaped character.
bool HasOpenQuote(QStringView text, QChar quote = QChar(u'"'));

// The line (counted as ReadCsvFile counts them) on which a quoted field
// opens that is still open at the end of `text`, a cut-off file; 0 when every
// quoted field closes. ReadCsvFile drops such a last record unseen.
int OpenQuoteLine(const QString& text, QChar quote = QChar(u'"'));

// Splits one record (possibly several lines joined by CR LF) into `fields`
// (emptied first). Quotes are removed and a doubled quote inside a quoted
// field gives one quote. After a closing quote that is not followed by the
// separator, characters up to the next quote are dropped, and a field that
// ends there is not added. An empty text gives no fields; a trailing
// separator gives an empty last field.
void SplitCsvRecord(QStringView text, QStringList& fields, QChar separator, QChar quote);

// Finds the first cell, in flat order, equal to `name` ignoring letter case
// (blanks count), at flat index k, and returns the cell at
// k + rowOffset * rowLength + columnOffset. Empty when the name is empty, no
// cell matches or the index lies outside the list.
QString CsvCell(const QStringList& cells, const QString& name, int columnOffset, int rowOffset,
                int rowLength);
