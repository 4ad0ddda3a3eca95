#include "mylib/ucsv.h"

#include "mylib/blanks.h"
#include "mylib/errors.h"
#include "mylib/fileread.h"
#include "mylib/paths.h"

#include <QStringView>
#include <utility>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Reads the whole file, refusing more than CsvMaxFileBytes however large the
// file claims to be (some system files report a size of 0). Returns false
// when the file is too large. A FIFO or device at the path neither blocks nor
// is read: it fails like a file that cannot be opened.
bool ReadFileBytes(const QString& fileName, QByteArray& bytes) {
    FileReadResult file = ReadFileBounded(fileName, CsvMaxFileBytes);
    switch (file.status) {
    case FileReadResult::Status::Ok:
        bytes = std::move(file.bytes);
        return true;
    case FileReadResult::Status::TooLarge:
        return false;
    case FileReadResult::Status::Missing:
        file.reason = QStringLiteral("No such file or directory");
        break;
    case FileReadResult::Status::Failed:
        break;
    }
    throw EVoltiskError(
        QStringLiteral("Could not read the file %1: %2").arg(fileName, file.reason));
}

QString DecodeUtf8(const QByteArray& bytes) {
    static constexpr char bom[] = "\xEF\xBB\xBF";
    if (bytes.startsWith(QByteArrayView(bom, 3))) {
        return QString::fromUtf8(QByteArrayView(bytes).sliced(3));
    }
    return QString::fromUtf8(bytes);
}

// The next line of `text` from `pos`; moves `pos` past its LF, CR LF or CR.
QStringView NextLine(const QString& text, qsizetype& pos) {
    const qsizetype start = pos;
    const qsizetype end = text.size();
    while (pos < end && text[pos] != u'\n' && text[pos] != u'\r') {
        ++pos;
    }
    const QStringView line = QStringView(text).sliced(start, pos - start);
    if (pos < end) {
        const bool crlf = text[pos] == u'\r' && pos + 1 < end && text[pos + 1] == u'\n';
        pos += crlf ? 2 : 1;
    }
    return line;
}

// The start of a record for a message: a box with megabytes of text would
// take minutes to lay out.
QString RecordExcerpt(const QString& recordText) {
    if (recordText.size() <= CsvErrorRecordChars) {
        return recordText;
    }
    qsizetype cut = CsvErrorRecordChars;
    if (recordText.at(cut - 1).isHighSurrogate()) {
        --cut;
    }
    return recordText.left(cut) + QChar(0x2026);
}

QString FieldCountError(int lineNumber, int headerCount, qsizetype fieldCount,
                        const QString& recordText) {
    return QStringLiteral("The record at line ") + QString::number(lineNumber) +
           QStringLiteral(" has a different number of fields than is specified in the headers.") +
           CrLf + QStringLiteral("(") + QString::number(headerCount) +
           QStringLiteral(" header fields, ") + QString::number(fieldCount) +
           QStringLiteral(" fields)") + CrLf + RecordExcerpt(recordText);
}

} // namespace

QString CsvRecordsCutWarning() {
    return QStringLiteral("Warning:\r\n\r\nAt least one record has more fields than the number "
                          "of headers.\r\n\r\nThese extra fields will not be displayed.");
}

