#include "meterdata/meterfile.h"

#include "meterdata/greenbutton.h"
#include "meterdata/meterinput.h"
#include "meterdata/nem12reader.h"

#include <QFileInfo>
#include <zip.h>

namespace {

class ZipEntrySource : public ByteSource {
public:
    ZipEntrySource(zip_file_t* file, QString name, qint64 bound)
        : file_(file), name_(std::move(name)), bound_(bound) {}
    ~ZipEntrySource() override { zip_fclose(file_); }
    ZipEntrySource(const ZipEntrySource&) = delete;
    ZipEntrySource& operator=(const ZipEntrySource&) = delete;

    qint64 Read(char* buffer, qint64 max) override {
        const zip_int64_t n = zip_fread(file_, buffer, static_cast<zip_uint64_t>(max));
        if (n < 0) {
            throw MeterDataError(QStringLiteral("%1: the archive entry cannot be read (%2)")
                                     .arg(name_, QString::fromUtf8(zip_file_strerror(file_))));
        }
        total_ += n;
        if (total_ > bound_) {
            throw MeterDataError(QStringLiteral("%1: the archive entry expands past %2 MB")
                                     .arg(name_)
                                     .arg(bound_ >> 20));
        }
        return n;
    }

private:
    zip_file_t* file_;
    QString name_;
    qint64 bound_;
    qint64 total_ = 0;
};

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};

bool LooksBinary(const QByteArray& head) {
    for (char c : head) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\f') {
            return true;
        }
    }
    // Text in UTF-8 (these formats are plain ASCII); the last bytes may be a
    // character cut by the peek.
    return QString::fromUtf8(head.left(head.size() - 4)).contains(QChar::ReplacementCharacter);
}

void ReadZip(const QString& path, MeterSink& sink, const MeterReadOptions& options) {
    int error = 0;
    std::unique_ptr<zip_t, ZipCloser> zip(
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error));
    if (!zip) {
        throw MeterDataError(QStringLiteral("%1: the zip archive cannot be read").arg(path));
    }
    int used = 0;
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 ||
            st.name == nullptr) {
            continue;
        }
        const QString entry = QString::fromUtf8(st.name);
        if (entry.endsWith(u'/')) {
            continue;
        }
        const QString name = QStringLiteral("%1: %2").arg(path, entry);
        if ((st.valid & ZIP_STAT_SIZE) != 0 &&
            st.size > static_cast<zip_uint64_t>(options.maxExpanded)) {
            throw MeterDataError(QStringLiteral("%1: the archive entry expands past %2 MB")
                                     .arg(name)
                                     .arg(options.maxExpanded >> 20));
        }
        zip_file_t* file = zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(i), 0);
        if (file == nullptr) {
            throw MeterDataError(QStringLiteral("%1: the archive entry cannot be read").arg(name));
        }
        MeterInput input(std::make_unique<ZipEntrySource>(file, name, options.maxExpanded), name);
        const QByteArray head = input.Peek(4096);
        if (head.trimmed().isEmpty() || LooksBinary(head)) {
            continue; // not one of the text formats
        }
        ReadMeterStream(input, sink, options);
        ++used;
    }
    if (used == 0) {
        throw MeterDataError(
            QStringLiteral("%1: the zip archive holds no meter data file").arg(path));
    }
}

} // namespace

void ReadMeterStream(MeterInput& input, MeterSink& sink, const MeterReadOptions& options) {
    QByteArray head = input.Peek(4096);
    if (head.startsWith("\xEF\xBB\xBF")) {
        head.remove(0, 3);
    }
    const QByteArray start = head.trimmed();
    if (start.isEmpty()) {
        throw MeterDataError(QStringLiteral("%1: the file is empty").arg(input.Name()));
    }
    if (LooksBinary(head)) {
        throw MeterDataError(
            QStringLiteral("%1: the file holds binary data, not meter data").arg(input.Name()));
    }
    if (start.startsWith('<')) {
        ReadGreenButtonXml(input, sink, options.zone);
        return;
    }
    const QByteArray first = start.left(start.indexOf('\n')).trimmed();
    if (first.startsWith("100,NEM13") || first.startsWith("250,")) {
        throw MeterDataError(Nem13Refusal(input.Name()));
    }
    if (first.startsWith("100,") || first.startsWith("200,")) {
        ReadNem12(input, sink);
        return;
    }
    if (start.toUpper().contains("TYPE,DATE") || start.toUpper().contains("\"TYPE\",\"DATE\"")) {
        ReadGreenButtonCsv(input, sink, options.zone);
        return;
    }
    throw MeterDataError(QStringLiteral("%1: the file is neither NEM12 nor Green Button meter data")
                             .arg(input.Name()));
}

void ReadMeterFile(const QString& path, MeterSink& sink, const MeterReadOptions& options) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        throw MeterDataError(QStringLiteral("%1: is not a regular file").arg(path));
    }
    MeterInput input(OpenFileSource(path), path);
    const QByteArray head = input.Peek(4);
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06")) {
        ReadZip(path, sink, options);
        return;
    }
    ReadMeterStream(input, sink, options);
}
