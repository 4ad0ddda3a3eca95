#include "history/historycsv.h"

#include "mylib/atomicfile.h"
#include "mylib/errors.h"
#include "mylib/fileread.h"
#include "mylib/ucsv.h"

#include <QDir>
#include <QStringList>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace {

// One column of the export: its name and how a period's value is written
// and read back. Texts are escaped and quoted, the rest written bare.
struct CsvColumn {
    QString name;
    bool text;
    std::function<QString(const HistoryPeriod&)> write;
    // False when the cell is not a valid value for the column.
    std::function<bool(HistoryPeriod&, const QString&)> read;
};

QString Number(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return QString::fromLatin1(buf, static_cast<int>(r.ptr - buf));
}

std::optional<double> ParseNumber(const QString& cell) {
    const QByteArray bytes = cell.toLatin1();
    double v = 0;
    const auto r = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), v);
    if (bytes.isEmpty() || r.ec != std::errc() || r.ptr != bytes.constData() + bytes.size() ||
        !(std::fabs(v) <= kLargestFigure)) {
        return std::nullopt;
    }
    return v;
}

// A text cell that a spreadsheet would run as a formula gets a leading
// apostrophe; one more apostrophe keeps a text that already starts so apart.
bool LooksLikeFormula(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'\'') {
        ++i;
    }
    return i < text.size() && QStringLiteral("=+-@").contains(text[i]);
}

QString FormulaSafe(const QString& text) {
    return LooksLikeFormula(text) ? QLatin1Char('\'') + text : text;
}

QString FromFormulaSafe(const QString& text) {
    return text.startsWith(u'\'') && LooksLikeFormula(text) ? text.mid(1) : text;
}

std::optional<qint64> ParseWhole(const QString& cell) {
    bool ok = false;
    const qint64 v = cell.toLongLong(&ok);
    return ok && cell == QString::number(v) ? std::optional<qint64>(v) : std::nullopt;
}

CsvColumn TextColumn(const QString& name, QString HistoryPeriod::*member) {
    return {name, true, [member](const HistoryPeriod& p) { return p.*member; },
            [member](HistoryPeriod& p, const QString& c) {
                p.*member = c;
                return true;
            }};
}

CsvColumn NumberColumn(const QString& name, double HistoryPeriod::*member) {
    return {name, false, [member](const HistoryPeriod& p) { return Number(p.*member); },
            [member](HistoryPeriod& p, const QString& c) {
                const auto v = ParseNumber(c);
                p.*member = v.value_or(0);
                return v.has_value();
            }};
}

CsvColumn FlagColumn(const QString& name, bool PeriodInputs::*member) {
    return {name, false,
            [member](const HistoryPeriod& p) {
                return p.typed.*member ? QStringLiteral("1") : QStringLiteral("0");
            },
            [member](HistoryPeriod& p, const QString& c) {
                p.typed.*member = c == QLatin1String("1");
                return c == QLatin1String("1") || c == QLatin1String("0");
            }};
}

CsvColumn DateColumn(const QString& name, QDate HistoryPeriod::*member) {
    return {name, false,
            [member](const HistoryPeriod& p) { return (p.*member).toString(Qt::ISODate); },
            [member](HistoryPeriod& p, const QString& c) {
                p.*member = QDate::fromString(c, Qt::ISODate);
                return (p.*member).isValid() && c.size() == 10;
            }};
}