CsvReadResult ReadCsvFile(const QString& fileName, bool lenient, QChar separator, QChar quote) {
    CsvReadResult result;
    QStringList& cells = result.cells;
    int& headerCount = result.headerCount;
    int& recordCount = result.recordCount;
    QString& errorText = result.error;
    if (!FileExists(fileName)) {
        errorText = QStringLiteral("File not found.\r\n\r\n") + fileName;
        return result;
    }

    QString text;
    qint64 byteCount = 0;
    {
        QByteArray bytes;
        if (!ReadFileBytes(fileName, bytes)) {
            errorText = QStringLiteral("File too large.\r\n\r\n") + fileName;
            return result;
        }
        byteCount = bytes.size();
        text = DecodeUtf8(bytes);
    }
    const qint64 maxCells = byteCount + CsvCellAllowance;

    int lineNumber = 0;
    bool quoteOpen = false;
    QString pending;
    QStringList fields;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QStringView line = NextLine(text, pos);
        if (IsBlank(line)) {
            continue;
        }
        pending += line;
        ++lineNumber;
        // Quote pairs never straddle the CR LF join, so the state of the
        // whole pending text follows from each line's own parity; scanning
        // only the new line keeps long multi-line records linear.
        if (HasOpenQuote(line, quote)) {
            quoteOpen = !quoteOpen;
        }
        if (quoteOpen) {
            pending += CrLf;
            continue;
        }
        SplitCsvRecord(pending, fields, separator, quote);
        ++recordCount;
        if (lineNumber == 1) {
            headerCount = static_cast<int>(fields.size());
            if (headerCount == 0 && !lenient) {
                errorText = QStringLiteral("Field names not found in first line of file.");
                break;
            }
        } else {
            if (fields.size() < headerCount) {
                fields.resize(headerCount);
            }
            if (fields.size() > headerCount) {
                if (!lenient) {
                    errorText = FieldCountError(lineNumber, headerCount, fields.size(), pending);
                    break;
                }
                fields.resize(headerCount);
                result.recordsCut = true;
            }
        }
        if (static_cast<qint64>(cells.size()) + fields.size() > maxCells) {
            errorText = QStringLiteral("Too many cells in file.\r\n\r\n") + fileName;
            break;
        }
        cells.append(std::move(fields));
        fields = QStringList();
        pending.clear();
    }
    return result;
}

bool HasOpenQuote(QStringView text, QChar quote) {
    bool inside = false;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] != quote) {
            continue;
        }
        if (i + 1 < size && text[i + 1] == quote) {
            ++i;
        } else {
            inside = !inside;
        }
    }
    return inside;
}

int OpenQuoteLine(const QString& text, QChar quote) {
    int lineNumber = 0;
    int openedAt = 0;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QStringView line = NextLine(text, pos);
        if (IsBlank(line)) {
            continue;
        }
        ++lineNumber;
        if (HasOpenQuote(line, quote)) {
            openedAt = openedAt == 0 ? lineNumber : 0;
        }
    }
    return openedAt;
}

void SplitCsvRecord(QStringView text, QStringList& fields, QChar separator, QChar quote) {
    enum class State { StartOfField, Plain, Quoted, AfterQuote };
    fields.clear();
    State state = State::StartOfField;
    QString field;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        const bool last = i + 1 == size;
        switch (state) {
        case State::StartOfField:
            field.clear();
            if (c == quote) {
                state = State::Quoted;
            } else if (c == separator) {
                fields.append(QString());
                if (last) {
                    fields.append(QString());
                }
            } else {
                // A plain field runs to the next separator: take it whole.
                qsizetype end = text.indexOf(separator, i);
                if (end < 0) {
                    end = size;
                }
                field = text.sliced(i, end - i).toString();
                i = end - 1;
                if (end == size) {
                    fields.append(field);
                }
                state = State::Plain;
            }
            break;
        case State::Plain:
            if (c == separator) {
                fields.append(field);
                if (last) {
                    fields.append(QString());
                }
                state = State::StartOfField;
            } else {
                // Take the whole run up to the next separator at once.
                qsizetype end = text.indexOf(separator, i);
                if (end < 0) {
                    end = size;
                }
                field += text.sliced(i, end - i);
                i = end - 1;
                if (end == size) {
                    fields.append(field);
                }
            }
            break;
        case State::Quoted:
            if (c == quote) {
                if (last) {
                    fields.append(field);
                } else if (text[i + 1] == separator) {
                    state = State::Plain;
                } else {
                    state = State::AfterQuote;
                }
            } else {
                // Take the whole run up to the next quote at once.
                qsizetype end = text.indexOf(quote, i);
                if (end < 0) {
                    end = size;
                }
                field += text.sliced(i, end - i);
                i = end - 1;
            }
            break;
        case State::AfterQuote:
            if (c == quote) {
                field += quote;
                state = State::Quoted;
            }
            break;
        }
    }
}

QString CsvCell(const QStringList& cells, const QString& name, int columnOffset, int rowOffset,
                int rowLength) {
    if (name.isEmpty()) {
        return QString();
    }
    for (qsizetype k = 0; k < cells.size(); ++k) {
        if (cells[k].compare(name, Qt::CaseInsensitive) != 0) {
            continue;
        }
        const qint64 index =
            static_cast<qint64>(k) + static_cast<qint64>(rowOffset) * rowLength + columnOffset;
        if (index < 0 || index >= cells.size()) {
            return QString();
        }
        return cells[static_cast<qsizetype>(index)];
    }
    return QString();
}
