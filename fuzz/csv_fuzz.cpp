// libFuzzer target for the CSV reader: the input is written to a file and
// read strictly and leniently, and split directly as one record. Besides the
// sanitizers' checks, the table's shape is checked against what a read
// promises, so a logic slip aborts as well.

#include "billimport/billvalues.h"
#include "mylib/errors.h"
#include "mylib/ucsv.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void ReadOnce(const QString& path, bool lenient, qint64 size) {
    const CsvReadResult read = ReadCsvFile(path, lenient);
    const QStringList& cells = read.cells;
    const int headerCount = read.headerCount;
    const int recordCount = read.recordCount;
    const QString& error = read.error;
    Check(headerCount >= 0 && recordCount >= 0);
    Check(lenient || !read.recordsCut);
    Check(cells.size() <= size + CsvCellAllowance);
    if (error.isEmpty()) {
        // Every record, the header included, holds exactly H cells.
        Check(cells.size() == static_cast<qsizetype>(recordCount) * headerCount);
    } else if (!error.startsWith(QLatin1String("Too many cells"))) {
        // Only a strict read stops on a record; the failing one is counted
        // but not stored.
        Check(!lenient);
        Check(recordCount >= 1);
        Check(cells.size() == static_cast<qsizetype>(recordCount - 1) * headerCount);
    }
    if (error.isEmpty() && !lenient) {
        // What the import does next with the table.
        for (const QString& name :
             {QStringLiteral("Legacy Feed-In (X1I) - 110"), QStringLiteral("Residential - 31")}) {
            const QString reading = TariffReading(cells, headerCount, name);
            Check(!reading.contains(u'.'));
        }
        const QString date = BillDateText(cells, headerCount);
        if (date.size() == 8) {
            try {
                Check(ParseBillDate(date).isValid());
            } catch (const EVoltiskError&) {
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.path() + QStringLiteral("/input.csv");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    ReadOnce(path, false, static_cast<qint64>(size));
    ReadOnce(path, true, static_cast<qint64>(size));

    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList fields;
    SplitCsvRecord(text, fields, QChar(u','), QChar(u'"'));
    Check(fields.size() <= text.size() + 1);
    qsizetype characters = 0;
    for (const QString& f : fields) {
        characters += f.size();
    }
    Check(characters <= text.size());
    (void)HasOpenQuote(text, QChar(u'"'));
    // Other separator and quote characters take the same paths.
    SplitCsvRecord(text, fields, QChar(u';'), QChar(u'\''));
    Check(fields.size() <= text.size() + 1);
    return 0;
}