std::vector<CsvColumn> MakeColumns() {
    std::vector<CsvColumn> c{DateColumn(QStringLiteral("date_from"), &HistoryPeriod::from),
                             DateColumn(QStringLiteral("date_to"), &HistoryPeriod::to),
                             {QStringLiteral("days"), false,
                              [](const HistoryPeriod& p) { return QString::number(p.days); },
                              [](HistoryPeriod& p, const QString& s) {
                                  p.days = ParseWhole(s).value_or(0);
                                  return ParseWhole(s).has_value();
                              }},
                             FlagColumn(QStringLiteral("solar"), &PeriodInputs::solar),
                             FlagColumn(QStringLiteral("hot_water"), &PeriodInputs::showHotWater)};
    for (const PeriodField& f : PeriodFields()) {
        const QString stem = QLatin1String(f.column);
        c.push_back({stem + QStringLiteral("_text"), true,
                     [f](const HistoryPeriod& p) { return p.typed.*f.text; },
                     [f](HistoryPeriod& p, const QString& s) {
                         p.typed.*f.text = s;
                         return true;
                     }});
        c.push_back({stem, false,
                     [f](const HistoryPeriod& p) { return Number(p.numbers.*f.number); },
                     [f](HistoryPeriod& p, const QString& s) {
                         const auto v = ParseNumber(s);
                         p.numbers.*f.number = v.value_or(0);
                         return v.has_value();
                     }});
    }
    c.push_back(NumberColumn(QStringLiteral("kwh_general"), &HistoryPeriod::kwhGeneral));
    c.push_back(NumberColumn(QStringLiteral("kwh_hot_water"), &HistoryPeriod::kwhHotWater));
    c.push_back(NumberColumn(QStringLiteral("kwh_exported"), &HistoryPeriod::kwhExported));
    c.push_back(NumberColumn(QStringLiteral("fixed_cost"), &HistoryPeriod::fixed));
    c.push_back(NumberColumn(QStringLiteral("variable_cost"), &HistoryPeriod::variable));
    c.push_back(NumberColumn(QStringLiteral("income"), &HistoryPeriod::income));
    c.push_back(NumberColumn(QStringLiteral("net_cost"), &HistoryPeriod::net));
    c.push_back(NumberColumn(QStringLiteral("net_per_day"), &HistoryPeriod::netPerDay));
    c.push_back(TextColumn(QStringLiteral("currency_symbol"), &HistoryPeriod::currencySymbol));
    c.push_back({QStringLiteral("money_decimals"), false,
                 [](const HistoryPeriod& p) { return QString::number(p.moneyDecimals); },
                 [](HistoryPeriod& p, const QString& s) {
                     const auto v = ParseWhole(s);
                     p.moneyDecimals = static_cast<int>(v.value_or(0));
                     return v && *v >= 0 && *v <= 9;
                 }});
    c.push_back(TextColumn(QStringLiteral("note"), &HistoryPeriod::note));
    c.push_back(
        {QStringLiteral("saved_at"), false,
         [](const HistoryPeriod& p) { return p.savedAt.toUTC().toString(Qt::ISODateWithMs); },
         [](HistoryPeriod& p, const QString& s) {
             p.savedAt = QDateTime::fromString(s, Qt::ISODateWithMs);
             return p.savedAt.isValid();
         }});
    // The bill columns came later: an export without them still imports.
    c.push_back({QStringLiteral("billed"), false,
                 [](const HistoryPeriod& p) { return p.billed ? Number(*p.billed) : QString(); },
                 [](HistoryPeriod& p, const QString& s) {
                     p.billed = s.isEmpty() ? std::nullopt : ParseNumber(s);
                     return s.isEmpty() || p.billed.has_value();
                 }});
    c.push_back({QStringLiteral("bill_date"), false,
                 [](const HistoryPeriod& p) { return p.billDate.toString(Qt::ISODate); },
                 [](HistoryPeriod& p, const QString& s) {
                     p.billDate = QDate::fromString(s, Qt::ISODate);
                     return s.isEmpty() || (p.billDate.isValid() && s.size() == 10);
                 }});
    c.push_back(TextColumn(QStringLiteral("bill_reference"), &HistoryPeriod::billReference));
    for (auto [name, member] : {std::pair(QStringLiteral("estimated"), &HistoryPeriod::estimated),
                                std::pair(QStringLiteral("warnings"), &HistoryPeriod::warnings)}) {
        c.push_back(
            {name, true,
             [member](const HistoryPeriod& p) { return (p.*member).join(QLatin1Char('\n')); },
             [member](HistoryPeriod& p, const QString& s) {
                 p.*member = s.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
                 return true;
             }});
    }
    return c;
}

// The columns an export from before the bill columns lacks, at the end.
constexpr int OldExportMissing = 5;

const std::vector<CsvColumn>& Columns() {
    static const std::vector<CsvColumn> columns = MakeColumns();
    return columns;
}

QString Quoted(const QString& text) {
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

QString NotExport(const QString& fileName, const QString& why) {
    return QStringLiteral("The file %1 is not a Voltisk history export: %2")
        .arg(QDir::toNativeSeparators(fileName), why);
}

} // namespace

QString EscapeCsvText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\') {
            out += QLatin1String("\\\\");
        } else if (c == u'\n') {
            out += QLatin1String("\\n");
        } else if (c == u'\r') {
            out += QLatin1String("\\r");
        } else if (c.unicode() < 0x20 && c != u'\t') {
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<QString> UnescapeCsvText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size()) {
            return std::nullopt;
        }
        const QChar e = text[i];
        if (e == u'\\') {
            out += u'\\';
        } else if (e == u'n') {
            out += u'\n';
        } else if (e == u'r') {
            out += u'\r';
        } else if (e == u'x' && i + 2 < text.size()) {
            bool ok = false;
            const uint code = text.mid(i + 1, 2).toUInt(&ok, 16);
            if (!ok || code >= 0x20) {
                return std::nullopt;
            }
            out += QChar(static_cast<char16_t>(code));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

QByteArray HistoryCsvText(const std::vector<HistoryPeriod>& periods) {
    QStringList cells;
    for (const CsvColumn& c : Columns()) {
        cells << c.name;
    }
    QString text = cells.join(QLatin1Char(',')) + QLatin1String("\r\n");
    for (const HistoryPeriod& p : periods) {
        cells.clear();
        for (const CsvColumn& c : Columns()) {
            cells << (c.text ? Quoted(EscapeCsvText(FormulaSafe(c.write(p)))) : c.write(p));
        }
        text += cells.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    return text.toUtf8();
}

void ExportHistoryCsv(const QString& fileName, const std::vector<HistoryPeriod>& periods) {
    if (!ReplaceFileContents(fileName, HistoryCsvText(periods))) {
        throw EVoltiskError(QStringLiteral("The file %1 could not be written.")
                                .arg(QDir::toNativeSeparators(fileName)));
    }
}

namespace {

// The first figure column of `p` that is more than a cent off the figure the
// period calculation makes of its typed texts, or null. The texts' locale is
// not in the file: they are read with "." and with ",", and the reading with
// fewer differences is the one reported.
const char* FigureNotRecomputed(const HistoryPeriod& p) {
    const std::pair<const char*, double HistoryPeriod::*> figures[] = {
        {"kwh_general", &HistoryPeriod::kwhGeneral},
        {"kwh_hot_water", &HistoryPeriod::kwhHotWater},
        {"kwh_exported", &HistoryPeriod::kwhExported},
        {"fixed_cost", &HistoryPeriod::fixed},
        {"variable_cost", &HistoryPeriod::variable},
        {"income", &HistoryPeriod::income},
        {"net_cost", &HistoryPeriod::net},
        {"net_per_day", &HistoryPeriod::netPerDay},
    };
    const char* reported = nullptr;
    int fewest = std::numeric_limits<int>::max();
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        const HistoryPeriod again =
            MakeHistoryPeriod(p.from, p.to, p.typed, locale, p.moneyDecimals, p.savedAt);
        int count = 0;
        const char* first = nullptr;
        for (const auto& [column, member] : figures) {
            if (!(std::fabs(again.*member - p.*member) <= 0.01)) {
                first = first ? first : column;
                ++count;
            }
        }
        if (count < fewest) {
            fewest = count;
            reported = first;
        }
    }
    return reported;
}

// The period in data record `record` (1-based) of the cell list, whose rows
// hold `width` cells (the first columns of an export); throws with the line
// named when a cell is not a valid value.
HistoryPeriod ReadRecord(const QString& fileName, const QStringList& cells, int width, int record) {
    const auto& columns = Columns();
    const int line = record + 1;
    HistoryPeriod p;
    for (int k = 0; k < width; ++k) {
        const CsvColumn& c = columns[static_cast<std::size_t>(k)];
        QString cell = cells[record * width + k];
        bool ok = true;
        if (c.text) {
            const auto plain = UnescapeCsvText(cell);
            ok = plain.has_value();
            cell = FromFormulaSafe(plain.value_or(QString()));
        }
        if (!ok || !c.read(p, cell)) {
            throw EVoltiskError(NotExport(
                fileName, QStringLiteral("line %1, column \"%2\" holds \"%3\", which is not a "
                                         "valid value.")
                              .arg(line)
                              .arg(c.name, cells[record * width + k].left(40))));
        }
    }
    if (p.days <= 0 || p.from.daysTo(p.to) != p.days) {
        throw EVoltiskError(NotExport(
            fileName, QStringLiteral("line %1: the days do not match the two dates.").arg(line)));
    }
    if (p.note.size() > kNoteLimit) {
        throw EVoltiskError(NotExport(
            fileName,
            QStringLiteral("line %1, column \"note\": %2").arg(line).arg(NoteTooLongText())));
    }
    if (const char* column = FigureNotRecomputed(p)) {
        throw EVoltiskError(NotExport(
            fileName, QStringLiteral("line %1, column \"%2\" differs by more than a cent from "
                                     "the figure worked out from the typed values.")
                          .arg(line)
                          .arg(QLatin1String(column))));
    }
    return p;
}

} // namespace

std::vector<HistoryPeriod> ReadHistoryCsv(const QString& fileName) {
    const CsvReadResult table = ReadCsvFile(fileName, false);
    const QString& error = table.error;
    const QStringList& cells = table.cells;
    const int headerCount = table.headerCount;
    if (!error.isEmpty()) {
        if (error.startsWith(QLatin1String("The record at line"))) {
            throw EVoltiskError(NotExport(fileName, error));
        }
        throw EVoltiskError(error);
    }
    const auto& columns = Columns();
    // Older exports end before the bill columns.
    const int oldWidth = static_cast<int>(columns.size()) - OldExportMissing;
    bool headerMatches = headerCount == static_cast<int>(columns.size()) || headerCount == oldWidth;
    for (int k = 0; headerMatches && k < headerCount; ++k) {
        headerMatches = cells[k] == columns[static_cast<std::size_t>(k)].name;
    }
    if (!headerMatches) {
        throw EVoltiskError(
            NotExport(fileName, QStringLiteral("line 1 does not hold the export's column names.")));
    }
    // The reader drops a last record cut off inside quotes; such a file is
    // refused as a whole rather than half imported.
    const FileReadResult read = ReadFileBounded(fileName, CsvMaxFileBytes);
    if (const int line = OpenQuoteLine(QString::fromUtf8(read.bytes))) {
        throw EVoltiskError(NotExport(
            fileName,
            QStringLiteral("line %1 opens a quoted field that never closes; the file is cut "
                           "off.")
                .arg(line)));
    }
    std::vector<HistoryPeriod> periods;
    const int records = static_cast<int>(cells.size()) / headerCount;
    for (int r = 1; r < records; ++r) {
        periods.push_back(ReadRecord(fileName, cells, headerCount, r));
    }
    return periods;
}
